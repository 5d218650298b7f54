#include <gtest/gtest.h>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishExtents.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"

using namespace fish;
using namespace fish::test;

namespace {

TEST(GetSurfExtents, DefaultsFrameTheWholeModel) {
  TExtents3D e;
  GetSurfExtents(defaultSystemParams(), withDivisions(10), e);
  EXPECT_EQ(e.MinX, -50);
  EXPECT_EQ(e.MaxX, 50);
  EXPECT_EQ(e.MinY, -50);
  EXPECT_EQ(e.MaxY, 50);
  EXPECT_EQ(e.MinZ, 0);
  EXPECT_EQ(e.MaxZ, 50);
}

TEST(GetSurfExtents, NegativeDistance) {
  TSystemParams sp = defaultSystemParams();
  sp.L = -40;
  TExtents3D e;
  GetSurfExtents(sp, withDivisions(10), e);
  EXPECT_EQ(e.MinZ, -40);
  EXPECT_EQ(e.MaxZ, 0);
}

struct RazvCase {
  std::int32_t divisions;
  double halfWidth, halfHeight;
};

class RazvertkaExtentsTest : public ::testing::TestWithParam<RazvCase> {};

TEST_P(RazvertkaExtentsTest, CoverAllFourPiecesWhateverIsSelected) {
  const RazvCase& c = GetParam();
  for (auto selection : {std::array<ByteBool, 4>{1, 1, 0, 0}, std::array<ByteBool, 4>{0, 0, 0, 0},
                         std::array<ByteBool, 4>{0, 0, 1, 1}}) {
    TExtents2D e;
    GetRazvertkaExtents(defaultSystemParams(), withDivisions(c.divisions, selection), e);
    EXPECT_NEAR(asDouble(e.MinX), -c.halfWidth, 0.005);
    EXPECT_NEAR(asDouble(e.MaxX), c.halfWidth, 0.005);
    EXPECT_NEAR(asDouble(e.MinY), -c.halfHeight, 0.005);
    EXPECT_NEAR(asDouble(e.MaxY), c.halfHeight, 0.005);
  }
}

INSTANTIATE_TEST_SUITE_P(Defaults, RazvertkaExtentsTest,
                         ::testing::Values(RazvCase{10, 95.90, 65.73}, RazvCase{1, 93.30, 68.30}));

TEST(Extents, LeaveQuadrantFourInTheModuleArrays) {
  const TSystemParams sp = defaultSystemParams();
  const TProParams pp = withDivisions(6);
  TSurf2PointArray q4;
  TExtents3D box;
  CalcSurfQuadrant(sp, pp, 4, box, q4);
  TPoint2D mn, mx;
  TRazvertka2PointArray r4;
  CalcRazvertkaQuadrant(q4, 4, sp, mn, mx, r4);

  TExtents3D e3;
  GetSurfExtents(sp, pp, e3);
  ASSERT_EQ(LastSurf.size(), q4.size());
  EXPECT_EQ(LastSurf[2].P2.Y, q4[2].P2.Y);

  TExtents2D e2;
  GetRazvertkaExtents(sp, pp, e2);
  ASSERT_EQ(LastRazvertka.size(), r4.size());
  for (std::size_t k = 0; k < r4.size(); ++k) {
    EXPECT_EQ(LastRazvertka[k].P2.X, r4[k].P2.X);
    EXPECT_EQ(LastRazvertka[k].P2.Y, r4[k].P2.Y);
  }
}

TEST(Extents, FailuresPropagate) {
  TExtents2D e2;
  TExtents3D e3;
  EXPECT_THROW(GetRazvertkaExtents(defaultSystemParams(), withDivisions(0), e2), EZeroDivide);
  EXPECT_THROW(GetSurfExtents(defaultSystemParams(), withDivisions(-4), e3), EDivisionsRange);
}

}  // namespace
