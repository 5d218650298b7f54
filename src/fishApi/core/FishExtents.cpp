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
    TSurf2PointArray surf;
    CalcSurfQuadrant(sp, pro, q, box, surf);
    publishLast(std::move(surf));
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
  for (std::uint16_t q = 1; q <= 4; ++q) {
    TQuadrantDevelopment d = developQuadrant(sp, pro, q);
    lower(extents.MinX, d.Min.X);
    lower(extents.MinY, d.Min.Y);
    raise(extents.MaxX, d.Max.X);
    raise(extents.MaxY, d.Max.Y);
    publishLast(std::move(d));
  }
}

}  // namespace fish
