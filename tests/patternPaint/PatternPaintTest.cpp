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

#include "fishApi/files/SafeFile.h"
#include "fishApi/TestParams.h"
#include "fishApi/shop/BendAngleTexts.h"
#include "patternPaint/PaintText.h"
#include "patternPaint/PatternPaint.h"
#include "support/EngineTestSupport.h"
#include "support/IndependentReader.h"
#include "support/SegmentBox.h"

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("vintaler-paint-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir / name;
}

json readPdf(const QByteArray& bytes, const std::string& name, int pages = 0) {
  const fs::path file = scratch(name);
  std::ofstream(file, std::ios::binary).write(bytes.constData(), bytes.size());
  return vintaler::test::readWith(VINTALER_READ_PDF, file.string(), pages > 0 ? std::to_string(pages) : "");
}

using vintaler::test::Box;
using Words = std::vector<std::pair<std::string, Box>>;

// The words of a page whose box passes `keep`.
template <class Keep>
Words wordsOf(const json& page, Keep keep) {
  Words found;
  for (const json& w : page["words"]) {
    if (const Box box{w[1], w[2], w[3], w[4]}; keep(box)) found.emplace_back(w[0], box);
  }
  return found;
}

// Two words whose boxes overlap by more than 0.05 mm both ways, or "".
std::string overlapping(const Words& w) {
  for (std::size_t i = 0; i < w.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const Box &a = w[i].second, &b = w[j].second;
      if (std::min(a.x1, b.x1) - std::max(a.x0, b.x0) > 0.05 && std::min(a.y1, b.y1) - std::max(a.y0, b.y0) > 0.05)
        return w[i].first + " / " + w[j].first;
    }
  }
  return "";
}

using fish::test::params;

fish::TFlatPattern patternOf(const fish::TSystemParams& sp, std::int32_t n, std::array<fish::ByteBool, 4> q) {
  fish::TProParams pp = fish::defaultProParams();
  pp.Divisions = n;
  pp.Quadrants = q;
  return fish::flatPattern(sp, pp, fish::TPatternKind::Table);
}

vintaler::paint::Title titleOf(const fish::TSystemParams& sp, const char* project = "Проба", fish::Extended t = 0) {
  return {QString::fromUtf8(project), sp, 10, fish::TPlateParams{t}};
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
  const char* project = "Проба";
  fish::Extended thickness = 0;
};

const Drawing kDrawings[] = {
    {"DefaultPair", fish::defaultSystemParams(), 10, {1, 1, 0, 0}},
    {"AllOffset", params(400, 250, 300, 160, 35, -20), 24, {1, 1, 1, 1}},
    {"NarrowerThanTheRuler", params(20, 30, 15, 8), 6, {0, 0, 0, 1}},
    {"NarrowWithALongTitle", fish::defaultSystemParams(), 10, {1, 0, 0, 0}, "Новый проект", 2},
};

class FullSizePdf : public ::testing::TestWithParam<Drawing> {};

