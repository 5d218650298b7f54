// The marking-out page read back: its blocks, the rows of its generator
// table and the points they join.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fishApi/TestParams.h"
#include "fishApi/texts/FiguresText.h"
#include "fishApi/core/NumText.h"
#include "support/EngineTestSupport.h"

using namespace fish;
using namespace fish::test;

namespace {

std::size_t find(const TStringList& lines, const std::string& line, std::size_t from) {
  return static_cast<std::size_t>(std::find(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(), line) -
                                  lines.begin());
}

struct FiguresCase {
  const char* name;
  TSystemParams sp;
  std::int32_t n;
  Extended thickness;
  const char* separator;
};

const FiguresCase kFiguresPages[] = {
    {"Default", defaultSystemParams(), 10, 0, "."},
    {"OffsetPlateWithComma", params(300, 400, 500, 100, 75, 75), 6, 2, ","},
    {"OneDivision", defaultSystemParams(), 1, 0, ","},
};

class FiguresPage : public ::testing::TestWithParam<FiguresCase> {};

// Per quadrant, in order: one generator row per element (O to T1, the corner
// to every arc point along the arc, the X-side midpoint to the arc end), its
// length in the caller's separator within half a hundredth of the figure.
TEST_P(FiguresPage, ListsEveryGeneratorOfEveryQuadrantInOrder) {
  const FiguresCase& c = GetParam();
  TPlateParams plate;
  plate.Thickness = c.thickness;
  const TResultsPage page = figuresPage(c.sp, withDivisions(c.n), plate, fish::TPatternKind::Table, c.separator);
  ASSERT_FALSE(page.Error) << page.failureMessage();
  const TShopFigures figures = shopFigures(c.sp, withDivisions(c.n), plate, fish::TPatternKind::Table);
  EXPECT_EQ(page.Lines.front(), "Размеры для разметки");

  std::size_t at = 0;
  for (int q = 1; q <= 4; ++q) {
    at = find(page.Lines, "Квадрант " + std::to_string(q), at);
    ASSERT_LT(at, page.Lines.size()) << "quadrant " << q << " missing or out of order";
    const bool right = q == 1 || q == 4;
    std::vector<std::string> expected = {"0 O T1"};
    for (int k = 1; k <= c.n + 1; ++k) {
      const std::string arcPoint = k == 1         ? "T1"
                                   : k == c.n + 1 ? (right ? "T2" : "T7")
                                                  : (right ? "R" : "L") + std::to_string(k - 1);
      expected.push_back(std::to_string(k) + (right ? " T4 " : " T5 ") + arcPoint);
    }
    expected.push_back(std::to_string(c.n + 2) + (right ? " T3 " : " T6 ") + (right ? "T2" : "T7"));

    const std::size_t first = find(page.Lines, "  Истинные длины образующих:", at) + 2;
    ASSERT_EQ(find(page.Lines, "  Хорды дуги:", at), first + expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
      std::istringstream row(page.Lines[first + k]);
      std::string number, from, to, length;
      row >> number >> from >> to >> length;
      EXPECT_EQ(number + " " + from + " " + to, expected[k]);
      Extended printed = -1;
      ASSERT_TRUE(textToFloat(length, c.separator, printed)) << length;
      EXPECT_NEAR(asDouble(printed), asDouble(figures.Quadrants[static_cast<std::size_t>(q - 1)].Generators[k]),
                  0.005 + 1e-9);
    }
  }
}

// The lengths of a quadrant's tables have their decimal separators (or the
// place one would take) in one column; areas and densities carry their
// units' superscripts.
TEST_P(FiguresPage, LengthsLineUpOnTheirSeparatorsAndUnitsAreWrittenProperly) {
  const FiguresCase& c = GetParam();
  TPlateParams plate;
  plate.Thickness = c.thickness;
  std::set<std::size_t> columns;
  std::string all;
  for (const std::string& line : figuresPage(c.sp, withDivisions(c.n), plate, fish::TPatternKind::Table, c.separator).Lines) {
    all += line + "\n";
    EXPECT_TRUE(line.rfind("  Площадь детали: ", 0) != 0 || std::exchange(columns, {}).size() == 1) << line;
    const std::size_t end = line.find_last_not_of(' '), start = line.find_last_of(' ', end) + 1;
    Extended length = 0;
    if (line.rfind("    ", 0) == 0 && textToFloat(line.substr(start, end + 1 - start), c.separator, length)) {
      columns.insert(std::min(line.find(c.separator, start), end + 1));  // ASCII there: bytes are characters
    }
  }
  for (const char* unit : {" мм²", " м²)", " кг/м³"}) EXPECT_NE(all.find(unit), std::string::npos) << unit;
  for (const char* ascii : {"мм2", "м2)", "кг/м3"}) EXPECT_EQ(all.find(ascii), std::string::npos) << ascii;
}

INSTANTIATE_TEST_SUITE_P(Projects, FiguresPage, ::testing::ValuesIn(kFiguresPages), vintaler::test::rowName<FiguresCase>);

TEST(figuresPage, AnUnusablePlateEndsThePageAfterTheParameters) {
  TPlateParams plate;
  plate.Thickness = -1;
  const TResultsPage page = figuresPage(defaultSystemParams(), withDivisions(10), plate, fish::TPatternKind::Table);
  try {
    checkPlate(plate);
    ADD_FAILURE() << "the plate should be refused";
  } catch (const EPlateError& e) {
    EXPECT_EQ(page.failureMessage(), e.what());
  }
  EXPECT_EQ(page.Lines.back(), GetParamsText(defaultSystemParams()).back());
}

// Seams and allowances: a line per piece, by its name, with the blank's area
// with the allowances and the net one.
TEST(figuresPage, EachPieceGivesItsAreaWithAndWithoutAllowances) {
  const TCuttingParams cutting{TPatternKind::Precise, seamsFromText("c1,c3"), 6, 0, 10};
  const TProParams pro = withDivisions(12, {1, 1, 1, 1});
  const TStringList lines = figuresPage(defaultSystemParams(), pro, {}, cutting).Lines;
  for (const TSheetFigures& s : shopFigures(defaultSystemParams(), pro, {}, cutting).Sheets) {
    const std::string areas = "площадь с припусками " + decimalText(s.Area, 2) + " мм², без припусков " +
                              decimalText(s.NetArea, 2) + " мм²";
    EXPECT_NE(std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
                return l.rfind("  " + s.Name + ", квадранты ", 0) == 0 && l.find(areas) != std::string::npos;
              }), lines.end()) << s.Name;
  }
}

