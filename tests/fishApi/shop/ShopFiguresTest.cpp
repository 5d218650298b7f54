// The shop figures against independent sums: Heron areas of the triangles
// their lengths bound, the closed form of a chord polygon, the exported
// sheets' boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/shop/FlatPattern.h"
#include "fishApi/shop/ShopFigures.h"
#include "support/EngineTestSupport.h"

using namespace fish;
using namespace fish::test;

namespace {

const TSystemParams kOffset = params(300, 400, 500, 100, 75, 75);

struct Project {
  const char* name;
  TSystemParams sp;
  std::int32_t n;
  TPlateParams plate;
};

const Project kProjects[] = {
    {"Default", defaultSystemParams(), 10, {}},
    {"OneDivision", defaultSystemParams(), 1, {}},
    {"Offset", kOffset, 6, {}},
    {"SteelInsideOutside", params(400, 250, 300, 160, 35, -20), 24, plateOf(2, TFaces::Inside, TFaces::Outside)},
    {"AluminiumFine", params(1000, 600, 1200, 315, -100, 250), 400,
     plateOf(1.5L, TFaces::Outside, TFaces::Inside, TMaterial::Aluminium)},
};

class Figures : public ::testing::TestWithParam<Project> {};

void lengthsAreTheDevelopments(const Project& c, TPatternKind kind) {
  const TShopFigures f = shopFigures(c.sp, withDivisions(c.n), c.plate, kind);
  EXPECT_EQ(f.Pattern, kind);
  const Extended close = kind == TPatternKind::Precise ? 1e-9L : 0.01L;
  const TSystemParams developed = developedParams(c.sp, c.plate);
  const std::size_t n = static_cast<std::size_t>(c.n);
  Extended net = 0;
  for (const TQuadrantFigures& q : f.Quadrants) {
    const TRazvertka2PointArray& d = q.Razvertka;
    const std::vector<Extended>& g = q.Generators;
    ASSERT_EQ(g.size(), n + 3);
    ASSERT_EQ(q.Chords.size(), n);
    std::vector<std::pair<Extended, Extended>> kept = {{g[0], distance2D(d[0].P2, d[0].P1)},
                                                       {g[n + 2], distance2D(d[n + 2].P2, d[n + 1].P2)},
                                                       {q.EdgeToCorner, distance2D(d[1].P1, d[0].P1)},
                                                       {q.EdgeFromCorner, distance2D(d[n + 2].P2, d[n + 2].P1)}};
    for (std::size_t k = 1; k <= n + 1; ++k) kept.push_back({g[k], distance2D(d[k].P2, d[1].P1)});
    for (std::size_t i = 0; i < n; ++i) kept.push_back({q.Chords[i], distance2D(d[i + 2].P2, d[i + 1].P2)});
    for (const auto& [figure, flat] : kept) EXPECT_NEAR(asDouble(figure), asDouble(flat), 1e-9);

    Extended area = heron(q.EdgeToCorner, g[1], g[0]) + heron(q.EdgeFromCorner, g[n + 1], g[n + 2]);
    for (std::size_t i = 0; i < n; ++i) area += heron(g[i + 1], g[i + 2], q.Chords[i]);
    EXPECT_NEAR(asDouble(q.Area), asDouble(area), 1e-9 * asDouble(area)) << "quadrant " << q.Quadrant;
    net += area;
    // The precise pattern of a plate lays its middle surface, whose sides
    // move by their slopes, not by t/2.
    if (kind == TPatternKind::Precise && c.plate.Thickness > 0) continue;
    EXPECT_NEAR(asDouble(q.EdgeToCorner), asDouble(developed.B / 2), asDouble(close));
    EXPECT_NEAR(asDouble(q.EdgeFromCorner), asDouble(developed.A / 2), asDouble(close));
  }
  EXPECT_NEAR(asDouble(f.NetArea), asDouble(net), 1e-9 * asDouble(net));
  // Measured on the development at hand or walked both afresh, the same.
  EXPECT_EQ(f.PatternAccuracy.MaxPointError, tablePointError(developed, withDivisions(c.n)));
  // m2 times m times kg/m3.
  const double kg = asDouble(net / 1e6L) * asDouble(c.plate.Thickness / 1e3L) * asDouble(c.plate.Density);
  EXPECT_NEAR(asDouble(f.Mass), kg, 1e-9 * kg);
}

// Every length is the one the development keeps; the triangles they bound
// (origin, corner, T1; the cone's; corner, X-side midpoint, arc end) make up
// the piece, and the half sides are those of the developed rectangle. So for
// both patterns; the precise one keeps them to 1e-9 of a length.
TEST_P(Figures, LengthsAreTheDevelopmentsAndBoundItsArea) {
  for (const TPatternKind kind : {TPatternKind::Table, TPatternKind::Precise}) {
    SCOPED_TRACE(std::string(patternKey(kind)));
    lengthsAreTheDevelopments(GetParam(), kind);
  }
}

INSTANTIATE_TEST_SUITE_P(Projects, Figures, ::testing::ValuesIn(kProjects), vintaler::test::rowName<Project>);

struct SheetCase {
  const char* name;
  std::array<ByteBool, 4> quadrants;
  std::vector<std::vector<int>> sheets;
};

const SheetCase kSheets[] = {
    {"UpperPair", {1, 1, 0, 0}, {{1, 2}}},
    {"RightHalfIsTwoSheets", {1, 0, 0, 1}, {{1}, {4}}},
    {"All", {1, 1, 1, 1}, {{1, 2}, {3, 4}}},
    {"None", {0, 0, 0, 0}, {}},
};

class Sheets : public ::testing::TestWithParam<SheetCase> {};

// A joined sheet is its two pieces; its blank is the box of the outline the
// flat pattern exports.
TEST_P(Sheets, AreTheExportedSheets) {
  const SheetCase& c = GetParam();
  const TPlateParams plate = plateOf(3, TFaces::Outside, TFaces::Inside);
  const TProParams pp = withDivisions(6, c.quadrants);
  const TShopFigures f = shopFigures(kOffset, pp, plate, fish::TPatternKind::Table);
  ASSERT_EQ(f.Sheets.size(), c.sheets.size());
  if (c.sheets.empty()) return;
  const TFlatPattern pattern = flatPattern(developedParams(kOffset, plate), pp, fish::TPatternKind::Table);
  for (std::size_t i = 0; i < c.sheets.size(); ++i) {
    const TSheetFigures& s = f.Sheets[i];
    EXPECT_EQ(s.Quadrants, c.sheets[i]);
    Extended pieces = 0;
    for (int q : s.Quadrants) pieces += f.Quadrants[static_cast<std::size_t>(q - 1)].Area;
    EXPECT_NEAR(asDouble(s.Area), asDouble(pieces), 1e-9 * asDouble(pieces));
    const auto& o = pattern.Pieces[i].Outline;
    const auto [minX, maxX] = std::minmax_element(o.begin(), o.end(), [](auto& a, auto& b) { return a.X < b.X; });
    const auto [minY, maxY] = std::minmax_element(o.begin(), o.end(), [](auto& a, auto& b) { return a.Y < b.Y; });
    EXPECT_EQ(s.Width, maxX->X - minX->X);
    EXPECT_EQ(s.Height, maxY->Y - minY->Y);
  }
}

INSTANTIATE_TEST_SUITE_P(Quadrants, Sheets, ::testing::ValuesIn(kSheets), vintaler::test::rowName<SheetCase>);

struct AccuracyCase {
  const char* name;
  std::int32_t n;
  bool exceeds;
  bool moreDivisions;
  const char* advice;  // the warning's last words
};

// Coarse steps cut the arc short; very fine ones lose the arc's direction to
// the rounding of every point to hundredths.
const AccuracyCase kAccuracies[] = {
    {"TenDivisions", 10, false, false, ""},
    {"OneDivision", 1, true, true, "увеличьте число разбиений"},
    {"HundredThousandDivisions", 100000, true, false, "уменьшите число разбиений"},
};

class Accuracy : public ::testing::TestWithParam<AccuracyCase> {};

TEST_P(Accuracy, SaysWhichWayTheDivisionsShouldGo) {
  const AccuracyCase& c = GetParam();
  const TAccuracy a = shopFigures(defaultSystemParams(), withDivisions(c.n), {}, fish::TPatternKind::Table).Accuracy;
  EXPECT_EQ(a.exceedsLimit(), c.exceeds) << asDouble(a.worst());
  EXPECT_EQ(a.wantsMoreDivisions(), c.moreDivisions);
  if (!c.exceeds) {
    EXPECT_LT(a.worst(), kAccuracyLimit / 5);
  }
  const std::string warning = accuracyWarning(a);
  EXPECT_EQ(warning.empty(), !c.exceeds);
  EXPECT_TRUE(warning.ends_with(c.advice)) << warning;
}

INSTANTIATE_TEST_SUITE_P(Divisions, Accuracy, ::testing::ValuesIn(kAccuracies), vintaler::test::rowName<AccuracyCase>);

// n exact chords of a quarter of radius R fall short of it by
// pi R / 2 - 2 n R sin(pi / (4 n)); the developed arc is its chords' sum.
TEST(quadrantAccuracy, ChordGapIsTheClosedFormAndTheArcIsTheChordSum) {
  for (const auto& [sp, divisions] : {std::pair{defaultSystemParams(), 1}, std::pair{defaultSystemParams(), 10},
                                      std::pair{kOffset, 6}, std::pair{kOffset, 3000}}) {
    const TProParams pp = withDivisions(divisions);
    const Extended n = divisions;
    const Extended gap = kPi * sp.R / 2 - 2 * n * sp.R * std::sin(kPi / (4 * n));
    for (std::uint16_t q = 1; q <= 4; ++q) {
      const TRazvertka2PointArray d = developQuadrant(sp, pp, q).Razvertka;
      const TQuadrantAccuracy a = quadrantAccuracy(sp, pp, q, d);
      EXPECT_NEAR(asDouble(a.ChordPolygonGap), asDouble(gap), 1e-12 * asDouble(sp.R)) << divisions << " q" << q;
      Extended chords = 0;
      for (std::size_t j = 2; j < d.size() - 1; ++j) chords += distance2D(d[j].P2, d[j - 1].P2);
      EXPECT_NEAR(asDouble(a.ArcLength), asDouble(chords), 1e-9);
    }
  }
}

struct WarningCase {
  const char* name;
  TAccuracy accuracy;  // arc length error, worst edge error, chord gap
  const char* separator;
  const char* text;
};

const WarningCase kWarnings[] = {
    {"AtTheLimit", {0.5L, 0.5L, 0.5L}, ".", ""},
    {"RoundingDominates",
     {2.351L, 0.2L, 0.1L},
     ",",
     "Внимание: развертка отклоняется от точной поверхности на 2,35 мм (допустимо 0,5 мм): уменьшите число "
     "разбиений"},
    {"EdgeErrorAlone",
     {0.1L, 0.75L, 0},
     ".",
     "Внимание: развертка отклоняется от точной поверхности на 0.75 мм (допустимо 0.5 мм): уменьшите число "
     "разбиений"},
};

class Warning : public ::testing::TestWithParam<WarningCase> {};

TEST_P(Warning, NamesTheWorstErrorAndTheAdvice) {
  EXPECT_EQ(accuracyWarning(GetParam().accuracy, GetParam().separator), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Accuracies, Warning, ::testing::ValuesIn(kWarnings), vintaler::test::rowName<WarningCase>);

TEST(shopFigures, FailsWithTheEngineErrors) {
  EXPECT_THROW(shopFigures(defaultSystemParams(), withDivisions(10), plateOf(-1), fish::TPatternKind::Table), EPlateError);
  EXPECT_THROW(shopFigures(defaultSystemParams(), withDivisions(10), plateOf(120, TFaces::Outside), fish::TPatternKind::Table), EPlateError);
  EXPECT_THROW(shopFigures(defaultSystemParams(), withDivisions(0), {}, fish::TPatternKind::Table), EZeroDivide);
  EXPECT_THROW(shopFigures(defaultSystemParams(), withDivisions(kMaxDivisions + 1), {}, fish::TPatternKind::Table), EDivisionsRange);
}

}  // namespace