TEST_P(FullSizePdf, OnePageAtOneHundredPercent) {
  const Drawing& c = GetParam();
  const fish::TFlatPattern pattern = patternOf(c.sp, c.n, c.quadrants);
  const vintaler::paint::Title title = titleOf(c.sp, c.project, c.thickness);
  const json pdf = readPdf(vintaler::paint::patternPdf(pattern, title), std::string(c.name) + ".pdf");
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

  // The whole title, word for word, inside the page in the top margin's
  // upper 6 mm, above the names of the topmost points.
  std::string shown;
  for (const auto& [word, box] : wordsOf(page, [](const Box& b) { return b.y1 < 6; })) {
    shown += (shown.empty() ? "" : " ") + word;
    EXPECT_TRUE(box.x0 > 9.9 && box.x1 < page["widthMm"].get<double>() - 9.9) << word;
  }
  EXPECT_EQ(shown, QString(vintaler::paint::titleLine(title, pattern.Kind)).simplified().toStdString());

  // No point name lies over a bend line that ends at its point.
  for (const fish::TPatternLabel& l : pattern.Labels) {
    const double x = 10 + static_cast<double>(l.At.X - pattern.Box.MinX),
                 y = 10 + static_cast<double>(pattern.Box.MaxY - l.At.Y);
    const Words named =
        wordsOf(page, [&](const Box& b) { return std::hypot((b.x0 + b.x1) / 2 - x, (b.y0 + b.y1) / 2 - y) < 8; });
    const auto word = std::find_if(named.begin(), named.end(), [&](const auto& w) { return w.first == l.Text; });
    ASSERT_NE(word, named.end()) << l.Text << " is not near its point";
    for (const json& d : page["dashedEnds"]) {
      const bool meets = std::hypot(d[0].get<double>() - x, d[1].get<double>() - y) < 0.01 ||
                         std::hypot(d[2].get<double>() - x, d[3].get<double>() - y) < 0.01;
      EXPECT_FALSE(meets && vintaler::test::crossesBox(d[0], d[1], d[2], d[3], word->second)) << l.Text;
    }
  }
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
    // The sheet carries every bend line that crosses its area and no other,
    // and the texts of its top margin (name, title, the sheet above) stand apart.
    const fish::TExtents2D& a = layout.Tiles[p - 1].Area;
    const auto crossing = std::count_if(pattern.BendLines.begin(), pattern.BendLines.end(), [&](const auto& l) {
      return vintaler::test::crossesBox(double(l.From.X), double(l.From.Y), double(l.To.X), double(l.To.Y),
                                        {double(a.MinX), double(a.MinY), double(a.MaxX), double(a.MaxY)});
    });
    const double w = page["widthMm"], h = page["heightMm"];
    EXPECT_GE(page["dashedEnds"].size(), static_cast<std::size_t>(crossing)) << "page " << p;
    for (const json& d : page["dashedEnds"]) {
      EXPECT_TRUE(vintaler::test::crossesBox(d[0], d[1], d[2], d[3], {9.99, 9.99, w - 9.99, h - 9.99})) << "page " << p;
    }
    EXPECT_EQ(overlapping(wordsOf(page, [](const Box& b) { return b.y1 < 10; })), "") << "page " << p;
    EXPECT_NEAR(page["widthMm"].get<double>(), static_cast<double>(layout.SheetWidth), 0.36) << "page " << p;
    EXPECT_NEAR(page["heightMm"].get<double>(), static_cast<double>(layout.SheetHeight), 0.36) << "page " << p;
    ASSERT_EQ(page["rulers"].size(), 1u) << "page " << p;
    EXPECT_NEAR(page["rulers"][0].get<double>(), 100.0, 0.05) << "page " << p;
  }
}

INSTANTIATE_TEST_SUITE_P(Papers, TiledPdf, ::testing::ValuesIn(kTiles), vintaler::test::rowName<TileCase>);

// A strip 12 m long, 45 sheets across: the overview's names shrink to their
// narrow cells, or are left out, rather than run into each other.
TEST(TiledPdfOverview, NamesOfManySheetsDoNotOverlap) {
  const fish::TFlatPattern pattern = patternOf(params(12000, 200, 300, 100), 20, {1, 1, 0, 0});
  const fish::TTileLayout layout = fish::tileLayout(pattern, fish::TPaper::A4);
  ASSERT_GT(layout.Columns, 40);
  const json pdf = readPdf(vintaler::paint::tilesPdf(pattern, layout, titleOf({})), "many-tiles.pdf", 1);
  EXPECT_EQ(pdf["pageCount"], layout.Tiles.size() + 1);
  // The pattern's own names are drawn to scale, far below 1 mm.
  EXPECT_EQ(overlapping(wordsOf(pdf["pages"][0], [](const Box& b) { return b.y1 - b.y0 > 1; })), "");
}

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

// Every text of the SVG is as many units high as millimetres on the PDF and
// starts inside the picture; a pattern beyond the PDF's largest page is
// drawn all the same.
TEST(PatternSvg, TextsInMillimetresInsideThePictureAndNoPageLimit) {
  for (const fish::TSystemParams& sp : {fish::defaultSystemParams(), params(6000, 3000, 2000, 1000)}) {
    const fish::TFlatPattern pattern = patternOf(sp, 10, {1, 1, 0, 0});
    const std::string svg = vintaler::paint::patternSvg(pattern, titleOf(sp, "Новый проект", 2)).toStdString();
    std::smatch box;
    ASSERT_TRUE(std::regex_search(svg, box, std::regex(R"re(viewBox="0 0 ([\d.]+) ([\d.]+)")re")));
    const std::regex text(R"re(<text [^>]* x="([-\d.e]+)" y="([-\d.e]+)" [^>]*font-size="([\d.]+)"[^>]*>([^<]*)<)re");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator(); ++it) {
      const double x = std::stod((*it)[1]), y = std::stod((*it)[2]), size = std::stod((*it)[3]);
      EXPECT_TRUE(size <= 3.5 && x >= 0 && x < std::stod(box[1]) && y >= size && y <= std::stod(box[2])) << (*it)[4];
    }
    EXPECT_NE(svg.find(">100 мм<"), std::string::npos);
  }
}

