// Whether a drawn line runs through a text's box, for the tests that read a
// drawing back and look for names written over lines.
#pragma once

#include <algorithm>

namespace vintaler::test {

struct Box {
  double x0, y0, x1, y1;  // x0 < x1, y0 < y1
};

// True when some part of the segment a-b lies strictly inside the box: a
// segment that only touches its border does not cross it.
inline bool crossesBox(double ax, double ay, double bx, double by, const Box& box) {
  double t0 = 0, t1 = 1;
  const double d[2] = {bx - ax, by - ay};
  const double from[2] = {ax, ay};
  const double lo[2] = {box.x0, box.y0};
  const double hi[2] = {box.x1, box.y1};
  for (int k = 0; k < 2; ++k) {
    if (d[k] == 0) {
      if (!(from[k] > lo[k] && from[k] < hi[k])) return false;
      continue;
    }
    const double enter = (lo[k] - from[k]) / d[k], leave = (hi[k] - from[k]) / d[k];
    t0 = std::max(t0, std::min(enter, leave));
    t1 = std::min(t1, std::max(enter, leave));
  }
  return t0 < t1;
}

}  // namespace vintaler::test
