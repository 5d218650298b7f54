// Extended values bit by bit, shared by the engine and GUI tests.
#pragma once

#include <cstdint>
#include <cstring>

#include "fishApi/core/FishTypes.h"

namespace vintaler::test {

// Equal to the last bit, sign of zero included: the 10 bytes of the x87 value.
inline bool sameBits(fish::Extended a, fish::Extended b) { return std::memcmp(&a, &b, fish::kExtendedBytes) == 0; }

// The value whose 10 bytes are `significand` (integer bit included) and
// `signExponent`: how the tests make the unusual patterns a damaged file can
// carry (unnormals, pseudo-denormals, pseudo-infinities).
inline fish::Extended fromBits(std::uint64_t significand, std::uint16_t signExponent) {
  unsigned char raw[sizeof(fish::Extended)] = {};
  std::memcpy(raw, &significand, 8);
  std::memcpy(raw + 8, &signExponent, 2);
  fish::Extended v;
  std::memcpy(&v, raw, sizeof v);
  return v;
}

}  // namespace vintaler::test
