// The command-line tool's plate options and its JSON document.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli/CliApp.h"
#include "dxfExport/PatternDxf.h"
#include "figuresJson/FiguresJson.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/files/ProjectFile.h"
#include "fishApi/texts/FishTexts.h"
#include "support/EngineTestSupport.h"
#include "support/IndependentReader.h"

using namespace vintaler::cli;
namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string tempPath(const std::string& name) {
  return (fs::temp_directory_path() / ("vintaler-figures-" + std::to_string(::getpid()) + "-" + name)).string();
}

// Every JSON document printed here is also read by python3-jsonschema
// against the published schema.
ToolRun cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = runCli(args, out, err, ".");
  if (status == kExitOk && std::find(args.begin(), args.end(), "--json") != args.end()) {
    const std::string file = tempPath("doc.json");
    std::ofstream(file) << out.str();
    const Json answer = vintaler::test::readWith(VINTALER_CHECK_JSON, file);
    EXPECT_EQ(answer.value("errors", Json::array({"the checker gave no answer"})), Json::array());
    fs::remove(file);
  }
  return {status, out.str(), err.str()};
}

// ---- Plate options, stored by --save ----------------------------------------

struct PlateCase {
  std::string name;
  std::vector<std::string> args;
  fish::TPlateParams expected;
};

fish::TPlateParams plate(fish::Extended t, fish::TFaces rect, fish::TFaces round, fish::TMaterial m,
                         fish::Extended density) {
  return {t, rect, round, m, density};
}

using F = fish::TFaces;
using M = fish::TMaterial;

const PlateCase kPlates[] = {
    {"NothingGiven", {}, plate(0, F::Mean, F::Mean, M::Steel, 7850)},
    {"ThicknessAndFaces",
     {"--thickness", "1.5", "--rect-faces", "inside", "--round-faces", "outside"},
     plate(1.5L, F::Inside, F::Outside, M::Steel, 7850)},
    {"NamedMaterialBringsItsDensity", {"--material", "aluminium"}, plate(0, F::Mean, F::Mean, M::Aluminium, 2700)},
    {"DensityAloneIsAnotherMaterial", {"--density", "7930"}, plate(0, F::Mean, F::Mean, M::Other, 7930)},
    {"OtherWithItsDensity",
     {"--material", "other", "--density", "8500", "--thickness=3"},
     plate(3, F::Mean, F::Mean, M::Other, 8500)},
    {"NamedMaterialWithItsOwnDensity",
     {"--material", "copper", "--density", "8940"},
     plate(0, F::Mean, F::Mean, M::Copper, 8940)},
};

class CliPlate : public ::testing::TestWithParam<PlateCase> {};

TEST_P(CliPlate, IsStoredAndReadBack) {
  const PlateCase& c = GetParam();
  const std::string file = tempPath(c.name + ".raz");
  std::vector<std::string> args = c.args;
  args.insert(args.end(), {"--save", file});
  const ToolRun saved = cli(args);
  ASSERT_EQ(saved.status, kExitOk) << saved.err;
  std::string notice;
  const fish::TProjectData p = fish::readProjectFile(file, &notice);
  EXPECT_EQ(notice, "");
  EXPECT_EQ(p.Plate.Thickness, c.expected.Thickness);
  EXPECT_EQ(p.Plate.RectFaces, c.expected.RectFaces);
  EXPECT_EQ(p.Plate.RoundFaces, c.expected.RoundFaces);
  EXPECT_EQ(p.Plate.Material, c.expected.Material);
  EXPECT_EQ(p.Plate.Density, c.expected.Density);
  EXPECT_EQ(fs::file_size(file), fish::isDefaultPlate(c.expected) ? 240u : 276u);
  // The file carries the plate: read without the options it prints the same.
  EXPECT_EQ(cli({file}).out, saved.out);
  fs::remove(file);
}

INSTANTIATE_TEST_SUITE_P(Options, CliPlate, ::testing::ValuesIn(kPlates), vintaler::test::rowName<PlateCase>);

