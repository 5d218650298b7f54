#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "CliApp.h"

#ifdef VINTALER_LANGUAGE
#include "language/Language.h"
#endif

#ifdef VINTALER_PAINTED_EXPORTS
#include <dlfcn.h>

#include <climits>

#include "PaintedModule.h"

namespace {

bool paintsSomething(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    for (const char* option : {"--svg", "--pdf", "--tiles"}) {
      if (a.rfind(option, 0) == 0) return true;
    }
  }
  return false;
}

// The folder of the running program.
std::string programFolder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  const std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.find_last_of('/'));
}

// The painting module beside the program (a build folder) or where the
// installation puts it. Left loaded until the process ends: Qt is not made
// to be unloaded.
void* openModule(std::string& failure) {
  const std::string folder = programFolder();
  for (const std::string& candidate : {folder + "/" + vintaler::cli::kPaintedModuleName,
                                       folder + "/" VINTALER_PAINTED_DIR "/" + vintaler::cli::kPaintedModuleName}) {
    if (void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
    failure = ::dlerror();
  }
  return nullptr;
}

}  // namespace
#endif

namespace {

// A standard descriptor the tool was started without is taken by /dev/null,
// read-only: a file the tool opens can never take its number and receive the
// results, and a write to it still fails and is reported.
void occupyClosedStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDONLY | O_NOCTTY);
    if (opened >= 0 && opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

// Standard output flushed and closed: a failure only the close reports (a
// full disk or quota over NFS) is a write error too. Left to the tool when it
// has already failed.
int closeStandardOutput(int status) {
  std::cout.flush();
  const bool flushed = std::fflush(stdout) == 0;
  const int reason = flushed ? 0 : errno;
  const int closed = ::close(STDOUT_FILENO);
  const int closeReason = errno;
  if (status != vintaler::cli::kExitOk || (flushed && closed == 0)) return status;
  const char* text = ::strerrordesc_np(flushed ? closeReason : reason);
  std::cerr << "vintaler-cli: cannot write to standard output: " << (text ? text : "error") << "\n";
  return vintaler::cli::kExitUsageOrFile;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away (`| head`) makes writes fail with EPIPE, reported
  // as a write error, rather than end the tool by a signal.
  std::signal(SIGPIPE, SIG_IGN);
  // Likewise a file size limit: the write fails with EFBIG, the output is
  // named as not written and the old file is kept.
  std::signal(SIGXFSZ, SIG_IGN);
  occupyClosedStandardDescriptors();
  // The user's locale decides the decimal separator of what is typed and printed.
  std::setlocale(LC_ALL, "");
  const std::string separator = std::localeconv()->decimal_point;
  std::vector<std::string> args(argv + 1, argv + argc);
  // The language of the texts: --lang, else the system's messages. Russian
  // needs nothing installed: its texts are the engine's own.
  [[maybe_unused]] const char* language = "ru";
#ifdef VINTALER_LANGUAGE
  const std::optional<std::string> chosen = vintaler::cli::languageOption(args, separator);
  const vintaler::TLanguage wanted =
      chosen ? vintaler::languageFromCode(*chosen).value_or(vintaler::TLanguage::Russian) : vintaler::systemLanguage();
  if (wanted == vintaler::TLanguage::English && vintaler::applyLanguage(wanted)) language = "en";
#endif
  vintaler::cli::PaintedExports painted;
#ifdef VINTALER_PAINTED_EXPORTS
  vintaler::cli::ClosePaintedExports close = nullptr;
  if (paintsSomething(args)) {
    std::string failure;
    if (void* module = openModule(failure)) {
      auto open =
          reinterpret_cast<vintaler::cli::OpenPaintedExports>(::dlsym(module, vintaler::cli::kOpenPaintedExports));
      close =
          reinterpret_cast<vintaler::cli::ClosePaintedExports>(::dlsym(module, vintaler::cli::kClosePaintedExports));
      if (open && close) open(painted, argv[0], language);
    } else {
      std::cerr << "vintaler-cli: the drawing module cannot be loaded: " << failure << "\n";
    }
  }
  const int status = vintaler::cli::runCli(args, std::cout, std::cerr, separator, painted);
  painted = {};
  if (close) close();
  return closeStandardOutput(status);
#else
  return closeStandardOutput(vintaler::cli::runCli(args, std::cout, std::cerr, separator, painted));
#endif
}
