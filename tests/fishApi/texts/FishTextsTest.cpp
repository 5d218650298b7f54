#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/texts/FishTexts.h"
#include "fishApi/core/NumText.h"
#include "fishApi/shop/PlateParams.h"
#include "fishApi/shop/ShopFigures.h"
#include "support/EngineTestSupport.h"

using namespace fish;
using namespace fish::test;

namespace {

std::size_t chars(const std::string& utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

TEST(tableRow, ColumnsAt3And13And23) {
  EXPECT_EQ(tableRow("Точка", "X", "Y"), "  Точка     X         Y       ");
  EXPECT_EQ(tableRow("T1", "0", "50"), "  T1        0         50      ");
  EXPECT_EQ(tableRow("R99", "-1234.5", "-65,7"), "  R99       -1234.5   -65,7   ");
  // Long texts push the rest right, then the row is cut at 30 characters.
  EXPECT_EQ(tableRow("T2", "1", "-123456.7"), "  T2        1         -123456.");
  EXPECT_EQ(tableRow("T1", "-123456789.1", "5"), "  T1        -1234567895.1     ");
  EXPECT_EQ(tableRow("L12345678901", "1", "2"), "  L123456789101       2       ");
  // Characters, not bytes: a Cyrillic label pushes by its letters, and the
  // cut never splits a letter.
  EXPECT_EQ(tableRow("ТочкаТочкаТ", "1", "2"), "  ТочкаТочка1Т        2       ");
  EXPECT_EQ(tableRow("T1", "0", "ЖЖЖЖЖЖЖЖЖ"), "  T1        0         ЖЖЖЖЖЖЖЖ");
}

// numberText writes most numbers out from their tenths without the general
// format: it must give the general format's text, at both ends of the
// written-out range (10^14 tenths) and across magnitudes.
struct NumberCase {
  const char* name;
  Extended v;
};

const NumberCase kNumbers[] = {
    {"Zero", 0},
    {"NegativeRoundingToZero", -0.04L},
    {"HalfTenthToEven", 0.25L},
    {"WholeNumber", 100},
    {"NegativeBelowOne", -0.7L},
    {"LargestWrittenOut", 9999999999999.9L},
    {"SmallestWrittenOutNegative", -9999999999999.9L},
    {"FirstInGeneralFormat", 10000000000000},
    {"FirstInGeneralFormatNegative", -10000000000000},
    {"SixteenDigits", 123456789012345.6L},
    {"ExponentForm", 9e16L},
};

class NumberTextCase : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTextCase, IsTheGeneralFormatOfTheRoundedValue) {
  EXPECT_EQ(numberText(GetParam().v, ","), floatToText(Round1(GetParam().v), ","));
}

INSTANTIATE_TEST_SUITE_P(Values, NumberTextCase, ::testing::ValuesIn(kNumbers), vintaler::test::rowName<NumberCase>);

TEST(numberText, IsTheGeneralFormatAcrossMagnitudes) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-3, 16);
  for (int i = 0; i < 20000; ++i) {
    const Extended v = static_cast<Extended>(mantissa(rng)) * std::pow(10.0L, exponent(rng));
    ASSERT_EQ(numberText(v), floatToText(Round1(v))) << static_cast<double>(v);
  }
}

// Every row of a table prints the point of the quadrant's development it
// names, also where the numbers outgrow 32 bits of tenths part way through.
TEST(GetRazvertkaTable, RowsPrintTheDevelopedPoints) {
  const struct {
    const char* name;
    TSystemParams sp;
  } projects[] = {{"Default", defaultSystemParams()},
                  {"Offset", params(400, 250, 300, 160, 35, -20)},
                  {"PastTwoHundredKilometres", params(5e8L, 100, 50, 50, 1e8L)}};
  const std::int32_t n = 5;
  for (const auto& p : projects) {
    for (std::uint8_t q = 1; q <= 4; ++q) {
      const TRazvertka2PointArray d = developQuadrant(p.sp, withDivisions(n), q).Razvertka;
      const TStringList table = GetRazvertkaTable(p.sp, withDivisions(n), q, ",");
      std::vector<TPoint2D> points = {d[0].P2, d[n + 1].P2, d[n + 2].P2, d[1].P1};
      for (std::size_t j = 2; j <= static_cast<std::size_t>(n); ++j) points.push_back(d[j].P2);
      ASSERT_EQ(table.size(), 3 + points.size());
      for (std::size_t i = 0; i < points.size(); ++i) {
        const std::string& row = table[3 + i];
        const std::string label = row.substr(2, row.find(' ', 2) - 2);
        EXPECT_EQ(row, tableRow(label, numberText(points[i].X, ","), numberText(points[i].Y, ",")))
            << p.name << " quadrant " << int{q};
      }
    }
  }
}

