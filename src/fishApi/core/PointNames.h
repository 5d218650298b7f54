// The names the results tables, the drawings' labels, the figures and the
// JSON output give a quadrant's points. Quadrants 1 and 4 (the right half)
// and 2 and 3 (the left half) name them differently:
//
//   point                          right   left
//   the arc start                  T1      T1
//   the arc end                    T2      T7
//   the X-side midpoint            T3      T6
//   the corner                     T4      T5
//   intermediate arc point j       R(j-1)  L(j-1)
//   the development's origin       O       O   (the Y-side midpoint, no table row)
#pragma once

#include <cstdint>
#include <string>

namespace fish {

inline constexpr const char* kOriginName = "O";

// Arc point 1 .. n+1 of a quadrant with n divisions: the circle point of
// development element `arcPoint` (1 is T1, n+1 the arc end). ERangeError for a
// point or quadrant outside its range.
std::string arcPointName(int quadrant, std::int32_t divisions, std::int32_t arcPoint);
const char* arcEndName(int quadrant);        // T2 or T7
const char* sideMidpointName(int quadrant);  // T3 or T6
const char* cornerName(int quadrant);        // T4 or T5
const char* arcLetter(int quadrant);         // R or L

}  // namespace fish
