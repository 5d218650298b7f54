#include "CuttingParams.h"

#include "fishApi/precise/ExactSurface.h"
#include "fishApi/precise/PreciseDevelopment.h"

namespace fish {

bool isDefaultCutting(const TCuttingParams& cutting) { return cutting.Pattern == TPatternKind::Precise; }

std::string_view patternKey(TPatternKind pattern) { return pattern == TPatternKind::Table ? "table" : "precise"; }

bool patternFromKey(std::string_view key, TPatternKind& out) {
  for (const TPatternKind p : {TPatternKind::Precise, TPatternKind::Table}) {
    if (key == patternKey(p)) {
      out = p;
      return true;
    }
  }
  return false;
}

std::string_view patternName(TPatternKind pattern) {
  return pattern == TPatternKind::Table ? "по таблицам" : "точная";
}

void developCutting(TPatternKind pattern, const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                    TQuadrantDevelopment& into) {
  if (pattern == TPatternKind::Table) {
    developQuadrantInto(sp, pro, quadrant, into);
    return;
  }
  developPreciseInto(sp, pro, quadrant, into.Razvertka, into.Min, into.Max);
  into.Surf = exactSurfaceQuadrant(sp, pro, quadrant);
  into.SurfBox = TExtents3D{};
}

}  // namespace fish
