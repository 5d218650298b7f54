// The DXF file read back by an independent reader (ezdxf, through
// read_dxf.py): a clean audit, the three layers, one closed outline per sheet
// whose vertices are the pattern's, every bend line, every name.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <numeric>
#include <string>
#include <tuple>

#include "dxfExport/PatternDxf.h"
#include "fishApi/core/FishTypes.h"
#include "fishApi/files/SafeFile.h"
#include "fishApi/shop/BendTable.h"
#include "fishApi/shop/QuoteFigures.h"
#include "fishApi/shop/ShopFigures.h"
#include "fishApi/TestParams.h"
#include "support/EngineTestSupport.h"
#include "support/FileSizeLimit.h"
#include "support/IndependentReader.h"
#include "support/SegmentBox.h"

using fish::Extended;
using nlohmann::json;

namespace {

std::filesystem::path scratch(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() / ("vintaler-dxf-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir / name;
}

json readBack(const std::filesystem::path& file) { return vintaler::test::readWith(VINTALER_READ_DXF, file.string()); }

struct DxfCase {
  const char* name;
  fish::TSystemParams sp;
  std::int32_t n;
  std::array<fish::ByteBool, 4> quadrants;
  fish::TUnits units = fish::TUnits::Millimetres;
};

fish::TFlatPattern patternOf(const DxfCase& c) {
  fish::TProParams pp = fish::defaultProParams();
  pp.Divisions = c.n;
  pp.Quadrants = c.quadrants;
  fish::TCuttingParams cutting{fish::TPatternKind::Table};
  cutting.Units = c.units;
  return fish::flatPattern(c.sp, fish::TPlateParams{}, pp, cutting);
}

const DxfCase kCases[] = {
    {"DefaultUpperPair", fish::defaultSystemParams(), 10, {1, 1, 0, 0}},
    {"AllQuadrantsOffset", fish::test::params(400, 250, 300, 160, 35, -20), 24, {1, 1, 1, 1}},
    {"SeparateSheets", fish::test::params(120, 80, 60, 45, 0, 0), 5, {1, 0, 0, 1}},
    {"Fine", fish::test::params(1000, 600, 1200, 315, -100, 250), 500, {0, 1, 1, 1}},
    {"Inches", fish::test::params(16, 10, 12, 6.25L, 1.5L, -0.75L), 24, {1, 1, 1, 1}, fish::TUnits::Inches},
};

class PatternDxf : public ::testing::TestWithParam<DxfCase> {};

TEST_P(PatternDxf, ReadBackByAnIndependentReader) {
  const DxfCase& c = GetParam();
  const fish::TFlatPattern pattern = patternOf(c);
  const bool inches = c.units == fish::TUnits::Inches;
  const auto file = scratch(std::string(c.name) + ".dxf");
  vintaler::dxf::writePatternDxf(file.string(), pattern);

  const json dxf = readBack(file);
  ASSERT_TRUE(dxf.is_object()) << "ezdxf could not read the file";
  EXPECT_EQ(dxf["version"], "AC1009");
  EXPECT_EQ(dxf["insunits"], inches ? 1 : 4) << "inches or millimetres";
  EXPECT_EQ(dxf["auditErrors"], 0);
  for (const char* layer : {"CUT", "BEND", "LABELS"}) {
    EXPECT_NE(std::find(dxf["layers"].begin(), dxf["layers"].end(), layer), dxf["layers"].end()) << layer;
  }

  std::size_t outline = 0, line = 0, label = 0;
  std::vector<std::pair<vintaler::test::Box, fish::TPoint2D>> names;  // a name's box and its point
  std::vector<std::array<double, 4>> drawn;                           // every line as read back
  for (const json& e : dxf["entities"]) {
    const std::string type = e["type"];
    if (type == "POLYLINE") {
      const auto points = e["points"].get<std::vector<std::array<double, 2>>>();
      for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& next = points[(i + 1) % points.size()];
        drawn.push_back({points[i][0], points[i][1], next[0], next[1]});
      }
      ASSERT_EQ(e["layer"], "CUT");
      ASSERT_LT(outline, pattern.Pieces.size());
      const auto& expected = pattern.Pieces[outline++].Outline;
      EXPECT_TRUE(e["closed"].get<bool>());
      ASSERT_EQ(e["points"].size(), expected.size());
      for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(e["points"][i][0].get<double>(), static_cast<double>(expected[i].X), 1e-9);
        EXPECT_NEAR(e["points"][i][1].get<double>(), static_cast<double>(expected[i].Y), 1e-9);
      }
    } else if (type == "LINE") {
      ASSERT_EQ(e["layer"], "BEND");
      ASSERT_LT(line, pattern.BendLines.size());
      const fish::TPatternLine& l = pattern.BendLines[line++];
      EXPECT_NEAR(e["start"][0].get<double>(), static_cast<double>(l.From.X), 1e-9);
      EXPECT_NEAR(e["end"][1].get<double>(), static_cast<double>(l.To.Y), 1e-9);
      drawn.push_back({e["start"][0], e["start"][1], e["end"][0], e["end"][1]});
    } else if (type == "TEXT") {
      ASSERT_EQ(e["layer"], "LABELS");
      ASSERT_LT(label, pattern.Labels.size());
      const fish::TPatternLabel& l = pattern.Labels[label++];
      EXPECT_EQ(e["text"], l.Text);
      EXPECT_DOUBLE_EQ(e["height"].get<double>(), vintaler::dxf::kLabelHeight / (inches ? 25.4 : 1));
      names.push_back({{e["box"][0], e["box"][1], e["box"][2], e["box"][3]}, l.At});
    } else {
      ADD_FAILURE() << "unexpected entity " << type;
    }
  }
  EXPECT_EQ(outline, pattern.Pieces.size());
  EXPECT_EQ(line, pattern.BendLines.size());
  EXPECT_EQ(label, pattern.Labels.size());
  // No name is written over a line that meets at its point (T4 and T5 at
  // the apex of their fans).
  for (const auto& [box, at] : names) {
    for (const auto& [x0, y0, x1, y1] : drawn) {
      const double x = static_cast<double>(at.X), y = static_cast<double>(at.Y);
      const bool meets = std::hypot(x0 - x, y0 - y) < 1e-9 || std::hypot(x1 - x, y1 - y) < 1e-9;
      EXPECT_FALSE(meets && vintaler::test::crossesBox(x0, y0, x1, y1, box)) << "a name at " << x << ", " << y;
    }
  }
}

