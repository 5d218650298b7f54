// The box and the convex hull of a piece and the smallest rectangle its blank can be cut
// from, turned any way.
#pragma once

#include <vector>

#include "fishApi/core/FishTypes.h"

namespace fish {

// The axis-aligned box of the points (none: all 0).
TExtents2D boxOf(const std::vector<TPoint2D>& points);

// The convex hull, counter-clockwise, without collinear points (Andrew's
// monotone chain).
std::vector<TPoint2D> convexHull(std::vector<TPoint2D> points);

// A blank: its sides, and the angle (degrees, -90 .. 90) its Width side
// makes with the X axis of the drawing.
struct TBlank {
  Extended Width = 0;
  Extended Height = 0;
  Extended Angle = 0;
};

// The rectangle of least area holding every point: one of its sides lies
// along an edge of the convex hull, so every edge's direction is tried with
// the hull's extents along it and across it (rotating calipers keep each
// extent's farthest point as the edges turn). The axis-aligned box is tried
// first and kept on a tie, so that a blank already aligned keeps angle 0.
TBlank minimumBlank(const std::vector<TPoint2D>& points);

}  // namespace fish
