#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishSurface.h"
#include "support/EngineTestSupport.h"
#include "support/SameBits.h"

using namespace fish;
using namespace fish::test;
using vintaler::test::sameBits;

namespace {

// 50 as a circle point has it: the product (1000 * 50) * 0.001, just below 50.
const Extended k50 = (1000 * 50.0L) * kThousandth;

void expectPoint(const TPoint3D& p, Extended x, Extended y, Extended z, const char* what) {
  EXPECT_EQ(p.X, x) << what;
  EXPECT_EQ(p.Y, y) << what;
  EXPECT_EQ(p.Z, z) << what;
}

TEST(RectPoint, RunsRoundTheRectangleFromThePlusXMidpoint) {
  const TSystemParams sp = params(100, 60, 50, 50);
  const struct {
    int code;
    Extended x, y;
  } cases[] = {{1, 50, 0},  {2, 50, -30}, {3, 0, -30}, {4, -50, -30},
               {5, -50, 0}, {6, -50, 30}, {7, 0, 30},  {8, 50, 30}};
  for (const auto& c : cases) {
    const TPoint3D p = RectPoint(sp, c.code);
    EXPECT_EQ(p.X, c.x) << c.code;
    EXPECT_EQ(p.Y, c.y) << c.code;
    EXPECT_EQ(p.Z, 0) << c.code;
  }
  EXPECT_THROW(RectPoint(sp, 0), ERangeError);
  EXPECT_THROW(RectPoint(sp, 9), ERangeError);
}

TEST(CirclePoint, DirectionCosinesHaveThreeDecimals) {
  const TSystemParams sp = params(100, 100, 50, 50, 10, -20);
  const TPoint3D diag = CirclePoint(sp, kPi / 4);
  EXPECT_EQ(diag.X, (707 * 50.0L) * kThousandth + 10);
  EXPECT_EQ(diag.Y, (707 * 50.0L) * kThousandth - 20);
  EXPECT_EQ(diag.Z, 50);
  // At pi/2 and 3pi/2 the cosine rounds to 0: X is the centre's exactly.
  EXPECT_EQ(CirclePoint(sp, kPi_2).X, 10);
  EXPECT_EQ(CirclePoint(sp, kPi3_2).X, 10);
  EXPECT_EQ(CirclePoint(sp, kPi).Y, -20);
  EXPECT_EQ(CirclePoint(sp, kPi2).Y, -20);
  EXPECT_EQ(CirclePoint(sp, 0).X, k50 + 10);
}

TEST(InitSurfExtents, MaximaAreRoundedIntegersAndMinimaZero) {
  const TExtents3D e = InitSurfExtents({2.5L, -7.6L, 0}, {3.5L, -7.4L, 50.4L});
  EXPECT_EQ(e.MaxX, 4);   // 2.5 -> 2, 3.5 -> 4
  EXPECT_EQ(e.MaxY, -7);  // -7.6 -> -8, -7.4 -> -7
  EXPECT_EQ(e.MaxZ, 50);
  EXPECT_EQ(e.MinX, 0);
  EXPECT_EQ(e.MinY, 0);
  EXPECT_EQ(e.MinZ, 0);
}

TEST(CalcSurfQuadrant, DefaultsWithTwoDivisions) {
  TSurf2PointArray s;
  TExtents3D e;
  CalcSurfQuadrant(defaultSystemParams(), withDivisions(2), 1, e, s);
  ASSERT_EQ(s.size(), 5u);
  const Extended d = (707 * 50.0L) * kThousandth;
  expectPoint(s[0].P1, 0, 50, 0, "element 0 starts at the Y-side midpoint");
  expectPoint(s[0].P2, 0, k50, 50, "element 0 ends at the arc start");
  for (int i = 1; i <= 3; ++i) expectPoint(s[static_cast<std::size_t>(i)].P1, 50, 50, 0, "fan starts at the corner");
  expectPoint(s[1].P2, 0, k50, 50, "element 1 shares the arc start");
  expectPoint(s[2].P2, d, d, 50, "middle of the arc");
  expectPoint(s[3].P2, k50, 0, 50, "pi/2 - 2 * pi/4 is exactly 0");
  expectPoint(s[4].P1, 50, 0, 0, "last element starts at the X-side midpoint");
  expectPoint(s[4].P2, k50, 0, 50, "last element ends at the arc end");
}

struct BoxCase {
  std::uint16_t quadrant;
  Extended minX, maxX, minY, maxY;
};

class QuadrantBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QuadrantBoxTest, DefaultBoxesSitInTheirQuadrant) {
  const BoxCase& c = GetParam();
  TSurf2PointArray s;
  TExtents3D e;
  CalcSurfQuadrant(defaultSystemParams(), withDivisions(2), c.quadrant, e, s);
  EXPECT_EQ(e.MinX, c.minX);
  EXPECT_EQ(e.MaxX, c.maxX);
  EXPECT_EQ(e.MinY, c.minY);
  EXPECT_EQ(e.MaxY, c.maxY);
  EXPECT_EQ(e.MinZ, 0);
  EXPECT_EQ(e.MaxZ, 50);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, QuadrantBoxTest,
                         ::testing::Values(BoxCase{1, 0, 50, 0, 50}, BoxCase{2, -50, 0, 0, 50},
                                           BoxCase{3, -50, 0, -50, 0}, BoxCase{4, 0, 50, -50, 0}));