// The faster writer formats every number exactly as dxflib's own.
TEST_P(PatternDxf, SameBytesAsTheLibrarysOwnWriter) {
  const DxfCase& c = GetParam();
  fish::TFlatPattern pattern = patternOf(c);
  // Values whose text is hard to get right: signed zeros, tiny and huge.
  pattern.Labels.push_back({"Z", {-0.0L, 1e-300L}});
  pattern.Labels.push_back({"H", {-123456789012.25L, 0.1L}});
  EXPECT_EQ(vintaler::dxf::patternDxf(pattern), vintaler::dxf::patternDxf(pattern, true));
}

// Written as it is walked, the drawing is the held pattern's byte for byte:
// the angles placed among lines and outlines walked again, the ticks.
TEST_P(PatternDxf, TheWalkWritesTheHeldPatternsBytes) {
  const DxfCase& c = GetParam();
  fish::TProParams pp = fish::defaultProParams();
  pp.Divisions = c.n;
  pp.Quadrants = c.quadrants;
  for (const fish::TBendMarks marks : {fish::TBendMarks::Full, fish::TBendMarks::Ticks}) {
    fish::TCuttingParams cutting{fish::TPatternKind::Precise};
    cutting.Units = c.units;
    cutting.BendMarks = marks;
    cutting.TickLength = 3;
    cutting.BendAngles = true;
    const fish::TPatternWalk walk(c.sp, fish::TPlateParams{}, pp, cutting);
    EXPECT_EQ(vintaler::dxf::patternDxf(walk), vintaler::dxf::patternDxf(fish::collectPattern(walk)));
  }
}

INSTANTIATE_TEST_SUITE_P(Projects, PatternDxf, ::testing::ValuesIn(kCases), vintaler::test::rowName<DxfCase>);

// Seams and allowances: one closed CUT outline per piece; a PATTERN layer
// only with allowances, its net outlines inside larger cut ones and tiling
// the whole transition; a name per piece with seams other than +x, -x.
struct SeamCase {
  const char* name;
  fish::TSystemParams sp;
  fish::TCuttingParams cutting;
};

const fish::TSystemParams kOffset = fish::test::params(400, 250, 300, 160, 35, -20);
const fish::TPatternKind kPrecise = fish::TPatternKind::Precise;
const SeamCase kSeamCases[] = {
    {"DefaultCornersLap", fish::defaultSystemParams(), {kPrecise, fish::seamsFromText("c1,c3"), 6}},
    {"DefaultFourPieces", fish::defaultSystemParams(), {kPrecise, fish::seamsFromText("+x,c2,-y,c4"), 5, 3, 10, 8}},
    {"OffsetOneSeam", kOffset, {kPrecise, fish::seamsFromText("+y"), 4, 4, 12, 6}},
    {"OffsetCorners", kOffset, {kPrecise, fish::seamsFromText("c1,c3")}},
    {"TodaysSeamsFlange", kOffset, {kPrecise, fish::kDefaultSeams, 0, 0, 15}},
};

