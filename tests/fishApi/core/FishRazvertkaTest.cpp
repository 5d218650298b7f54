#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "support/EngineTestSupport.h"

using namespace fish;
using namespace fish::test;

namespace {

TQuadrantDevelopment develop(const TSystemParams& sp, std::int32_t n, int quadrant) {
  TProParams pp = defaultProParams();
  pp.Divisions = n;
  return developQuadrant(sp, pp, static_cast<std::uint16_t>(quadrant));
}

Extended dist2D(const TPoint2D& a, const TPoint2D& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

void expectNear2D(const TPoint2D& p, double x, double y, double tol, const char* what) {
  EXPECT_NEAR(asDouble(p.X), x, tol) << what;
  EXPECT_NEAR(asDouble(p.Y), y, tol) << what;
}

constexpr double kDeg = M_PI / 180;

TEST(Distance3D, MeasuresBetweenCoordinatesRoundedToHundredths) {
  EXPECT_NEAR(asDouble(Distance3D({0, 0, 0}, {3, 4, 0})), 5.0, 1e-15);
  EXPECT_NEAR(asDouble(Distance3D({0, 0, 0}, {3.006L, 0, 0})), 3.01, 1e-15);
  EXPECT_NEAR(asDouble(Distance3D({0, 0, 0}, {3.004L, 0, 0})), 3.00, 1e-15);
  EXPECT_NEAR(asDouble(Distance3D({1.125L, 0, 0}, {0, 0, 0})), 1.12, 1e-15) << "halves of a hundredth go to even";
  EXPECT_EQ(Distance3D({0.001L, 0.002L, 0.003L}, {0, 0, 0}), 0);
  EXPECT_NEAR(asDouble(Distance3D({1, 2, 3}, {4, 6, 15})), 13.0, 1e-15);
  EXPECT_THROW(Distance3D({1e17L, 0, 0}, {0, 0, 0}), EInvalidOp);
}

TEST(SolveTriangle, AnglesFollowTheLawOfCosines) {
  // Right angle at V0; sides 3, 4, 5.
  const TTriangle3D t = SolveTriangle({0, 0, 0}, {3, 0, 0}, {0, 4, 0});
  EXPECT_NEAR(asDouble(t.Side01), 3, 1e-15);
  EXPECT_NEAR(asDouble(t.Side12), 5, 1e-15);
  EXPECT_NEAR(asDouble(t.Side20), 4, 1e-15);
  EXPECT_NEAR(asDouble(t.Angle0), M_PI / 2, 1e-15);
  EXPECT_NEAR(asDouble(t.Angle1), std::atan2(4.0, 3.0), 1e-15);
  EXPECT_NEAR(asDouble(t.Angle2), std::atan2(3.0, 4.0), 1e-15);
  EXPECT_NEAR(asDouble(t.Angle0 + t.Angle1 + t.Angle2), M_PI, 1e-15);
}

TEST(SolveTriangle, ZeroSidesGiveZeroAngles) {
  // Two coinciding vertices: every angle touching the zero side is 0; the third
  // is the arccos of exactly 1, also 0.
  const TTriangle3D t = SolveTriangle({5, 5, 0}, {0, 0, 7}, {0, 0, 7});
  EXPECT_EQ(t.Side12, 0);
  EXPECT_EQ(t.Angle1, 0);
  EXPECT_EQ(t.Angle2, 0);
  EXPECT_EQ(t.Angle0, 0);
  const TTriangle3D all = SolveTriangle({1, 1, 1}, {1, 1, 1}, {1, 1, 1});
  EXPECT_EQ(all.Angle0 + all.Angle1 + all.Angle2, 0);
}

TEST(SolveTriangle, CollinearPointsOpenFlatOrFail) {
  // Three points on a line: the law of cosines gives +-1, or a ratio just
  // outside [-1, 1] once the rounded lengths disagree; that is an invalid
  // operation, never a NaN angle.
  int failures = 0;
  for (int k = 1; k <= 300; ++k) {
    const Extended step = k * 0.37L;
    try {
      const TTriangle3D t = SolveTriangle({0, 0, 0}, {step, step * 0.7L, 0}, {2 * step, 1.4L * step, 0});
      EXPECT_TRUE(std::isfinite(t.Angle0) && std::isfinite(t.Angle1) && std::isfinite(t.Angle2));
      // Rounding moves the middle point off the line by at most 0.005.
      EXPECT_NEAR(asDouble(t.Angle1), M_PI, 0.05);
    } catch (const EInvalidOp&) {
      ++failures;
    }
  }
  EXPECT_GT(failures, 0) << "some rounded collinear triples must leave the arccos domain";
  EXPECT_LT(failures, 300);
}

TEST(CalcRazvertkaQuadrant, DefaultsWithOneDivision) {
  const TQuadrantDevelopment d = develop(defaultSystemParams(), 1, 1);
  ASSERT_EQ(d.Razvertka.size(), 4u);
  expectNear2D(d.Razvertka[0].P1, 0, 0, 0, "origin");
  expectNear2D(d.Razvertka[0].P2, 0, 50, 1e-15, "first seam end");
  expectNear2D(d.Razvertka[1].P1, 50, 0, 0, "corner image");
  expectNear2D(d.Razvertka[1].P2, 0, 50, 1e-15, "shares the first seam end");
  expectNear2D(d.Razvertka[2].P1, 50, 0, 0, "corner image");
  expectNear2D(d.Razvertka[2].P2, 68.30, 68.30, 0.005, "arc end image");
  expectNear2D(d.Razvertka[3].P1, 50, 0, 0, "corner image");
  expectNear2D(d.Razvertka[3].P2, 93.30, 25.00, 0.005, "X-side midpoint image");
  // 45 + 60 + 45 degrees at the corner: the edge to the X-side midpoint is
  // turned 150 degrees from the direction back to the origin.
  const TPoint2D& c = d.Razvertka[3].P1;
  EXPECT_NEAR(std::atan2(asDouble(d.Razvertka[3].P2.Y - c.Y), asDouble(c.X - d.Razvertka[3].P2.X)), 150 * kDeg, 1e-4);
}

TEST(CalcRazvertkaQuadrant, DefaultsWithTenDivisions) {
  const TQuadrantDevelopment d = develop(defaultSystemParams(), 10, 1);
  ASSERT_EQ(d.Razvertka.size(), 13u);
  expectNear2D(d.Razvertka[12].P2, 95.90, 19.83, 0.005, "X-side midpoint image");
  for (std::size_t k = 1; k < d.Razvertka.size(); ++k) expectNear2D(d.Razvertka[k].P1, 50, 0, 0, "corner image");
  EXPECT_EQ(d.Min.X, 0);
  EXPECT_EQ(d.Min.Y, 0);
  EXPECT_NEAR(asDouble(d.Max.X), 95.90, 0.005);
  EXPECT_NEAR(asDouble(d.Max.Y), 65.73, 0.005);
  EXPECT_EQ(d.Max.Y, d.Razvertka[11].P2.Y) << "the highest point is the image of the last circle point";
  const TPoint2D& c = d.Razvertka[12].P1;
  EXPECT_NEAR(std::atan2(asDouble(d.Razvertka[12].P2.Y - c.Y), asDouble(c.X - d.Razvertka[12].P2.X)), 156.63 * kDeg,
              0.005 * kDeg);
}

TEST(CalcRazvertkaQuadrant, ZeroRadiusCollapsesTheCone) {
  const TQuadrantDevelopment d = develop(params(100, 100, 50, 0), 10, 1);
  for (std::size_t j = 1; j + 1 < d.Razvertka.size(); ++j) {
    expectNear2D(d.Razvertka[j].P2, 0, 70.71, 0.005, "every cone image on the first seam end");
  }
  expectNear2D(d.Razvertka.back().P2, 66.67, 47.14, 0.005, "X-side midpoint image");
}

TEST(CalcRazvertkaQuadrant, OffsetKeepsTheFirstSeamAtX1) {
  for (Extended x1 : {-35.5L, 0.25L, 12.0L, 200.0L}) {
    for (int q = 1; q <= 4; ++q) {
      const TQuadrantDevelopment d = develop(params(100, 80, 60, 30, x1, -7), 10, q);
      EXPECT_EQ(d.Razvertka[0].P2.X, x1) << "quadrant " << q;
      EXPECT_NEAR(asDouble(dist2D(d.Razvertka[0].P2, {0, 0})), asDouble(Distance3D(d.Surf[0].P1, d.Surf[0].P2)), 1e-12);
    }
  }
}

TEST(CalcRazvertkaQuadrant, RunningBoxOnlyWidens) {
  TPoint2D mn{-1000, -1000};
  TPoint2D mx{1000, 1000};
  TRazvertka2PointArray razv;
  const TQuadrantDevelopment d = develop(defaultSystemParams(), 10, 3);
  CalcRazvertkaQuadrant(d.Surf, 3, defaultSystemParams(), mn, mx, razv);
  EXPECT_EQ(mn.X, -1000);
  EXPECT_EQ(mx.Y, 1000);
  EXPECT_NEAR(asDouble(d.Min.X), -95.90, 0.005);
  EXPECT_NEAR(asDouble(d.Min.Y), -65.73, 0.005);
  EXPECT_EQ(d.Max.X, 0);
  EXPECT_EQ(d.Max.Y, 0);
}

// Shop-like parameter sets for the property tests.
struct Shape {
  TSystemParams sp;
  std::int32_t n;
};

std::vector<Shape> shapes() {
  return {
      {defaultSystemParams(), 1},
      {defaultSystemParams(), 10},
      {params(400, 250, 300, 160), 24},
      {params(400, 250, 300, 160, 35, -20), 24},
      {params(120, 300, 80, 75, -60, 40), 7},
      {params(1000, 1000, 1500, 450, 200, 200), 50},
      {params(100, 100, -50, 50), 10},
      {params(100, 100, 50, 0), 5},
      {params(600, 200, 400, 90, 0, 55.5L), 360},
  };
}

class DevelopmentProperty : public ::testing::TestWithParam<Shape> {};

// Unfolding a surface keeps lengths: each fan line, each chord of the arc and
// each seam of the flat piece measures what its 3-D original measures.
TEST_P(DevelopmentProperty, EveryDevelopedEdgeKeepsItsLength) {
  const Shape& shape = GetParam();
  for (int q = 1; q <= 4; ++q) {
    const TQuadrantDevelopment d = develop(shape.sp, shape.n, q);
    const std::size_t m = d.Razvertka.size() - 1;
    const TPoint3D& corner = d.Surf[1].P1;
    const TPoint2D& cornerImage = d.Razvertka[1].P1;
    EXPECT_NEAR(asDouble(dist2D(cornerImage, {0, 0})), asDouble(Distance3D(corner, d.Surf[0].P1)), 1e-15);
    for (std::size_t j = 2; j < m; ++j) {
      EXPECT_NEAR(asDouble(dist2D(d.Razvertka[j].P2, cornerImage)), asDouble(Distance3D(corner, d.Surf[j].P2)), 1e-12)
          << "fan line " << j << " quadrant " << q;
      // The first chord joins a point laid out from the seam; the others are
      // exact rotations about the corner image.
      const double tol = j == 2 ? 0.02 : 1e-9;
      EXPECT_NEAR(asDouble(dist2D(d.Razvertka[j].P2, d.Razvertka[j - 1].P2)),
                  asDouble(Distance3D(d.Surf[j - 1].P2, d.Surf[j].P2)), tol)
          << "arc chord " << j << " quadrant " << q;
    }
    Extended halfA = shape.sp.A / 2;
    Round2(halfA);
    EXPECT_NEAR(asDouble(dist2D(d.Razvertka[m].P2, d.Razvertka[m].P1)), asDouble(halfA), 1e-12)
        << "edge to the X-side midpoint";
    EXPECT_NEAR(asDouble(dist2D(d.Razvertka[m].P2, d.Razvertka[m - 1].P2)),
                asDouble(Distance3D(d.Surf[m].P1, d.Surf[m].P2)), 1e-9)
        << "last seam, quadrant " << q;
  }
}

// A surface the engine did not make: its arc points at heights that change
// from one point to the next, or repeat, or come back. The fan lines and the
// chords must still keep their 3-D lengths, each measured between its own
// rounded points.
TEST(CalcRazvertkaQuadrant, ArcPointsAtChangingHeightsKeepTheirLengths) {
  const TSystemParams sp = params(400, 250, 300, 160, 35, -20);
  TSurf2PointArray surf;
  TExtents3D box;
  CalcSurfQuadrant(sp, withDivisions(80), 1, box, surf);
  const std::size_t m = surf.size() - 1;
  for (std::size_t j = 2; j < m; ++j) {
    const Extended heights[] = {sp.L, sp.L + 0.004L, sp.L + 0.006L, sp.L - 12.5L, sp.L};
    surf[j].P2.Z = heights[j % 5] + (j % 7 == 0 ? static_cast<Extended>(j) : 0);
  }
  TRazvertka2PointArray razv;
  TPoint2D mn, mx;
  CalcRazvertkaQuadrant(surf, 1, sp, mn, mx, razv);
  const TPoint2D& cornerImage = razv[1].P1;
  for (std::size_t j = 2; j < m; ++j) {
    EXPECT_NEAR(asDouble(dist2D(razv[j].P2, cornerImage)), asDouble(Distance3D(surf[1].P1, surf[j].P2)), 1e-12)
        << "fan line " << j;
    if (j > 2) {
      EXPECT_NEAR(asDouble(dist2D(razv[j].P2, razv[j - 1].P2)), asDouble(Distance3D(surf[j - 1].P2, surf[j].P2)), 1e-9)
          << "arc chord " << j;
    }
  }
}

// With no offset the pieces mirror quadrant 1's across the axes.
TEST_P(DevelopmentProperty, QuadrantsMirrorWithoutOffset) {
  TSystemParams sp = GetParam().sp;
  sp.X1 = 0;
  sp.Y1 = 0;
  const int sx[5] = {0, 1, -1, -1, 1};
  const int sy[5] = {0, 1, 1, -1, -1};
  const TQuadrantDevelopment one = develop(sp, GetParam().n, 1);
  for (int q = 2; q <= 4; ++q) {
    const TQuadrantDevelopment other = develop(sp, GetParam().n, q);
    ASSERT_EQ(other.Razvertka.size(), one.Razvertka.size());
    for (std::size_t k = 0; k < one.Razvertka.size(); ++k) {
      for (auto pick : {&TRazvertka2Point::P1, &TRazvertka2Point::P2}) {
        EXPECT_EQ(asDouble((other.Razvertka[k].*pick).X), asDouble(sx[q] * (one.Razvertka[k].*pick).X))
            << q << " " << k;
        EXPECT_EQ(asDouble((other.Razvertka[k].*pick).Y), asDouble(sy[q] * (one.Razvertka[k].*pick).Y))
            << q << " " << k;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, DevelopmentProperty, ::testing::ValuesIn(shapes()));

TEST(CalcRazvertkaQuadrant, FailuresOfTheFirstSeam) {
  // Flat (L = 0) with the circle touching the Y-side midpoint: the first seam
  // has no length once rounded; an offset then cannot be laid along it.
  TQuadrantDevelopment d;
  TProParams pp = defaultProParams();
  TExtents3D e;
  const TSystemParams zero = params(100, 100, 0, 50, 0.004L);
  CalcSurfQuadrant(zero, pp, 1, e, d.Surf);
  EXPECT_THROW(CalcRazvertkaQuadrant(d.Surf, 1, zero, d.Min, d.Max, d.Razvertka), EZeroDivide);
  EXPECT_EQ(d.Max.X, 0) << "a failed call leaves the running box";
  // X1 = 0.0149 rounds to a seam of 0.01, shorter than X1 itself.
  const TSystemParams longer = params(100, 100, 0, 50, 0.0149L);
  CalcSurfQuadrant(longer, pp, 1, e, d.Surf);
  EXPECT_THROW(CalcRazvertkaQuadrant(d.Surf, 1, longer, d.Min, d.Max, d.Razvertka), EInvalidOp);
  EXPECT_THROW(CalcRazvertkaQuadrant(d.Surf, 0, longer, d.Min, d.Max, d.Razvertka), ERangeError);
}

}  // namespace

// Every way of asking for a quadrant gives the same arrays, and what a caller
// has finished with is what the last-computed arrays show afterwards.
TEST(developQuadrant, SameArraysAsTheStepwiseCallsAndPublishedWhenDone) {
  const TSystemParams sp = params(120, 80, 60, 45, 7, -3);
  const TProParams pp = withDivisions(9);
  for (std::uint16_t q = 1; q <= 4; ++q) {
    TSurf2PointArray surf;
    TExtents3D box;
    CalcSurfQuadrant(sp, pp, q, box, surf);
    TRazvertka2PointArray razv;
    TPoint2D mn, mx;
    CalcRazvertkaQuadrant(surf, q, sp, mn, mx, razv);

    TQuadrantDevelopment d = developQuadrant(sp, pp, q);
    ASSERT_EQ(d.Razvertka.size(), razv.size());
    for (std::size_t k = 0; k < razv.size(); ++k) {
      EXPECT_EQ(d.Razvertka[k].P2.X, razv[k].P2.X);
      EXPECT_EQ(d.Razvertka[k].P2.Y, razv[k].P2.Y);
      EXPECT_EQ(d.Surf[k].P2.Y, surf[k].P2.Y);
    }
    EXPECT_EQ(d.Max.X, mx.X);
    EXPECT_EQ(d.Min.Y, mn.Y);
    EXPECT_EQ(d.SurfBox.MaxZ, box.MaxZ);

    publishLast(std::move(d));
    ASSERT_EQ(LastRazvertka.size(), razv.size());
    EXPECT_EQ(LastRazvertka.back().P2.X, razv.back().P2.X);
    EXPECT_EQ(LastSurf[3].P2.X, surf[3].P2.X);
  }
}

// Laid element by element without arrays, a quadrant must come out bit for
// bit as developQuadrant lays it, and fail where it fails with its error.
struct StreamCase {
  std::string name;
  TSystemParams sp;
  std::int32_t divisions;
};

class DevelopmentStream : public ::testing::TestWithParam<StreamCase> {};

using vintaler::test::sameBits;

// The message of the failure, or an empty text.
template <typename F>
std::string failureOf(F run) {
  try {
    run();
  } catch (const EFishError& e) {
    return e.what();
  }
  return {};
}

bool sameElement(const TRazvertka2Point& a, const TRazvertka2Point& b) {
  return sameBits(a.P1.X, b.P1.X) && sameBits(a.P1.Y, b.P1.Y) && sameBits(a.P2.X, b.P2.X) && sameBits(a.P2.Y, b.P2.Y);
}

// The first element whose arc point cannot be rounded to hundredths, where the
// development of a surface made without failure must stop; the size when all
// can.
std::size_t firstUnroundable(const TSurf2PointArray& surf) {
  for (std::size_t k = 0; k < surf.size(); ++k) {
    for (Extended v : {surf[k].P2.X, surf[k].P2.Y, surf[k].P2.Z}) {
      try {
        Round2(v);
      } catch (const EInvalidOp&) {
        return k;
      }
    }
  }
  return surf.size();
}

// After a failure, the elements handed over one by one are the ones the array
// holds, and the array is zero from the first element not laid on. When the
// surface itself could be made, the failure comes at its first point that
// cannot be rounded (the records of these rows fail only there).
void expectLaidBeforeTheFailure(const TSystemParams& sp, const TProParams& pp, std::uint16_t q,
                                const std::vector<TRazvertka2Point>& laid) {
  TSurf2PointArray surf;
  TExtents3D box;
  try {
    CalcSurfQuadrant(sp, pp, q, box, surf);
  } catch (const EFishError&) {
    return;  // nothing to lay
  }
  TRazvertka2PointArray razv(3);  // what a previous quadrant left
  TPoint2D mn{-1, -1}, mx{1, 1};
  EXPECT_THROW(CalcRazvertkaQuadrant(surf, q, sp, mn, mx, razv), EFishError);
  ASSERT_EQ(razv.size(), surf.size());
  const std::size_t stop = firstUnroundable(surf);
  if (stop > 1 && stop < surf.size() - 1) {
    EXPECT_EQ(laid.size(), stop) << "quadrant " << q;
  }
  ASSERT_LE(laid.size(), razv.size());
  for (std::size_t k = 0; k < razv.size(); ++k) {
    const TRazvertka2Point expected = k < laid.size() ? laid[k] : TRazvertka2Point{};
    EXPECT_TRUE(sameElement(razv[k], expected)) << "quadrant " << q << ", element " << k;
  }
  EXPECT_EQ(mn.X, -1) << "a failure leaves the box alone";
}

TEST_P(DevelopmentStream, LaysEveryElementAsTheArraysDo) {
  const StreamCase& c = GetParam();
  const TProParams pp = withDivisions(c.divisions);
  for (std::uint16_t q = 1; q <= 4; ++q) {
    TQuadrantDevelopment whole;
    const std::string arrayFailure = failureOf([&] { whole = developQuadrant(c.sp, pp, q); });
    std::vector<TRazvertka2Point> laid;
    TPoint2D mn{-1, -1}, mx{1, 1};
    const std::string streamFailure = failureOf([&] {
      developQuadrantElements(
          c.sp, pp, q,
          [&](std::size_t k, const TRazvertka2Point& d) {
            ASSERT_EQ(k, laid.size()) << "in index order";
            laid.push_back(d);
          },
          mn, mx);
    });
    EXPECT_EQ(streamFailure, arrayFailure) << "quadrant " << q;
    if (!arrayFailure.empty()) {
      EXPECT_EQ(mn.X, -1) << "a failure leaves the box alone";
      expectLaidBeforeTheFailure(c.sp, pp, q, laid);
      continue;
    }
    ASSERT_EQ(laid.size(), whole.Razvertka.size());
    for (std::size_t k = 0; k < laid.size(); ++k) {
      EXPECT_TRUE(sameElement(laid[k], whole.Razvertka[k])) << "quadrant " << q << ", element " << k;
    }
    EXPECT_TRUE(sameBits(mn.X, whole.Min.X) && sameBits(mn.Y, whole.Min.Y) && sameBits(mx.X, whole.Max.X) &&
                sameBits(mx.Y, whole.Max.Y));
  }
}

const StreamCase kStreams[] = {
    {"Defaults", defaultSystemParams(), 10},
    {"OneDivision", defaultSystemParams(), 1},
    {"Offset", params(300, 400, 500, 100, 75, 75), 37},
    {"BelowTheRectangle", params(400, 250.5L, -300, 160, 35, -20), 24},
    {"ZeroRadius", params(100, 100, 50, 0), 6},
    {"FineSteps", defaultSystemParams(), 20000},
    {"ZeroDivisions", defaultSystemParams(), 0},
    {"NegativeDivisions", defaultSystemParams(), -3},
    {"FlatWithOffset", params(100, 100, 0, 50, 0.0149L), 10},
    {"FlatShortSeam", params(100, 100, 0, 50, 0.004L), 10},
    {"TooLargeToRound", params(1e18L, 100, 50, 50), 4},
    {"NotANumber", params(std::numeric_limits<Extended>::quiet_NaN(), 100, 50, 50), 4},
    // A circle so far out that its points can be rounded to hundredths only
    // near the start of the arc (|X| and |Y| times 100 must fit 64 bits): the
    // cone stops part-way, at a point that lies in a different place in its
    // run of points for each number of divisions.
    {"StopsInTheFirstRun", params(100, 100, 50, 1e15L, 0, -9.3e16L), 20},
    {"StopsInALaterRun", params(100, 100, 50, 1e15L, 0, -9.3e16L), 100},
    {"StopsFarAlong", params(100, 100, 50, 1e15L, 0, -9.3e16L), 1000},
};

INSTANTIATE_TEST_SUITE_P(Records, DevelopmentStream, ::testing::ValuesIn(kStreams),
                         vintaler::test::rowName<StreamCase>);
