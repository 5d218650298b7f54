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
#include <string_view>

#include "fishApi/core/FishErrors.h"

namespace fish {

// A file that could not be read or written. The message names the file and
// the reason.
class EFileError : public EFishError {
 public:
  using EFishError::EFishError;
};

// "Не удалось прочитать файл "<path>": <reason>" and its writing counterpart;
// the reason is kept as a message of its own, said again with the whole.
TMessage fileReadFailure(const std::string& path, TMessage reason);
TMessage fileWriteFailure(const std::string& path, TMessage reason);

// The reason for an errno value (errnoMessage).
TMessage systemReason(int err);

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

// The same, for content made piece by piece: the target is checked and the
// temporary file opened at construction, every write is checked as it is
// made, and only commit() gives the new file the target's name. A writer
// destroyed without commit(), or any failure, leaves the target as it was
// and no temporary file behind.
//
// A save that is killed after its temporary file took a name of its own and
// before that name replaced the target leaves the temporary file behind. It
// stays locked only while its writer lives; the next write to the same target
// removes those of its leftovers that no live writer holds.
class TSafeWriter {
 public:
  explicit TSafeWriter(const std::string& path);
  ~TSafeWriter();
  TSafeWriter(const TSafeWriter&) = delete;
  TSafeWriter& operator=(const TSafeWriter&) = delete;

  void write(const void* data, std::size_t size);
  void write(std::string_view text) { write(text.data(), text.size()); }
  void commit();

 private:
  void flushBuffer();
  [[noreturn]] void fail(int err);

  std::string Path;        // as the user named it
  std::string Name;        // of the target, in its folder
  bool TargetExists = false;
  bool Unnamed = false;    // an O_TMPFILE file, named only at commit
  int DirFd = -1;
  int Fd = -1;
  std::string TempName;    // a named temporary file, removed unless committed
  std::string Buffer;
  bool Committed = false;
};

// Called, when set, between a replacement taking its temporary name and that
// name replacing the target: the one moment a kill leaves a file behind.
extern void (*afterTemporaryNamed)();

}  // namespace fish