// The angles on the full-size PDF and on the sheets, read back by poppler,
// which takes a turned text in pieces: one degree sign a text placed beside
// its line, in a word reaching the text's end; without the choice the
// drawing is the one of the pattern as it always was.
TEST(BendAngles, WrittenBesideTheLinesWhereThereIsRoom) {
  const fish::TSystemParams sp = params(400, 300, 250, 100, 60, -40);
  fish::TProParams pro = fish::defaultProParams();
  pro.Divisions = 16;
  pro.Quadrants = {1, 1, 0, 0};
  const auto degrees = [](const json& page) { return wordsOf(page, [](const Box&) { return true; }); };
  for (const fish::TBendMarks marks : {fish::TBendMarks::Full, fish::TBendMarks::Ticks}) {
    fish::TCuttingParams cutting{fish::TPatternKind::Table};
    cutting.BendMarks = marks;
    const fish::TFlatPattern plain = fish::flatPattern(sp, fish::TPlateParams{}, pro, cutting);
    cutting.BendAngles = true;
    const fish::TFlatPattern pattern = fish::flatPattern(sp, fish::TPlateParams{}, pro, cutting);
    const auto width = [](const std::string& t) {
      return vintaler::paint::TextMeasure::get().width(QString::fromStdString(t), 1.8);
    };
    const auto texts = fish::bendAngleTexts(pattern, 1.8L, [&](const std::string& t) { return width(t); });
    const std::string name = marks == fish::TBendMarks::Full ? "full" : "ticks";
    const json pdf = readPdf(vintaler::paint::patternPdf(pattern, titleOf(sp)), "angles-" + name + ".pdf");
    std::vector<Box> signs;
    for (const auto& [word, box] : degrees(pdf["pages"][0])) {
      for (std::size_t at = word.find("°"); at != std::string::npos; at = word.find("°", at + 1)) signs.push_back(box);
    }
    EXPECT_TRUE(!texts.empty() && signs.size() == texts.size()) << name << ": " << signs.size();
    for (const auto& t : texts) {
      const double half = width(t.Text) / 2, a = double(t.Direction);
      const double x = 10 + double(t.Centre.X - pattern.Box.MinX) + half * std::cos(a);
      const double y = 10 + double(pattern.Box.MaxY - t.Centre.Y) - half * std::sin(a);
      EXPECT_TRUE(std::any_of(signs.begin(), signs.end(), [&](const Box& b) {
        return b.x0 - 1.2 < x && x < b.x1 + 1.2 && b.y0 - 1.2 < y && y < b.y1 + 1.2;
      })) << name << ": " << t.Text << " not at its place";
    }

    const fish::TTileLayout layout = fish::tileLayout(pattern, fish::TPaper::A4);
    const json tiles = readPdf(vintaler::paint::tilesPdf(pattern, layout, titleOf(sp)), "angles-tiles.pdf");
    std::size_t onSheets = 0;
    for (std::size_t p = 1; p < tiles["pages"].size(); ++p) {
      for (const auto& [word, box] : degrees(tiles["pages"][p])) onSheets += word.find("°") != std::string::npos;
    }
    EXPECT_GE(onSheets, texts.size()) << name;
    if (marks == fish::TBendMarks::Full) {
      EXPECT_EQ(vintaler::paint::patternSvg(plain, titleOf(sp)),
                vintaler::paint::patternSvg(fish::flatPattern(sp, pro, fish::TPatternKind::Table), titleOf(sp)));
    }
  }
}

// An inch project is the millimetre one with every length divided by 25.4:
// it develops to the same pattern divided by 25.4, and prints on the same
// paper (pdfinfo's page size, the sheets of the tiled print, the SVG's size).
struct InchCase {
  const char* name;
  fish::TSystemParams sp;
  fish::TCuttingParams cutting;
  fish::Extended thickness = 0;
};

