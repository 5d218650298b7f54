#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

#include "fishApi/core/FishErrors.h"
#include "fishApi/view/FishView.h"

using namespace fish;

namespace {

TViewMapping Plane(std::int32_t w, std::int32_t h, Extended lo, Extended hi) {
  TViewMapping v;
  v.Width = w;
  v.Height = h;
  v.MinX = v.MinY = v.MinZ = lo;
  v.MaxX = v.MaxY = v.MaxZ = hi;
  return v;
}

TViewMapping Oblique(std::int32_t w, std::int32_t h, Extended lo, Extended hi) {
  TViewMapping v = Plane(w, h, lo, hi);
  v.SpaceMode = TSpaceMode::_3D;
  return v;
}

TEST(ViewMapping, BeforeTheFirstScaleEverythingMapsToTheBottomLeft) {
  TViewMapping v;
  v.Width = 200;
  v.Height = 100;
  const TPixel p = v.project2D(50, 50);
  EXPECT_EQ(p.X, 0);
  EXPECT_EQ(p.Y, 100);
  EXPECT_EQ(v.ScreenToWorldX(10), 0);
  EXPECT_EQ(v.ScreenToWorldY(10), 0);
}

TEST(ViewMapping, PlaneModeUsesTheSmallerSide) {
  TViewMapping v = Plane(200, 100, 0, 100);
  v.UpdateScale();
  EXPECT_EQ(v.ScaleX(), 1);
  EXPECT_EQ(v.ScaleY(), 1);
  EXPECT_EQ(v.ScaleZ(), 0);
  const struct {
    Extended x, y;
    std::int32_t column, row;
  } cases[] = {{50, 50, 50, 50},  {100, 100, 100, 0},   {0, 0, 0, 100},
               {2.5L, 0, 2, 100}, {3.5L, 0.5L, 4, 100}, {-2.5L, 1.5L, -2, 98}};
  for (const auto& c : cases) {
    const TPixel p = v.project2D(c.x, c.y);
    EXPECT_EQ(p.X, c.column) << static_cast<double>(c.x);
    EXPECT_EQ(p.Y, c.row) << static_cast<double>(c.y);
  }
  EXPECT_EQ(v.ScreenToWorldX(25), 25);
  EXPECT_EQ(v.ScreenToWorldY(100), 0);
  EXPECT_EQ(v.ScreenToWorldY(0), 100);
}

TEST(ViewMapping, ObliqueProjectionShiftsDepthUpAndRight) {
  TViewMapping v = Oblique(400, 300, -100, 100);
  v.UpdateScale();
  EXPECT_EQ(v.ScaleX(), 1.125L);
  EXPECT_EQ(v.ScaleY(), 1.125L);
  EXPECT_EQ(v.ScaleZ(), 1.125L);
  EXPECT_EQ(v.DepthOffset(0), 56);  // 56.25
  const TPixel origin = v.project3D(0, 0, 0);
  EXPECT_EQ(origin.X, 168);  // 112 (112.5 to even) + 56
  EXPECT_EQ(origin.Y, 132);  // 300 - 112 - 56

  TViewMapping tall = Oblique(300, 400, -100, 100);
  tall.UpdateScale();
  EXPECT_EQ(tall.ScaleX(), 1.125L) << "three quarters of the width";

  // The depth origin Z0 shifts z before MinZ is taken off.
  TViewMapping shifted = v;
  shifted.Z0 = 50;
  EXPECT_EQ(shifted.project3D(10, 20, 50).X, v.project3D(10, 20, 0).X);
  EXPECT_EQ(shifted.project3D(10, 20, 50).Y, v.project3D(10, 20, 0).Y);
}

TEST(ViewMapping, MirroredWindowsGiveNegativeFactors) {
  TViewMapping v = Plane(100, 100, 100, 0);
  v.UpdateScale();
  EXPECT_EQ(v.ScaleX(), -1);
  EXPECT_EQ(v.project2D(0, 0).X, 100);
  EXPECT_EQ(v.project2D(0, 0).Y, 0);
}

TEST(ViewMapping, ZeroSpans) {
  TViewMapping flat = Plane(200, 100, 5, 5);
  flat.UpdateScale();
  EXPECT_EQ(flat.ScaleX(), 0);
  EXPECT_EQ(flat.project2D(1e6L, -1e6L).Y, 100);

  // A zero Y span fails after the Z and X factors are set; Y keeps its old one.
  TViewMapping v = Plane(200, 100, 0, 100);
  v.UpdateScale();
  v.MaxY = v.MinY;
  v.MaxX = 50;
  EXPECT_THROW(v.UpdateScale(), EZeroDivide);
  EXPECT_EQ(v.ScaleX(), 2);
  EXPECT_EQ(v.ScaleY(), 1);

  TViewMapping sizeless = Oblique(0, 0, 0, 100);
  sizeless.MaxZ = sizeless.MinZ;
  EXPECT_THROW(sizeless.UpdateScale(), EInvalidOp) << "0 / 0";
  TViewMapping noDepth = Oblique(10, 10, 0, 100);
  noDepth.MaxZ = 0;
  EXPECT_THROW(noDepth.UpdateScale(), EZeroDivide);
}

TEST(ViewMapping, PixelsBeyond32BitsAreRangeErrors) {
  TViewMapping v = Plane(200, 100, 0, 100);
  v.UpdateScale();
  EXPECT_THROW(v.project2D(1e9L * 3, 0), ERangeError);
  EXPECT_THROW(v.project2D(0, -3e9L), ERangeError);
  EXPECT_THROW(v.project2D(1e30L, 0), EInvalidOp) << "beyond 64 bits";
  EXPECT_THROW(v.project2D(std::numeric_limits<Extended>::quiet_NaN(), 0), EInvalidOp);
  EXPECT_EQ(v.project2D(2147483647, 0).X, 2147483647);
  EXPECT_EQ(v.project2D(0, -2147483547L).Y, 2147483647);
  EXPECT_THROW(v.project2D(0, -2147483548L), ERangeError);

  // The 3-D sums are checked too instead of wrapping.
  TViewMapping o = Oblique(400, 400, 0, 100);
  o.UpdateScale();
  EXPECT_THROW(o.project3D(2147483647.0L / 3, 0, 2147483647.0L / 3), ERangeError);
}

TEST(ViewMapping, ScreenToWorldUsesTheLastScale) {
  TViewMapping v = Plane(100, 100, 0, 100);
  v.UpdateScale();
  v.MinX = 10;  // not followed by UpdateScale
  EXPECT_EQ(v.ScreenToWorldX(25), 35);
}

// Spans too wide for the extended format. Each row starts from a sound
// 0..100 window on a 200 x 100 control (factors 1, 1, 0 in the plane;
// 0.75 each in 3-D), then takes the row's bounds. An overflowing span fails
// and leaves the factors not yet reached as they were.
struct WideSpanCase {
  const char* name;
  TSpaceMode mode;
  TViewBounds bounds;
  bool overflows;
  Extended scaleX, scaleY, scaleZ;  // after the call
  std::int32_t columnOfZero;        // where world x = 0 lands; only without failure
};

void PrintTo(const WideSpanCase& c, std::ostream* os) { *os << c.name; }

constexpr Extended kMax = std::numeric_limits<Extended>::max();

class WideSpanTest : public ::testing::TestWithParam<WideSpanCase> {};

TEST_P(WideSpanTest, OverflowIsReportedNotAZeroScale) {
  const WideSpanCase& c = GetParam();
  TViewMapping v = Plane(200, 100, 0, 100);
  v.SpaceMode = c.mode;
  v.UpdateScale();
  v.setBounds(c.bounds);
  if (c.overflows) {
    EXPECT_THROW(v.UpdateScale(), EOverflow);
  } else {
    EXPECT_NO_THROW(v.UpdateScale());
    EXPECT_EQ(v.project2D(0, 0).X, c.columnOfZero);
  }
  EXPECT_EQ(v.ScaleX(), c.scaleX);
  EXPECT_EQ(v.ScaleY(), c.scaleY);
  EXPECT_EQ(v.ScaleZ(), c.scaleZ);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, WideSpanTest,
    ::testing::Values(
        WideSpanCase{"PlaneOverflowOnX", TSpaceMode::_2D, {-1e4932L, 1e4932L, 0, 50, 0, 100}, true, 1, 1, 0, 0},
        WideSpanCase{"PlaneMirroredOverflowOnX", TSpaceMode::_2D, {1e4932L, -1e4932L, 0, 50, 0, 100}, true, 1, 1, 0, 0},
        WideSpanCase{"PlaneFullRangeOnX", TSpaceMode::_2D, {-kMax, kMax, 0, 50, 0, 100}, true, 1, 1, 0, 0},
        WideSpanCase{"PlaneOverflowOnY", TSpaceMode::_2D, {0, 50, -1e4932L, 1e4932L, 0, 100}, true, 2, 1, 0, 0},
        WideSpanCase{"PlaneIgnoresDepth", TSpaceMode::_2D, {0, 50, 0, 25, -1e4932L, 1e4932L}, false, 2, 4, 0, 0},
        WideSpanCase{
            "ObliqueOverflowOnZ", TSpaceMode::_3D, {0, 50, 0, 25, -1e4932L, 1e4932L}, true, 0.75L, 0.75L, 0.75L, 0},
        WideSpanCase{
            "ObliqueOverflowOnX", TSpaceMode::_3D, {-1e4932L, 1e4932L, 0, 50, 0, 25}, true, 0.75L, 0.75L, 3, 0},
        WideSpanCase{"ObliqueOverflowOnY", TSpaceMode::_3D, {0, 50, -1e4932L, 1e4932L, 0, 25}, true, 1.5L, 0.75L, 3, 0},
        WideSpanCase{
            "ZeroXSpanWinsOverOverflowingY", TSpaceMode::_2D, {5, 5, -1e4932L, 1e4932L, 0, 100}, false, 0, 0, 0, 0},
        WideSpanCase{
            "HugeSoundSpan", TSpaceMode::_2D, {-5e4931L, 5e4931L, 0, 50, 0, 100}, false, 100 / 1e4932L, 2, 0, 50},
        WideSpanCase{
            "WidestSoundSpan", TSpaceMode::_2D, {-kMax / 2, kMax / 2, 0, 50, 0, 100}, false, 100 / kMax, 2, 0, 50},
        WideSpanCase{"ObliqueHugeSoundSpans",
                     TSpaceMode::_3D,
                     {-2.5e4931L, 7.5e4931L, 0, 50, -kMax / 2, kMax / 2},
                     false,
                     75 / 1e4932L,
                     1.5L,
                     75 / kMax,
                     19}),
    [](const ::testing::TestParamInfo<WideSpanCase>& row) { return std::string(row.param.name); });

}  // namespace