// Without an offset the four quadrants are mirror images of quadrant 1.
class MirrorTest : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(MirrorTest, QuadrantsMirrorQuadrantOne) {
  const TSystemParams sp = params(130, 70, 45.5L, 33.3L);
  const TProParams pp = withDivisions(GetParam());
  TSurf2PointArray q[5];
  TExtents3D e;
  for (std::uint16_t k = 1; k <= 4; ++k) CalcSurfQuadrant(sp, pp, k, e, q[k]);
  const int sx[5] = {0, 1, -1, -1, 1};
  const int sy[5] = {0, 1, 1, -1, -1};
  for (int k = 2; k <= 4; ++k) {
    ASSERT_EQ(q[k].size(), q[1].size());
    for (std::size_t i = 0; i < q[1].size(); ++i) {
      for (auto pick : {&TSurf2Point::P1, &TSurf2Point::P2}) {
        const TPoint3D& a = q[1][i].*pick;
        const TPoint3D& b = q[k][i].*pick;
        EXPECT_EQ(b.X, sx[k] * a.X) << "quadrant " << k << " element " << i;
        EXPECT_EQ(b.Y, sy[k] * a.Y) << "quadrant " << k << " element " << i;
        EXPECT_EQ(b.Z, a.Z);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Divisions, MirrorTest, ::testing::Values(1, 2, 7, 10, 90, 360));

TEST(CalcSurfQuadrant, ArrayHasDivisionsPlusThreeLines) {
  for (std::int32_t n : {1, 3, 10, 1000}) {
    TSurf2PointArray s;
    TExtents3D e;
    CalcSurfQuadrant(defaultSystemParams(), withDivisions(n), 3, e, s);
    EXPECT_EQ(s.size(), static_cast<std::size_t>(n) + 3);
    // Every fan line starts at the corner and every circle point lies in Z = L.
    for (std::size_t i = 1; i + 1 < s.size(); ++i) expectPoint(s[i].P1, -50, -50, 0, "corner");
    for (const auto& line : s) EXPECT_EQ(line.P2.Z, 50);
  }
}

TEST(CalcSurfQuadrant, OffsetCircleWidensTheBox) {
  TSurf2PointArray s;
  TExtents3D e;
  CalcSurfQuadrant(params(100, 100, 50, 50, 200), withDivisions(10), 2, e, s);
  EXPECT_EQ(e.MaxX, 200);
  EXPECT_EQ(e.MinX, -50);
  EXPECT_EQ(s.front().P2.X, 200);
  EXPECT_EQ(s.back().P2.X, 200 - k50);
}

TEST(CalcSurfQuadrant, ElementZeroCanRaiseTheMaximumByRounding) {
  // A/2 = 50.6 enters the box rounded to 51; no circle point lies higher.
  TSurf2PointArray s;
  TExtents3D e;
  CalcSurfQuadrant(params(100, 101.2L, 50, 50), withDivisions(10), 1, e, s);
  EXPECT_EQ(e.MaxY, 51);
}

TEST(CalcSurfQuadrant, NegativeDistancePutsTheCircleBelow) {
  TSurf2PointArray s;
  TExtents3D e;
  CalcSurfQuadrant(params(100, 100, -30, 50), withDivisions(10), 4, e, s);
  EXPECT_EQ(e.MinZ, -30);
  EXPECT_EQ(e.MaxZ, 0);
}

// Also over an array that held another quadrant: nothing of it is left.
TEST(CalcSurfQuadrant, ZeroDivisionsFailsAfterSizingAndLeavesTheBox) {
  for (const std::int32_t before : {-1, 10, 1000}) {
    TSurf2PointArray s;
    TExtents3D e;
    if (before >= 0) CalcSurfQuadrant(defaultSystemParams(), withDivisions(before), 2, e, s);
    e.MaxX = 777;
    EXPECT_THROW(CalcSurfQuadrant(defaultSystemParams(), withDivisions(0), 1, e, s), EZeroDivide);
    ASSERT_EQ(s.size(), 3u) << before;
    for (const TSurf2Point& element : s) {
      for (const TPoint3D& p : {element.P1, element.P2}) EXPECT_TRUE(p.X == 0 && p.Y == 0 && p.Z == 0) << before;
    }
    EXPECT_EQ(e.MaxX, 777);
  }
}

TEST(CalcSurfQuadrant, UnusableDivisionsAreRefusedBeforeAllocating) {
  for (std::int32_t n : {-1, -100, kMaxDivisions + 1, std::numeric_limits<std::int32_t>::max()}) {
    TSurf2PointArray s(2);
    TExtents3D e;
    EXPECT_THROW(CalcSurfQuadrant(defaultSystemParams(), withDivisions(n), 1, e, s), EDivisionsRange) << n;
    EXPECT_EQ(s.size(), 2u) << n;
  }
  TSurf2PointArray s;
  TExtents3D e;
  CalcSurfQuadrant(defaultSystemParams(), withDivisions(kMaxDivisions), 1, e, s);
  EXPECT_EQ(s.size(), static_cast<std::size_t>(kMaxDivisions) + 3);
}

TEST(CalcSurfQuadrant, RefusesNonFiniteParametersAndBadQuadrants) {
  TSurf2PointArray s;
  TExtents3D e;
  TSystemParams sp = defaultSystemParams();
  sp.R = std::numeric_limits<Extended>::quiet_NaN();
  EXPECT_THROW(CalcSurfQuadrant(sp, withDivisions(10), 1, e, s), EInvalidOp);
  sp = defaultSystemParams();
  sp.Y1 = -std::numeric_limits<Extended>::infinity();
  EXPECT_THROW(CalcSurfQuadrant(sp, withDivisions(10), 1, e, s), EInvalidOp);
  EXPECT_THROW(CalcSurfQuadrant(defaultSystemParams(), withDivisions(10), 0, e, s), ERangeError);
  EXPECT_THROW(CalcSurfQuadrant(defaultSystemParams(), withDivisions(10), 5, e, s), ERangeError);
  // A radius so large that a circle point overflows the format.
  sp = defaultSystemParams();
  sp.R = std::numeric_limits<Extended>::max() / 10;
  EXPECT_THROW(CalcSurfQuadrant(sp, withDivisions(10), 1, e, s), EOverflow);
}

}  // namespace

// The array, point by point, against the single circle point at each step's
// angle. A circle point that cannot be made fails the quadrant, leaving the
// array sized and zero: the arc's two ends and the first box are made before
// any other point, and the points between lie between the ends. Made over an array that held
// another quadrant, so nothing of that may show through.
struct ArcCase {
  std::string name;
  TSystemParams sp;
  std::int32_t divisions;
};

class SurfaceArc : public ::testing::TestWithParam<ArcCase> {};

TEST_P(SurfaceArc, EveryPointIsTheCirclePointOfItsStep) {
  const ArcCase& c = GetParam();
  const std::size_t n = static_cast<std::size_t>(c.divisions);
  for (std::uint16_t q = 1; q <= 4; ++q) {
    const TQuadrantSetup setup = quadrantSetup(q);
    TSurf2PointArray s;
    TExtents3D e;
    CalcSurfQuadrant(defaultSystemParams(), withDivisions(7), q % 4 + 1, e, s);
    const TExtents3D before = e;

    // What each element must hold, and the first circle point that fails.
    std::vector<TSurf2Point> expected(n + 3);
    std::string failure;
    const auto circle = [&](Extended t) {
      TPoint3D p;
      try {
        p = CirclePoint(c.sp, t);
      } catch (const EFishError& error) {
        if (failure.empty()) failure = error.what();
      }
      return p;
    };
    expected[0] = {RectPoint(c.sp, setup.FirstRect), circle(setup.StartAngle)};
    expected[n + 2] = {RectPoint(c.sp, setup.LastRect), circle(setup.EndAngle)};
    try {
      if (failure.empty()) InitSurfExtents(expected[0].P1, expected[0].P2);
    } catch (const EFishError& error) {
      failure = error.what();  // element 0 rounded to whole units for the box
    }
    const Extended step = setup.StepSign * (kPi_2 / static_cast<Extended>(n));
    for (std::size_t i = 1; i <= n + 1; ++i) {
      expected[i] = {RectPoint(c.sp, setup.CornerRect), circle(static_cast<Extended>(i - 1) * step + setup.StartAngle)};
    }
    if (!failure.empty()) std::fill(expected.begin(), expected.end(), TSurf2Point{});

    std::string thrown;
    try {
      CalcSurfQuadrant(c.sp, withDivisions(c.divisions), q, e, s);
    } catch (const EFishError& error) {
      thrown = error.what();
    }
    EXPECT_EQ(thrown, failure) << "quadrant " << q;
    ASSERT_EQ(s.size(), n + 3) << "quadrant " << q;
    for (std::size_t i = 0; i < s.size(); ++i) {
      for (const auto& [got, want] : {std::pair{s[i].P1, expected[i].P1}, std::pair{s[i].P2, expected[i].P2}}) {
        EXPECT_TRUE(sameBits(got.X, want.X) && sameBits(got.Y, want.Y) && sameBits(got.Z, want.Z))
            << "quadrant " << q << ", element " << i;
      }
    }
    if (!failure.empty()) {
      EXPECT_EQ(e.MaxX, before.MaxX) << "a failure leaves the box";
      continue;
    }
    // The box: element 0's (InitSurfExtents), widened by every later point.
    TExtents3D box = InitSurfExtents(s[0].P1, s[0].P2);
    for (std::size_t i = 1; i < s.size(); ++i) {
      for (const TPoint3D& p : {s[i].P1, s[i].P2}) {
        box.MinX = std::min(box.MinX, p.X), box.MaxX = std::max(box.MaxX, p.X);
        box.MinY = std::min(box.MinY, p.Y), box.MaxY = std::max(box.MaxY, p.Y);
        box.MinZ = std::min(box.MinZ, p.Z), box.MaxZ = std::max(box.MaxZ, p.Z);
      }
    }
    EXPECT_TRUE(sameBits(e.MinX, box.MinX) && sameBits(e.MaxX, box.MaxX) && sameBits(e.MinY, box.MinY) &&
                sameBits(e.MaxY, box.MaxY) && sameBits(e.MinZ, box.MinZ) && sameBits(e.MaxZ, box.MaxZ))
        << "quadrant " << q;
  }
}

// X1 near the largest extended value: the circle's points overflow where the
// direction's cosine is near 1 (the ends of quadrants 1 and 4); in 2 and 3
// element 0 cannot be rounded for the box.
const Extended kNearMax = std::numeric_limits<Extended>::max() * 0.9995L;

const ArcCase kArcs[] = {
    {"Defaults", defaultSystemParams(), 10},
    {"OneDivision", defaultSystemParams(), 1},
    {"Offset", params(300, 400, 500, 100, 75, -75), 37},
    {"ManySteps", params(400, 250.5L, -300, 160, 35, -20), 5000},
    {"NearTheLargestValue", params(100, 100, 50, 1e4929L, kNearMax), 150},
    {"TinyCircle", params(100, 100, 50, 1e-4000L, -1e-4000L), 100},
    // Points on both zeros: the box keeps the zero it met first.
    {"ZeroRadiusOnNegativeZero", params(0, 0, 0, 0, -0.0L, -0.0L), 70},
};

INSTANTIATE_TEST_SUITE_P(Records, SurfaceArc, ::testing::ValuesIn(kArcs), vintaler::test::rowName<ArcCase>);
