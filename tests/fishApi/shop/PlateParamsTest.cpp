#include <gtest/gtest.h>

#include <limits>

#include "fishApi/TestParams.h"
#include "fishApi/shop/PlateParams.h"
#include "support/EngineTestSupport.h"

using namespace fish;
using vintaler::test::sameBits;

namespace {

constexpr Extended kNan = std::numeric_limits<Extended>::quiet_NaN();
constexpr Extended kInf = std::numeric_limits<Extended>::infinity();

TSystemParams section() {
  TSystemParams sp = fish::test::params(300, 400, 250, 100, -35.5L, 12.25L);
  sp.Padding = {1, 2, 3, 4};
  return sp;
}

TPlateParams plate(Extended t, TFaces rect, TFaces round) { return {t, rect, round, TMaterial::Steel, 7850}; }

// With t = 2 the neutral surface lies 1 mm in from each face: a side spanning
// two faces moves by 2, a radius by 1.
struct NeutralCase {
  const char* name;
  TFaces rect, round;
  Extended b, a, r;
};

const NeutralCase kNeutral[] = {
    {"InsideRectangle", TFaces::Inside, TFaces::Mean, 302, 402, 100},
    {"OutsideRectangle", TFaces::Outside, TFaces::Mean, 298, 398, 100},
    {"InsideCircle", TFaces::Mean, TFaces::Inside, 300, 400, 101},
    {"OutsideCircle", TFaces::Mean, TFaces::Outside, 300, 400, 99},
    {"MeanBoth", TFaces::Mean, TFaces::Mean, 300, 400, 100},
    {"InsideRectangleOutsideCircle", TFaces::Inside, TFaces::Outside, 302, 402, 99},
};

class NeutralSurfaceTest : public ::testing::TestWithParam<NeutralCase> {};

TEST_P(NeutralSurfaceTest, SizesMoveToTheMiddleOfThePlate) {
  const NeutralCase& c = GetParam();
  const TSystemParams sp = section();
  const TSystemParams d = developedParams(sp, plate(2, c.rect, c.round));
  EXPECT_EQ(d.B, c.b);
  EXPECT_EQ(d.A, c.a);
  EXPECT_EQ(d.R, c.r);
  EXPECT_TRUE(sameBits(d.L, sp.L) && sameBits(d.X1, sp.X1) && sameBits(d.Y1, sp.Y1));
  EXPECT_EQ(d.Padding, sp.Padding);
}

INSTANTIATE_TEST_SUITE_P(Faces, NeutralSurfaceTest, ::testing::ValuesIn(kNeutral),
                         vintaler::test::rowName<NeutralCase>);

TEST(DevelopedParams, NoThicknessKeepsEveryBit) {
  TSystemParams sp = section();
  sp.B = 300.1L;
  sp.X1 = -0.0L;
  for (const TFaces faces : {TFaces::Inside, TFaces::Outside, TFaces::Mean}) {
    const TSystemParams d = developedParams(sp, plate(0, faces, faces));
    EXPECT_TRUE(sameBits(d.B, sp.B) && sameBits(d.A, sp.A) && sameBits(d.L, sp.L) && sameBits(d.R, sp.R) &&
                sameBits(d.X1, sp.X1) && sameBits(d.Y1, sp.Y1))
        << facesKey(faces);
    EXPECT_EQ(d.Padding, sp.Padding);
  }
}

struct RefusalCase {
  const char* name;
  TPlateParams plate;
  TPlateField field;  // what the form points at
};

constexpr TPlateField kT = TPlateField::Thickness;
constexpr TPlateField kDensity = TPlateField::Density;

// B = 300, A = 400, R = 100.
const RefusalCase kRefusals[] = {
    {"NegativeThickness", plate(-0.5L, TFaces::Mean, TFaces::Mean), kT},
    {"NanThickness", plate(kNan, TFaces::Mean, TFaces::Mean), kT},
    {"InfiniteThickness", plate(kInf, TFaces::Inside, TFaces::Mean), kT},
    {"ThicknessBeyondEveryFace", plate(1e400L, TFaces::Mean, TFaces::Mean), kT},
    {"ZeroDensity", {2, TFaces::Mean, TFaces::Mean, TMaterial::Other, 0}, kDensity},
    {"NegativeDensity", {2, TFaces::Mean, TFaces::Mean, TMaterial::Other, -7850}, kDensity},
    {"NanDensity", {2, TFaces::Mean, TFaces::Mean, TMaterial::Other, kNan}, kDensity},
    {"DensityPrintingAsZero", {2, TFaces::Mean, TFaces::Mean, TMaterial::Other, 1e-310L}, kDensity},
    {"AluminiumWithSteelDensity", {2, TFaces::Mean, TFaces::Mean, TMaterial::Aluminium, 7850}, kDensity},
    {"OutsideSideAsThickAsB", plate(300, TFaces::Outside, TFaces::Mean), kT},
    {"OutsideSideThickerThanB", plate(350, TFaces::Outside, TFaces::Mean), kT},
    {"OutsideSideLeavesNoInnerFace", plate(150, TFaces::Outside, TFaces::Mean), kT},
    {"MeanSideInnerFaceAtZero", plate(300, TFaces::Mean, TFaces::Inside), kT},
    {"OutsideRadiusHalfThickness", plate(200, TFaces::Mean, TFaces::Outside), kT},
    {"OutsideRadiusLeavesNoInnerFace", plate(100, TFaces::Inside, TFaces::Outside), kT},
    {"RectFacesCode3", plate(2, static_cast<TFaces>(3), TFaces::Mean), TPlateField::Faces},
    {"RoundFacesCode255", plate(2, TFaces::Mean, static_cast<TFaces>(255)), TPlateField::Faces},
    {"MaterialCode6", {2, TFaces::Mean, TFaces::Mean, static_cast<TMaterial>(6), 7850}, TPlateField::Material},
};

class PlateRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PlateRefusalTest, RefusedWithAReason) {
  try {
    developedParams(section(), GetParam().plate);
    ADD_FAILURE() << "accepted";
  } catch (const EPlateError& e) {
    EXPECT_STRNE(e.what(), "");
    EXPECT_EQ(e.Field, GetParam().field) << e.what();
  }
}

