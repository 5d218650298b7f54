// Which input to change when a computation fails.
//
// The engine's failures are the processor's ("Invalid floating point
// operation", "Floating point division by zero", ...): they say what went
// wrong in the arithmetic, not which of the user's numbers caused it. The
// explanations here are worked out from the inputs alone, after the failure
// (or before computing): they never change what a computation does or says.
//
// The limits are the computation's own:
//  - every surface point is rounded to hundredths held in a 64-bit integer,
//    so no coordinate may reach (2^63 - 1/2) / 100, about 9.22E16: the
//    rectangle's half sides B/2 and A/2, the height L, and the circle's reach
//    |X1| + R and |Y1| + R;
//  - the development solves triangles between points rounded to 0.01: a
//    triangle whose height is of the order of that rounding while its sides
//    are long comes out with a cosine beyond 1 and cannot be laid out;
//  - a view maps its window to 32-bit pixels by the window's spans.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "FishTypes.h"
#include "Messages.h"

namespace fish {

// The inputs an explanation can blame: the transition's six sizes, the
// number of divisions and the six bounds of a drawing window.
enum class TInput { B, A, L, R, X1, Y1, Divisions, MinX, MaxX, MinY, MaxY, MinZ, MaxZ };

struct TExplanation {
  std::vector<TInput> Inputs;  // to change, the most to blame first
  TMessage Message;
  bool empty() const { return Message.empty(); }
};

// The largest coordinate a surface point may have: x * 100 must round into
// a signed 64-bit integer.
inline constexpr Extended kLargestCoordinate = 92233720368547758.0L;

// Why the transition (sp, pro) cannot be computed, or an empty explanation
// when every quadrant develops. Cheap checks come first; a failure they do
// not account for is found by developing the quadrants 1..4 once more and
// looking at the triangle where the development stopped. Numbers are written
// with `decimalSeparator`.
TExplanation explainParams(const TSystemParams& sp, const TProParams& pro, std::string_view decimalSeparator = ".");

// Why a drawing window (MinX, MaxX, MinY, MaxY, MinZ, MaxZ) cannot be scaled
// to a control of width x height pixels, in 3-D or in the plane; with
// `drawn`, also why the points of that box cannot be mapped to pixels. Empty
// when the window is usable.
TExplanation explainView(const std::array<Extended, 6>& bounds, bool threeD, std::int32_t width,
                         std::int32_t height, const TExtents2D* drawn = nullptr,
                         std::string_view decimalSeparator = ".");

// The input's name as the fields and options show it: "B", "X min", ...
const char* inputName(TInput input);

}  // namespace fish
