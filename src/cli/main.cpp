#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "CliApp.h"

#ifdef VINTALER_PAINTED_EXPORTS
#include <dlfcn.h>
#include <unistd.h>

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

int main(int argc, char** argv) {
  // The user's locale decides the decimal separator of what is typed and printed.
  std::setlocale(LC_ALL, "");
  const std::string separator = std::localeconv()->decimal_point;
  std::vector<std::string> args(argv + 1, argv + argc);
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
      if (open && close) open(painted, argv[0]);
    } else {
      std::cerr << "vintaler-cli: the drawing module cannot be loaded: " << failure << "\n";
    }
  }
  const int status = vintaler::cli::runCli(args, std::cout, std::cerr, separator, painted);
  painted = {};
  if (close) close();
  return status;
#else
  return vintaler::cli::runCli(args, std::cout, std::cerr, separator, painted);
#endif
}
