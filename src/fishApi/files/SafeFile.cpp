#include "SafeFile.h"

#include <fcntl.h>
#include <dirent.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "ErrnoText.h"

namespace fish {

constexpr TMsgId kNotAPlainFile = FISH_TR("files", "это не обычный файл");

TMessage systemReason(int err) { return errnoMessage(err); }

TMessage fileReadFailure(const std::string& path, TMessage reason) {
  return TMessage(FISH_TR("files", "Не удалось прочитать файл \"%1\": %2"), {path}, {std::move(reason)});
}

TMessage fileWriteFailure(const std::string& path, TMessage reason) {
  return TMessage(FISH_TR("files", "Не удалось сохранить файл \"%1\": %2"), {path}, {std::move(reason)});
}

FdGuard::~FdGuard() {
  if (fd >= 0) ::close(fd);
}

int openPlainFile(const std::string& path) {
  FdGuard file;
  // Without blocking: a pipe with no writer would otherwise hang the open.
  file.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file.fd < 0) throw EFileError(fileReadFailure(path, systemReason(errno)));
  struct stat st {};
  if (::fstat(file.fd, &st) != 0) throw EFileError(fileReadFailure(path, systemReason(errno)));
  if (S_ISDIR(st.st_mode)) throw EFileError(fileReadFailure(path, systemReason(EISDIR)));
  if (!S_ISREG(st.st_mode)) throw EFileError(fileReadFailure(path, kNotAPlainFile));
  const int fd = file.fd;
  file.fd = -1;
  return fd;
}

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The reason given for a path that names something other than a plain file:
// a device, a pipe or a socket is never read as a project or replaced by one.
constexpr TMsgId kDanglingLink = FISH_TR("files", "символическая ссылка указывает на несуществующий файл");

// What a save writes to: the file a symbolic link names, refused when it is
// anything but a plain file the user may change.
struct SaveTarget {
  std::string path;
  bool exists = false;
  mode_t mode = 0;
};

// Throws the save failure for `path`.
[[noreturn]] void refuseSave(const std::string& path, TMessage reason) {
  throw EFileError(fileWriteFailure(path, std::move(reason)));
}

SaveTarget saveTarget(const std::string& path) {
  SaveTarget target{path};
  if (path.empty()) refuseSave(path, systemReason(ENOENT));
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) refuseSave(path, systemReason(errno));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    target.mode = static_cast<mode_t>(0666 & ~mask);
    return target;
  }
  const bool link = S_ISLNK(st.st_mode);
  if (link && ::stat(path.c_str(), &st) != 0) refuseSave(path, errno == ENOENT ? TMessage(kDanglingLink) : systemReason(errno));
  if (S_ISDIR(st.st_mode)) refuseSave(path, systemReason(EISDIR));
  if (!S_ISREG(st.st_mode)) refuseSave(path, kNotAPlainFile);
  // access() grants root everything; a file without a single write bit is
  // read-only all the same, as the owner meant it to be.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) refuseSave(path, systemReason(errno));
  if ((st.st_mode & 0222) == 0) refuseSave(path, systemReason(EACCES));
  if (link) {  // the file the link names is replaced, in its own folder
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) refuseSave(path, systemReason(errno));
    target.path = real;
    std::free(real);
  }
  target.exists = true;
  target.mode = st.st_mode & 07777;
  return target;
}

// The hidden names of a target's temporary files: ".raz-", a hash of the
// target's name, "-" and six random characters. Short, so that any name the
// file system accepts for the project itself can be saved; the hash lets the
// next write to the same target find the leftovers of a killed one.
std::string temporaryPrefix(const std::string& target) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;  // FNV-1a
  for (const char c : target) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
  static const char kHex[] = "0123456789abcdef";
  std::string prefix = ".raz-";
  for (int shift = 60; shift >= 0; shift -= 4) prefix += kHex[(hash >> shift) & 0xF];
  return prefix + "-";
}

std::string temporaryName(const std::string& target) {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static std::atomic<std::uint64_t> counter{0};
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    bits = static_cast<std::uint64_t>(now.tv_nsec) ^ (static_cast<std::uint64_t>(now.tv_sec) << 30) ^
           (static_cast<std::uint64_t>(::getpid()) << 40);
  }
  bits += 0x9E3779B97F4A7C15ULL * ++counter;
  std::string name = temporaryPrefix(target);
  for (int i = 0; i < 6; ++i) {
    name += kChars[bits % (sizeof kChars - 1)];
    bits /= sizeof kChars - 1;
  }
  return name;
}

// Removes the temporary files an earlier write to `target` left when it was
// killed. A writer holds an exclusive lock on its temporary file from before
// the file has a name until it is closed, so a file whose lock can be taken
// has no live writer.
void sweepLeftovers(int dirFd, const std::string& target) {
  const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return;
  DIR* list = ::fdopendir(listFd);
  if (list == nullptr) {
    ::close(listFd);
    return;
  }
  const std::string prefix = temporaryPrefix(target);
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(list)) {
    const std::string_view name = entry->d_name;
    if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) continue;
    FdGuard file;
    file.fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::flock(file.fd, LOCK_EX | LOCK_NB) == 0) stale.emplace_back(name);
  }
  ::closedir(list);
  for (const std::string& name : stale) ::unlinkat(dirFd, name.c_str(), 0);
}

