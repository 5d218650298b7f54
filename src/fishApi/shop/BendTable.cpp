#include "BendTable.h"

#include <cmath>

#include "fishApi/core/FishMath.h"

namespace fish {

namespace {

struct TVec {
  Extended X, Y, Z;
};

TVec minus(const TPoint3D& a, const TPoint3D& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
TVec cross(const TVec& u, const TVec& v) { return {u.Y * v.Z - u.Z * v.Y, u.Z * v.X - u.X * v.Z, u.X * v.Y - u.Y * v.X}; }
Extended dot(const TVec& u, const TVec& v) { return u.X * v.X + u.Y * v.Y + u.Z * v.Z; }
Extended norm(const TVec& v) { return std::sqrt(dot(v, v)); }

}  // namespace

Extended bendAngle(const TSurf2Point& before, const TSurf2Point& at, const TSurf2Point& after, bool first, bool last,
                   int& sense) {
  const TPoint3D& c = at.P1;
  const TVec edge = minus(at.P2, c);
  // The far vertices of the face before and of the face after.
  const TPoint3D& from = first ? before.P1 : before.P2;
  const TPoint3D& to = last ? after.P1 : after.P2;
  const TVec n1 = cross(edge, minus(from, c));
  const TVec n2 = cross(minus(to, c), edge);
  const TVec turn = cross(n1, n2);
  Extended angle = 0;
  if (norm(n1) > 0 && norm(n2) > 0) {
    angle = std::atan2(norm(turn), dot(n1, n2)) * (180 / kPi);
    const int way = dot(turn, edge) < 0 ? -1 : 1;
    if (sense == 0 && angle != 0) sense = way;
    if (way != sense) angle = -angle;
  }
  return checkFinite(angle);
}

std::vector<Extended> bendAngles(const TSurf2PointArray& s) {
  const std::size_t last = s.size() - 2;  // n + 1
  std::vector<Extended> angles;
  angles.reserve(last);
  int sense = 0;
  for (std::size_t k = 1; k <= last; ++k)
    angles.push_back(bendAngle(s[k - 1], s[k], s[k + 1], k == 1, k == last, sense));
  return angles;
}

}  // namespace fish
