// The unit every length of a project is given in: the sizes, the plate's
// thickness, the allowances, the ticks. The engine computes in it as it is;
// only what stands for a physical size converts (the accuracy limit, the
// defaults, the mass, the paper of a full-size print, the DXF's units).
#pragma once

#include <cstdint>

#include "fishApi/core/FishTypes.h"
#include "fishApi/core/Messages.h"

namespace fish {

// The values are the project file's codes.
enum class TUnits : std::uint8_t { Millimetres = 0, Inches = 1 };
inline constexpr Extended kMmPerInch = 25.4L;

// Millimetres in one unit: 1 or 25.4.
constexpr Extended mmPerUnit(TUnits units) { return units == TUnits::Inches ? kMmPerInch : 1; }

// The unit's word after a number, "мм" or "дюйм", as a message: a text that
// keeps it says it again in another language.
inline TMessage unitMessage(TUnits units) {
  return TMessage(units == TUnits::Inches ? FISH_TR("units", "дюйм") : FISH_TR("units", "мм"));
}

}  // namespace fish
