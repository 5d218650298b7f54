// The transition surface of one quadrant as straight generator lines.
//
// A quadrant's surface is a plane triangle (Y-side midpoint, corner, first
// circle point), a cone with its apex at the corner over the quarter arc, and
// a plane triangle (corner, last circle point, X-side midpoint). With n
// divisions the array has n + 3 lines:
//   0          Y-side midpoint  -> circle at the arc start
//   1 .. n+1   corner           -> circle at arc start + (i-1) * (pi/2)/n
//   n+2        X-side midpoint  -> circle at the arc end
#pragma once

#include <cstdint>

#include "FishTypes.h"

namespace fish {

// A point of the rectangle (Z = 0). Codes run round it from the +X midpoint:
// 1 (b, 0), 2 (b, -a), 3 (0, -a), 4 (-b, -a), 5 (-b, 0), 6 (-b, a), 7 (0, a),
// 8 (b, a), with b = B/2 and a = A/2.
TPoint3D RectPoint(const TSystemParams& sp, int code);

// The point of the circle at angle t (radians from +X towards +Y). The
// direction cosines are rounded to three decimals first; every length of the
// development inherits that, so it must not be "improved".
TPoint3D CirclePoint(const TSystemParams& sp, Extended t);

// The starting box of a quadrant from its element 0: minima 0, maxima the
// larger of the two points' coordinates, each rounded to an integer.
TExtents3D InitSurfExtents(const TPoint3D& p, const TPoint3D& q);

// Refuses a number of divisions the engine cannot use: negative, or above
// kMaxDivisions. Zero is let through; it fails later as a division by zero.
// Whatever sizes memory by a count from a file checks it here first.
void checkDivisions(std::int32_t divisions);
void checkDivisions(const TProParams& pro);

// Refuses a record holding a NaN, an infinity or an unnormal: such a value can
// only come from a damaged file, and must not reach a printed number.
void checkSystemParams(const TSystemParams& sp);

// How many quadrant surfaces the engine has computed since the program
// started: every drawing, table and extent starts with one per quadrant, so
// the count tells how much work a user's action cost.
std::uint64_t surfaceComputations();

// Per quadrant: the rectangle point codes (RectPoint) of element 0's start
// (the Y-side midpoint), of the last element's start (the X-side midpoint)
// and of the corner; the arc's start and end angles; the direction in which
// the arc is stepped. ERangeError outside 1..4.
struct TQuadrantSetup {
  int FirstRect;
  int LastRect;
  int CornerRect;
  Extended StartAngle;
  Extended EndAngle;
  int StepSign;
};
TQuadrantSetup quadrantSetup(std::uint16_t quadrant);

// The surface of a quadrant exactly as CalcSurfQuadrant makes it, taken
// point by point instead of kept as an array: a caller that uses each arc
// point once and forgets it needs no memory growing with the divisions.
// Constructing checks the quadrant, the divisions and the records and counts
// one surface computation; begin() then works out the step, the two end lines
// and the corner, and the box of element 0, with the failures of
// CalcSurfQuadrant in the same order. An arc point is computed each time it is
// asked for, always with the same result.
class TSurfaceWalk {
 public:
  TSurfaceWalk(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant);
  void begin();

  const TSystemParams& params() const { return Sp; }
  std::size_t size() const { return Size; }           // n + 3 elements
  const TSurf2Point& first() const { return First; }  // element 0
  const TSurf2Point& last() const { return Last; }    // element n + 2
  const TPoint3D& corner() const { return Corner; }   // P1 of elements 1 .. n + 1
  const TExtents3D& firstBox() const { return Box; }  // InitSurfExtents of element 0
  // P2 of element i, 1 <= i <= n + 1: the circle at the arc start stepped
  // i - 1 times.
  TPoint3D arcPoint(std::size_t i) const;
  // arcPoint in two steps, for a caller that takes the cosines and sines of a
  // run of arc points first and makes the points afterwards: the angle of arc
  // point i, and the point made from that angle's cosine and sine (the only
  // step that can fail). The two together give arcPoint(i) to the bit.
  Extended arcAngle(std::size_t i) const;
  TPoint3D arcPointFrom(Extended cosT, Extended sinT) const;
  // The cosines and sines of arc points first .. first + count - 1, into
  // cosT and sinT: the maths library's part of a run of arc points, which
  // cannot fail.
  void arcDirections(std::size_t first, std::size_t count, Extended* cosT, Extended* sinT) const;

 private:
  const TSystemParams& Sp;
  TQuadrantSetup Setup;
  std::int32_t Divisions;
  std::size_t Size;
  Extended SignedStep = 0;
  TSurf2Point First, Last;
  TPoint3D Corner;
  TExtents3D Box;
};

// The generator lines of quadrant 1..4 and their bounding box.
void CalcSurfQuadrant(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant, TExtents3D& extents,
                      TSurf2PointArray& surf);

// The same from a walk not yet begun: begins it and writes its surface into
// `surf`, so that a caller walking the surface once more for its development
// computes (and counts) the surface once.
void surfaceInto(TSurfaceWalk& walk, TExtents3D& extents, TSurf2PointArray& surf);

}  // namespace fish