class SeamsDxf : public ::testing::TestWithParam<SeamCase> {};

TEST_P(SeamsDxf, PiecesTileTheTransitionInsideTheirCutOutlines) {
  const SeamCase& c = GetParam();
  const fish::TProParams pp = fish::test::withDivisions(24, {1, 1, 1, 1});
  const fish::TFlatPattern pattern = fish::flatPattern(c.sp, pp, c.cutting);
  const auto file = scratch(std::string(c.name) + ".dxf");
  vintaler::dxf::writePatternDxf(file.string(), pattern);
  const json dxf = readBack(file);
  std::map<std::string, std::vector<double>> areas;  // of the closed outlines, by layer
  std::vector<std::string> names, expected;
  std::vector<double> perimeters, boxes;  // of the CUT outlines as read
  for (const json& e : dxf["entities"]) {
    if (e["type"] == "POLYLINE" && e["closed"].get<bool>()) areas[e["layer"]].push_back(e["area"]);
    if (e["type"] == "POLYLINE" && e["layer"] == "CUT") {
      const json& p = e["points"];
      double length = 0, x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
      for (std::size_t i = 0; i < p.size(); ++i) {
        const json& a = p[i];
        const json& b = p[(i + 1) % p.size()];
        length += std::hypot(b[0].get<double>() - a[0].get<double>(), b[1].get<double>() - a[1].get<double>());
        x0 = std::min(x0, a[0].get<double>()), x1 = std::max(x1, a[0].get<double>());
        y0 = std::min(y0, a[1].get<double>()), y1 = std::max(y1, a[1].get<double>());
      }
      perimeters.push_back(length);
      boxes.push_back((x1 - x0) * (y1 - y0));
    }
    if (e["type"] == "TEXT" && e["height"] == vintaler::dxf::kNameHeight) names.push_back(e["text"]);
  }
  const bool allowances = c.cutting.hasAllowances();
  EXPECT_EQ(std::count(dxf["layers"].begin(), dxf["layers"].end(), "PATTERN"), allowances ? 1 : 0);
  const std::vector<double>&cut = areas["CUT"], &net = allowances ? areas["PATTERN"] : cut;
  ASSERT_EQ(cut.size(), pattern.Pieces.size());
  ASSERT_EQ(net.size(), cut.size());
  for (std::size_t i = 0; i < cut.size(); ++i) EXPECT_TRUE(!allowances || cut[i] > net[i]) << i;
  const double whole = static_cast<double>(fish::shopFigures(c.sp, pp, {}, kPrecise).NetArea);
  EXPECT_NEAR(std::accumulate(net.begin(), net.end(), 0.0), whole, 1e-9 * whole);
  // The quote's cut length is the CUT outlines' perimeter; the least blank
  // is never larger than the box as laid.
  const fish::TQuote quote = fish::quoteFigures(c.sp, pp, {}, c.cutting);
  ASSERT_EQ(quote.Pieces.size(), perimeters.size());
  for (std::size_t i = 0; i < perimeters.size(); ++i) {
    EXPECT_NEAR(static_cast<double>(quote.Pieces[i].CutLength), perimeters[i], 1e-6 * perimeters[i]) << i;
    const fish::TBlank& least = quote.Pieces[i].MinBlank;
    EXPECT_LE(static_cast<double>(least.Width * least.Height), boxes[i] * (1 + 1e-12)) << i;
  }
  for (const auto& piece : pattern.Pieces) expected.push_back(piece.Name);
  if (c.cutting.Seams == fish::kDefaultSeams) expected.clear();
  EXPECT_EQ(names, expected);
}

INSTANTIATE_TEST_SUITE_P(Seams, SeamsDxf, ::testing::ValuesIn(kSeamCases), vintaler::test::rowName<SeamCase>);

TEST(PatternDxfFile, AFailedWriteKeepsTheOldFile) {
  fish::TProParams pp = fish::defaultProParams();
  const fish::TFlatPattern pattern = fish::flatPattern(fish::defaultSystemParams(), pp, fish::TPatternKind::Table);
  const auto file = scratch("kept.dxf");
  vintaler::dxf::writePatternDxf(file.string(), pattern);
  const auto size = std::filesystem::file_size(file);
  ::chmod(file.c_str(), 0444);  // refused as read-only, even for root
  EXPECT_THROW(vintaler::dxf::writePatternDxf(file.string(), pattern), fish::EFileError);
  EXPECT_EQ(std::filesystem::file_size(file), size);
  ::chmod(file.c_str(), 0644);

  // A write that fails part-way (here a file size limit, as a full disk
  // would) fails the export and leaves the old file.
  {
    const vintaler::test::FileSizeLimit small(4096);
    EXPECT_THROW(vintaler::dxf::writePatternDxf(file.string(), pattern), fish::EFileError);
  }
  EXPECT_EQ(std::filesystem::file_size(file), size);
  EXPECT_THROW(vintaler::dxf::writePatternDxf((file.parent_path() / "missing" / "x.dxf").string(), pattern),
               fish::EFileError);
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
    EXPECT_EQ(entry.path().filename().string().rfind(".raz-", 0), std::string::npos) << "a temporary file was left";
  }
}

}  // namespace

