#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/NumText.h"
#include "support/EngineTestSupport.h"
#include "support/SameBits.h"

using namespace fish;

namespace {

struct FormatCase {
  Extended value;
  const char* separator;
  const char* text;
};

class FloatToTextTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FloatToTextTest, GeneralFormatWith15Digits) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(floatToText(c.value, c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(Values, FloatToTextTest,
                         ::testing::Values(FormatCase{100, ".", "100"}, FormatCase{0, ".", "0"},
                                           FormatCase{-0.0L, ".", "0"}, FormatCase{123 * kTenth, ".", "12.3"},
                                           FormatCase{123 * kTenth, ",", "12,3"},
                                           FormatCase{-761 * kTenth, ".", "-76.1"},
                                           FormatCase{50000 * kThousandth, ".", "50"}, FormatCase{0.1L, ".", "0.1"},
                                           FormatCase{1.0L / 3, ".", "0.333333333333333"},
                                           FormatCase{123456789012345.0L, ".", "123456789012345"},
                                           FormatCase{999999999999999.4L, ".", "999999999999999"},
                                           FormatCase{999999999999999.9L, ".", "1E15"}, FormatCase{1e15L, ".", "1E15"},
                                           FormatCase{-1.5e20L, ",", "-1,5E20"}, FormatCase{1e100L, ".", "1E100"},
                                           FormatCase{0.0001L, ".", "0.0001"}, FormatCase{0.00001L, ".", "1E-5"},
                                           FormatCase{-2.5e-7L, ",", "-2,5E-7"}, FormatCase{1e-300L, ".", "1E-300"},
                                           FormatCase{12.5L, "\xd9\xab",
                                                      "12\xd9\xab"
                                                      "5"}));

TEST(floatToText, RefusesWhatIsNotANumber) {
  EXPECT_THROW(floatToText(std::numeric_limits<Extended>::quiet_NaN()), EInvalidOp);
  EXPECT_THROW(floatToText(std::numeric_limits<Extended>::infinity()), EInvalidOp);
  EXPECT_THROW(floatToText(-std::numeric_limits<Extended>::infinity()), EInvalidOp);
}

using vintaler::test::fromBits;

// Patterns at the bottom of the range, as a damaged project file can hold
// them. Exponent field 0 with the integer bit set (a pseudo-denormal) is worth
// what the same significand is worth with exponent field 1.
TEST(floatToText, TinyPatternsPrintTheirTrueValue) {
  const struct {
    const char* name;
    std::uint64_t significand;
    std::uint16_t signExponent;
    const char* text;  // nullptr: refused
  } cases[] = {
      {"pseudo-denormal 2^-16382", 0x8000000000000000ULL, 0x0000, "3.36210314311209E-4932"},
      {"negative pseudo-denormal", 0x8000000000000000ULL, 0x8000, "-3.36210314311209E-4932"},
      {"pseudo-denormal 1.5 * 2^-16382", 0xC000000000000000ULL, 0x0000, "5,04315471466814E-4932"},
      {"largest pseudo-denormal", 0xFFFFFFFFFFFFFFFFULL, 0x0000, "6,72420628622419E-4932"},
      {"smallest normal", 0x8000000000000000ULL, 0x0001, "3.36210314311209E-4932"},
      {"denormal", 0x4000000000000000ULL, 0x0000, "1.68105157155605E-4932"},
      {"unnormal", 0x4000000000000000ULL, 0x0001, nullptr},
  };
  for (const auto& c : cases) {
    const Extended v = fromBits(c.significand, c.signExponent);
    const char* separator = c.text != nullptr && std::strchr(c.text, ',') != nullptr ? "," : ".";
    if (c.text == nullptr) {
      EXPECT_THROW(floatToText(v, separator), EInvalidOp) << c.name;
    } else {
      EXPECT_EQ(floatToText(v, separator), c.text) << c.name;
    }
  }
}

struct ParseCase {
  const char* text;
  const char* separator;
  bool valid;
  Extended value;  // the nearest extended to the text, when valid
};

class TextToFloatTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(TextToFloatTest, AcceptsOnlyPlainNumbers) {
  const ParseCase& c = GetParam();
  Extended v = -12345;
  EXPECT_EQ(textToFloat(c.text, c.separator, v), c.valid) << '"' << c.text << '"';
  if (c.valid) {
    EXPECT_EQ(v, c.value) << '"' << c.text << '"';
  } else {
    EXPECT_EQ(v, -12345) << "a refused text must leave the value alone";
  }
}

INSTANTIATE_TEST_SUITE_P(Valid, TextToFloatTest,
                         ::testing::Values(ParseCase{"12.34", ".", true, 12.34L}, ParseCase{"12,34", ",", true, 12.34L},
                                           ParseCase{" -5 ", ".", true, -5}, ParseCase{"\t+7", ".", true, 7},
                                           ParseCase{"1e3", ".", true, 1000}, ParseCase{"1E+3", ".", true, 1000},
                                           ParseCase{"2.5e-2", ".", true, 0.025L}, ParseCase{".5", ".", true, 0.5L},
                                           ParseCase{"5.", ".", true, 5}, ParseCase{"0.35", ".", true, 0.35L},
                                           ParseCase{"-0", ".", true, -0.0L}, ParseCase{"1e-5000", ".", true, 0},
                                           ParseCase{"1e4932", ".", true, 1e4932L},
                                           ParseCase{"0.1000000000000000000000000001", ".", true, 0.1L}));

INSTANTIATE_TEST_SUITE_P(Invalid, TextToFloatTest,
                         ::testing::Values(ParseCase{"", ".", false, 0}, ParseCase{"  ", ".", false, 0},
                                           ParseCase{"abc", ".", false, 0}, ParseCase{"inf", ".", false, 0},
                                           ParseCase{"-INF", ".", false, 0}, ParseCase{"nan", ".", false, 0},
                                           ParseCase{"0x10", ".", false, 0}, ParseCase{"1,000", ".", false, 0},
                                           ParseCase{"1.5", ",", false, 0}, ParseCase{"1 000", ".", false, 0},
                                           ParseCase{"1e", ".", false, 0}, ParseCase{"1e+", ".", false, 0},
                                           ParseCase{"--1", ".", false, 0}, ParseCase{"+-1", ".", false, 0},
                                           ParseCase{"1..2", ".", false, 0}, ParseCase{".", ".", false, 0},
                                           ParseCase{"-", ".", false, 0}, ParseCase{"1e5000", ".", false, 0},
                                           ParseCase{"-1e4933", ".", false, 0}, ParseCase{"12a", ".", false, 0},
                                           ParseCase{"1e2.5", ".", false, 0}, ParseCase{"e5", ".", false, 0}));

TEST(textToInt32, WholeNumbersIn32Bits) {
  const struct {
    const char* text;
    bool valid;
    std::int32_t value;
  } cases[] = {{"10", true, 10},
               {" -3 ", true, -3},
               {"+7", true, 7},
               {"2147483647", true, 2147483647},
               {"-2147483648", true, INT32_MIN},
               {"2147483648", false, 0},
               {"-2147483649", false, 0},
               {"99999999999999999999999", false, 0},
               {"1.5", false, 0},
               {"", false, 0},
               {"+-1", false, 0},
               {"-+1", false, 0},
               {"1e3", false, 0},
               {"0x1", false, 0}};
  for (const auto& c : cases) {
    std::int32_t v = 42;
    EXPECT_EQ(textToInt32(c.text, v), c.valid) << c.text;
    EXPECT_EQ(v, c.valid ? c.value : 42) << c.text;
  }
}

}  // namespace

namespace {

struct DecimalCase {
  const char* name;
  Extended value;
  int decimals;
  const char* separator;
  const char* text;
};

const DecimalCase kDecimals[] = {
    {"Hundredths", 70.714L, 2, ".", "70.71"},
    {"NoTrailingNines", 70.71L, 2, ".", "70.71"},
    {"HalfToEvenUp", 0.375L, 2, ".", "0.38"},
    {"HalfToEvenDown", 0.0625L, 3, ",", "0,062"},
    {"TrailingZerosDropped", 2.5L, 2, ".", "2.5"},
    {"NoDecimals", 2.5L, 0, ".", "2"},
    {"NegativeWithComma", -1234.567L, 2, ",", "-1234,57"},
    {"NegativeRoundsToZero", -0.004L, 2, ".", "0"},
    {"SixDecimalsOfALargeNumber", 123456789012.3456789L, 6, ".", "123456789012.346"},
    {"BeyondFifteenDigits", 1e20L, 2, ".", "1E20"},
    {"FifteenDigitsExactly", 9999999999999.99L, 2, ".", "9999999999999.99"},
    {"SixteenDigitsRoundedByTheGeneralFormat", 99999999999999.99L, 2, ".", "100000000000000"},
    {"BelowTheFixedRange", 0.00001L, 5, ".", "1E-5"},
    {"AtTheFixedRange", 0.0001L, 6, ",", "0,0001"},
    {"NegativeSixDecimals", -0.000123L, 6, ".", "-0.000123"},
};

class DecimalTextTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalTextTest, RoundsThenWritesTheGeneralFormat) {
  const DecimalCase& c = GetParam();
  EXPECT_EQ(decimalText(c.value, c.decimals, c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(Values, DecimalTextTest, ::testing::ValuesIn(kDecimals), vintaler::test::rowName<DecimalCase>);

// k hundredths (up to 15 digits) are k with the separator before its last
// two digits, trailing zeros dropped, whatever binary value stands for them.
TEST(decimalText, WritesHundredthsDigitForDigit) {
  std::uint64_t k = 1;
  for (int i = 0; i < 20000; ++i) {
    k = k * 6364136223846793005ULL + 1442695040888963407ULL;
    const std::uint64_t hundredths = (k >> 11) % 1'000'000'000'000'000ULL;
    const std::uint64_t decimals = hundredths % 100;
    std::string expected =
        std::to_string(hundredths / 100) + "," + std::to_string(decimals / 10) + std::to_string(decimals % 10);
    while (expected.back() == '0') expected.pop_back();
    if (expected.back() == ',') expected.pop_back();
    ASSERT_EQ(decimalText(static_cast<Extended>(hundredths) / 100, 2, ","), expected) << hundredths;
  }
}

// The rounded value is written as printf's general format writes the
// quotient of the rounded integer by the power of ten, at every number of
// decimals and magnitude, either side of the limits where the digits are
// written without printf.
TEST(decimalText, WritesWhatTheGeneralFormatWrites) {
  std::uint64_t k = 7;
  for (int i = 0; i < 60000; ++i) {
    k = k * 6364136223846793005ULL + 1442695040888963407ULL;
    const int decimals = static_cast<int>((k >> 8) % 7);
    const int exponent = static_cast<int>((k >> 16) % 40) - 20;  // 1E-20 .. 1E19
    const Extended mantissa = static_cast<Extended>(k >> 11) / static_cast<Extended>(1ULL << 53);
    const Extended value = ((k & 1) ? -1 : 1) * mantissa * std::pow(10.0L, static_cast<Extended>(exponent));
    Extended scale = 1;
    for (int d = 0; d < decimals; ++d) scale *= 10;
    const std::string expected = std::fabs(value * scale) < 4611686018427387904.0L
                                     ? floatToText(static_cast<Extended>(std::llrint(value * scale)) / scale, ",")
                                     : floatToText(value, ",");
    ASSERT_EQ(decimalText(value, decimals, ","), expected) << static_cast<double>(value) << " " << decimals;
  }
}

TEST(decimalText, RefusesWhatItCannotWrite) {
  EXPECT_THROW(decimalText(1, -1), ERangeError);
  EXPECT_THROW(decimalText(1, 7), ERangeError);
  EXPECT_THROW(decimalText(std::numeric_limits<Extended>::quiet_NaN(), 2), EInvalidOp);
  EXPECT_THROW(decimalText(-std::numeric_limits<Extended>::infinity(), 2), EInvalidOp);
}

}  // namespace
