// Bounding boxes of the whole model and the whole development. Both cover all
// four quadrants whatever the selection, and both always contain the origin.
#pragma once

#include "FishTypes.h"

namespace fish {

// Leaves quadrant 4's surface in LastSurf.
void GetSurfExtents(const TSystemParams& sp, const TProParams& pro, TExtents3D& extents);

// Leaves quadrant 4's surface and development in LastSurf and LastRazvertka.
void GetRazvertkaExtents(const TSystemParams& sp, const TProParams& pro, TExtents2D& extents);

}  // namespace fish
