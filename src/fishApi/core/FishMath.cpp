#include "FishMath.h"

#include <cmath>
#include <cstring>

#include "FishErrors.h"

namespace fish {

void throwInvalidOp() { throw EInvalidOp(); }

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
