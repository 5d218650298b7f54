#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "CliApp.h"

int main(int argc, char** argv) {
  // The user's locale decides the decimal separator of what is typed and printed.
  std::setlocale(LC_ALL, "");
  const std::string separator = std::localeconv()->decimal_point;
  std::vector<std::string> args(argv + 1, argv + argc);
  return vintaler::cli::runCli(args, std::cout, std::cerr, separator);
}
