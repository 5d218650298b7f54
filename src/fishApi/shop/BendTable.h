// The angle the press brake bends along each bend line of a quadrant.
//
// The bend lines are the generators 1 to n+1 of the quadrant: generator k
// joins the rectangle's corner C to circle point k - 1, where the flat face
// before it (the half-side triangle M C S for k = 1, else the cone's facet
// C P[k-2] P[k-1]) meets the face after it (the facet C P[k-1] P[k], or the
// closing triangle C E X for k = n+1). The bend is the angle between the two
// faces' normals, each taken so that the faces would be coplanar at 0: the
// deviation from flat that the brake is set to. Taken as
// atan2(|n1 x n2|, n1 . n2), it keeps its digits for the tiny bends of fine
// divisions.
#pragma once

#include <vector>

#include "fishApi/core/FishTypes.h"

namespace fish {

// The bend along generator k = 1 .. n+1 of a quadrant's surface (as the
// pattern is laid from it: the exact surface for the precise pattern, the
// tables' points for theirs), in degrees, element k - 1 of the result. A bend
// is negative when it goes the other way from the first bend of the quadrant
// that is not 0; a face of no area (a circle point on the corner's plumb
// line) bends by 0.
std::vector<Extended> bendAngles(const TSurf2PointArray& surface);

// The same bend of generator k handed the surface's lines k - 1, k and k + 1
// in turn: `first` for k = 1, `last` for k = n+1, and `sense` carried from
// one generator to the next (0 before the first).
Extended bendAngle(const TSurf2Point& before, const TSurf2Point& at, const TSurf2Point& after, bool first, bool last,
                   int& sense);

}  // namespace fish
