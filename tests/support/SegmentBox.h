// Whether a drawn line runs through a text's box, for the tests that read a
// drawing back and look for names written over lines.
#pragma once

#include <algorithm>
#include <array>

namespace vintaler::test {

struct Box {
  double x0, y0, x1, y1;  // x0 < x1, y0 < y1
};

// True when some part of the segment a-b lies strictly inside the box.
inline bool crossesBox(double ax, double ay, double bx, double by, const Box& box) {
  double t0 = 0, t1 = 1;
  for (const auto& [from, d, lo, hi] :
       {std::array{ax, bx - ax, box.x0, box.x1}, std::array{ay, by - ay, box.y0, box.y1}}) {
    if (d == 0 && !(from > lo && from < hi)) return false;
    t0 = d == 0 ? t0 : std::max(t0, std::min((lo - from) / d, (hi - from) / d));
    t1 = d == 0 ? t1 : std::min(t1, std::max((lo - from) / d, (hi - from) / d));
  }
  return t0 < t1;
}

}  // namespace vintaler::test
