// vintaler-cli: the results text of a project on standard output, and the
// flat pattern as DXF, SVG, full-size PDF or a tiled full-size print.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fishApi/core/FishTypes.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/FlatPattern.h"
#include "fishApi/shop/PatternWalk.h"
#include "fishApi/shop/PlateParams.h"
#include "fishApi/shop/TileLayout.h"

namespace vintaler::cli {

// What the command line asks for; every option left out keeps the value of
// the project file (or of a new project).
struct CliRequest {
  bool help = false;
  bool version = false;
  std::optional<std::string> inputFile;
  std::optional<fish::Extended> B, A, L, R, X1, Y1;
  std::optional<std::int32_t> divisions;
  std::optional<std::array<fish::ByteBool, 4>> quadrants;
  bool grid = false;
  std::optional<std::string> saveFile;
  // The flat pattern of the chosen quadrants, also written to these files.
  std::optional<std::string> dxfFile, svgFile, pdfFile, tilesFile;
  fish::TPaper paper = fish::TPaper::A4;
  // The plate (stored in the project): thickness, the faces the sizes
  // measure, the material or a density of its own.
  std::optional<fish::Extended> thickness;
  std::optional<fish::TFaces> rectFaces, roundFaces;
  std::optional<fish::TMaterial> material;
  std::optional<fish::Extended> density;
  // The pattern the exports cut and the figures measure (stored in the
  // project like the plate).
  std::optional<fish::TPatternKind> pattern;
  // Where the pattern is cut into pieces, and the allowances for joining
  // added round them, mm (stored in the project likewise). A seam allowance
  // given alone is a lap: on the first edge of every seam, 0 on the second.
  std::optional<std::uint8_t> seams;
  std::optional<std::pair<fish::Extended, fish::Extended>> seamAllowance;
  std::optional<fish::Extended> rectAllowance, roundAllowance;
  // How the bend lines are marked, and the ticks' length when given (stored
  // in the project likewise).
  std::optional<fish::TBendMarks> bendMarks;
  std::optional<fish::Extended> tickLength;
  // The DXF also carries each bend's angle beside its line, on BEND_ANGLES.
  bool bendAngles = false;
  // The unit of every length (stored in the project likewise).
  std::optional<fish::TUnits> units;
  // The shop figures as one JSON document instead of the results text.
  bool json = false;
  // "ru" or "en" when --lang chose the language of the texts.
  std::optional<std::string> language;
};

// What the title line of a drawing says.
struct PatternTitle {
  std::string project;
  fish::TSystemParams sp;
  std::int32_t divisions = 0;
  fish::TPlateParams plate;
};

// The drawings painted by Qt (SVG, full-size PDF, tiled PDF), each painted
// straight into the file at the path given as the pattern is walked, the
// file replaced whole or not at all; left empty in
// a build without them. A writer throws the engine's error type when the
// drawing cannot be made or its file written.
struct PaintedExports {
  std::function<void(const std::string&, const fish::TPatternWalk&, const PatternTitle&)> svg;
  std::function<void(const std::string&, const fish::TPatternWalk&, const PatternTitle&)> pdf;
  std::function<void(const std::string&, const fish::TPatternWalk&, const fish::TTileLayout&, const PatternTitle&)>
      tiles;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments (without the program name). Numbers may use the
// locale's decimal separator or a point.
CliRequest parseArguments(const std::vector<std::string>& args, std::string_view decimalSeparator);

// The language --lang chose, if it did and the arguments are well formed
// (a usage error is for runCli to report). The program applies it before
// anything is computed or loaded.
std::optional<std::string> languageOption(const std::vector<std::string>& args, std::string_view decimalSeparator);

std::string usageText();

// What --version prints: the tool's name and the program's version.
std::string versionText();

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitEngineError = 1;
inline constexpr int kExitUsageOrFile = 2;

// The whole tool: parses, reads, applies the options, then makes its outputs
// in this order: the exports (DXF, SVG, PDF, tiles; written atomically), the
// results text (each line ended by a line feed) or with --json the figures'
// JSON document and a line feed on `out`, and the project file (--save) last.
//
// A pattern for cutting less accurate than fish::kAccuracyLimit is worked and
// printed all the same, with the warning of the pattern chosen on `err`; so is a damaged extension block of the
// project file (its plate then is the default one), and an outline that
// crosses itself (written as drawn).
//
// A computation that fails ends `err` with the engine's message, prints
// nothing on `out` and writes no export; the project is still saved. An
// output that cannot be made or written (a drawing too large for its page, a
// file or standard output that refuses the bytes) is named on `err` with its
// reason, and the other outputs are made all the same. The status is
// kExitEngineError when the computation failed, whatever else did, otherwise
// kExitUsageOrFile when any output failed.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           std::string_view decimalSeparator, const PaintedExports& painted = {});

}  // namespace vintaler::cli
