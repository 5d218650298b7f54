#include "FishExtents.h"

#include <cstdint>

#include "FishRazvertka.h"
#include "FishSurface.h"

namespace fish {

namespace {
void Lower(Extended& target, Extended v) {
  if (v < target) target = v;
}
void Raise(Extended& target, Extended v) {
  if (v > target) target = v;
}
}  // namespace

void GetSurfExtents(const TSystemParams& sp, const TProParams& pro, TExtents3D& extents) {
  extents = TExtents3D{};
  for (std::uint16_t q = 1; q <= 4; ++q) {
    TExtents3D box;
    CalcSurfQuadrant(sp, pro, q, box, LastSurf);
    Lower(extents.MinX, box.MinX);
    Raise(extents.MaxX, box.MaxX);
    Lower(extents.MinY, box.MinY);
    Raise(extents.MaxY, box.MaxY);
    Lower(extents.MinZ, box.MinZ);
    Raise(extents.MaxZ, box.MaxZ);
  }
}

void GetRazvertkaExtents(const TSystemParams& sp, const TProParams& pro, TExtents2D& extents) {
  extents = TExtents2D{};
  TPoint2D runMin;
  TPoint2D runMax;
  for (std::uint16_t q = 1; q <= 4; ++q) {
    DevelopQuadrant(sp, pro, q, runMin, runMax);
    Lower(extents.MinX, runMin.X);
    Lower(extents.MinY, runMin.Y);
    Raise(extents.MaxX, runMax.X);
    Raise(extents.MaxY, runMax.Y);
  }
}

}  // namespace fish