TEST(GetParamsText, DefaultProject) {
  const TStringList lines = GetParamsText(defaultSystemParams());
  const TStringList expected = {
      "   Прямоугольное сечение: (XxY)=100x100",
      "   Радиус круглого сечения: R=50",
      "   Расстояние между сечениями: L=50",
      "   Смещение осей сечений: dX=0 dY=0",
  };
  EXPECT_EQ(lines, expected);
}

TEST(GetParamsText, RoundsToTenthsWithTheGivenSeparator) {
  const TStringList lines = GetParamsText(params(12.34L, 0.25L, 0.75L, -0.04L, -0.25L, 1e15L), ",");
  EXPECT_EQ(lines[0], "   Прямоугольное сечение: (XxY)=12,3x0,2");
  EXPECT_EQ(lines[1], "   Радиус круглого сечения: R=0");
  EXPECT_EQ(lines[2], "   Расстояние между сечениями: L=0,8");
  EXPECT_EQ(lines[3], "   Смещение осей сечений: dX=-0,2 dY=1E15");
  EXPECT_THROW(GetParamsText(params(1e18L, 1, 1, 1)), EInvalidOp);
}

TEST(GetGabaritText, OverallDimensions) {
  EXPECT_EQ(GetGabaritText(defaultSystemParams(), withDivisions(10)), TStringList{"Общие габариты (XxY)=191.8x131.5"});
  EXPECT_EQ(GetGabaritText(defaultSystemParams(), withDivisions(1)), TStringList{"Общие габариты (XxY)=186.6x136.6"});
  TProParams none = withDivisions(10);
  none.Quadrants = {0, 0, 0, 0};
  EXPECT_EQ(GetGabaritText(defaultSystemParams(), none), GetGabaritText(defaultSystemParams(), withDivisions(10)));
}

struct Row {
  const char* label;
  const char* x;
  const char* y;
};

// Quadrant 1 of the default project, 10 divisions.
const std::vector<Row> kQuadrant1 = {
    {"T1", "0", "50"},      {"T2", "76.1", "65.7"}, {"T3", "95.9", "19.8"}, {"T4", "50", "0"},  {"R1", "7.8", "50"},
    {"R2", "15.7", "50.2"}, {"R3", "23.5", "50.7"}, {"R4", "31.3", "51.6"}, {"R5", "39", "53"}, {"R6", "46.7", "54.8"},
    {"R7", "54.2", "57.1"}, {"R8", "61.6", "59.7"}, {"R9", "68.9", "62.6"},
};

std::string negated(const char* t) {
  const std::string s = t;
  return s == "0" ? s : "-" + s;
}

class DefaultTableTest : public ::testing::TestWithParam<int> {};

TEST_P(DefaultTableTest, MirrorsTheWorkedExample) {
  const int q = GetParam();
  const bool left = q == 2 || q == 3;
  const bool down = q == 3 || q == 4;
  const char* leftNames[] = {"T1", "T7", "T6", "T5"};
  const TStringList lines = GetRazvertkaTable(defaultSystemParams(), withDivisions(10), static_cast<std::uint8_t>(q));
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "Квадрант " + std::to_string(q));
  EXPECT_EQ(lines[2], "  Точка     X         Y       ");
  for (std::size_t i = 0; i < kQuadrant1.size(); ++i) {
    std::string label = kQuadrant1[i].label;
    if (left) label = i < 4 ? leftNames[i] : "L" + label.substr(1);
    const std::string x = left ? negated(kQuadrant1[i].x) : kQuadrant1[i].x;
    const std::string y = down ? negated(kQuadrant1[i].y) : kQuadrant1[i].y;
    EXPECT_EQ(lines[i + 3], tableRow(label, x, y)) << "row " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Quadrants, DefaultTableTest, ::testing::Values(1, 2, 3, 4));

