// The rules by which the view commands move a world window, without a window.
#include <gtest/gtest.h>

#include <limits>

#include "fishApi/core/FishErrors.h"
#include "fishApi/view/FishView.h"
#include "support/EngineTestSupport.h"

using namespace fish;

namespace {

struct MoveCase {
  const char* name;
  TViewBounds before;
  TViewMove move;
  TViewBounds after;
};

const TViewBounds kStart = {-100, 100, -100, 100, -100, 100};

// Each row: one command on a window, and the window it leaves. The Z bounds
// never move.
const MoveCase kMoves[] = {
    {"LeftRaisesX", kStart, TViewMove::Left, {-90, 110, -100, 100, -100, 100}},
    {"RightLowersX", kStart, TViewMove::Right, {-110, 90, -100, 100, -100, 100}},
    {"UpLowersY", kStart, TViewMove::Up, {-100, 100, -110, 90, -100, 100}},
    {"DownRaisesY", kStart, TViewMove::Down, {-100, 100, -90, 110, -100, 100}},
    {"InShrinksAroundTheCentre", kStart, TViewMove::In, {-95, 95, -95, 95, -100, 100}},
    {"OutFromTheNewSpan", {-95, 95, -95, 95, 0, 1}, TViewMove::Out, {-99.75L, 99.75L, -99.75L, 99.75L, 0, 1}},
    {"ZoomStepComesFromYAlone", {0, 10, 0, 200, 0, 0}, TViewMove::In, {5, 5, 5, 195, 0, 0}},
    {"ZoomMayTurnTheWindowOver", {5, 5, 5, 195, 0, 0}, TViewMove::In, {9.75L, 0.25L, 9.75L, 190.25L, 0, 0}},
    {"ReversedSpanStepsStayPositive", {100, -100, 100, -100, 0, 0}, TViewMove::Left, {110, -90, 100, -100, 0, 0}},
    {"ZeroSpansDoNotMove", {3, 3, 4, 4, 0, 0}, TViewMove::Out, {3, 3, 4, 4, 0, 0}},
    {"ScrollKeepsTheSpans", {0, 1, 0, 1000, 7, 9}, TViewMove::Down, {0, 1, 50, 1050, 7, 9}},
};

class NavigationRule : public ::testing::TestWithParam<MoveCase> {};

TEST_P(NavigationRule, MovesTheWindow) {
  const MoveCase& c = GetParam();
  const TViewBounds got = moved(c.before, c.move);
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(double(got[i]), double(c.after[i]), 1e-12) << "bound " << i;
}

INSTANTIATE_TEST_SUITE_P(Commands, NavigationRule, ::testing::ValuesIn(kMoves), vintaler::test::rowName<MoveCase>);

TEST(Navigation, ScrollingBackAndForthReturnsExactly) {
  TViewBounds b = {-13.7L, 242.1L, -0.3L, 1e-3L, 5, 6};
  const TViewBounds start = b;
  // The step is taken afresh from the same span, so opposite moves cancel.
  b = moved(moved(b, TViewMove::Left), TViewMove::Right);
  b = moved(moved(b, TViewMove::Up), TViewMove::Down);
  for (std::size_t i = 0; i < b.size(); ++i) EXPECT_NEAR(double(b[i]), double(start[i]), 1e-15);
}

struct SquareCase {
  const char* name;
  TExtents2D extents;
  Extended lo, hi;
};

// The development's window: from the smaller minimum to the larger maximum on
// both axes, whichever axis they come from.
const SquareCase kSquares[] = {
    {"WiderThanTall", {-30, 120, -80, 60}, -80, 120},
    {"TallerThanWide", {-10, 10, -5, 300}, -10, 300},
    {"AlreadySquare", {-1, 1, -1, 1}, -1, 1},
    {"OnlyTheOrigin", {0, 0, 0, 0}, 0, 0},
};

class SquareWindow : public ::testing::TestWithParam<SquareCase> {};

TEST_P(SquareWindow, CoversBothAxesAndKeepsZ) {
  const SquareCase& c = GetParam();
  const TViewBounds w = squareWindow({0, 0, 0, 0, -7, 8}, c.extents);
  EXPECT_EQ(w[kMinX], c.lo);
  EXPECT_EQ(w[kMinY], c.lo);
  EXPECT_EQ(w[kMaxX], c.hi);
  EXPECT_EQ(w[kMaxY], c.hi);
  EXPECT_EQ(w[kMinZ], -7);
  EXPECT_EQ(w[kMaxZ], 8);
}

INSTANTIATE_TEST_SUITE_P(Extents, SquareWindow, ::testing::ValuesIn(kSquares), vintaler::test::rowName<SquareCase>);

TEST(Navigation, ModelWindowIsTheBoxExactly) {
  const TExtents3D e{-50.5L, 50, -1, 70, 0, 50};
  const TViewBounds w = modelWindow(e);
  EXPECT_EQ(w, (TViewBounds{-50.5L, 50, -1, 70, 0, 50}));
}

struct ReadoutCase {
  const char* name;
  Extended x, y;
  std::int32_t tenthsX, tenthsY;
  bool fails;
};

const ReadoutCase kReadouts[] = {
    {"Tenths", 12.34L, -4.56L, 123, -46, false},
    {"HalvesGoToEven", 0.25L, 0.75L, 2, 8, false},
    {"NegativeHalves", -0.25L, -0.35L, -2, -4, false},
    {"Origin", 0, 0, 0, 0, false},
    {"BeyondThirtyTwoBitsOnX", 1e12L, 0, 0, 0, true},
    {"BeyondThirtyTwoBitsOnY", 0, -3e8L, 0, 0, true},
};

class Readout : public ::testing::TestWithParam<ReadoutCase> {};

TEST_P(Readout, WholeTenthsOrARangeError) {
  const ReadoutCase& c = GetParam();
  if (c.fails) {
    EXPECT_THROW(readoutTenths(c.x, c.y), ERangeError);
    return;
  }
  const TTenths t = readoutTenths(c.x, c.y);
  EXPECT_EQ(t.X, c.tenthsX);
  EXPECT_EQ(t.Y, c.tenthsY);
}

INSTANTIATE_TEST_SUITE_P(Positions, Readout, ::testing::ValuesIn(kReadouts), vintaler::test::rowName<ReadoutCase>);

}  // namespace