const InchCase kInchCases[] = {
    {"Default", fish::defaultSystemParams(), {}},
    {"OffsetPlateTicks", params(400, 250, 300, 160, 35, -20), {fish::TPatternKind::Precise, fish::kDefaultSeams, 0, 0,
                                                                0, 0, fish::TBendMarks::Ticks}, 3},
    {"SeamsAndAllowances", params(700, 400, 500, 200, 40, -25), {fish::TPatternKind::Precise, 0x22, 12, 6, 20, 15}},
    {"Seams", params(700, 400, 500, 200, 40, -25), {fish::TPatternKind::Precise, 0x22}},
    {"Allowances", params(700, 400, 500, 200, 40, -25), {fish::TPatternKind::Precise, fish::kDefaultSeams, 12, 6, 20, 15}},
};

class InchProject : public ::testing::TestWithParam<InchCase> {};

TEST_P(InchProject, IsTheMillimetreOneDividedBy25_4) {
  const InchCase& c = GetParam();
  fish::TProParams pro = fish::defaultProParams();
  pro.Divisions = 12;
  pro.Quadrants = {1, 1, 1, 1};
  const fish::TFlatPattern mm = fish::flatPattern(c.sp, fish::TPlateParams{c.thickness}, pro, c.cutting);
  const fish::Extended k = fish::kMmPerInch;
  const fish::TSystemParams in = params(c.sp.B / k, c.sp.A / k, c.sp.L / k, c.sp.R / k, c.sp.X1 / k, c.sp.Y1 / k);
  fish::TCuttingParams cutting = c.cutting;
  for (fish::Extended* w : {&cutting.SeamFirst, &cutting.SeamSecond, &cutting.RectAllowance, &cutting.RoundAllowance})
    *w /= k;
  fish::setUnits(cutting, fish::TUnits::Inches);
  const fish::TFlatPattern inch = fish::flatPattern(in, fish::TPlateParams{c.thickness / k}, pro, cutting);
  const fish::TFlatPattern back = fish::inMillimetres(inch);
  const auto near = [](const fish::TPoint2D& a, const fish::TPoint2D& b) {
    return std::hypot(double(a.X - b.X), double(a.Y - b.Y)) < 1e-6;
  };
  ASSERT_EQ(back.Pieces.size(), mm.Pieces.size());
  for (std::size_t p = 0; p < mm.Pieces.size(); ++p) {
    ASSERT_EQ(back.Pieces[p].Outline.size(), mm.Pieces[p].Outline.size());
    for (std::size_t i = 0; i < mm.Pieces[p].Outline.size(); ++i)
      EXPECT_TRUE(near(back.Pieces[p].Outline[i], mm.Pieces[p].Outline[i]))
          << "piece " << p << " point " << i;
  }
  ASSERT_EQ(back.BendLines.size(), mm.BendLines.size());
  for (std::size_t i = 0; i < mm.BendLines.size(); ++i)
    EXPECT_TRUE(near(back.BendLines[i].From, mm.BendLines[i].From) && near(back.BendLines[i].To, mm.BendLines[i].To));

  const json mmPdf = readPdf(vintaler::paint::patternPdf(mm, titleOf(c.sp)), "mm.pdf");
  const json inPdf = readPdf(vintaler::paint::patternPdf(inch, titleOf(in)), "in.pdf");
  EXPECT_EQ(inPdf["pages"][0]["widthMm"], mmPdf["pages"][0]["widthMm"]);
  EXPECT_EQ(inPdf["pages"][0]["heightMm"], mmPdf["pages"][0]["heightMm"]);
  EXPECT_NEAR(inPdf["pages"][0]["rulers"][0].get<double>(), 100.0, 0.05);
  EXPECT_EQ(fish::tileLayout(inch, fish::TPaper::A4).Tiles.size(), fish::tileLayout(mm, fish::TPaper::A4).Tiles.size());
  const std::regex size(R"re(width="([\d.]+)mm" height="([\d.]+)mm")re");
  std::smatch a, b;
  const std::string mmSvg = vintaler::paint::patternSvg(mm, titleOf(c.sp)).toStdString();
  const std::string inSvg = vintaler::paint::patternSvg(inch, titleOf(in)).toStdString();
  ASSERT_TRUE(std::regex_search(mmSvg, a, size) && std::regex_search(inSvg, b, size));
  EXPECT_EQ(a.str(), b.str());
}

INSTANTIATE_TEST_SUITE_P(Projects, InchProject, ::testing::ValuesIn(kInchCases), vintaler::test::rowName<InchCase>);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
