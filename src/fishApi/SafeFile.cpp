#include "SafeFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace fish {

const char* const kNotAPlainFile = "это не обычный файл";

std::string systemReason(int err) { return std::strerror(err); }

std::string fileReadFailure(const std::string& path, const std::string& reason) {
  return "Не удалось прочитать файл \"" + path + "\": " + reason;
}

std::string fileWriteFailure(const std::string& path, const std::string& reason) {
  return "Не удалось сохранить файл \"" + path + "\": " + reason;
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
const char* const kDanglingLink = "символическая ссылка указывает на несуществующий файл";

// What a save writes to: the file a symbolic link names, refused when it is
// anything but a plain file the user may change.
struct SaveTarget {
  std::string path;
  bool exists = false;
  mode_t mode = 0;
};

// Throws the save failure for `path`.
[[noreturn]] void refuseSave(const std::string& path, const std::string& reason) {
  throw EFileError(fileWriteFailure(path, reason));
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
  if (link && ::stat(path.c_str(), &st) != 0) refuseSave(path, errno == ENOENT ? kDanglingLink : systemReason(errno));
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

// A short hidden name for the temporary file, so that any name the file
// system accepts for the project itself can be saved.
std::string temporaryName() {
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
  std::string name = ".raz-";
  for (int i = 0; i < 6; ++i) {
    name += kChars[bits % (sizeof kChars - 1)];
    bits /= sizeof kChars - 1;
  }
  return name;
}

// Removes a named temporary file when it leaves scope unless released.
struct TempNameGuard {
  int dirFd = -1;
  std::string name;
  ~TempNameGuard() {
    if (!name.empty()) ::unlinkat(dirFd, name.c_str(), 0);
  }
};

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
int linkUnderTemporaryName(int fd, int dirFd, TempNameGuard& temp) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = temporaryName();
    const int err = linkUnnamed(fd, dirFd, name);
    if (err == 0) {
      temp.name = std::move(name);
      return 0;
    }
    if (err != EEXIST) return err;
  }
  return EEXIST;
}

// Creates and opens a fresh named temporary file; the descriptor or -1 with errno set.
int createTemporaryFile(int dirFd, TempNameGuard& temp) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = temporaryName();
    const int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd >= 0) {
      temp.name = std::move(name);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

void writeFileAtomically(const std::string& path, const void* data, std::size_t size) {
  const SaveTarget target = saveTarget(path);
  const std::size_t slash = target.path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : target.path.substr(0, slash);
  const std::string name = slash == std::string::npos ? target.path : target.path.substr(slash + 1);

  FdGuard dir;
  dir.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir.fd < 0) refuseSave(path, systemReason(errno));

  // An unnamed file in the target's folder vanishes by itself if the save is
  // cut short; only a file system without such files gets a named temporary.
  TempNameGuard temp{dir.fd, {}};
  FdGuard file;
  file.fd = ::openat(dir.fd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  const bool unnamed = file.fd >= 0;
  if (!unnamed) {
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) refuseSave(path, systemReason(errno));
    file.fd = createTemporaryFile(dir.fd, temp);
    if (file.fd < 0) refuseSave(path, systemReason(errno));
  }

  if (::fchmod(file.fd, target.mode) != 0 || !writeAll(file.fd, static_cast<const std::uint8_t*>(data), size) ||
      ::fsync(file.fd) != 0) {
    refuseSave(path, systemReason(errno));
  }

  int err = 0;
  if (unnamed && !target.exists) {
    err = linkUnnamed(file.fd, dir.fd, name);  // fails rather than replace a file made meanwhile
  } else {
    if (unnamed) err = linkUnderTemporaryName(file.fd, dir.fd, temp);
    if (err == 0 && ::renameat(dir.fd, temp.name.c_str(), dir.fd, name.c_str()) != 0) err = errno;
    if (err == 0) temp.name.clear();
  }
  const int fd = file.fd;
  file.fd = -1;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) refuseSave(path, systemReason(err));

  // The new name is only safe from a power cut once the folder is on disk;
  // some file systems cannot sync a folder and say so with EINVAL.
  if (::fsync(dir.fd) != 0 && errno != EINVAL) refuseSave(path, systemReason(errno));
}

}  // namespace fish
