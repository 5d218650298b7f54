#include "Hull.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "fishApi/core/FishMath.h"

namespace fish {

namespace {

std::size_t nextOnHull(std::size_t at, std::size_t h) { return (at + 1) % h; }

Extended orient(const TPoint2D& a, const TPoint2D& b, const TPoint2D& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}

// The points that may be corners of the hull: all but those well inside the
// octagon of the points farthest out in eight directions (along and across
// the axes and the diagonals), which lies inside the hull. "Well inside" is
// by far more than the rounding of the turns that decide the hull, so that
// the hull of what is left is the same to the bit; a piece's outline of
// many arc points sheds most of them before they are sorted.
std::vector<TPoint2D> hullCandidates(const std::vector<TPoint2D>& points) {
  if (points.size() < 16) return points;
  // The farthest points counter-clockwise from the +X direction: along X,
  // X + Y, Y, Y - X, -X, -X - Y, -Y, X - Y (the first of any tie).
  std::array<std::size_t, 8> far{};
  std::array<Extended, 8> reach{};
  const auto ways = [](const TPoint2D& p) {
    const Extended sum = p.X + p.Y, difference = p.X - p.Y;
    return std::array<Extended, 8>{p.X, sum, p.Y, -difference, -p.X, -sum, -p.Y, difference};
  };
  reach = ways(points[0]);
  for (std::size_t i = 1; i < points.size(); ++i) {
    const std::array<Extended, 8> r = ways(points[i]);
    for (std::size_t w = 0; w < r.size(); ++w) {
      if (r[w] > reach[w]) {
        reach[w] = r[w];
        far[w] = i;
      }
    }
  }
  std::vector<TPoint2D> octagon;
  for (const std::size_t i : far) {
    const TPoint2D& p = points[i];
    if (octagon.empty() || p.X != octagon.back().X || p.Y != octagon.back().Y) octagon.push_back(p);
  }
  while (octagon.size() > 1 && octagon.back().X == octagon.front().X && octagon.back().Y == octagon.front().Y)
    octagon.pop_back();
  const TExtents2D box = boxOf(octagon);
  const Extended size = std::max(box.MaxX - box.MinX, box.MaxY - box.MinY);
  const Extended margin = size * size * 1E-9L;
  if (octagon.size() < 3 || !(margin > 0) || !std::isfinite(margin)) return points;
  std::vector<TPoint2D> kept;
  for (const TPoint2D& p : points) {
    bool inside = true;
    for (std::size_t i = 0, n = octagon.size(); i < n && inside; ++i)
      inside = orient(octagon[i], octagon[(i + 1) % n], p) > margin;
    if (!inside) kept.push_back(p);
  }
  return kept;
}

}  // namespace

TExtents2D boxOf(const std::vector<TPoint2D>& points) {
  TExtents2D box;
  if (points.empty()) return box;
  box = {points[0].X, points[0].X, points[0].Y, points[0].Y};
  for (const TPoint2D& p : points) {
    box.MinX = std::min(box.MinX, p.X);
    box.MaxX = std::max(box.MaxX, p.X);
    box.MinY = std::min(box.MinY, p.Y);
    box.MaxY = std::max(box.MaxY, p.Y);
  }
  return box;
}

std::vector<TPoint2D> convexHull(std::vector<TPoint2D> points) {
  std::sort(points.begin(), points.end(),
            [](const TPoint2D& a, const TPoint2D& b) { return a.X < b.X || (a.X == b.X && a.Y < b.Y); });
  if (points.size() < 3) return points;
  // The chain grows as far as it reaches, not to twice the points: a
  // piece's outline of many arc points has a hull of far fewer.
  std::vector<TPoint2D> hull;
  const auto push = [&hull](const TPoint2D& p, std::size_t least) {
    while (hull.size() >= least && orient(hull[hull.size() - 2], hull.back(), p) <= 0) hull.pop_back();
    hull.push_back(p);
  };
  for (std::size_t i = 0; i < points.size(); ++i) push(points[i], 2);
  for (std::size_t i = points.size() - 1, t = hull.size() + 1; i-- > 0;) push(points[i], t);
  hull.pop_back();
  return hull;
}

TBlank minimumBlank(const std::vector<TPoint2D>& points) {
  const std::vector<TPoint2D> hull = convexHull(hullCandidates(points));
  TBlank best;
  if (hull.empty()) return best;
  const TExtents2D box = boxOf(hull);
  best = {box.MaxX - box.MinX, box.MaxY - box.MinY, 0};
  const std::size_t h = hull.size();
  if (h < 3) return best;
  // For edge i along the unit u (and v = u turned a quarter), the extent
  // along u runs from the hull's least u . p to its greatest, across from 0
  // (the edge itself, the hull lying to its left) to the greatest v . p.
  const auto dot = [](const TPoint2D& p, Extended ux, Extended uy) { return p.X * ux + p.Y * uy; };
  // The three calipers only ever turn forwards round the hull; each is
  // stepped at most once round it an edge.
  const auto advance = [h](std::size_t& at, const auto& better) {
    for (std::size_t step = 0; step < h && better(nextOnHull(at, h), at); ++step) at = nextOnHull(at, h);
  };
  std::size_t far = 1, ahead = 1, behind = 1;
  for (std::size_t i = 0; i < h; ++i) {
    const TPoint2D& a = hull[i];
    const TPoint2D& b = hull[(i + 1) % h];
    const Extended len = std::hypot(b.X - a.X, b.Y - a.Y);
    if (!(len > 0)) continue;
    const Extended ux = (b.X - a.X) / len, uy = (b.Y - a.Y) / len;
    const Extended vx = -uy, vy = ux;
    advance(far, [&](std::size_t n, std::size_t at) { return dot(hull[n], vx, vy) >= dot(hull[at], vx, vy); });
    advance(ahead, [&](std::size_t n, std::size_t at) { return dot(hull[n], ux, uy) >= dot(hull[at], ux, uy); });
    if (i == 0) behind = far;
    advance(behind, [&](std::size_t n, std::size_t at) { return dot(hull[n], ux, uy) <= dot(hull[at], ux, uy); });
    const Extended width = dot(hull[ahead], ux, uy) - dot(hull[behind], ux, uy);
    const Extended height = dot(hull[far], vx, vy) - dot(a, vx, vy);
    if (width * height < best.Width * best.Height) {
      Extended angle = std::atan2(uy, ux) * 180 / kPi;
      if (angle > 90) angle -= 180;
      if (angle <= -90) angle += 180;
      best = {width, height, angle};
    }
  }
  return best;
}

}  // namespace fish
