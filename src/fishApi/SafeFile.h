// Reading and writing files safely, for the project file and every export.
//
// Reading never blocks (a pipe with no writer) and takes only plain files.
// Writing replaces a file whole or not at all: the bytes go into an unnamed
// file in the target's folder, are flushed to disk, and only then take the
// target's name; the folder is flushed after. A failed or interrupted write
// leaves any previous file as it was and no temporary file behind. Targets
// that are not plain files (devices, pipes, folders, dangling links) and
// read-only files are refused, never replaced.
#pragma once

#include <cstddef>
#include <string>

#include "FishErrors.h"

namespace fish {

// A file that could not be read or written. The message names the file and
// the reason.
class EFileError : public EFishError {
 public:
  using EFishError::EFishError;
};

// "Не удалось прочитать файл "<path>": <reason>" and its writing counterpart.
std::string fileReadFailure(const std::string& path, const std::string& reason);
std::string fileWriteFailure(const std::string& path, const std::string& reason);

// The system's text for an errno value.
std::string systemReason(int err);

// Closes a descriptor when it leaves scope unless released (fd set to -1).
struct FdGuard {
  int fd = -1;
  FdGuard() = default;
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;
  ~FdGuard();
};

// A descriptor open for reading on the plain file `path`.
int openPlainFile(const std::string& path);

// Writes `size` bytes as the whole new content of `path` (a symbolic link is
// followed: the file it names is replaced, keeping its permissions).
void writeFileAtomically(const std::string& path, const void* data, std::size_t size);

}  // namespace fish
