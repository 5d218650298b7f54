// The full-size drawings read back with poppler (read_pdf.py), independently
// of Qt: page sizes, no pictures (vector lines only), every bend line at its
// developed length within 0.05 mm, and a check ruler of 100 mm on every
// printed page.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>

#include "fishApi/SafeFile.h"
#include "fishApi/TestParams.h"
#include "patternPaint/PatternPaint.h"
#include "support/EngineTestSupport.h"
#include "support/IndependentReader.h"

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("vintaler-paint-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir / name;
}

json readPdf(const QByteArray& bytes, const std::string& name) {
  const fs::path file = scratch(name);
  std::ofstream(file, std::ios::binary).write(bytes.constData(), bytes.size());
  return vintaler::test::readWith(VINTALER_READ_PDF, file.string());
}

using fish::test::params;

fish::TFlatPattern patternOf(const fish::TSystemParams& sp, std::int32_t n, std::array<fish::ByteBool, 4> q) {
  fish::TProParams pp = fish::defaultProParams();
  pp.Divisions = n;
  pp.Quadrants = q;
  return fish::flatPattern(sp, pp);
}

vintaler::paint::Title titleOf(const fish::TSystemParams& sp) {
  return {QStringLiteral("Проба"), sp, 10, fish::TPlateParams{}};
}

// The developed lengths of the bend lines, sorted.
std::vector<double> bendLengths(const fish::TFlatPattern& pattern) {
  std::vector<double> lengths;
  for (const fish::TPatternLine& l : pattern.BendLines) {
    lengths.push_back(static_cast<double>(std::hypot(l.To.X - l.From.X, l.To.Y - l.From.Y)));
  }
  std::sort(lengths.begin(), lengths.end());
  return lengths;
}

struct Drawing {
  const char* name;
  fish::TSystemParams sp;
  std::int32_t n;
  std::array<fish::ByteBool, 4> quadrants;
};

const Drawing kDrawings[] = {
    {"DefaultPair", fish::defaultSystemParams(), 10, {1, 1, 0, 0}},
    {"AllOffset", params(400, 250, 300, 160, 35, -20), 24, {1, 1, 1, 1}},
    {"NarrowerThanTheRuler", params(20, 30, 15, 8), 6, {0, 0, 0, 1}},
};

class FullSizePdf : public ::testing::TestWithParam<Drawing> {};

TEST_P(FullSizePdf, OnePageAtOneHundredPercent) {
  const Drawing& c = GetParam();
  const fish::TFlatPattern pattern = patternOf(c.sp, c.n, c.quadrants);
  const json pdf = readPdf(vintaler::paint::patternPdf(pattern, titleOf(c.sp)), std::string(c.name) + ".pdf");
  ASSERT_TRUE(pdf.is_object());
  EXPECT_EQ(pdf["images"], 0) << "vector lines only";
  ASSERT_EQ(pdf["pages"].size(), 1u);
  const json& page = pdf["pages"][0];
  const double width = std::max(static_cast<double>(pattern.Box.MaxX - pattern.Box.MinX), 120.0) + 20;
  const double height = static_cast<double>(pattern.Box.MaxY - pattern.Box.MinY) + 20;
  EXPECT_GE(page["widthMm"].get<double>(), width - 1e-6);
  EXPECT_LT(page["widthMm"].get<double>(), width + 0.36);
  EXPECT_GE(page["heightMm"].get<double>(), height - 1e-6);
  EXPECT_LT(page["heightMm"].get<double>(), height + 0.36);

  std::vector<double> drawn = page["dashed"].get<std::vector<double>>();
  std::sort(drawn.begin(), drawn.end());
  const std::vector<double> developed = bendLengths(pattern);
  ASSERT_EQ(drawn.size(), developed.size());
  for (std::size_t i = 0; i < drawn.size(); ++i) EXPECT_NEAR(drawn[i], developed[i], 0.05);
  ASSERT_EQ(page["rulers"].size(), 1u);
  EXPECT_NEAR(page["rulers"][0].get<double>(), 100.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Patterns, FullSizePdf, ::testing::ValuesIn(kDrawings), vintaler::test::rowName<Drawing>);

TEST(FullSizePdfLimit, APageBeyondTheFormatIsRefused) {
  const fish::TFlatPattern huge = patternOf(params(6000, 3000, 2000, 1000), 10, {1, 1, 0, 0});
  try {
    vintaler::paint::patternPdf(huge, titleOf(params(6000, 3000, 2000, 1000)));
    ADD_FAILURE() << "a 10 m page was written";
  } catch (const fish::EFishError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("5080"), std::string::npos) << message;
    EXPECT_NE(message.find("DXF"), std::string::npos) << message;
  }
}