TEST(GetRazvertkaTable, OneDivisionListsOnlyTheNamedPoints) {
  const TStringList lines = GetRazvertkaTable(defaultSystemParams(), withDivisions(1), 1);
  const TStringList expected = {"",
                                "Квадрант 1",
                                tableRow("Точка", "X", "Y"),
                                tableRow("T1", "0", "50"),
                                tableRow("T2", "68.3", "68.3"),
                                tableRow("T3", "93.3", "25"),
                                tableRow("T4", "50", "0")};
  EXPECT_EQ(lines, expected);
}

TEST(GetRazvertkaTable, LongCoordinatesAreCut) {
  const TStringList lines = GetRazvertkaTable(params(100, 100, 50, 246913.4L, 0, -246963.4L), withDivisions(2), 3);
  for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(chars(lines[i]), 30u) << lines[i];
}

// Shop values, offsets, negative L, R = 0 and several division counts: the
// page always has the same shape.
struct ShapeProject {
  TSystemParams sp;
  std::int32_t n;
};

class ResultsShape : public ::testing::TestWithParam<ShapeProject> {};

TEST_P(ResultsShape, HeadingsBlocksAndRowWidths) {
  const ShapeProject& p = GetParam();
  TProParams pp = withDivisions(p.n);
  const TStringList text = getResultsText(p.sp, pp);
  const std::size_t block = 3 + 4 + static_cast<std::size_t>(p.n - 1);
  ASSERT_EQ(text.size(), 12 + 4 * block);
  EXPECT_EQ(text[0], "Параметры перехода:");
  EXPECT_EQ(text[1], "");
  EXPECT_EQ(TStringList(text.begin() + 2, text.begin() + 6), GetParamsText(p.sp));
  EXPECT_EQ(text[6], "");
  EXPECT_EQ(text[7], "Результаты расчета развертки:");
  EXPECT_EQ(text[8], "");
  EXPECT_EQ(text[9], GetGabaritText(p.sp, pp)[0]);
  EXPECT_EQ(text[10], "");
  EXPECT_EQ(text[11], "Координаты точек контура развертки (по квадрантам прямоугольного сечения):");
  for (std::size_t q = 0; q < 4; ++q) {
    const std::size_t at = 12 + q * block;
    EXPECT_EQ(text[at], "");
    EXPECT_EQ(text[at + 1], "Квадрант " + std::to_string(q + 1));
    for (std::size_t i = at + 2; i < at + block; ++i) EXPECT_EQ(chars(text[i]), 30u) << text[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Projects, ResultsShape,
                         ::testing::Values(ShapeProject{defaultSystemParams(), 10}, ShapeProject{defaultSystemParams(), 1},
                                           ShapeProject{params(400, 250, 300, 160, 35, -20), 24},
                                           ShapeProject{params(100, 100, -50, 50), 10}, ShapeProject{params(100, 100, 50, 0), 3},
                                           ShapeProject{params(1000, 600, 1200, 315, -100, 250), 90},
                                           ShapeProject{params(0.25L, 0.75L, 0.35L, 0.05L), 4}));

TEST(getResultsText, FailsWholeWithTheEngineMessage) {
  const struct {
    TSystemParams sp;
    std::int32_t n;
    const char* message;
  } cases[] = {
      {defaultSystemParams(), 0, "Floating point division by zero"},
      {params(1e18L, 100, 50, 50), 10, "Invalid floating point operation"},
      {params(100, 100, 0, 50, 0.004L), 10, "Floating point division by zero"},
      {params(100, 100, 0, 50, 0.0149L), 10, "Invalid floating point operation"},
      {params(1e17L, 100, 50, 50), 10, "Invalid floating point operation"},
  };
  for (const auto& c : cases) {
    try {
      getResultsText(c.sp, withDivisions(c.n));
      ADD_FAILURE() << "expected: " << c.message;
    } catch (const EFishError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_THROW(getResultsText(defaultSystemParams(), withDivisions(-1)), EDivisionsRange);
  EXPECT_THROW(GetRazvertkaTable(defaultSystemParams(), withDivisions(10), 5), ERangeError);
}

// A page that fails keeps the lines finished before the failure, block by
// block, and says why; a complete page is exactly the whole text.
struct PageCase {
  const char* name;
  TSystemParams sp;
  std::int32_t n;
  std::size_t linesKept;  // 0: the page is complete
  const char* message;
};

const PageCase kPages[] = {
    {"Complete", defaultSystemParams(), 10, 0, ""},
    {"ParametersCannotBePrinted", params(1e4000L, 100, 50, 50), 10, 2, "Invalid floating point operation"},
    {"DevelopmentFailsInTheOverallSize", defaultSystemParams(), 0, 9, "Floating point division by zero"},
    {"SeamCannotBeLaid", params(100, 100, 0, 50, 0.0149L), 10, 9, "Invalid floating point operation"},
    // Counts only a damaged file holds: refused before they size anything.
    {"CountWrapsRound", defaultSystemParams(), -4, 9, "Число делений -4 недопустимо: допускается от 1 до 100000"},
    {"CountTooLargeToHold", defaultSystemParams(), INT32_MAX, 9,
     "Число делений 2147483647 недопустимо: допускается от 1 до 100000"},
};

class ResultsPageCase : public ::testing::TestWithParam<PageCase> {};

TEST_P(ResultsPageCase, KeepsTheLinesBeforeAFailure) {
  const PageCase& c = GetParam();
  const TResultsPage page = resultsPage(c.sp, withDivisions(c.n), ",");
  EXPECT_EQ(page.failureMessage(), c.message);
  if (c.linesKept == 0) {
    EXPECT_FALSE(page.Error);
    EXPECT_EQ(page.Lines, getResultsText(c.sp, withDivisions(c.n), ","));
    return;
  }
  ASSERT_TRUE(page.Error);
  ASSERT_EQ(page.Lines.size(), c.linesKept);
  const TStringList whole = getResultsText(defaultSystemParams(), withDivisions(10), ",");
  EXPECT_EQ(page.Lines.front(), whole.front());
  // What is kept ends at a block's end: the headings of the next block are
  // there, none of its lines.
  if (c.linesKept == 9) {
    EXPECT_EQ(page.Lines[7], "Результаты расчета развертки:");
    EXPECT_EQ(page.Lines[8], "");
  }
}

// The page worked out ahead gives the same lines and failure as the page
// made line by line, and leaves the last arrays alone unless asked.
TEST_P(ResultsPageCase, TheSourceGivesTheSameLinesAndLeavesTheLastArrays) {
  const PageCase& c = GetParam();
  const TResultsPage page = resultsPage(c.sp, withDivisions(c.n), ",");
  LastSurf.assign(1, TSurf2Point{});
  LastRazvertka.clear();
  const TResultsSource source(c.sp, withDivisions(c.n), ",");
  TStringList lines;
  source.forEachLine([&lines](std::string_view line) { lines.emplace_back(line); });
  EXPECT_EQ(lines, page.Lines);
  EXPECT_EQ(source.failureMessage(), page.failureMessage());
  EXPECT_EQ(LastSurf.size(), 1u);
  EXPECT_TRUE(LastRazvertka.empty());
}

INSTANTIATE_TEST_SUITE_P(Projects, ResultsPageCase, ::testing::ValuesIn(kPages), vintaler::test::rowName<PageCase>);

TEST(resultsPage, LeavesQuadrant4InTheLastArrays) {
  const TProParams pp = withDivisions(7);
  (void)resultsPage(defaultSystemParams(), pp);
  const TQuadrantDevelopment q4 = developQuadrant(defaultSystemParams(), pp, 4);
  ASSERT_EQ(LastRazvertka.size(), q4.Razvertka.size());
  EXPECT_EQ(LastRazvertka.back().P2.Y, q4.Razvertka.back().P2.Y);
  EXPECT_EQ(LastSurf[3].P2.X, q4.Surf[3].P2.X);
}

}  // namespace

namespace {

// Degenerate and extreme values together: the text is either whole and made
// of finite numbers, or the computation fails with one of the engine's own
// errors. Nothing else may come out.
TEST(getResultsText, NeverPrintsWhatIsNotANumber) {
  const Extended values[] = {0,      -0.0L,   1,      -1,       50,    -50,   0.005L,
                             0.004L, 0.0149L, 1e-30L, 1e-4000L, 9e16L, 1e17L, 123456.789L};
  std::mt19937 rng(42);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(values) - 1);
  std::uniform_int_distribution<std::int32_t> divisions(1, 12);
  int failures = 0;
  for (int round = 0; round < 400; ++round) {
    const TSystemParams sp = params(values[pick(rng)], values[pick(rng)], values[pick(rng)], values[pick(rng)],
                                    values[pick(rng)], values[pick(rng)]);
    try {
      for (const std::string& line : getResultsText(sp, withDivisions(divisions(rng)))) {
        ASSERT_EQ(line.find("nan"), std::string::npos) << line;
        ASSERT_EQ(line.find("inf"), std::string::npos) << line;
      }
    } catch (const EFishError&) {
      ++failures;
    }
  }
  EXPECT_GT(failures, 0);
  EXPECT_LT(failures, 400);
}

}  // namespace

namespace {

// A plate without thickness changes nothing, whichever faces it names.
TEST(resultsPage, APlateWithoutThicknessGivesThePlainPage) {
  for (const TPlateParams& plate : {plateOf(0, TFaces::Mean, TFaces::Mean), plateOf(0, TFaces::Inside, TFaces::Outside),
                                    plateOf(0, TFaces::Outside, TFaces::Inside, TMaterial::Copper)}) {
    for (const TSystemParams& sp : {defaultSystemParams(), params(400, 250, 300, 160, 35, -20)}) {
      const TResultsPage page = resultsPage(sp, withDivisions(10), ",", plate);
      EXPECT_FALSE(page.Error);
      EXPECT_EQ(page.Lines, resultsPage(sp, withDivisions(10), ",").Lines);
    }
  }
}

// With a thickness the listing keeps the given sizes and adds two lines;
// everything after is the plain page of the sizes developed.
TEST(resultsPage, APlateAddsTwoLinesAndDevelopsItsNeutralSurface) {
  const TPlateParams plate = plateOf(2, TFaces::Inside, TFaces::Outside);
  const TStringList page = resultsPage(defaultSystemParams(), withDivisions(10), ".", plate).Lines;
  const TStringList given = getResultsText(defaultSystemParams(), withDivisions(10));
  const TStringList developed = getResultsText(developedParams(defaultSystemParams(), plate), withDivisions(10));
  ASSERT_EQ(page.size(), given.size() + 2);
  EXPECT_EQ(TStringList(page.begin(), page.begin() + 6), TStringList(given.begin(), given.begin() + 6));
  EXPECT_EQ(page[6], "   Толщина листа: t=2 мм (прямоугольное сечение: внутренние размеры, круглое: наружные)");
  EXPECT_EQ(page[7], "   Развертка по средней поверхности: (XxY)=102x102 R=49");
  EXPECT_EQ(TStringList(page.begin() + 8, page.end()), TStringList(developed.begin() + 6, developed.end()));
}

// A plate thicker than the section ends the page where a failed development
// would, with the plate's message.
TEST(resultsPage, AnUnusablePlateEndsThePageAfterTheParameters) {
  const TPlateParams plate = plateOf(120, TFaces::Outside, TFaces::Mean);
  const TResultsPage page = resultsPage(defaultSystemParams(), withDivisions(10), ".", plate);
  EXPECT_EQ(page.Lines, resultsPage(defaultSystemParams(), withDivisions(0), ".").Lines);
  EXPECT_THROW(developedParams(defaultSystemParams(), plate), EPlateError);
  EXPECT_NE(page.failureMessage().find("t=120"), std::string::npos) << page.failureMessage();
}

// The accuracy gathered on the way is the shop figures' one and leaves the
// page as it is; a page failing before the developments leaves it alone.
TEST(TResultsSource, GathersTheAccuracyInTheSamePass) {
  const TSystemParams sp = params(400, 250, 300, 160, 35, -20);
  const TPlateParams plate = plateOf(1.5L, TFaces::Outside, TFaces::Inside);
  TAccuracy accuracy;
  const TResultsSource source(sp, withDivisions(24), ".", false, plate, &accuracy);
  TStringList lines;
  source.forEachLine([&lines](std::string_view line) { lines.emplace_back(line); });
  EXPECT_EQ(lines, resultsPage(sp, withDivisions(24), ".", plate).Lines);
  const TAccuracy expected = shopFigures(sp, withDivisions(24), plate, fish::TPatternKind::Table).Accuracy;
  EXPECT_EQ(accuracy.ArcLengthError, expected.ArcLengthError);
  EXPECT_EQ(accuracy.WorstEdgeError, expected.WorstEdgeError);
  EXPECT_EQ(accuracy.ChordPolygonGap, expected.ChordPolygonGap);

  TAccuracy untouched{-1, -2, -3};
  EXPECT_TRUE(TResultsSource(sp, withDivisions(0), ".", false, plate, &untouched).error());
  EXPECT_EQ(untouched.WorstEdgeError, -2);
}

}  // namespace