// The thickest plate each face choice takes: every face of both sections
// keeps a positive size up to it.
TEST(PlateRefusal, AcceptedJustBelowTheLastFace) {
  EXPECT_NO_THROW(developedParams(section(), plate(149.99L, TFaces::Outside, TFaces::Mean)));
  EXPECT_NO_THROW(developedParams(section(), plate(299.99L, TFaces::Mean, TFaces::Inside)));
  EXPECT_NO_THROW(developedParams(section(), plate(99.99L, TFaces::Inside, TFaces::Outside)));
}

INSTANTIATE_TEST_SUITE_P(Plates, PlateRefusalTest, ::testing::ValuesIn(kRefusals),
                         vintaler::test::rowName<RefusalCase>);

TEST(PlateKeys, EveryValueRoundTripsAndStrangersAreRefused) {
  for (const TMaterial m : {TMaterial::Steel, TMaterial::Stainless, TMaterial::Aluminium, TMaterial::Copper,
                            TMaterial::Galvanised, TMaterial::Other}) {
    TMaterial back = m == TMaterial::Steel ? TMaterial::Other : TMaterial::Steel;
    EXPECT_TRUE(materialFromKey(materialKey(m), back));
    EXPECT_EQ(back, m);
  }
  for (const TFaces f : {TFaces::Mean, TFaces::Inside, TFaces::Outside}) {
    TFaces back = f == TFaces::Mean ? TFaces::Inside : TFaces::Mean;
    EXPECT_TRUE(facesFromKey(facesKey(f), back));
    EXPECT_EQ(back, f);
  }
  TMaterial m = TMaterial::Copper;
  TFaces f = TFaces::Outside;
  for (const char* key : {"", "Steel", "brass", "inner", "mean "}) {
    EXPECT_FALSE(materialFromKey(key, m)) << key;
    EXPECT_FALSE(facesFromKey(key, f)) << key;
  }
  EXPECT_EQ(m, TMaterial::Copper) << "left as it was";
  EXPECT_EQ(f, TFaces::Outside) << "left as it was";
}

TEST(PlateKeys, NamedMaterialsHaveTheirDensities) {
  EXPECT_EQ(materialDensity(TMaterial::Steel), 7850);
  EXPECT_EQ(materialDensity(TMaterial::Stainless), 7900);
  EXPECT_EQ(materialDensity(TMaterial::Aluminium), 2700);
  EXPECT_EQ(materialDensity(TMaterial::Copper), 8940);
  EXPECT_EQ(materialDensity(TMaterial::Galvanised), 7850);
}

}  // namespace