namespace {

// The bends' angles on BEND_ANGLES, read back by ezdxf: each text is the
// angle of the bend line nearest it, which it stands beside (or continues,
// marked by ticks); without angles there is no such layer and the
// bytes are today's.
TEST(PatternDxfAngles, EachTextIsItsLinesAngleAndClearOfTheOthers) {
  const struct {
    const char* name;
    fish::TSystemParams sp;
    std::int32_t n;
    fish::TCuttingParams cutting;
  } rows[] = {{"Coarse", fish::test::params(400, 300, 250, 100, 60, -40), 8, {}},
              {"FineTicksTables", fish::test::params(1000, 800, 600, 300, 0, 0), 60,
               {fish::TPatternKind::Table, fish::kDefaultSeams, 0, 0, 0, 0, fish::TBendMarks::Ticks, 5}}};
  for (const auto& row : rows) {
    fish::TProParams pp = fish::defaultProParams();
    pp.Divisions = row.n;
    pp.Quadrants = {1, 1, 1, 1};
    fish::TCuttingParams cutting = row.cutting;
    cutting.BendAngles = true;
    const fish::TFlatPattern pattern = fish::flatPattern(row.sp, {}, pp, cutting);
    std::array<std::vector<fish::Extended>, 4> angles;  // of the surfaces the pattern is laid from
    for (std::uint16_t q = 1; q <= 4; ++q) {
      fish::TQuadrantDevelopment d;
      fish::developCutting(cutting.Pattern, row.sp, {}, pp, q, d);
      angles[q - 1] = fish::bendAngles(d.Surf);
    }
    const auto file = scratch(std::string(row.name) + "-angles.dxf");
    vintaler::dxf::writePatternDxf(file.string(), pattern);
    const json plain = readBack(file);
    std::vector<fish::TPatternLine> whole;  // a line marked by ticks from its first tick to its last
    for (const fish::TPatternLine& l : pattern.BendLines) {
      if (!whole.empty() && whole.back().Quadrant == l.Quadrant && whole.back().Element == l.Element) {
        whole.back().To = l.To;
      } else {
        whole.push_back(l);
      }
    }
    EXPECT_EQ(plain["auditErrors"], 0);
    std::size_t texts = 0;
    for (const json& e : plain["entities"]) {
      if (e["layer"] != "BEND_ANGLES") continue;
      ++texts;
      const std::string text = e["text"];
      ASSERT_EQ(text.substr(text.size() - 2), "°") << text;
      const double value = std::stod(text);
      const auto& box = e["box"];
      const fish::TPoint2D centre{(box[0].get<double>() + box[2].get<double>()) / 2,
                                  (box[1].get<double>() + box[3].get<double>()) / 2};
      // The nearest bend line is the text's own, and carries its angle.
      double nearest = 1e300;
      std::size_t own = 0;
      for (std::size_t i = 0; i < whole.size(); ++i) {
        const fish::TPatternLine& l = whole[i];
        const double dx = static_cast<double>(l.To.X - l.From.X), dy = static_cast<double>(l.To.Y - l.From.Y);
        const double px = static_cast<double>(centre.X - l.From.X), py = static_cast<double>(centre.Y - l.From.Y);
        const double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        const double d = std::hypot(px - t * dx, py - t * dy);
        if (d < nearest) std::tie(nearest, own) = std::make_pair(d, i);
      }
      const fish::TPatternLine& line = whole[own];
      EXPECT_NEAR(value, static_cast<double>(angles[static_cast<std::size_t>(line.Quadrant - 1)][line.Element - 1]),
                  0.005 + 1e-9) << text;
      EXPECT_LT(nearest, vintaler::dxf::kAngleHeight * static_cast<double>(text.size())) << text;
    }
    EXPECT_GT(texts, 0u) << row.name;
    EXPECT_LE(texts, static_cast<std::size_t>(4 * (row.n + 1))) << row.name;
    vintaler::dxf::writePatternDxf(file.string(), fish::flatPattern(row.sp, {}, pp, row.cutting));
    const json layers = readBack(file)["layers"];
    EXPECT_EQ(std::count(layers.begin(), layers.end(), "BEND_ANGLES"), 0) << row.name;
  }
}

}  // namespace
