// Projects to try (the default first) and the exact surface worked out here.
#pragma once

#include <cmath>
#include <vector>

#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishSurface.h"
#include "fishApi/TestParams.h"

namespace fish::test {

struct Row {
  const char* name;
  TSystemParams sp;
};

inline std::vector<Row> rows() {
  return {{"default 100x100 R50 L50", params(100, 100, 50, 50)},
          {"offset 400x300 R100 L250 X1 60 Y1 -40", params(400, 300, 250, 100, 60, -40)},
          {"right cone over corner 1", params(100, 100, 80, 40, 50, 50)},
          {"hopper 2714x2689 R1345.26 L929.4 X1 843", params(2714, 2689, 929.4L, 1345.26L, 843)},
          {"duct 3200x3200 R1500 L1500", params(3200, 3200, 1500, 1500)},
          {"10 m 10000x8000 R4000 L6000 X1 1500 Y1 -1200", params(10000, 8000, 6000, 4000, 1500, -1200)}};
}

struct V3 {
  Extended x, y, z;
};
inline V3 minus(const TPoint3D& p, const TPoint3D& q) { return {p.X - q.X, p.Y - q.Y, p.Z - q.Z}; }
inline V3 cross(const V3& u, const V3& v) {
  return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}
inline Extended dot(const V3& u, const V3& v) { return u.x * v.x + u.y * v.y + u.z * v.z; }
inline Extended norm(const V3& v) { return std::sqrt(dot(v, v)); }
inline Extended dist(const TPoint3D& p, const TPoint3D& q) { return norm(minus(p, q)); }

// The circle point j steps (j may be fractional) from a quadrant's arc start.
inline TPoint3D circle(const TSystemParams& sp, const TQuadrantSetup& s, std::int32_t n, Extended j) {
  const Extended t = s.StartAngle + s.StepSign * j * (kPi_2 / n);
  return {sp.X1 + sp.R * std::cos(t), sp.Y1 + sp.R * std::sin(t), sp.L};
}

}  // namespace fish::test
