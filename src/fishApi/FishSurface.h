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

// The generator lines of quadrant 1..4 and their bounding box.
void CalcSurfQuadrant(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant, TExtents3D& extents,
                      TSurf2PointArray& surf);

}  // namespace fish