TEST(CliPlateRefusals, AreUsageErrorsThatPrintNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {"--thickness", "-1"},
      {"--thickness", "abc"},
      {"--thickness", "inf"},
      {"--rect-faces", "sideways"},
      {"--round-faces", ""},
      {"--material", "wood"},
      {"--density", "0"},
      {"--density", "-7850"},
      {"--material", "steel", "--density", "7000"},
      {"--json=1"},
      {"--rect-faces"},
      {"--pattern", "exact"},
      {"--pattern"},
      {"--seams", "+x,+x"},
      {"--seam-allowance", "1,2,3"},
      {"--round-allowance", "-0.5"},
      {"--bend-marks", "dots"},
      {"--bend-marks", "ticks,0"},
      {"--bend-angles=1"},
  };
  for (const auto& args : cases) {
    const ToolRun r = cli(args);
    EXPECT_EQ(r.status, kExitUsageOrFile) << args[0] << " " << (args.size() > 1 ? args[1] : "");
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("vintaler-cli:"), std::string::npos);
  }
  // A cutting choice refused names its option and field.
  EXPECT_NE(cli({"--seam-allowance", "-1"}).err.find("--seam-allowance: Припуск на шов: ширина"), std::string::npos);
}

TEST(CliPlateResults, ZeroThicknessKeepsTheTextAndAThickPlateDevelopsItsNeutralSurface) {
  const ToolRun plain = cli({"--divisions", "12"});
  ASSERT_EQ(plain.status, kExitOk);
  EXPECT_EQ(cli({"--divisions", "12", "--rect-faces", "inside", "--round-faces", "outside"}).out, plain.out);

  // Inside faces of a 98 x 98 rectangle and outside faces of a radius of 51
  // are the neutral sizes 100 x 100 and 50 with t = 2: the same pattern as
  // the plain project's, only the listing says so.
  const ToolRun thick = cli({"--divisions", "12", "--B", "98", "--A", "98", "--R", "51", "--thickness", "2",
                             "--rect-faces", "inside", "--round-faces", "outside"});
  ASSERT_EQ(thick.status, kExitOk) << thick.err;
  const std::string gabarit = plain.out.substr(plain.out.find("Общие габариты"));
  EXPECT_EQ(thick.out.substr(thick.out.find("Общие габариты")), gabarit);
  EXPECT_NE(thick.out.find("(XxY)=98x98"), std::string::npos) << "the given sizes are listed";

  const ToolRun none = cli({"--thickness", "200", "--rect-faces", "outside"});
  EXPECT_EQ(none.status, kExitEngineError);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("средней поверхности"), std::string::npos) << none.err;
}

// ---- The pattern for cutting and its accuracy ----------------------------------