struct TileCase {
  const char* name;
  fish::TSystemParams sp;
  std::array<fish::ByteBool, 4> quadrants;
  fish::TPaper paper;
};

const TileCase kTiles[] = {
    {"OneSheet", fish::defaultSystemParams(), {1, 1, 0, 0}, fish::TPaper::A4},
    {"LargeOnA4", params(1000, 600, 800, 315, -100, 250), {1, 1, 1, 1}, fish::TPaper::A4},
    {"LargeOnLetter", params(700, 400, 500, 200), {1, 0, 0, 1}, fish::TPaper::Letter},
};

class TiledPdf : public ::testing::TestWithParam<TileCase> {};

TEST_P(TiledPdf, EverySheetAtFullSizeWithItsRuler) {
  const TileCase& c = GetParam();
  const fish::TFlatPattern pattern = patternOf(c.sp, 20, c.quadrants);
  const fish::TTileLayout layout = fish::tileLayout(pattern, c.paper);
  const json pdf =
      readPdf(vintaler::paint::tilesPdf(pattern, layout, titleOf(c.sp)), std::string(c.name) + "-tiles.pdf");
  ASSERT_TRUE(pdf.is_object());
  EXPECT_EQ(pdf["images"], 0);
  ASSERT_EQ(pdf["pages"].size(), layout.Tiles.size() + 1) << "the overview, then one page per sheet";
  for (std::size_t p = 1; p < pdf["pages"].size(); ++p) {
    const json& page = pdf["pages"][p];
    EXPECT_NEAR(page["widthMm"].get<double>(), static_cast<double>(layout.SheetWidth), 0.36) << "page " << p;
    EXPECT_NEAR(page["heightMm"].get<double>(), static_cast<double>(layout.SheetHeight), 0.36) << "page " << p;
    ASSERT_EQ(page["rulers"].size(), 1u) << "page " << p;
    EXPECT_NEAR(page["rulers"][0].get<double>(), 100.0, 0.05) << "page " << p;
  }
}

INSTANTIATE_TEST_SUITE_P(Papers, TiledPdf, ::testing::ValuesIn(kTiles), vintaler::test::rowName<TileCase>);

TEST(PatternSvg, OneUserUnitIsOneMillimetre) {
  const fish::TFlatPattern pattern = patternOf(fish::defaultSystemParams(), 10, {1, 1, 1, 1});
  const std::string svg = vintaler::paint::patternSvg(pattern, titleOf(fish::defaultSystemParams())).toStdString();
  std::smatch m;
  ASSERT_TRUE(std::regex_search(
      svg, m, std::regex(R"re(width="([\d.]+)mm" height="([\d.]+)mm"\s+viewBox="0 0 ([\d.]+) ([\d.]+)")re")));
  EXPECT_EQ(m[1].str(), m[3].str());
  EXPECT_EQ(m[2].str(), m[4].str());
  const double width = static_cast<double>(pattern.Box.MaxX - pattern.Box.MinX) + 20;
  EXPECT_NEAR(std::stod(m[1].str()), width, 0.1);
  EXPECT_NE(svg.find(R"(stroke-dasharray="3,1.5")"), std::string::npos) << "bend lines dashed in millimetres";
  EXPECT_NE(svg.find("T1"), std::string::npos);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
