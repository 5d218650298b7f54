#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "support/SameBits.h"

using namespace fish;

namespace {

using vintaler::test::sameBits;

using vintaler::test::fromBits;

struct RoundCase {
  Extended in;
  std::int64_t tenths;  // Round1(in) must be exactly tenths * 0.1
};

class Round1Test : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Round1Test, RoundsHalvesToEvenTenth) {
  const RoundCase& c = GetParam();
  const Extended r = Round1(c.in);
  EXPECT_TRUE(sameBits(r, static_cast<Extended>(c.tenths) * kTenth)) << static_cast<double>(r);
  EXPECT_FALSE(std::signbit(r) && r == 0) << "a zero must come out positive";
}

INSTANTIATE_TEST_SUITE_P(Values, Round1Test,
                         ::testing::Values(RoundCase{0.25L, 2}, RoundCase{0.75L, 8}, RoundCase{-0.25L, -2},
                                           RoundCase{-0.04L, 0}, RoundCase{12.34L, 123},
                                           RoundCase{0.35L, 4} /* 0.35L * 10 is exactly 3.5 once rounded */,
                                           RoundCase{100, 1000}, RoundCase{-76.06L, -761},
                                           RoundCase{922337203685477580.0L, 9223372036854775800}));

struct Round2Case {
  Extended in;
  std::int64_t hundredths;
};

class Round2Test : public ::testing::TestWithParam<Round2Case> {};

TEST_P(Round2Test, RoundsInPlaceToHundredths) {
  Extended x = GetParam().in;
  Round2(x);
  EXPECT_TRUE(sameBits(x, static_cast<Extended>(GetParam().hundredths) * kHundredth));
}

INSTANTIATE_TEST_SUITE_P(Values, Round2Test,
                         ::testing::Values(Round2Case{1.125L, 112}, Round2Case{1.375L, 138}, Round2Case{-1.125L, -112},
                                           Round2Case{49.999999999L, 5000}, Round2Case{0.004L, 0}));

TEST(roundToInt64, HalvesGoToEvenNeighbour) {
  const struct {
    Extended in;
    std::int64_t out;
  } cases[] = {{2.5L, 2}, {3.5L, 4}, {-2.5L, -2}, {-3.5L, -4}, {0.5L, 0}, {1.5L, 2}, {2.4999L, 2}, {-0.0L, 0}};
  for (const auto& c : cases) EXPECT_EQ(roundToInt64(c.in), c.out) << static_cast<double>(c.in);
}

TEST(roundToInt64, ValuesOutside64BitsAreInvalid) {
  const Extended two63 = 9223372036854775808.0L;
  EXPECT_EQ(roundToInt64(-two63), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(roundToInt64(two63 - 1), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(roundToInt64(-two63 + 0.5L), std::numeric_limits<std::int64_t>::min()) << "the half goes to even";
  EXPECT_EQ(roundToInt64(-two63 + 1), std::numeric_limits<std::int64_t>::min() + 1);
  EXPECT_EQ(roundToInt64(two63 - 1.5L), std::numeric_limits<std::int64_t>::max() - 1) << "the half goes to even";
  const Extended invalid[] = {two63,
                              two63 - 0.5L,
                              -two63 - 1,
                              -two63 - 2,
                              1e30L,
                              std::numeric_limits<Extended>::infinity(),
                              -std::numeric_limits<Extended>::infinity(),
                              std::numeric_limits<Extended>::quiet_NaN()};
  for (Extended v : invalid) EXPECT_THROW(roundToInt64(v), EInvalidOp) << static_cast<double>(v);
  EXPECT_THROW(Round1(1e18L), EInvalidOp);
  Extended big = 1e17L;
  EXPECT_THROW(Round2(big), EInvalidOp);
}

TEST(CheckedOps, DivisionByZeroAndInvalidOperations) {
  EXPECT_THROW(divide(1, 0), EZeroDivide);
  EXPECT_THROW(divide(-kPi_2, 0), EZeroDivide);
  EXPECT_THROW(divide(0, 0), EInvalidOp);
  EXPECT_EQ(divide(1, 4), 0.25L);
  EXPECT_THROW(squareRoot(-1e-30L), EInvalidOp);
  EXPECT_THROW(squareRoot(std::numeric_limits<Extended>::quiet_NaN()), EInvalidOp);
  EXPECT_EQ(squareRoot(0), 0);
  EXPECT_THROW(checkFinite(std::numeric_limits<Extended>::infinity()), EOverflow);
  EXPECT_THROW(checkFinite(std::numeric_limits<Extended>::quiet_NaN()), EInvalidOp);
}

TEST(CheckedOps, ArcFunctionsOnTheirDomain) {
  EXPECT_EQ(arcCos(1), 0) << "the arccos of exactly 1 is exactly 0";
  EXPECT_NEAR(static_cast<double>(arcCos(-1)), M_PI, 1e-15);
  EXPECT_NEAR(static_cast<double>(arcCos(0.5L)), M_PI / 3, 1e-15);
  EXPECT_NEAR(static_cast<double>(arcSin(0.5L)), M_PI / 6, 1e-15);
  EXPECT_EQ(arcSin(0), 0);
  const Extended above = 1 + std::numeric_limits<Extended>::epsilon();
  EXPECT_THROW(arcCos(above), EInvalidOp);
  EXPECT_THROW(arcCos(-above), EInvalidOp);
  EXPECT_THROW(arcSin(above), EInvalidOp);
  EXPECT_THROW(arcSin(std::numeric_limits<Extended>::infinity()), EInvalidOp);
}

TEST(Constants, AreTheNearestExtendedValues) {
  // Halving and doubling are exact, so these must agree with pi to the bit.
  EXPECT_TRUE(sameBits(kPi_2 * 2, kPi));
  EXPECT_TRUE(sameBits(kPi2 / 2, kPi));
  EXPECT_TRUE(sameBits(kPi, M_PIl));
  EXPECT_NEAR(static_cast<double>(kPi3_2 - 3 * kPi_2), 0.0, 1e-18);
  // 50000 * 0.001 lands just below 50: 0.001 is the extended value nearest to it.
  EXPECT_LT(50000 * kThousandth, 50.0L);
  EXPECT_NE(kTenth, static_cast<Extended>(0.1));
}

TEST(isUsableExtended, RejectsWhatTheProcessorRejects) {
  EXPECT_TRUE(isUsableExtended(0));
  EXPECT_TRUE(isUsableExtended(-100));
  EXPECT_TRUE(isUsableExtended(std::numeric_limits<Extended>::denorm_min()));
  EXPECT_FALSE(isUsableExtended(std::numeric_limits<Extended>::infinity()));
  EXPECT_FALSE(isUsableExtended(std::numeric_limits<Extended>::quiet_NaN()));
  EXPECT_FALSE(isUsableExtended(fromBits(0x4000000000000000ULL, 0x4005)));  // unnormal
  EXPECT_FALSE(isUsableExtended(fromBits(0, 0x7FFF)));                      // pseudo-infinity
  EXPECT_TRUE(isUsableExtended(fromBits(0xC800000000000000ULL, 0x4005)));   // 100
  // The processor takes a pseudo-denormal as the value with exponent field 1,
  // and floatToText prints it so: it is usable like any denormal.
  EXPECT_TRUE(isUsableExtended(fromBits(0x8000000000000000ULL, 0x0000)));
  EXPECT_TRUE(isUsableExtended(fromBits(0xC000000000000000ULL, 0x8000)));
  EXPECT_EQ(fromBits(0xC000000000000000ULL, 0x0000), fromBits(0xC000000000000000ULL, 0x0001));
}

}  // namespace
