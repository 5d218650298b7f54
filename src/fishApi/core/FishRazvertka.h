// The development (flat pattern) of one quadrant.
//
// The surface is unfolded triangle by triangle round the rectangle's corner:
// every triangle keeps its three side lengths, so every generator line keeps
// its length and every angle at the corner is kept. The image of the Y-side
// midpoint is the origin, the edge to the corner lies on the X axis (towards
// +X in quadrants 1 and 4, -X in 2 and 3), and the piece opens towards +Y in
// quadrants 1 and 2, -Y in 3 and 4.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "FishTypes.h"

namespace fish {

// A triangle in space with its sides and interior angles (radians).
// Side20 joins V2 and V0, Side01 V0 and V1, Side12 V1 and V2; Angle0 is at V0.
struct TTriangle3D {
  TPoint3D V0, V1, V2;
  Extended Side20 = 0, Side01 = 0, Side12 = 0;
  Extended Angle1 = 0, Angle2 = 0, Angle0 = 0;
};

// Distance between two points after rounding each coordinate to hundredths:
// a fabricator marks to 0.01 at best, and every length of the development is
// taken this way.
Extended Distance3D(const TPoint3D& p, const TPoint3D& q);

// Sides, then the angles by the law of cosines in the order Angle1, Angle2,
// Angle0. An angle between two sides whose product is 0 is taken as 0.
TTriangle3D SolveTriangle(const TPoint3D& v0, const TPoint3D& v1, const TPoint3D& v2);

// Lays the surface of `quadrant` flat into `razv` (same length as `surf`) and
// widens the caller's running box [runMin, runMax] by every point of it. Only
// X1 of the parameters is read: the first seam's image keeps the circle
// point's true X.
void CalcRazvertkaQuadrant(const TSurf2PointArray& surf, int quadrant, const TSystemParams& sp, TPoint2D& runMin,
                           TPoint2D& runMax, TRazvertka2PointArray& razv);

// One quadrant computed whole: its surface with the surface's box, and its
// development with the development's box (which always contains the origin).
struct TQuadrantDevelopment {
  TSurf2PointArray Surf;
  TExtents3D SurfBox;
  TRazvertka2PointArray Razvertka;
  TPoint2D Min;
  TPoint2D Max;
};

// The surface of `quadrant` and its development, by value.
TQuadrantDevelopment developQuadrant(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant);

// The same into `into`, whose arrays are reused: a caller developing several
// quadrants in turn allocates (and the system clears) their memory once.
// After a failure `into` holds nothing of use.
void developQuadrantInto(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                         TQuadrantDevelopment& into);

// The development of `quadrant` element by element, with the arithmetic and
// the failures of developQuadrant but without keeping its surface or its
// development: element k is handed to `each(k, element)` in the order
// k = 0, 1, 2 .. n + 2 as soon as it is laid, and nothing grows with the
// divisions. `min` and `max` get the piece's box (from the origin) once the
// whole quadrant is laid; a failure throws after the elements laid before it
// and leaves them as they were. With `surface`, the quadrant's surface is
// first written there whole, as CalcSurfQuadrant writes it (and fails).
void developQuadrantElements(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                             const std::function<void(std::size_t, const TRazvertka2Point&)>& each, TPoint2D& min,
                             TPoint2D& max, TSurf2PointArray* surface = nullptr);

// Hands a quadrant the caller has finished with to LastSurf and
// LastRazvertka (moved, not copied): the one place where they are written,
// so that they always hold the quadrant computed last, as callers expect.
void publishLast(TQuadrantDevelopment&& done);
void publishLast(TSurf2PointArray&& surf);

}  // namespace fish
