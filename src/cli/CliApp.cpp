#include "CliApp.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ext/stdio_filebuf.h>
#include <filesystem>
#include <optional>
#include <ostream>
#include <tuple>
#include <vector>

#include "dxfExport/PatternDxf.h"
#include "figuresJson/FiguresJson.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/InputExplain.h"
#include "fishApi/core/NumText.h"
#include "fishApi/files/ProjectFile.h"
#include "fishApi/files/SafeFile.h"
#include "fishApi/precise/PreciseAccuracy.h"
#include "fishApi/shop/ShopFigures.h"
#include "fishApi/shop/TileLayout.h"
#include "fishApi/texts/FiguresText.h"
#include "fishApi/texts/FishTexts.h"

namespace vintaler::cli {

namespace {

using fish::Extended;

// The options' plate over the project's. A named material brings its own
// density; a density given alone is that of another material.
void applyPlate(const CliRequest& req, fish::TPlateParams& plate) {
  if (req.thickness) plate.Thickness = *req.thickness;
  if (req.rectFaces) plate.RectFaces = *req.rectFaces;
  if (req.roundFaces) plate.RoundFaces = *req.roundFaces;
  if (req.material) {
    plate.Material = *req.material;
    if (*req.material != fish::TMaterial::Other) plate.Density = fish::materialDensity(*req.material);
  }
  if (req.density) {
    plate.Density = *req.density;
    if (!req.material) plate.Material = fish::TMaterial::Other;
  }
  try {
    fish::checkPlate(plate);
  } catch (const fish::EPlateError& e) {
    throw UsageError(e.what());
  }
}

// The options' seams and allowances over the project's; a width the pattern
// cannot take is refused naming its option.
void applyCutting(const CliRequest& req, fish::TCuttingParams& cutting) {
  if (req.units) fish::setUnits(cutting, *req.units);
  if (req.pattern) cutting.Pattern = *req.pattern;
  if (req.seams) cutting.Seams = *req.seams;
  if (req.seamAllowance) std::tie(cutting.SeamFirst, cutting.SeamSecond) = *req.seamAllowance;
  if (req.rectAllowance) cutting.RectAllowance = *req.rectAllowance;
  if (req.roundAllowance) cutting.RoundAllowance = *req.roundAllowance;
  if (req.bendMarks) cutting.BendMarks = *req.bendMarks;
  if (req.tickLength) cutting.TickLength = *req.tickLength;
  if (req.bendAngles) cutting.BendAngles = true;
  try {
    fish::checkCutting(cutting);
  } catch (const fish::ECuttingError& e) {
    const char* option = nullptr;
    switch (e.Field) {
      case fish::TCuttingField::Seams: option = "--seams"; break;
      case fish::TCuttingField::SeamAllowance: option = "--seam-allowance"; break;
      case fish::TCuttingField::RectAllowance: option = "--rect-allowance"; break;
      case fish::TCuttingField::RoundAllowance: option = "--round-allowance"; break;
      case fish::TCuttingField::TickLength: option = "--bend-marks"; break;
    }
    throw UsageError(option ? std::string(option) + ": " + e.what() : std::string(e.what()));
  }
}

// The system's reason for `err` in English, whatever the locale, to follow
// the tool's own English messages (the engine's Russian ones carry
// fish::errnoText instead).
std::string englishReason(int err) {
  if (const char* text = ::strerrordesc_np(err)) return text;
  return "error " + std::to_string(err);
}

// What standard output carries, as its failure names it.
const char* printedName(bool json) { return json ? "the JSON document" : "the results"; }

// Flushes standard output; a stream that could not take it all is a file
// error with the system's reason (a full disk, a closed pipe), never a silent
// success. The caller clears `errno` before the first write, so that a
// reason found here belongs to this output.
bool finishOutput(std::ostream& out, std::ostream& err, const char* what) {
  out.flush();
  const int reason = errno;
  if (out) return true;
  err << "vintaler-cli: cannot write " << what << " to standard output";
  if (reason != 0) err << ": " << englishReason(reason);
  err << "\n";
  return false;
}

// The page's lines, each ended by a line feed, handed to `out` in blocks;
// once a block fails the rest is not made.
void writeLines(const fish::TResultsSource& page, std::ostream& out) {
  constexpr std::size_t kBlock = 64 * 1024;
  std::string block;
  block.reserve(kBlock + 256);
  page.forEachLine([&](std::string_view line) {
    if (!out) return;
    block += line;
    block += '\n';
    if (block.size() >= kBlock) {
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
      block.clear();
    }
  });
  if (out) out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

const char* nonFiniteField(const fish::TSystemParams& sp) {
  const std::pair<const char*, Extended> fields[] = {{"B", sp.B}, {"A", sp.A},   {"L", sp.L},
                                                     {"R", sp.R}, {"X1", sp.X1}, {"Y1", sp.Y1}};
  for (const auto& [name, value] : fields) {
    if (!fish::isUsableExtended(value)) return name;
  }
  return nullptr;
}

// The file name without its folder and extension, as the drawings' titles
// name the project.
std::string projectName(const std::optional<std::string>& file) {
  if (!file) return fish::say(FISH_TR("shop", "Новый проект"));
  std::string name = file->substr(file->find_last_of('/') == std::string::npos ? 0 : file->find_last_of('/') + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

// What went wrong in a run, and the exit status it makes. An output's failure
// is told when it is met; the computation's is told last, so that its message
// stays the last line of standard error whatever failed besides.
struct Outcome {
  bool computationFailed = false;
  bool outputFailed = false;
  std::string computationMessage;

  void failComputation(std::string message) {
    computationFailed = true;
    computationMessage = std::move(message);
  }

  int status() const { return computationFailed ? kExitEngineError : outputFailed ? kExitUsageOrFile : kExitOk; }
};

// The message of an output that could not be made or written: what it is,
// the file and the reason. The reason of a file error already names the file.
void reportOutputFailure(std::ostream& err, const char* what, const std::string& path, const std::string& reason) {
  err << "vintaler-cli: " << what;
  if (reason.find(path) == std::string::npos) err << " \"" << path << "\"";
  err << ": " << reason << "\n";
}

// Painted drawings asked for in a build without them: refused before
// anything is done, as an option the tool does not know would be.
bool refuseMissingDrawings(const CliRequest& req, const PaintedExports& painted, std::ostream& err) {
  const std::pair<bool, const char*> missing[] = {{req.svgFile && !painted.svg, "--svg"},
                                                  {req.pdfFile && !painted.pdf, "--pdf"},
                                                  {req.tilesFile && !painted.tiles, "--tiles"}};
  for (const auto& [refused, option] : missing) {
    if (refused) {
      err << "vintaler-cli: " << option << " is not available in this build\n";
      return true;
    }
  }
  return false;
}

// The warning of the pattern chosen for cutting, empty when it is within the
// limit.
std::string patternWarning(fish::TPatternKind kind, const fish::TPatternAccuracy& accuracy, fish::TUnits units) {
  const std::string unit = fish::unitWord(units);
  return kind == fish::TPatternKind::Precise ? fish::preciseAccuracyWarning(accuracy, ".", unit)
                                             : fish::tableAccuracyWarning(accuracy, ".", unit);
}

// Writes the exports asked for, in the order DXF, SVG, PDF, tiles. A pattern
// that cannot be computed writes none of them; a drawing that cannot be made
// or a file that cannot be written is that output's failure alone.
void writeExports(const CliRequest& req, const fish::TSystemParams& sp, const fish::TProParams& pp,
                  const fish::TPlateParams& plate, const fish::TCuttingParams& cutting, const PaintedExports& painted,
                  std::ostream& err, Outcome& outcome) {
  if (!req.dxfFile && !req.svgFile && !req.pdfFile && !req.tilesFile) return;
  // Every export is written from the pattern's walk, never held whole.
  std::optional<fish::TPatternWalk> walk;
  bool crossing = false;
  try {
    walk.emplace(sp, plate, pp, cutting);
    crossing = walk->crossing();
  } catch (const fish::EFishError& e) {
    outcome.failComputation(e.what());
    return;
  }
  if (crossing) {
    err << "vintaler-cli: warning: an outline of the pattern crosses itself; it is written as drawn\n";
  }
  const PatternTitle title{projectName(req.inputFile), sp, pp.Divisions, plate};
  const auto output = [&](const std::optional<std::string>& path, const char* what, const auto& write) {
    if (!path) return;
    try {
      write(*path);
    } catch (const fish::EFishError& e) {
      reportOutputFailure(err, what, *path, e.what());
      outcome.outputFailed = true;
    }
  };
  output(req.dxfFile, "DXF", [&](const std::string& path) { dxf::writePatternDxf(path, *walk); });
  output(req.svgFile, "SVG", [&](const std::string& path) { painted.svg(path, *walk, title); });
  output(req.pdfFile, "PDF", [&](const std::string& path) { painted.pdf(path, *walk, title); });
  output(req.tilesFile, "tiled PDF", [&](const std::string& path) {
    painted.tiles(path, *walk, fish::tileLayout(*walk, req.paper), title);
  });
}

// A file of the temporary folder that no name reaches, where the JSON
// document is made while its figures are worked out, so that a failure on
// the way prints none of it; it goes when the run ends. Not made when the
// folder takes no file.
class TDraft {
 public:
  TDraft() {
    std::error_code failed;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(failed);
    if (failed) return;
    Fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (Fd < 0) {  // a file system without unnamed files: a named one, unlinked at once
      std::string name = (folder / "vintaler-cli-XXXXXX").string();
      Fd = ::mkostemp(name.data(), O_CLOEXEC);
      if (Fd >= 0) ::unlink(name.c_str());
    }
    if (Fd >= 0) Buffer.emplace(Fd, std::ios::in | std::ios::out | std::ios::binary, 1 << 16);
  }
  ~TDraft() {
    Buffer.reset();
    if (Fd >= 0) ::close(Fd);
  }
  TDraft(const TDraft&) = delete;
  TDraft& operator=(const TDraft&) = delete;

  std::streambuf* buffer() { return Buffer ? &*Buffer : nullptr; }
  // Everything written so far, from the start, onto `out`; a draft that
  // cannot be read back whole fails `out`.
  void copyTo(std::ostream& out) {
    const std::streamoff size = Buffer->pubsync() == 0 ? std::streamoff(Buffer->pubseekoff(0, std::ios::end)) : -1;
    if (size < 0 || Buffer->pubseekpos(0) != std::streampos(0)) {
      out.setstate(std::ios::badbit);
      return;
    }
    std::vector<char> block(1 << 16);
    std::streamoff copied = 0;
    while (out) {
      const std::streamsize got = Buffer->sgetn(block.data(), static_cast<std::streamsize>(block.size()));
      if (got <= 0) break;
      out.write(block.data(), got);
      copied += got;
    }
    if (copied != size) out.setstate(std::ios::badbit);
  }

 private:
  int Fd = -1;
  std::optional<__gnu_cxx::stdio_filebuf<char>> Buffer;
};

// Works out the page (or the JSON document) and prints it. A computation
// that fails prints nothing; the exports are written between the two, so
// that standard output is the last thing a reader of it waits for.
void computeAndPrint(const CliRequest& req, const fish::TProjectData& project, const PaintedExports& painted,
                     std::ostream& out, std::ostream& err, std::string_view sep, Outcome& outcome) {
  const fish::TSystemParams& sp = project.SystemParams;
  const fish::TProParams& pp = project.ProParams;
  const fish::TPlateParams& plate = project.Plate;
  if (const char* field = nonFiniteField(sp)) {
    outcome.failComputation("vintaler-cli: " + (req.inputFile ? *req.inputFile : std::string("project")) + ": " +
                            field + " is not a finite number\n" + fish::kMsgInvalidOp);
    return;
  }
  // The whole page (or the figures of the document) is worked out first, so
  // that a failure prints nothing on `out`; a page's lines and the document
  // are then written as they are made.
  const fish::TPatternKind kind = project.Cutting.Pattern;
  std::optional<fish::TResultsSource> page;
  std::optional<fish::TShopFigures> figures;
  std::optional<fish::TShopQuote> quote;
  std::string warning;
  // The document is made in one pass with its figures, in a draft (and the
  // bends of today's pieces in one of their own), when one can be had;
  // otherwise, or when the draft could not take it all, the figures are
  // worked out first and the document written from them.
  std::optional<TDraft> draft, bendsDraft;
  if (req.json) {
    draft.emplace();
    bendsDraft.emplace();
  }
  std::optional<std::ostream> drafted;
  try {
    if (req.json) {
      fish::TShopSummary both;
      if (draft->buffer()) {
        drafted.emplace(draft->buffer());
        std::optional<std::iostream> bends;
        if (bendsDraft->buffer()) bends.emplace(bendsDraft->buffer());
        both = figures::writeShopJson(*drafted, bends ? &*bends : nullptr, sp, pp, plate, project.Cutting);
        drafted->flush();
        if (!*drafted) drafted.reset();
      }
      if (!drafted) both = fish::shopSummaryAndQuote(sp, pp, plate, project.Cutting);
      figures = std::move(both.Figures);
      quote = std::move(both.Quote);
      warning = patternWarning(kind, figures->PatternAccuracy, project.Cutting.Units);
    } else {
      page.emplace(sp, pp, sep, false, plate, nullptr, project.Cutting.Units);
      if (page->error()) {
        outcome.failComputation(page->failureMessage());
        return;
      }
      // The page is the tables'; the warning is that of the pattern cut. The
      // precise pattern's needs no development, the tables' measures both.
      const fish::TSystemParams developed = fish::developedParams(sp, plate, project.Cutting.Units);
      const fish::Extended limit = fish::accuracyLimit(project.Cutting.Units);
      warning = patternWarning(kind, kind == fish::TPatternKind::Precise
                                         ? fish::chordAccuracy(developed, pp, limit)
                                         : fish::patternAccuracy(developed, pp, true, limit),
                               project.Cutting.Units);
    }
  } catch (const fish::EFishError& e) {
    outcome.failComputation(e.what());
    return;
  }
  if (!warning.empty()) err << "vintaler-cli: warning: " << warning << "\n";
  writeExports(req, sp, pp, plate, project.Cutting, painted, err, outcome);
  if (outcome.computationFailed) return;
  errno = 0;
  if (page) {
    writeLines(*page, out);
  } else {
    // Every figure is worked out and checked finite by now; the document is
    // copied from its draft or written as it is walked.
    if (drafted) {
      draft->copyTo(out);
    } else {
      figures::writeFiguresJson(out, pp, *figures, *quote);
    }
    out << '\n';
  }
  if (!finishOutput(out, err, printedName(req.json))) outcome.outputFailed = true;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::string_view sep,
           const PaintedExports& painted) {
  CliRequest req;
  try {
    req = parseArguments(args, sep);
  } catch (const UsageError& e) {
    err << "vintaler-cli: " << e.what() << "\nTry 'vintaler-cli --help'.\n";
    return kExitUsageOrFile;
  }
  if (req.help || req.version) {
    errno = 0;
    out << (req.help ? usageText() : versionText());
    return finishOutput(out, err, req.help ? "the usage" : "the version") ? kExitOk : kExitUsageOrFile;
  }

  fish::TProjectData project = fish::newProjectData();
  try {
    std::string notice;
    if (req.inputFile) project = fish::readProjectFile(*req.inputFile, &notice);
    if (!notice.empty()) err << "vintaler-cli: " << *req.inputFile << ": " << notice << "\n";
  } catch (const fish::EProjectFileError& e) {
    err << "vintaler-cli: " << e.what() << "\n";
    return kExitUsageOrFile;
  }
  try {
    applyPlate(req, project.Plate);
    applyCutting(req, project.Cutting);
  } catch (const UsageError& e) {
    err << "vintaler-cli: " << e.what() << "\nTry 'vintaler-cli --help'.\n";
    return kExitUsageOrFile;
  }
  if (refuseMissingDrawings(req, painted, err)) return kExitUsageOrFile;

  fish::TSystemParams& sp = project.SystemParams;
  fish::TProParams& pp = project.ProParams;
  if (req.B) sp.B = *req.B;
  if (req.A) sp.A = *req.A;
  if (req.L) sp.L = *req.L;
  if (req.R) sp.R = *req.R;
  if (req.X1) sp.X1 = *req.X1;
  if (req.Y1) sp.Y1 = *req.Y1;
  if (req.divisions) pp.Divisions = *req.divisions;
  if (req.quadrants) pp.Quadrants = *req.quadrants;
  if (req.grid) pp.ShowGrid = 1;

  Outcome outcome;
  computeAndPrint(req, project, painted, out, err, sep, outcome);
  // The project last: it is saved whatever became of the rest, since it is
  // what the user gave, not what was computed from it.
  if (req.saveFile) {
    try {
      fish::writeProjectFile(*req.saveFile, project);
    } catch (const fish::EFishError& e) {
      reportOutputFailure(err, "project file", *req.saveFile, e.what());
      outcome.outputFailed = true;
    }
  }
  if (outcome.computationFailed) {
    // Which of the given numbers to change, before the failure's own message.
    if (const fish::TExplanation why = fish::explainParams(sp, pp, sep); !why.empty()) {
      err << "vintaler-cli: " << why.Message.text() << "\n";
    }
    err << outcome.computationMessage << "\n";
  }
  return outcome.status();
}

}  // namespace vintaler::cli