// The press brake's table and the quote read back: per piece the rows of
// its bends as the quote gives them, the face up, the totals; the middle
// surface's rule only for a plate with a thickness.
TEST(figuresPage, BendsAndQuoteOfEveryPieceAndTheMiddleSurfacesRule) {
  const TProParams pro = withDivisions(6, {1, 1, 1, 1});
  for (const auto& [cutting, t, rule] :
       {std::tuple{TCuttingParams{}, Extended(2), "по нормали к листу"},
        std::tuple{TCuttingParams{TPatternKind::Table, seamsFromText("c1,c3"), 6}, Extended(2), "t/2 по сечению"},
        std::tuple{TCuttingParams{}, Extended(0), ""}}) {
    TPlateParams plate;
    plate.Thickness = t;
    const TStringList lines = figuresPage(params(300, 400, 500, 100, 75, 75), pro, plate, cutting).Lines;
    const TQuote quote = quoteFigures(params(300, 400, 500, 100, 75, 75), pro, plate, cutting);
    const auto has = [&](const std::string& line) { return find(lines, line, 0) < lines.size(); };
    EXPECT_EQ(has(std::string("   Средняя поверхность отложена ") + rule), *rule != 0) << rule;
    std::size_t at = find(lines, "Гибы (для листогиба), по порядку раскроя; угол — отклонение от плоскости:", 0);
    ASSERT_LT(at, lines.size());
    EXPECT_EQ(lines[at + 1].rfind("  Все гибы в одну сторону: в DXF, как начерчено, сверху ", 0), 0u) << lines[at + 1];
    for (const TPieceQuote& p : quote.Pieces) {
      at = static_cast<std::size_t>(std::find_if(lines.begin() + static_cast<std::ptrdiff_t>(at) + 1, lines.end(),
                                                 [](const std::string& l) { return l.find("№") != std::string::npos; }) -
                                    lines.begin());
      for (const TBend& b : p.Bends) {
        std::istringstream row(lines.at(++at));
        std::string element, quadrant, length, angle;
        row >> element >> quadrant >> length >> angle;
        EXPECT_EQ(element + " " + quadrant, std::to_string(b.Element) + " " + std::to_string(b.Quadrant));
        EXPECT_EQ(length + " " + angle, decimalText(b.Length, 2) + " " + decimalText(b.Angle, 2) + "°");
      }
    }
    EXPECT_TRUE(has("  Всего: рез " + decimalText(quote.CutLength, 2) + " мм, врезок " +
                    std::to_string(quote.Pierces) + ", швы " + decimalText(quote.SeamLength, 2) + " мм, гибов " +
                    std::to_string(quote.Bends)));
  }
}

}  // namespace