// The final choice (the file's, or the option's over it) is what every export
// cuts and what --save keeps (a plate in the file: the choice makes the block
// version); the tables' DXF is the tables' own bytes.
TEST(CliPattern, ReachesEveryExportAndTheSavedProject) {
  using P = fish::TPatternKind;
  const struct {
    const char* option;
    P inFile, cut;
  } cases[] = {{"--grid", P::Precise, P::Precise},  // --grid: no pattern asked
               {"--grid", P::Table, P::Table},
               {"--pattern=table", P::Precise, P::Table},
               {"--pattern=precise", P::Table, P::Precise}};
  fish::TProjectData project = fish::newProjectData();
  project.Plate.Thickness = 2;
  const std::string in = tempPath("in.raz"), dxf = tempPath("p.dxf"), out = tempPath("o.raz"), drawn = tempPath("d");
  for (const auto& c : cases) {
    project.Cutting.Pattern = c.inFile;
    fish::writeProjectFile(in, project);
    std::vector<P> painted;
    const auto paint = [&painted](const std::string&, const fish::TPatternWalk& p, const auto&...) {
      painted.push_back(p.kind());
    };
    std::ostringstream text, err;
    ASSERT_EQ(runCli({in, c.option, "--dxf", dxf, "--svg", drawn, "--pdf", drawn, "--tiles", drawn, "--save", out},
                     text, err, ".", {paint, paint, paint}),
              kExitOk)
        << err.str();
    EXPECT_EQ(painted, std::vector<P>(3, c.cut));
    std::ifstream file(dxf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    fish::TCuttingParams cut;
    cut.Pattern = c.cut;
    EXPECT_EQ(bytes, vintaler::dxf::patternDxf(
                         fish::flatPattern(project.SystemParams, project.Plate, project.ProParams, cut)));
    if (c.cut == P::Table) {  // the tables' pattern is the t/2 rule's, as it always was
      EXPECT_EQ(bytes, vintaler::dxf::patternDxf(fish::flatPattern(
                           fish::developedParams(project.SystemParams, project.Plate), project.ProParams, c.cut)));
    }
    EXPECT_EQ(bytes.rfind(std::string("999\n") + vintaler::dxf::kPreciseComment, 0) == 0, c.cut == P::Precise);
    EXPECT_EQ(fish::readProjectFile(out).Cutting.Pattern, c.cut);
    EXPECT_EQ(fs::file_size(out), c.cut == P::Table ? 284u : 276u);
  }
  for (const std::string& f : {in, dxf, out, drawn}) fs::remove(f);
}

// Seams and allowances reach the DXF and the JSON document, and --save keeps
// them: read back without the options the project cuts the same DXF. A width
// the piece cannot take fails the computation and writes nothing.
TEST(CliSeams, ReachTheOutputsAndTheSavedProject) {
  const std::string dxf = tempPath("seams.dxf"), saved = tempPath("seams.raz");
  const auto slurp = [&dxf] {
    std::ifstream file(dxf, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
  };
  const std::vector<std::string> cases[] = {
      {"+y"}, {"c1,c3", "--seam-allowance", "6", "--pattern", "table"},
      {"+x,c2,-y,c4", "--seam-allowance=5,3", "--rect-allowance", "10", "--round-allowance", "7.5"},
      {"+x,-x", "--bend-marks", "ticks,7.5"},
      {"+x,-x", "--rect-allowance", "100000"}};
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--quadrants", "1,2,3,4", "--json", "--dxf", dxf, "--save", saved, "--seams"};
    args.insert(args.end(), c.begin(), c.end());
    fs::remove(dxf);
    const ToolRun run = cli(args);
    if (c.back() == "100000") {
      EXPECT_EQ(run.status, kExitEngineError);
      EXPECT_EQ(run.out + slurp(), "");
      continue;
    }
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const fish::TProjectData project = fish::readProjectFile(saved);
    const fish::TFlatPattern pattern = fish::flatPattern(project.SystemParams, project.ProParams, project.Cutting);
    EXPECT_EQ(slurp(), vintaler::dxf::patternDxf(pattern));
    ASSERT_EQ(cli({saved, "--dxf", dxf}).status, kExitOk);
    EXPECT_EQ(slurp(), vintaler::dxf::patternDxf(pattern)) << "the project keeps the choices";
    const Json doc = Json::parse(run.out);
    ASSERT_EQ(doc["sheets"].size(), pattern.Pieces.size());
    double net = 0;
    for (const Json& sheet : doc["sheets"]) net += sheet.value("net_area", sheet["area"].get<double>());
    EXPECT_NEAR(net, doc["net_area"].get<double>(), 1e-9 * net) << "the pieces tile the transition";
    // The quote's pieces add up to its total; the bends are listed piece by piece.
    const Json& quote = doc["quote"];
    double cut = 0, bends = 0;
    for (const Json& piece : quote["pieces"]) {
      cut += piece["cut_length"].get<double>();
      bends += piece["bend_count"].get<double>();
    }
    EXPECT_NEAR(cut, quote["total"]["cut_length"].get<double>(), 1e-9 * cut);
    EXPECT_EQ(bends, quote["total"]["bend_count"].get<double>());
    EXPECT_EQ(doc["bends"].size(), quote["total"]["bend_count"].get<std::size_t>());
  }
  for (const std::string& f : {dxf, saved}) fs::remove(f);
}

// Whichever pattern is cut, a count its warning names is within the limit;
// the results text and the JSON document warn alike.
TEST(CliAccuracy, TheCountAWarningNamesPasses) {
  const std::vector<std::string> big = {"--B", "2714", "--A", "2689", "--R", "1345.26", "--L", "929.4", "--X1", "843"};
  const std::pair<std::vector<std::string>, const char*> projects[] = {
      {{}, "1"},   {{}, "10"},  {{}, "1000"},
      {big, "10"}, {big, "34"}, {{"--B", "3200", "--A", "3200", "--R", "1500", "--L", "1500"}, "400"}};
  std::set<std::string> advised;
  for (const char* pattern : {"precise", "table"}) {
    for (auto [args, n] : projects) {
      args.insert(args.end(), {"--divisions", n, "--pattern", pattern});
      const ToolRun text = cli(args);
      args.push_back("--json");
      EXPECT_EQ(cli(args).err, text.err) << n << " " << pattern;
      if (const std::size_t set = text.err.find("задайте"); set != std::string::npos) {
        const std::string count = text.err.substr(text.err.find_first_of("0123456789", set));
        args.insert(args.end(), {"--divisions", std::to_string(std::stoi(count))});
        EXPECT_EQ(cli(args).err, "") << text.err;
        advised.insert(pattern);
      }
    }
  }
  EXPECT_EQ(advised.size(), 2u) << "some project wants another count with either pattern";
}

// An inch project of the mm one's sizes in inches: its document says so and
// measures the same transition (areas by 25.4^2, the same mass); the project
// keeps the unit until --units mm; only mm and in are units.
TEST(CliUnits, InchesReachTheDocumentAndTheSavedProject) {
  const std::string saved = tempPath("inches.raz");
  const auto run = [](std::vector<std::string> sizes, const char* t, std::vector<std::string> more) {
    sizes.insert(sizes.end(), {"--thickness", t, "--quadrants", "1,2,3,4", "--json"});
    sizes.insert(sizes.end(), more.begin(), more.end());
    return cli(sizes);
  };
  const ToolRun mm = run({"--B", "254", "--A", "203.2", "--L", "304.8", "--R", "101.6"}, "2.54", {});
  const ToolRun in = run({"--B", "10", "--A", "8", "--L", "12", "--R", "4"}, "0.1", {"--units", "in", "--save", saved});
  ASSERT_EQ(mm.status + in.status, kExitOk) << mm.err << in.err;
  const Json a = Json::parse(mm.out), b = Json::parse(in.out);
  EXPECT_FALSE(a.contains("units"));
  EXPECT_EQ(b["units"], "in");
  EXPECT_NEAR(b["net_area"].get<double>() * 645.16, a["net_area"].get<double>(), 1e-9 * a["net_area"].get<double>());
  EXPECT_NEAR(b["mass"].get<double>(), a["mass"].get<double>(), 1e-9 * a["mass"].get<double>());
  EXPECT_EQ(fish::readProjectFile(saved).Cutting.Units, fish::TUnits::Inches);
  EXPECT_EQ(Json::parse(cli({saved, "--json"}).out)["units"], "in");
  EXPECT_FALSE(Json::parse(cli({saved, "--json", "--units", "mm"}).out).contains("units"));
  const ToolRun refused = cli({"--units", "cm"});
  EXPECT_EQ(refused.status, kExitUsageOrFile);
  EXPECT_NE(refused.err.find("--units takes mm or in"), std::string::npos);
  fs::remove(saved);
}

// ---- JSON ---------------------------------------------------------------------

// The rounding of the results table, to compare a JSON coordinate with the
// table's text.
std::string tenths(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.1f", std::nearbyint(v * 10) / 10);
  std::string s = buffer;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return s == "-0" ? "0" : s;
}

// The tables' document agrees with the results text, which is the tables';
// the precise one's points stand off the tables' by no more than its
// max_point_error says.
TEST(CliJson, OneDocumentAgreeingWithTheResultsText) {
  const std::vector<std::string> args = {"--B",         "300", "--A",         "400",   "--L",         "500",
                                         "--R",         "100", "--X1",        "75",    "--Y1",        "75",
                                         "--divisions", "6",   "--quadrants", "1,2,4", "--thickness", "2"};
  std::vector<std::string> withJson = args;
  withJson.insert(withJson.end(), {"--json", "--pattern", "table"});
  const ToolRun json = cli(withJson);
  ASSERT_EQ(json.status, kExitOk) << json.err;
  ASSERT_EQ(json.out.back(), '\n');
  const Json doc = Json::parse(json.out);
  const ToolRun text = cli(args);
  EXPECT_EQ(doc["pattern"], "table");

  EXPECT_EQ(doc["input"]["divisions"], 6);
  EXPECT_EQ(doc["input"]["quadrants"], Json::array({1, 2, 4}));
  EXPECT_EQ(doc["input"]["rectangle_faces"], "mean");
  EXPECT_EQ(doc["input"]["material"], "steel");
  ASSERT_EQ(doc["quadrants"].size(), 4u);
  double sum = 0;
  for (const Json& q : doc["quadrants"]) {
    const int n = 6;
    ASSERT_EQ(q["points"].size(), static_cast<std::size_t>(n + 3));
    ASSERT_EQ(q["generators"].size(), static_cast<std::size_t>(n + 3));
    for (int k = 0; k < n + 3; ++k) {
      EXPECT_EQ(q["generators"][static_cast<std::size_t>(k)]["element"], k);
      EXPECT_GT(q["generators"][static_cast<std::size_t>(k)]["length"].get<double>(), 0);
    }
    // Every point is a row of the results table, rounded as it rounds.
    for (const Json& p : q["points"]) {
      const std::string row =
          fish::tableRow(p["name"].get<std::string>(), tenths(p["x"].get<double>()), tenths(p["y"].get<double>()));
      EXPECT_NE(text.out.find(row + "\n"), std::string::npos) << row;
    }
    sum += q["area"].get<double>();
  }
  EXPECT_NEAR(doc["net_area"].get<double>(), sum, 1e-9 * sum);
  EXPECT_NEAR(doc["mass"].get<double>(), sum * 2 * 7850 * 1e-9, 1e-12);
  // Quadrants 1 and 2 share a sheet; 4 is on its own.
  ASSERT_EQ(doc["sheets"].size(), 2u);
  EXPECT_EQ(doc["sheets"][0]["quadrants"], Json::array({1, 2}));
  EXPECT_EQ(doc["sheets"][1]["quadrants"], Json::array({4}));
  EXPECT_NEAR(doc["sheets"][0]["area"].get<double>(),
              doc["quadrants"][0]["area"].get<double>() + doc["quadrants"][1]["area"].get<double>(), 1e-6);
  EXPECT_NEAR(doc["sheets"][1]["area"].get<double>(), doc["quadrants"][3]["area"].get<double>(), 1e-6);

  withJson.resize(withJson.size() - 2);
  const Json precise = Json::parse(cli(withJson).out);
  EXPECT_EQ(precise["pattern"], "precise") << "a new project cuts the precise pattern";
  EXPECT_EQ(precise["middle_surface"], "normal");
  EXPECT_EQ(doc["middle_surface"], "section");
  EXPECT_FALSE(Json::parse(cli({"--json"}).out).contains("middle_surface")) << "no thickness, no rule";
  const double bound = precise["accuracy"]["max_point_error"];
  double farthest = 0;
  for (std::size_t q = 0; q < 4; ++q) {
    for (std::size_t i = 0; i < doc["quadrants"][q]["points"].size(); ++i) {
      const Json &a = doc["quadrants"][q]["points"][i], &b = precise["quadrants"][q]["points"][i];
      farthest = std::max(farthest, std::hypot(a["x"].get<double>() - b["x"].get<double>(),
                                               a["y"].get<double>() - b["y"].get<double>()));
    }
  }
  EXPECT_GT(farthest, 0.0) << "the patterns differ";
  EXPECT_LE(farthest, bound + 1e-9);
  EXPECT_LE(bound, 0.15) << "no more than the tables' rounding";
}

// Marking out by triangulation: every line the document lists joins two of
// its points (O at the origin) and is as long as the development makes it,
// to the accuracy the document itself claims.
TEST(CliJson, EveryLineJoinsItsPointsAtItsLength) {
  const std::vector<std::vector<std::string>> projects = {
      {"--divisions", "1"},
      {"--divisions", "5", "--B", "300", "--A", "400", "--X1", "30", "--Y1", "-20", "--L", "-250"},
      {"--divisions", "12", "--thickness", "3", "--rect-faces", "inside", "--quadrants", ""},
  };
  for (std::vector<std::string> args : projects) {
    args.push_back("--json");
    const ToolRun r = cli(args);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const Json doc = Json::parse(r.out);
    const double tolerance = doc["accuracy"]["worst_edge_error"].get<double>() + 1e-9;
    const std::size_t n = doc["input"]["divisions"];
    for (const Json& q : doc["quadrants"]) {
      std::map<std::string, std::pair<double, double>> at{{"O", {0, 0}}};
      for (const Json& p : q["points"]) at[p["name"]] = {p["x"], p["y"]};
      for (std::size_t k = 0; k < q["generators"].size(); ++k) EXPECT_EQ(q["generators"][k]["element"], k);
      EXPECT_EQ(q["chords"].size(), n);
      for (const char* kind : {"generators", "chords", "rectangle_half_sides"}) {
        for (const Json& line : q[kind]) {
          ASSERT_TRUE(at.count(line["from"]) && at.count(line["to"])) << line;
          const auto [x0, y0] = at[line["from"]];
          const auto [x1, y1] = at[line["to"]];
          EXPECT_NEAR(std::hypot(x1 - x0, y1 - y0), line["length"].get<double>(), tolerance) << kind << line;
        }
      }
      EXPECT_DOUBLE_EQ(q["rectangle_half_sides"][0]["length"], doc["developed"]["B"].get<double>() / 2);
      EXPECT_DOUBLE_EQ(q["rectangle_half_sides"][1]["length"], doc["developed"]["A"].get<double>() / 2);
    }
  }
}

// The figures without their lists, each quadrant developed again as the
// document is written, and the quote made with them (today's pieces from the
// sheets' outlines), its bends walked again, write the document of the
// figures held whole and the quote made on its own; so does the document
// made in one pass with its figures, its bends kept or drafted aside.
TEST(CliJson, WalkedQuadrantsWriteTheHeldDocument) {
  fish::TProParams pro = fish::defaultProParams();
  pro.Divisions = 9;
  pro.Quadrants = {1, 0, 1, 1};
  for (const fish::Extended thickness : {0.0L, 3.0L}) {
    fish::TPlateParams plate;
    plate.Thickness = thickness;
    for (const auto pattern : {fish::TPatternKind::Precise, fish::TPatternKind::Table}) {
      for (const char* seams : {"+x,-x", "c1,c3"}) {
        fish::TCuttingParams cut;
        cut.Pattern = pattern;
        cut.Seams = fish::seamsFromText(seams);
        const fish::TSystemParams sp = fish::defaultSystemParams();
        const std::string held = vintaler::figures::figuresJson(pro, fish::shopFigures(sp, pro, plate, cut),
                                                                fish::shopQuote(sp, pro, plate, cut));
        const std::string row = std::string(seams) + ", t " + std::to_string(static_cast<double>(thickness));
        const fish::TShopSummary summary = fish::shopSummaryAndQuote(sp, pro, plate, cut);
        std::ostringstream walked;
        vintaler::figures::writeFiguresJson(walked, pro, summary.Figures, summary.Quote);
        EXPECT_EQ(walked.str(), held) << row;
        for (const bool drafted : {false, true}) {
          std::ostringstream once;
          std::stringstream bends;
          const fish::TShopSummary made =
              vintaler::figures::writeShopJson(once, drafted ? &bends : nullptr, sp, pro, plate, cut);
          EXPECT_EQ(once.str(), held) << row << (drafted ? ", bends drafted" : "");
          EXPECT_EQ(made.Figures.Mass, summary.Figures.Mass) << row;
          EXPECT_EQ(made.Quote.Quote.Bends, summary.Quote.Quote.Bends) << row;
        }
      }
    }
  }
  // A bends draft that takes nothing leaves the document failed, not short.
  std::iostream broken(nullptr);
  std::ostringstream once;
  vintaler::figures::writeShopJson(once, &broken, fish::defaultSystemParams(), pro, {}, {});
  EXPECT_FALSE(once.good());
}

// The document is made in a temporary file while it is worked out; with no
// temporary folder to be had it is worked out first and written as before.
TEST(CliJson, NoTemporaryFolderGivesTheSameDocument) {
  const std::vector<std::string> args{"--divisions", "40", "--quadrants", "1,2,3,4", "--json"};
  const ToolRun made = cli(args);
  const char* had = std::getenv("TMPDIR");
  const std::string before = had ? had : "";
  ::setenv("TMPDIR", "/nonexistent/vintaler-no-folder", 1);
  std::ostringstream out, err;
  const int status = runCli(args, out, err, ".");
  had ? ::setenv("TMPDIR", before.c_str(), 1) : ::unsetenv("TMPDIR");
  EXPECT_EQ(made.status, kExitOk);
  EXPECT_EQ(status, kExitOk);
  EXPECT_EQ(out.str(), made.out);
  EXPECT_EQ(err.str(), made.err);
}

TEST(CliJson, EngineFailuresPrintNothing) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"--divisions", "0", "--json"}, {"--L", "0", "--X1", "0.004", "--json"}}) {
    const ToolRun r = cli(args);
    EXPECT_EQ(r.status, kExitEngineError);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(r.err.empty());
  }
}

TEST(CliProjectFile, ADamagedExtensionIsReportedAndTheProjectStillOpens) {
  const std::string file = tempPath("damaged.raz");
  fish::TProjectData p = fish::newProjectData();
  p.Plate.Thickness = 2;
  fish::writeProjectFile(file, p);
  {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(250);
    f.put('\x7f');
  }
  const ToolRun r = cli({file});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, cli({}).out) << "the 240 bytes, with the default plate";
  EXPECT_NE(r.err.find(file), std::string::npos);
  EXPECT_NE(r.err.find("повреждены"), std::string::npos) << r.err;
  fs::remove(file);
}

}  // namespace
