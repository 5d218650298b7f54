// Checked extended-precision arithmetic shared by the engine.
//
// The engine never lets a NaN or an infinity travel on: every operation that
// can produce one (a zero divisor, the root of a negative number, rounding a
// value that does not fit 64 bits) is tested here and thrown as a typed error.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

#include "FishErrors.h"
#include "FishTypes.h"

namespace fish {

// The nearest extended values to these constants (the compiler rounds a long
// double literal correctly; 3*pi/2 computed from pi would not always be the
// nearest value, so each has its own literal).
inline constexpr Extended kPi = 3.141592653589793238462643383279502884197L;
inline constexpr Extended kPi_2 = 1.570796326794896619231321691639751442099L;
inline constexpr Extended kPi3_2 = 4.712388980384689857693965074919254326296L;
inline constexpr Extended kPi2 = 6.283185307179586476925286766559005768394L;
inline constexpr Extended kTenth = 0.1L;
inline constexpr Extended kHundredth = 0.01L;
inline constexpr Extended kThousandth = 0.001L;

// Raises the invalid operation; kept out of line, so that the checks that
// call it stay small enough to inline on the engine's hot paths.
[[noreturn]] void throwInvalidOp();

// Throws unless x rounds into the 64-bit range: -2^63 itself is
// representable, and 2^63 - 0.5 already rounds (to even) up to 2^63. A NaN
// fails both tests.
inline void checkRoundsToInt64(Extended x) {
  constexpr Extended kTwoPow63 = 9223372036854775808.0L;
  if (!(x >= -kTwoPow63 && x < kTwoPow63 - 0.5L)) throwInvalidOp();
}

// Nearest integer, halves to the even neighbour, held in 64 bits. A NaN, an
// infinity or a value outside the 64-bit range is an invalid operation.
inline std::int64_t roundToInt64(Extended x) {
#if defined(__x86_64__) || defined(__i386__)
  // FISTP rounds in the current mode, which the program never changes from
  // round-to-nearest-even; it is also far cheaper than a cast, which switches
  // the control word to truncation and back. A value it cannot hold (a NaN,
  // an infinity, anything that does not round into the 64-bit range) comes
  // back as the "integer indefinite", -2^63, with the invalid flag raised and
  // masked. Only values from -2^63 to -2^63 + 0.5 round to -2^63 rightly, so
  // the range is checked only when that pattern comes back, without loading
  // and comparing the bounds for every value.
  std::int64_t r;
  __asm__("fld %%st(0)\n\tfistpll %0" : "=m"(r) : "t"(x));
  if (r == INT64_MIN) [[unlikely]]
    checkRoundsToInt64(x);
  return r;
#else
  checkRoundsToInt64(x);
  return std::llrint(x);
#endif
}

// static_cast<Extended>(roundToInt64(x)), with the same failures. The integer
// is loaded back from where FISTP stored it, so the value waits for one trip
// through memory, not two, and its range is checked beside it.
inline Extended roundedInteger(Extended x) {
#if defined(__x86_64__) || defined(__i386__)
  std::int64_t r;
  Extended integral, kept;
  __asm__("fld %%st(0)\n\tfistpll %2\n\tfildll %2" : "=t"(integral), "=u"(kept), "=m"(r) : "0"(x));
  if (r == INT64_MIN) [[unlikely]]
    checkRoundsToInt64(kept);
  return integral;
#else
  return static_cast<Extended>(roundToInt64(x));
#endif
}

// x rounded to one decimal: (x * 10 rounded to an integer) * 0.1.
inline Extended Round1(Extended x) { return roundedInteger(x * 10) * kTenth; }

// x rounded in place to two decimals: (x * 100 rounded to an integer) * 0.01.
inline void Round2(Extended& x) { x = roundedInteger(x * 100) * kHundredth; }

// Throws unless x is an ordinary finite number: a NaN is an invalid operation,
// an infinity an overflow.
inline Extended checkFinite(Extended x) {
  if (std::isnan(x)) throw EInvalidOp();
  if (std::isinf(x)) throw EOverflow();
  return x;
}

// num / den; a zero divisor is a division by zero (0/0 an invalid operation).
inline Extended divide(Extended num, Extended den) {
  if (den == 0) {
    if (num == 0 || std::isnan(num)) throw EInvalidOp();
    throw EZeroDivide();
  }
  return checkFinite(num / den);
}

// Square root; a negative or NaN argument is an invalid operation.
inline Extended squareRoot(Extended x) {
  if (!(x >= 0)) throw EInvalidOp();
  return std::sqrt(x);
}

// arccos c = atan2(sqrt(1 - c*c), c) and arcsin c = atan2(c, sqrt(1 - c*c)).
// These forms (rather than acosl/asinl) fix the last bits of every angle of
// the development; |c| > 1 is an invalid operation.
inline Extended arcCos(Extended c) { return std::atan2(squareRoot(1 - c * c), c); }
Extended arcSin(Extended c);

// True for the bit patterns the x87 accepts as finite operands. Besides NaN
// and infinity this rules out unnormals (exponent set, integer bit clear),
// which a project file can carry and which the processor rejects.
bool isUsableExtended(Extended x);

}  // namespace fish
