// The precise development of one quadrant: the exact surface (ExactSurface.h)
// unfolded without rounding anything, for cutting the pattern on a machine.
//
// It is laid in the frame of the tables' development (FishRazvertka.h) and
// fills the same array with the same meaning, so a table point and its
// precise point differ only by the tables' rounding, and whatever takes the
// tables' development (outline, labels, drawings) takes this one unchanged:
//   0          origin (Y-side midpoint) -> arc start
//   1          corner                   -> arc start
//   2 .. n+1   corner                   -> arc point 1 .. n (n the arc end)
//   n+2        corner                   -> X-side midpoint
// The origin is the Y-side midpoint's image, the corner's image lies on the
// X axis (+X in quadrants 1 and 4, -X in 2 and 3), the piece opens towards
// +Y in quadrants 1 and 2, -Y in 3 and 4, and the arc start's image keeps the
// circle point's X offset along the edge.
//
// Every triangle is laid from its exact sides and its exact angle at the
// corner, taken from the 3-D vectors as atan2(|u x v|, u . v): for the tiny
// angles of fine divisions the law of cosines would cancel every digit.
// The angles are summed with a compensated sum, so the arc end stands where
// the whole cone's angle puts it, whatever the number of divisions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "ExactSurface.h"
#include "fishApi/core/FishTypes.h"

namespace fish {

// The precise development of quadrant 1..4 into `razv` (n + 3 elements, the
// array reused), and its box in [min, max], which always holds the origin.
// Refuses what TExactSurface refuses; after a failure `razv`, `min` and `max`
// hold nothing of use.
// With `offsets`, of the plate's middle surface (ExactSurface.h).
void developPreciseInto(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                        TRazvertka2PointArray& razv, TPoint2D& min, TPoint2D& max, const TFaceOffsets& offsets = {});

// The same with the exact surface it is laid from into `surf` (its n + 3
// lines as exactSurfaceQuadrant makes them, bit for bit), each arc point's
// direction worked out once for both.
void developPreciseInto(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                        TRazvertka2PointArray& razv, TSurf2PointArray& surf, TPoint2D& min, TPoint2D& max,
                        const TFaceOffsets& offsets = {});

// The same, by value.
TRazvertka2PointArray developPrecise(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                                     const TFaceOffsets& offsets = {});

// The same development element by element, bit for bit the array's: element k
// is handed to `each(k, element)` in the order k = 0 .. n + 2 as soon as it
// is laid, and nothing grows with the divisions. `min` and `max` get the box
// once the whole quadrant is laid.
// The same development pulled element by element: next() gives element
// k = 0, 1, ... n + 2 in turn, bit for bit the array's, and nothing grows
// with the divisions; two developments can so be walked side by side.
// Refuses what TExactSurface refuses, when constructed.
class TPreciseStream {
 public:
  TPreciseStream(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                 const TFaceOffsets& offsets = {});
  ~TPreciseStream();
  TPreciseStream(const TPreciseStream&) = delete;
  TPreciseStream& operator=(const TPreciseStream&) = delete;

  std::size_t size() const;
  const TRazvertka2Point& next();
  // The surface's line of the element next() gave last.
  TSurf2Point line() const;

  class TLayer;  // the development's own arithmetic

 private:
  TExactSurface Surface;
  std::unique_ptr<TLayer> Layer;
};

void developPreciseElements(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                            const std::function<void(std::size_t, const TRazvertka2Point&)>& each, TPoint2D& min,
                            TPoint2D& max);

}  // namespace fish
