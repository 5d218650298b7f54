// The floors' development: what a bare program computes per outline point of
// the default project (a 100 x 100 square, R 50, L 50), making the library
// calls the engine makes — the circle point's cosine and sine, the square
// roots of the chord, of the side from the corner and of 1 - ratio^2, the arc
// tangent of the angle at the corner, the cosine and sine that lay the point
// flat — on arguments of the engine's ranges (the circle's angles of each
// quadrant, the turns from the first triangle's angle on; a sine or cosine
// costs more the larger its argument). Shared by every bare writer, so that
// they all stand on the same floor.
#pragma once

#include <cmath>
#include <vector>

namespace bare {

// Does nothing to a circle point.
struct AsItIs {
  void operator()(long, long double&, long double&) const {}
};

// Calls each(j, x, y) for j = 0 .. last with quadrant q's point laid flat
// (in the first quadrant's frame: the caller mirrors it); circle(j, x, y)
// is shown each circle point first and may change it (round it, keep it).
template <class Each, class Circle = AsItIs>
void develop(int q, long n, long last, Each&& each, Circle&& circle = {}) {
  const long double R = 50, L = 50, half = 50, quarter = std::acos(-1.0L) / 2;
  // The development starts turned by the angle at the corner of the first
  // plane triangle (a quarter turn halved, for this square section).
  long double theta = quarter / 2, px = R, py = 0, previousSide = sqrtl((R - half) * (R - half) + half * half + L * L);
  for (long j = 0; j <= last; ++j) {
    // The circle's angles as the engine walks each quadrant: from a quarter
    // turn (quadrants 1, 2) or three (3, 4), down or up.
    const long double step = quarter * static_cast<long double>(j) / static_cast<long double>(n);
    const long double t = (q <= 2 ? quarter : 3 * quarter) + (q % 2 == 1 ? -step : step);
    long double x = R * cosl(t), y = R * sinl(t);
    circle(j, x, y);
    const long double chord = sqrtl((x - px) * (x - px) + (y - py) * (y - py));
    const long double side = sqrtl((x - half) * (x - half) + (y - half) * (y - half) + L * L);
    // The angle at the corner between neighbouring generator lines, by the
    // law of cosines in the arc tangent form, then the point laid flat.
    const long double ratio = (side * side + previousSide * previousSide - chord * chord) / (2 * side * previousSide);
    theta += atan2l(sqrtl(1 - ratio * ratio), ratio);
    const long double turn = quarter * 2 - theta;
    each(j, cosl(turn) * side + half, sinl(turn) * side);
    px = x;
    py = y;
    previousSide = side;
  }
}

struct Point {
  double X, Y;
};

// Quadrant q laid flat and kept, n + 3 points, mirrored into its own frame.
inline std::vector<Point> developed(int q, long n) {
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(n) + 3);
  const double sx = q == 2 || q == 3 ? -1 : 1, sy = q >= 3 ? -1 : 1;
  develop(q, n, n + 2, [&](long, long double x, long double y) {
    points.push_back({sx * static_cast<double>(x), sy * static_cast<double>(y)});
  });
  return points;
}

}  // namespace bare
