// How the shop cuts the pattern: the choices that go with a project beside
// its sizes and its plate.
//
// The pattern for cutting is either the precise development (the exact
// surface unfolded without rounding: PreciseDevelopment.h), which is the
// default, or the development of the results tables, as they mark it out by
// hand (FishRazvertka.h). The results page and the pictures on screen always
// show the tables' development; the choice decides what the exports cut and
// what the figures measure.
#pragma once

#include <cstdint>
#include <string_view>

#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishTypes.h"

namespace fish {

// The values are the project file's codes.
enum class TPatternKind : std::uint8_t { Precise = 0, Table = 1 };

struct TCuttingParams {
  TPatternKind Pattern = TPatternKind::Precise;
};

// Nothing chosen but the defaults: not worth storing.
bool isDefaultCutting(const TCuttingParams& cutting);

// The names the command line and the JSON output use: "precise", "table".
std::string_view patternKey(TPatternKind pattern);
bool patternFromKey(std::string_view key, TPatternKind& out);

// The names the user reads: "точная", "по таблицам".
std::string_view patternName(TPatternKind pattern);

// Quadrant 1..4 as the pattern of `pattern` cuts it, into `into` (its arrays
// reused): the surface it is laid from and its development with the box.
// The precise pattern's surface is the exact one (ExactSurface.h), and its
// SurfBox is left empty. Throws what that development throws.
void developCutting(TPatternKind pattern, const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                    TQuadrantDevelopment& into);

}  // namespace fish