constexpr int kNameAttempts = 100;

// Gives the unnamed file `fd` the name `name` in the folder `dirFd`; 0 or the errno.
int linkUnnamed(int fd, int dirFd, const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  const int err = errno;
  if (err != ENOENT) return err;
  // No /proc: the descriptor itself, which needs a newer kernel or privileges.
  if (::linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
  return err;
}

// Links the unnamed file under a fresh temporary name; 0 or the errno.
int linkUnderTemporaryName(int fd, int dirFd, const std::string& target, std::string& temp) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = temporaryName(target);
    const int err = linkUnnamed(fd, dirFd, name);
    if (err == 0) {
      temp = std::move(name);
      return 0;
    }
    if (err != EEXIST) return err;
  }
  return EEXIST;
}

// Creates and opens a fresh named temporary file; the descriptor or -1 with errno set.
int createTemporaryFile(int dirFd, const std::string& target, std::string& temp) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = temporaryName(target);
    const int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd >= 0) {
      temp = std::move(name);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

void (*afterTemporaryNamed)() = nullptr;

namespace {
constexpr std::size_t kBufferBytes = 1 << 16;
}

TSafeWriter::TSafeWriter(const std::string& path) : Path(path) {
  const SaveTarget target = saveTarget(path);
  TargetExists = target.exists;
  const std::size_t slash = target.path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : target.path.substr(0, slash);
  Name = slash == std::string::npos ? target.path : target.path.substr(slash + 1);

  DirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (DirFd < 0) fail(errno);
  sweepLeftovers(DirFd, Name);

  // An unnamed file in the target's folder vanishes by itself if the save is
  // cut short; only a file system without such files gets a named temporary.
  Fd = ::openat(DirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  Unnamed = Fd >= 0;
  if (!Unnamed) {
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) fail(errno);
    Fd = createTemporaryFile(DirFd, Name, TempName);
    if (Fd < 0) fail(errno);
  }
  // Held until the file is closed: it tells a live write from a killed one.
  // A file system without locks leaves no way to tell, and nothing is swept.
  ::flock(Fd, LOCK_EX | LOCK_NB);
  if (::fchmod(Fd, target.mode) != 0) fail(errno);
  Buffer.reserve(kBufferBytes);
}

TSafeWriter::~TSafeWriter() {
  if (Fd >= 0) ::close(Fd);
  if (!TempName.empty()) ::unlinkat(DirFd, TempName.c_str(), 0);
  if (DirFd >= 0) ::close(DirFd);
}

void TSafeWriter::fail(int err) { throw EFileError(fileWriteFailure(Path, systemReason(err))); }

void TSafeWriter::flushBuffer() {
  if (!writeAll(Fd, reinterpret_cast<const std::uint8_t*>(Buffer.data()), Buffer.size())) fail(errno);
  Buffer.clear();
}

void TSafeWriter::write(const void* data, std::size_t size) {
  if (Committed || Fd < 0) throw std::logic_error("TSafeWriter::write after commit");
  if (Buffer.size() + size <= kBufferBytes) {
    Buffer.append(static_cast<const char*>(data), size);
    return;
  }
  flushBuffer();
  if (size < kBufferBytes) {
    Buffer.append(static_cast<const char*>(data), size);
  } else if (!writeAll(Fd, static_cast<const std::uint8_t*>(data), size)) {
    fail(errno);
  }
}

void TSafeWriter::commit() {
  if (Committed || Fd < 0) throw std::logic_error("TSafeWriter::commit twice");
  flushBuffer();
  if (::fsync(Fd) != 0) fail(errno);

  int err = 0;
  if (Unnamed && !TargetExists) {
    err = linkUnnamed(Fd, DirFd, Name);  // fails rather than replace a file made meanwhile
  } else {
    if (Unnamed) err = linkUnderTemporaryName(Fd, DirFd, Name, TempName);
    if (err == 0 && afterTemporaryNamed) afterTemporaryNamed();
    if (err == 0 && ::renameat(DirFd, TempName.c_str(), DirFd, Name.c_str()) != 0) err = errno;
    if (err == 0) TempName.clear();
  }
  const int fd = Fd;
  Fd = -1;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) fail(err);
  Committed = true;

  // The new name is only safe from a power cut once the folder is on disk;
  // some file systems cannot sync a folder and say so with EINVAL.
  if (::fsync(DirFd) != 0 && errno != EINVAL) fail(errno);
}

void writeFileAtomically(const std::string& path, const void* data, std::size_t size) {
  TSafeWriter out(path);
  out.write(data, size);
  out.commit();
}

}  // namespace fish
