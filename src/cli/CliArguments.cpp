// The command line read into a request: the options, their values and the
// usage text that explains them.
#include <algorithm>
#include <cmath>
#include <tuple>

#include "CliApp.h"
#include "fishApi/core/NumText.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/PlateParams.h"
#include "fishApi/shop/TileLayout.h"

namespace vintaler::cli {

namespace {

using fish::Extended;

Extended parseNumber(const std::string& option, const std::string& text, std::string_view sep) {
  Extended v = 0;
  if (fish::textToFloat(text, sep, v) || fish::textToFloat(text, ".", v)) return v;
  throw UsageError("'" + text + "' is not a valid floating point value (option " + option + ")");
}

std::array<fish::ByteBool, 4> parseQuadrants(const std::string& text) {
  std::array<fish::ByteBool, 4> selected{};
  std::size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    std::int32_t q = 0;
    if (!fish::textToInt32(item, q) || q < 1 || q > 4) {
      throw UsageError("--quadrants takes numbers 1 to 4 separated by commas, not '" + text + "'");
    }
    selected[static_cast<std::size_t>(q - 1)] = 1;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return selected;
}

// Splits "--name=value" and "--name value".
struct OptionReader {
  const std::vector<std::string>& args;
  std::size_t i = 0;

  std::string Value(const std::string& name, const std::optional<std::string>& inlineValue) {
    if (inlineValue) return *inlineValue;
    if (i + 1 >= args.size()) throw UsageError("option " + name + " needs a value");
    return args[++i];
  }
};

// Optional blanks and sign, then decimal digits only: a whole number, whatever its size.
bool isWholeNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Extended parseThickness(const std::string& text, std::string_view sep) {
  const Extended t = parseNumber("--thickness", text, sep);
  if (!std::isfinite(t) || t < 0)
    throw UsageError("--thickness takes a thickness of 0 or more in the project's unit, not '" + text + "'");
  return t;
}

Extended parseDensity(const std::string& text, std::string_view sep) {
  const Extended d = parseNumber("--density", text, sep);
  if (!std::isfinite(d) || d <= 0) throw UsageError("--density takes a density above 0 in kg/m3, not '" + text + "'");
  return d;
}

fish::TFaces parseFaces(const std::string& option, const std::string& text) {
  fish::TFaces faces{};
  if (!fish::facesFromKey(text, faces)) throw UsageError(option + " takes inside, outside or mean, not '" + text + "'");
  return faces;
}

fish::TMaterial parseMaterial(const std::string& text) {
  fish::TMaterial material{};
  if (!fish::materialFromKey(text, material)) {
    throw UsageError("--material takes steel, stainless, aluminium, copper, galvanised or other, not '" + text + "'");
  }
  return material;
}

fish::TPatternKind parsePattern(const std::string& text) {
  fish::TPatternKind pattern{};
  if (!fish::patternFromKey(text, pattern)) throw UsageError("--pattern takes precise or table, not '" + text + "'");
  return pattern;
}

std::uint8_t parseSeams(const std::string& text) {
  try {
    return fish::seamsFromText(text);
  } catch (const fish::ECuttingError& e) {
    throw UsageError(std::string("--seams: ") + e.what());
  }
}

bool readNumber(std::string_view text, std::string_view sep, Extended& out) {
  return fish::textToFloat(text, sep, out) || fish::textToFloat(text, ".", out);
}

// "W1" or "W1,W2". Where the locale's decimal separator is a comma too, text
// that reads as one number is W1 alone, and a list must split at one comma
// only into two numbers.
std::pair<Extended, Extended> parseSeamAllowance(const std::string& text, std::string_view sep) {
  const std::string option = "--seam-allowance";
  Extended first = 0, second = 0;
  if (readNumber(text, sep, first)) return {first, 0};
  int ways = 0;
  std::pair<Extended, Extended> widths;
  for (std::size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', comma + 1)) {
    if (readNumber(std::string_view(text).substr(0, comma), sep, first) &&
        readNumber(std::string_view(text).substr(comma + 1), sep, second)) {
      widths = {first, second};
      ++ways;
    }
  }
  if (ways == 1) return widths;
  if (ways > 1) throw UsageError(option + " cannot tell its two widths apart in '" + text + "': use a decimal point");
  throw UsageError(option + " takes one or two widths in the project's unit separated by a comma, not '" + text + "'");
}

// "full", "ticks" or "ticks,LENGTH": the length is the ticks' in the project's unit, checked
// with the other cutting choices.
std::pair<fish::TBendMarks, std::optional<Extended>> parseBendMarks(const std::string& text, std::string_view sep) {
  const std::string option = "--bend-marks";
  if (text == "full") return {fish::TBendMarks::Full, std::nullopt};
  if (text == "ticks") return {fish::TBendMarks::Ticks, std::nullopt};
  Extended length = 0;
  if (text.rfind("ticks,", 0) == 0 && readNumber(std::string_view(text).substr(6), sep, length))
    return {fish::TBendMarks::Ticks, length};
  throw UsageError(option + " takes full, ticks or ticks,LENGTH (in the project's unit), not '" + text + "'");
}

// 0 is let through: the engine reports it as the division by zero it is.
std::int32_t parseDivisions(const std::string& text) {
  std::int32_t n = 0;
  const bool fits = fish::textToInt32(text, n);
  if (fits && n >= 0 && n <= fish::kMaxDivisions) return n;
  if (fits || isWholeNumber(text)) {
    throw UsageError("--divisions takes a whole number from 1 to " + std::to_string(fish::kMaxDivisions) + ", not '" +
                     text + "'");
  }
  throw UsageError("--divisions takes a whole number, not '" + text + "'");
}

std::string parseLanguage(const std::string& code) {
  if (code != "ru" && code != "en") throw UsageError("--lang takes ru or en, not '" + code + "'");
#ifndef VINTALER_ENGLISH
  // The engine-only build carries no translation: asked for English it says
  // so rather than answer in Russian unasked.
  if (code == "en") throw UsageError("--lang en: English is not in this build (engine only), its texts are Russian");
#endif
  return code;
}

std::string fileName(const std::string& option, const std::string& value) {
  if (value.empty()) throw UsageError(option + " needs a file name");
  return value;
}

}  // namespace

std::string usageText() {
  return "Usage: vintaler-cli [FILE.raz] [--B x] [--A x] [--L x] [--R x] [--X1 x] [--Y1 x]\n"
         "                    [--divisions n] [--quadrants 1,2,...] [--grid] [--save OUT.raz]\n"
         "                    [--dxf OUT.dxf] [--svg OUT.svg] [--pdf OUT.pdf] [--tiles OUT.pdf]\n"
         "                    [--paper A4|A3|Letter] [--thickness t] [--rect-faces F]\n"
         "                    [--round-faces F] [--material NAME] [--density d]\n"
         "                    [--pattern precise|table] [--seams LIST]\n"
         "                    [--seam-allowance W1[,W2]] [--rect-allowance W]\n"
         "                    [--round-allowance W] [--bend-marks full|ticks[,L]]\n"
         "                    [--bend-angles] [--units mm|in] [--json] [--lang ru|en]\n"
         "\n"
         "Prints the results of a rectangle-to-round transition piece: its parameters, the\n"
         "overall dimensions of the development and the outline points of every quadrant.\n"
         "Every length is in the project's unit, mm or in (--units).\n"
         "\n"
         "  FILE.raz           project to start from (default: a new project)\n"
         "  --B x, --A x       sides of the rectangular section along X and along Y\n"
         "  --L x              distance between the sections\n"
         "  --R x              radius of the circular section\n"
         "  --X1 x, --Y1 x     offset of the circle's centre along X and along Y\n"
         "  --divisions n      divisions of each quarter arc (1 to 100000)\n"
         "  --quadrants list   quadrants to draw, e.g. 1,2 (stored in the project)\n"
         "  --grid             draw every generator line (stored in the project)\n"
         "  --save OUT.raz     also write the project file\n"
         "  --dxf OUT.dxf      also write the flat pattern of the chosen quadrants as DXF\n"
         "                     (R12, in the project's unit; layers CUT, BEND, LABELS)\n"
         "  --svg OUT.svg      also write the flat pattern as SVG, 1 unit = 1 mm\n"
         "  --pdf OUT.pdf      also write the flat pattern at full size on one PDF page\n"
         "  --tiles OUT.pdf    also write the flat pattern at full size over sheets of paper\n"
         "  --paper SIZE       paper of the sheets: A4 (default), A3 or Letter\n"
         "  --thickness t      plate thickness in the project's unit (default 0); the\n"
         "                     pattern is developed from the plate's neutral (middle)\n"
         "                     surface\n"
         "  --rect-faces F     the faces the sides B and A measure: inside, outside or\n"
         "                     mean (default)\n"
         "  --round-faces F    the faces the radius R measures: inside, outside or mean\n"
         "  --material NAME    steel (7850 kg/m3, default), stainless (7900), aluminium\n"
         "                     (2700), copper (8940), galvanised (7850) or other\n"
         "  --density d        density in kg/m3 of a material of your own (other)\n"
         "  --pattern KIND     the pattern the exports cut and the figures measure: precise\n"
         "                     (the exact surface unrounded, a new project's choice) or\n"
         "                     table (the development of the results tables, rounded as\n"
         "                     they round it)\n"
         "  --seams LIST       where the pattern is cut into pieces, one piece per seam:\n"
         "                     +x, +y, -x, -y (the middles of the sides) and c1 to c4\n"
         "                     (the corners of quadrants 1 to 4), e.g. +y or c1,c3;\n"
         "                     default +x,-x (quadrants 1 and 2, and 3 and 4)\n"
         "  --seam-allowance W1[,W2]\n"
         "                     allowance added on every seam, in the project's unit: W1\n"
         "                     on the edge of the piece that ends there, W2 (default 0,\n"
         "                     a lap) on the edge of the piece that starts there\n"
         "  --rect-allowance W flange added along the rectangular end (default 0)\n"
         "  --round-allowance W\n"
         "                     collar added along the round end (default 0)\n"
         "  --bend-marks full|ticks[,L]\n"
         "                     bend lines drawn full length (default) or as ticks L\n"
         "                     long (default 10 mm, in inches too) at both ends, for\n"
         "                     parts that must not be scored across\n"
         "  --bend-angles      also write each bend's angle beside its line in the DXF\n"
         "                     (layer BEND_ANGLES)\n"
         "  --units mm|in      the unit of every length: the sizes, the thickness, the\n"
         "                     allowances and the ticks, the results and the figures\n"
         "                     (default mm, a new project's); the DXF is drawn in it, the\n"
         "                     PDF and SVG at full size whatever it is (stored in the\n"
         "                     project)\n"
         "  --json             print the shop figures as one JSON document instead of the\n"
         "                     results: outline points, true lengths, areas, mass, accuracy\n"
         "  --lang ru|en       the language of the results, the figures, the drawings'\n"
         "                     titles and the computation's messages: Russian or\n"
         "                     English (default: that of LC_ALL, LC_MESSAGES or LANG,\n"
         "                     English for an English locale, otherwise Russian)\n"
         "  --help             this text\n"
         "  --version          the version of the program\n"
         "\n"
         "The plate options, --pattern, the seams, the allowances and the bend marks are\n"
         "stored in the project by --save. With allowances the exports cut the outline\n"
         "with them and the DXF draws the net outline on a layer PATTERN.\n"
         "Numbers take the decimal separator of the locale or a point.\n"
         "Exit status: 0 done, 1 the computation failed, 2 bad usage or an input or output\n"
         "that cannot be read or written (each named on standard error). An output that\n"
         "fails leaves the others to be written all the same, the project (--save) last;\n"
         "when the computation failed the status is 1 whatever else failed.\n";
}

std::string versionText() { return "vintaler-cli " VINTALER_VERSION "\n"; }

CliRequest parseArguments(const std::vector<std::string>& args, std::string_view sep) {
  CliRequest req;
  OptionReader reader{args};
  for (; reader.i < args.size(); ++reader.i) {
    const std::string& arg = args[reader.i];
    if (arg.rfind("--", 0) != 0 || arg == "--") {
      if (arg == "--" || arg == "-") throw UsageError("unexpected argument '" + arg + "'");
      if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option '" + arg + "'");
      if (req.inputFile) throw UsageError("only one project file can be given");
      req.inputFile = arg;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    auto number = [&](std::optional<Extended>& field) {
      field = parseNumber(name, reader.Value(name, inlineValue), sep);
    };
    if (name == "--help") {
      req.help = true;
    } else if (name == "--version") {
      if (inlineValue) throw UsageError("--version takes no value");
      req.version = true;
    } else if (name == "--B") {
      number(req.B);
    } else if (name == "--A") {
      number(req.A);
    } else if (name == "--L") {
      number(req.L);
    } else if (name == "--R") {
      number(req.R);
    } else if (name == "--X1") {
      number(req.X1);
    } else if (name == "--Y1") {
      number(req.Y1);
    } else if (name == "--divisions") {
      req.divisions = parseDivisions(reader.Value(name, inlineValue));
    } else if (name == "--quadrants") {
      req.quadrants = parseQuadrants(reader.Value(name, inlineValue));
    } else if (name == "--grid") {
      if (inlineValue) throw UsageError("--grid takes no value");
      req.grid = true;
    } else if (name == "--save") {
      req.saveFile = fileName(name, reader.Value(name, inlineValue));
    } else if (name == "--dxf") {
      req.dxfFile = fileName(name, reader.Value(name, inlineValue));
    } else if (name == "--svg") {
      req.svgFile = fileName(name, reader.Value(name, inlineValue));
    } else if (name == "--pdf") {
      req.pdfFile = fileName(name, reader.Value(name, inlineValue));
    } else if (name == "--tiles") {
      req.tilesFile = fileName(name, reader.Value(name, inlineValue));
    } else if (name == "--thickness") {
      req.thickness = parseThickness(reader.Value(name, inlineValue), sep);
    } else if (name == "--rect-faces") {
      req.rectFaces = parseFaces(name, reader.Value(name, inlineValue));
    } else if (name == "--round-faces") {
      req.roundFaces = parseFaces(name, reader.Value(name, inlineValue));
    } else if (name == "--material") {
      req.material = parseMaterial(reader.Value(name, inlineValue));
    } else if (name == "--density") {
      req.density = parseDensity(reader.Value(name, inlineValue), sep);
    } else if (name == "--pattern") {
      req.pattern = parsePattern(reader.Value(name, inlineValue));
    } else if (name == "--seams") {
      req.seams = parseSeams(reader.Value(name, inlineValue));
    } else if (name == "--seam-allowance") {
      req.seamAllowance = parseSeamAllowance(reader.Value(name, inlineValue), sep);
    } else if (name == "--rect-allowance") {
      number(req.rectAllowance);
    } else if (name == "--round-allowance") {
      number(req.roundAllowance);
    } else if (name == "--bend-marks") {
      std::tie(req.bendMarks, req.tickLength) = parseBendMarks(reader.Value(name, inlineValue), sep);
    } else if (name == "--bend-angles") {
      if (inlineValue) throw UsageError("--bend-angles takes no value");
      req.bendAngles = true;
    } else if (name == "--units") {
      const std::string units = reader.Value(name, inlineValue);
      fish::TUnits read{};
      if (!fish::unitsFromKey(units, read)) throw UsageError("--units takes mm or in, not '" + units + "'");
      req.units = read;
    } else if (name == "--json") {
      if (inlineValue) throw UsageError("--json takes no value");
      req.json = true;
    } else if (name == "--lang") {
      req.language = parseLanguage(reader.Value(name, inlineValue));
    } else if (name == "--paper") {
      const std::string paper = reader.Value(name, inlineValue);
      if (!fish::paperFromName(paper, req.paper))
        throw UsageError("--paper takes A4, A3 or Letter, not '" + paper + "'");
    } else {
      throw UsageError("unknown option '" + name + "'");
    }
  }
  return req;
}

std::optional<std::string> languageOption(const std::vector<std::string>& args, std::string_view sep) {
  try {
    return parseArguments(args, sep).language;
  } catch (const UsageError&) {
    return std::nullopt;
  }
}

}  // namespace vintaler::cli
