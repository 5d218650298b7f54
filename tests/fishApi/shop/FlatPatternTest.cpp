// The flat pattern that the exports write: sheets, bend lines and names,
// checked against the surface in space rather than against the code that
// lays it flat.
#include <gtest/gtest.h>

#include <cmath>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "fishApi/shop/FlatPattern.h"
#include "support/EngineTestSupport.h"

using namespace fish;
using namespace fish::test;

namespace {

// A quadrant's surface area, triangle by triangle in space: the plane
// triangle at the Y side, the cone's triangles, the plane triangle at the X
// side. Laying it flat keeps every side, so the sheet has this area.
Extended surfaceArea(const TSystemParams& sp, const TProParams& pp, std::uint16_t q) {
  TSurf2PointArray s;
  TExtents3D box;
  CalcSurfQuadrant(sp, pp, q, box, s);
  const std::size_t m = s.size() - 1;
  const auto tri = [](const TPoint3D& a, const TPoint3D& b, const TPoint3D& c) {
    return heron(Distance3D(a, b), Distance3D(b, c), Distance3D(c, a));
  };
  Extended area = tri(s[0].P1, s[1].P1, s[0].P2);
  for (std::size_t k = 2; k < m; ++k) area += tri(s[1].P1, s[k - 1].P2, s[k].P2);
  return area + tri(s[m].P1, s[m - 1].P1, s[m].P2);
}

struct Shape {
  const char* name;
  TSystemParams sp;
  std::int32_t n;
};

const Shape kShapes[] = {
    {"Default", defaultSystemParams(), 10},
    {"OneDivision", defaultSystemParams(), 1},
    {"Offset", params(400, 250, 300, 160, 35, -20), 24},
    {"WideAndLow", params(1000, 600, 120, 315, -100, 250), 90},
    {"Small", params(0.25L, 0.75L, 0.35L, 0.05L), 4},
    {"Fine", params(300, 200, 150, 90, 10, 5), 2000},
};

const std::array<ByteBool, 4> kAll = {1, 1, 1, 1};

class PatternProperty : public ::testing::TestWithParam<Shape> {};

TEST_P(PatternProperty, SheetsAreClosedSimpleAndAsLargeAsTheSurface) {
  const Shape& c = GetParam();
  const TProParams pp = withDivisions(c.n, kAll);
  const TFlatPattern pattern = flatPattern(c.sp, pp, fish::TPatternKind::Table);
  ASSERT_EQ(pattern.Pieces.size(), 2u) << "1 with 2, 3 with 4";
  EXPECT_FALSE(pattern.Crossing);
  for (const TPatternPiece& piece : pattern.Pieces) {
    const std::vector<TPoint2D>& o = piece.Outline;
    ASSERT_GE(o.size(), 4u);
    for (std::size_t i = 0; i < o.size(); ++i) {
      EXPECT_GT(distance2D(o[i], o[(i + 1) % o.size()]), 0) << "edge " << i << " has no length";
    }
    EXPECT_TRUE(isSimplePolygon(o));
    Extended expected = 0;
    for (int q : piece.Quadrants) expected += surfaceArea(c.sp, pp, static_cast<std::uint16_t>(q));
    EXPECT_NEAR(asDouble(polygonArea(o)), asDouble(expected), 1e-9 * asDouble(expected));
    for (const TPoint2D& p : o) {
      EXPECT_TRUE(p.X >= pattern.Box.MinX && p.X <= pattern.Box.MaxX && p.Y >= pattern.Box.MinY &&
                  p.Y <= pattern.Box.MaxY);
    }
  }
}

TEST_P(PatternProperty, EveryDevelopedEdgeIsAsLongAsInSpace) {
  const Shape& c = GetParam();
  const TProParams pp = withDivisions(c.n, kAll);
  const TFlatPattern pattern = flatPattern(c.sp, pp, fish::TPatternKind::Table);
  std::size_t line = 0;
  for (std::uint16_t q = 1; q <= 4; ++q) {
    TSurf2PointArray s;
    TExtents3D box;
    CalcSurfQuadrant(c.sp, pp, q, box, s);
    // Bend lines: elements 1..n+1, corner to arc point, in order.
    for (std::size_t k = 1; k + 1 < s.size(); ++k, ++line) {
      ASSERT_LT(line, pattern.BendLines.size());
      const TPatternLine& l = pattern.BendLines[line];
      EXPECT_EQ(l.Quadrant, q);
      const Extended inSpace = Distance3D(s[k].P1, s[k].P2);
      EXPECT_NEAR(asDouble(distance2D(l.From, l.To)), asDouble(inSpace), 1e-12 * (1 + asDouble(inSpace)));
    }
    // The arc's chords are edges of the outline.
    const TRazvertka2PointArray d = developQuadrant(c.sp, pp, q).Razvertka;
    for (std::size_t k = 2; k + 1 < s.size(); ++k) {
      const Extended inSpace = Distance3D(s[k - 1].P2, s[k].P2);
      EXPECT_NEAR(asDouble(distance2D(d[k - 1].P2, d[k].P2)), asDouble(inSpace), 1e-12 * (1 + asDouble(inSpace)));
    }
  }
  EXPECT_EQ(line, pattern.BendLines.size());
}

INSTANTIATE_TEST_SUITE_P(Shapes, PatternProperty, ::testing::ValuesIn(kShapes), vintaler::test::rowName<Shape>);

struct Selection {
  const char* name;
  std::array<ByteBool, 4> quadrants;
  std::vector<std::vector<int>> sheets;
};

// Which quadrants make one sheet: those sharing the Y side's centre line.
const Selection kSelections[] = {
    {"UpperPair", {1, 1, 0, 0}, {{1, 2}}},
    {"All", {1, 1, 1, 1}, {{1, 2}, {3, 4}}},
    {"RightHalfTouchesOnlyInTheDrawing", {1, 0, 0, 1}, {{1}, {4}}},
    {"Single", {0, 0, 1, 0}, {{3}}},
    {"ThreeQuadrants", {0, 1, 1, 1}, {{2}, {3, 4}}},
};

class PatternSheets : public ::testing::TestWithParam<Selection> {};

TEST_P(PatternSheets, JoinedAlongTheSharedLineOnly) {
  const Selection& c = GetParam();
  const TProParams pp = withDivisions(10, c.quadrants);
  const TFlatPattern pattern = flatPattern(defaultSystemParams(), pp, fish::TPatternKind::Table);
  ASSERT_EQ(pattern.Pieces.size(), c.sheets.size());
  std::size_t names = 0;
  for (std::size_t i = 0; i < c.sheets.size(); ++i) {
    EXPECT_EQ(pattern.Pieces[i].Quadrants, c.sheets[i]);
    EXPECT_GT(polygonArea(pattern.Pieces[i].Outline), 0) << "counter-clockwise";
    // Each quadrant's table names (T1..T4 and nine R or L), T1 once per sheet.
    names += 12 * c.sheets[i].size() + 1;
  }
  EXPECT_EQ(pattern.Labels.size(), names);
  std::size_t arcStarts = 0;
  for (const TPatternLabel& l : pattern.Labels) arcStarts += l.Text == "T1";
  EXPECT_EQ(arcStarts, c.sheets.size());
}

INSTANTIATE_TEST_SUITE_P(Quadrants, PatternSheets, ::testing::ValuesIn(kSelections),
                         vintaler::test::rowName<Selection>);

TEST(flatPattern, RefusesWhatCannotBeExported) {
  EXPECT_THROW(flatPattern(defaultSystemParams(), withDivisions(10, {0, 0, 0, 0}), fish::TPatternKind::Table), ENoQuadrant);
  EXPECT_THROW(flatPattern(defaultSystemParams(), withDivisions(0), fish::TPatternKind::Table), EZeroDivide);
  EXPECT_THROW(flatPattern(params(100, 100, 0, 50, 0.0149L), withDivisions(10), fish::TPatternKind::Table), EInvalidOp);
}

TEST(flatPattern, AnOutlineThatCrossesItselfIsKeptAndFlagged) {
  // A small rectangle far from a tiny, very close circle.
  const TSystemParams sp = params(11.811842356989597, 105.04024313951854, 2.4762392587574928, 2.9250672711731642,
                                  2261.4047741697946, -53.759098106117342);
  const TFlatPattern pattern = flatPattern(sp, withDivisions(10, kAll), fish::TPatternKind::Table);
  EXPECT_TRUE(pattern.Crossing);
  bool someCrossing = false;
  for (const TPatternPiece& piece : pattern.Pieces) someCrossing = someCrossing || !isSimplePolygon(piece.Outline);
  EXPECT_TRUE(someCrossing);
}

// The polygon is made by the test that uses it: the large ones would
// otherwise be built at every start of the test program.
struct PolygonCase {
  const char* name;
  std::vector<TPoint2D> (*polygon)();
  bool simple;
};

std::vector<TPoint2D> circle(std::size_t n) {
  std::vector<TPoint2D> p;
  for (std::size_t i = 0; i < n; ++i) {
    const Extended t = 2 * 3.14159265358979323846L * static_cast<Extended>(i) / static_cast<Extended>(n);
    p.push_back({100 * std::cos(t), 100 * std::sin(t)});
  }
  return p;
}

std::vector<TPoint2D> circleWithADent(std::size_t n) {
  std::vector<TPoint2D> p = circle(n);
  p[n / 2] = {150, 0};  // reaches across to the far side
  return p;
}

const PolygonCase kPolygons[] = {
    {"Square", [] { return std::vector<TPoint2D>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}; }, true},
    {"BowTie", [] { return std::vector<TPoint2D>{{0, 0}, {1, 1}, {1, 0}, {0, 1}}; }, false},
    {"FlatTriangle", [] { return std::vector<TPoint2D>{{0, 0}, {1, 0}, {2, 0}}; }, false},
    {"SpikeBackAlongAnEdge", [] { return std::vector<TPoint2D>{{0, 0}, {2, 0}, {1, 0}, {1, 1}}; }, false},
    {"TouchingAVertex", [] { return std::vector<TPoint2D>{{0, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 2}, {1, 1}}; }, false},
    {"ManySides", [] { return circle(200000); }, true},
    {"ManySidesOneAcross", [] { return circleWithADent(200000); }, false},
};

class SimplePolygon : public ::testing::TestWithParam<PolygonCase> {};

TEST_P(SimplePolygon, FindsEveryCrossing) { EXPECT_EQ(isSimplePolygon(GetParam().polygon()), GetParam().simple); }

INSTANTIATE_TEST_SUITE_P(Polygons, SimplePolygon, ::testing::ValuesIn(kPolygons), vintaler::test::rowName<PolygonCase>);

}  // namespace
