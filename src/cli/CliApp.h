// vintaler-cli: the results text of a project on standard output.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fishApi/FishTypes.h"

namespace vintaler::cli {

// What the command line asks for; every option left out keeps the value of
// the project file (or of a new project).
struct CliRequest {
  bool help = false;
  std::optional<std::string> inputFile;
  std::optional<fish::Extended> B, A, L, R, X1, Y1;
  std::optional<std::int32_t> divisions;
  std::optional<std::array<fish::ByteBool, 4>> quadrants;
  bool grid = false;
  std::optional<std::string> saveFile;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments (without the program name). Numbers may use the
// locale's decimal separator or a point.
CliRequest parseArguments(const std::vector<std::string>& args, std::string_view decimalSeparator);

std::string usageText();

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitEngineError = 1;
inline constexpr int kExitUsageOrFile = 2;

// The whole tool: parses, reads, applies the options, saves if asked, prints
// the results text (each line ended by a line feed). An engine failure prints
// nothing on `out` and ends `err` with the engine's message. Output that cannot
// be written (the stream fails by the final flush) is a file error, with the
// system's reason on `err` when the failed write left one in errno.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           std::string_view decimalSeparator);

}  // namespace vintaler::cli
