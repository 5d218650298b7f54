// The marking-out page read back: its blocks, the rows of its generator
// table and the points they join.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestParams.h"
#include "fishApi/FiguresText.h"
#include "fishApi/NumText.h"
#include "support/EngineTestSupport.h"

using namespace fish;
using namespace fish::test;

namespace {

std::size_t find(const TStringList& lines, const std::string& line, std::size_t from) {
  return static_cast<std::size_t>(std::find(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(), line) -
                                  lines.begin());
}

struct PageCase {
  const char* name;
  TSystemParams sp;
  std::int32_t n;
  Extended thickness;
  const char* separator;
};

const PageCase kPages[] = {
    {"Default", defaultSystemParams(), 10, 0, "."},
    {"OffsetPlateWithComma", params(300, 400, 500, 100, 75, 75), 6, 2, ","},
    {"OneDivision", defaultSystemParams(), 1, 0, ","},
};

class FiguresPage : public ::testing::TestWithParam<PageCase> {};

// Per quadrant, in order: one generator row per element (O to T1, the corner
// to every arc point along the arc, the X-side midpoint to the arc end), its
// length in the caller's separator within half a hundredth of the figure.
TEST_P(FiguresPage, ListsEveryGeneratorOfEveryQuadrantInOrder) {
  const PageCase& c = GetParam();
  TPlateParams plate;
  plate.Thickness = c.thickness;
  const TResultsPage page = figuresPage(c.sp, withDivisions(c.n), plate, c.separator);
  ASSERT_FALSE(page.Error) << page.failureMessage();
  const TShopFigures figures = shopFigures(c.sp, withDivisions(c.n), plate);
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

// Each length column has its decimal separators (or the place one would
// take) one under the other, counted in characters; areas and densities
// carry their units' superscripts.
TEST_P(FiguresPage, LengthsLineUpOnTheirSeparatorsAndUnitsAreWrittenProperly) {
  const PageCase& c = GetParam();
  TPlateParams plate;
  plate.Thickness = c.thickness;
  const TResultsPage page = figuresPage(c.sp, withDivisions(c.n), plate, c.separator);
  ASSERT_FALSE(page.Error) << page.failureMessage();
  const std::string sep = c.separator;
  std::set<std::size_t> columns;
  std::size_t rows = 0;
  for (const std::string& line : page.Lines) {
    if (line.rfind("  Площадь детали: ", 0) == 0) {
      EXPECT_EQ(columns.size(), 1u) << "separators of one quadrant in more than one column";
      columns.clear();
    }
    std::istringstream words(line);
    std::string word, last;
    while (words >> word) last = word;
    Extended value = 0;
    if (line.rfind("    ", 0) != 0 || !textToFloat(last, sep, value)) continue;
    const std::string before = line.substr(0, line.rfind(last));
    const std::size_t dot = last.find(sep);
    // Characters, not bytes: the point names and the numbers are ASCII.
    columns.insert(before.size() + (dot == std::string::npos ? last.size() : dot));
    ++rows;
  }
  EXPECT_GT(rows, 0u);
  std::string all;
  for (const std::string& line : page.Lines) all += line + "\n";
  for (const char* unit : {" мм²", " м²)", " кг/м³"}) EXPECT_NE(all.find(unit), std::string::npos) << unit;
  for (const char* ascii : {"мм2", "м2)", "кг/м3"}) EXPECT_EQ(all.find(ascii), std::string::npos) << ascii;
}

INSTANTIATE_TEST_SUITE_P(Projects, FiguresPage, ::testing::ValuesIn(kPages), vintaler::test::rowName<PageCase>);

TEST(figuresPage, AnUnusablePlateEndsThePageAfterTheParameters) {
  TPlateParams plate;
  plate.Thickness = -1;
  const TResultsPage page = figuresPage(defaultSystemParams(), withDivisions(10), plate);
  try {
    checkPlate(plate);
    ADD_FAILURE() << "the plate should be refused";
  } catch (const EPlateError& e) {
    EXPECT_EQ(page.failureMessage(), e.what());
  }
  EXPECT_EQ(page.Lines.back(), GetParamsText(defaultSystemParams()).back());
}

}  // namespace
