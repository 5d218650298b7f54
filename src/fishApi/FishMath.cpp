#include "FishMath.h"

#include <cmath>
#include <cstring>

#include "FishErrors.h"

namespace fish {

namespace {
constexpr Extended kTwoPow63 = 9223372036854775808.0L;
}

std::int64_t roundToInt64(Extended x) {
  // In range exactly when the rounded value is: -2^63 itself is representable,
  // and 2^63 - 0.5 already rounds (to even) up to 2^63. A NaN fails both tests.
  if (!(x >= -kTwoPow63 && x < kTwoPow63 - 0.5L)) throw EInvalidOp();
#if defined(__x86_64__) || defined(__i386__)
  // FISTP rounds in the current mode, which the program never changes from
  // round-to-nearest-even; it is also far cheaper than a cast, which switches
  // the control word to truncation and back.
  std::int64_t r;
  __asm__("fistpll %0" : "=m"(r) : "t"(x) : "st");
  return r;
#else
  return std::llrint(x);
#endif
}

Extended Round1(Extended x) { return static_cast<Extended>(roundToInt64(x * 10)) * kTenth; }

void Round2(Extended& x) { x = static_cast<Extended>(roundToInt64(x * 100)) * kHundredth; }

Extended arcSin(Extended c) { return std::atan2(c, squareRoot(1 - c * c)); }

bool isUsableExtended(Extended x) {
  unsigned char bytes[sizeof(Extended)];
  std::memcpy(bytes, &x, sizeof bytes);
  const unsigned exponent = (static_cast<unsigned>(bytes[9] & 0x7F) << 8) | bytes[8];
  const bool integerBit = (bytes[7] & 0x80) != 0;
  if (exponent == 0x7FFF) return false;            // infinity, NaN, pseudo-NaN
  if (exponent != 0 && !integerBit) return false;  // unnormal
  return true;                                     // normal, zero, (pseudo-)denormal
}

}  // namespace fish
