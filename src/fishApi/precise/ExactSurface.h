// The transition surface of one quadrant as it really is: the same generator
// lines as the results tables (FishSurface.h) with the same numbering,
//   0          Y-side midpoint -> circle at the arc start
//   1 .. n+1   corner          -> circle at arc start + (i-1) * (pi/2)/n
//   n+2        X-side midpoint -> circle at the arc end
// but every circle point at its exact angle, with its true direction (not
// rounded to thousandths), and nothing rounded afterwards.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fishApi/core/FishSurface.h"
#include "fishApi/core/FishTypes.h"

namespace fish {

// The direction of a circle point from the circle's centre.
struct TDirection {
  Extended Cos = 1;
  Extended Sin = 0;
};

// How far the plate's middle surface lies from the faces the sizes measure,
// along the plate's normal, outward positive (t/2 for sizes of the inside
// faces, -t/2 for the outside ones, 0 for the middle), for the rectangular
// end and for the round end.
//
// In the plane of a section a face's trace then moves by that distance over
// the cosine of the face's slope from the vertical. A flat side through the
// rectangle's side and the circle point above it, its run w from the side to
// that point across the height L, has cos = L / sqrt(L^2 + w^2); along the
// round end the surface's slope is that of its tangent plane along each
// generator, whose normal is g x e' for the generator g from the corner and
// the circle's tangent e', and whose cosine is L / sqrt(L^2 + (g . e)^2), e
// the circle point's direction. A plate of no thickness moves nothing.
struct TFaceOffsets {
  Extended Rect = 0;
  Extended Round = 0;
  bool none() const { return Rect == 0 && Round == 0; }
};

// The exact surface of a quadrant, point by point: nothing is kept that
// grows with the divisions.
//
// Constructing refuses a record the tables refuse for what it holds, with the
// same errors in the same order: the quadrant (ERangeError), the number of
// divisions (EDivisionsRange, 0 as EZeroDivide), a NaN, an infinity or an
// unnormal (EInvalidOp), a circle too large to compute (EOverflow), and a
// point whose coordinates the tables could not round to hundredths
// (EInvalidOp). Every point of a surface it accepts lies within 1E17 of the
// origin, so every length and product of the development is far inside the
// extended range. (The tables can also fail a triangle that their rounding
// made flat or impossible; the exact triangle is never either, and is laid.)
class TExactSurface {
 public:
  // The faces' surface, or with `offsets` the plate's middle surface: the
  // rectangle's sides moved, each by its slope, and every circle point moved
  // along its direction by the round end's slope there.
  TExactSurface(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant, const TFaceOffsets& offsets = {});

  std::int32_t divisions() const { return Divisions; }
  std::size_t size() const { return static_cast<std::size_t>(Divisions) + 3; }
  int quadrant() const { return Quadrant; }
  const TSystemParams& params() const { return Sp; }

  const TPoint3D& midY() const { return MidY; }      // P1 of element 0
  const TPoint3D& corner() const { return Corner; }  // P1 of elements 1 .. n+1
  const TPoint3D& midX() const { return MidX; }      // P1 of element n+2

  // The direction of arc point j = 0 .. n, j steps of (pi/2)/n from the arc
  // start (element j + 1). j = 0 and j = n are exactly the axis directions
  // at the arc's ends.
  TDirection direction(std::size_t j) const;
  // The distance of the round end from the circle's centre in a direction:
  // R, or R moved to the middle surface.
  Extended radius(const TDirection& d) const;
  // The point of the round end in a direction.
  TPoint3D pointAt(const TDirection& d) const {
    const Extended r = radius(d);
    return {Sp.X1 + r * d.Cos, Sp.Y1 + r * d.Sin, Sp.L};
  }
  TPoint3D arcPoint(std::size_t j) const { return pointAt(direction(j)); }

  // Generator line k = 0 .. n+2, numbered as above.
  TSurf2Point element(std::size_t k) const;

 private:
  TSystemParams Sp;
  int Quadrant;
  std::int32_t Divisions;
  Extended Step;  // (pi/2)/n
  // The arc's directions are those of the first quadrant, turned into place:
  // cos = CosOfSin * sin(a), sin = SinOfCos * cos(a) when the quadrant's arc
  // is stepped by the angle a from its start.
  int CosOfSin = 1;
  int SinOfCos = 1;
  TPoint3D MidY, Corner, MidX;
  // The middle surface: the round end's offset and the faces' corner it is
  // measured from (the corner before the sides moved).
  Extended RoundOffset = 0;
  TPoint3D FacesCorner;
};

// The exact surface of quadrant 1..4 as an array of n + 3 generator lines.
TSurf2PointArray exactSurfaceQuadrant(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                                      const TFaceOffsets& offsets = {});

}  // namespace fish
