// Equality to the last bit, shared by the engine and GUI tests.
#pragma once

#include <cstring>

#include "fishApi/FishTypes.h"

namespace vintaler::test {

// Equal to the last bit, sign of zero included: the 10 bytes of the x87 value.
inline bool sameBits(fish::Extended a, fish::Extended b) { return std::memcmp(&a, &b, fish::kExtendedBytes) == 0; }

}  // namespace vintaler::test
