#include "FishExtents.h"

#include <cstdint>

#include "FishRazvertka.h"
#include "FishSurface.h"

namespace fish {

namespace {
void lower(Extended& target, Extended v) {
  if (v < target) target = v;
}
void raise(Extended& target, Extended v) {
  if (v > target) target = v;
}
}  // namespace

void GetSurfExtents(const TSystemParams& sp, const TProParams& pro, TExtents3D& extents) {
  extents = TExtents3D{};
  for (std::uint16_t q = 1; q <= 4; ++q) {
    TExtents3D box;
    CalcSurfQuadrant(sp, pro, q, box, LastSurf);
    lower(extents.MinX, box.MinX);
    raise(extents.MaxX, box.MaxX);
    lower(extents.MinY, box.MinY);
    raise(extents.MaxY, box.MaxY);
    lower(extents.MinZ, box.MinZ);
    raise(extents.MaxZ, box.MaxZ);
  }
}

void GetRazvertkaExtents(const TSystemParams& sp, const TProParams& pro, TExtents2D& extents) {
  extents = TExtents2D{};
  TPoint2D runMin;
  TPoint2D runMax;
  for (std::uint16_t q = 1; q <= 4; ++q) {
    developQuadrant(sp, pro, q, runMin, runMax);
    lower(extents.MinX, runMin.X);
    lower(extents.MinY, runMin.Y);
    raise(extents.MaxX, runMax.X);
    raise(extents.MaxY, runMax.Y);
  }
}

}  // namespace fish
