#include "FishRazvertka.h"

#include <cmath>

#include "FishErrors.h"
#include "FishMath.h"

namespace fish {

Extended Distance3D(const TPoint3D& p, const TPoint3D& q) {
  Extended px = p.X, py = p.Y, pz = p.Z;
  Extended qx = q.X, qy = q.Y, qz = q.Z;
  Round2(px);
  Round2(py);
  Round2(pz);
  Round2(qx);
  Round2(qy);
  Round2(qz);
  const Extended dx = px - qx;
  const Extended dy = py - qy;
  const Extended dz = pz - qz;
  return SquareRoot(dx * dx + dy * dy + dz * dz);
}

namespace {

// The angle between sides `a` and `b` opposite side `c`, or 0 when a side is 0.
Extended AngleBetween(Extended a, Extended b, Extended c) {
  if (a * b == 0) return 0;
  return ArcCos(Divide(a * a + b * b - c * c, 2 * a * b));
}

}  // namespace

TTriangle3D SolveTriangle(const TPoint3D& v0, const TPoint3D& v1, const TPoint3D& v2) {
  TTriangle3D t;
  t.V0 = v0;
  t.V1 = v1;
  t.V2 = v2;
  t.Side01 = Distance3D(v0, v1);
  t.Side12 = Distance3D(v1, v2);
  t.Side20 = Distance3D(v2, v0);
  t.Angle1 = AngleBetween(t.Side12, t.Side01, t.Side20);
  t.Angle2 = AngleBetween(t.Side12, t.Side20, t.Side01);
  t.Angle0 = AngleBetween(t.Side20, t.Side01, t.Side12);
  return t;
}

namespace {

void WidenMin(TPoint2D& m, const TPoint2D& p) {
  if (p.X < m.X) m.X = p.X;
  if (p.Y < m.Y) m.Y = p.Y;
}

void WidenMax(TPoint2D& m, const TPoint2D& p) {
  if (p.X > m.X) m.X = p.X;
  if (p.Y > m.Y) m.Y = p.Y;
}

// The point at distance `len` from `from`, turned by theta from the direction
// in which the origin is seen from the corner's image (the -X direction for
// sX = +1), opening towards sY.
TPoint2D Turned(Extended theta, int sX, int sY, Extended len, const TPoint2D& from) {
  const Extended turn = kPi - theta;
  return {std::cos(turn) * (sX * len) + from.X, std::sin(turn) * (sY * len) + from.Y};
}

}  // namespace

void CalcRazvertkaQuadrant(const TSurf2PointArray& surf, int quadrant, const TSystemParams& sp,
                           TPoint2D& runMin, TPoint2D& runMax, TRazvertka2PointArray& razv) {
  int sX = 0;
  int sY = 0;
  switch (quadrant) {
    case 1: sX = +1; sY = +1; break;
    case 2: sX = -1; sY = +1; break;
    case 3: sX = -1; sY = -1; break;
    case 4: sX = +1; sY = -1; break;
    default: throw ERangeError();
  }
  if (!IsUsableExtended(sp.X1)) throw EInvalidOp();

  razv.assign(surf.size(), TRazvertka2Point{});
  if (surf.size() < 2) return;
  const std::size_t m = surf.size() - 1;
  const TPoint3D& corner = surf[1].P1;

  // First seam: the generator line from the Y-side midpoint. Its circle point
  // lies at X = X1 in space, so its image keeps X = X1 and takes the rest of
  // its length along Y.
  const Extended d0 = Distance3D(surf[0].P1, surf[0].P2);
  const Extended phi = sp.X1 != 0 ? ArcSin(Divide(sp.X1, d0)) : 0;
  razv[0].P1 = {0, 0};
  razv[0].P2 = {sp.X1, std::cos(phi) * (sY * d0)};

  // The plane triangle (corner, Y-side midpoint, first circle point) puts the
  // corner on the X axis at its distance from the midpoint.
  TTriangle3D t = SolveTriangle(corner, surf[0].P1, surf[0].P2);
  razv[1].P1 = {sX * t.Side01, sY * razv[0].P1.Y};
  razv[1].P2 = razv[0].P2;
  Extended theta = t.Angle0;

  // The cone: each step adds the angle at the corner between two neighbouring
  // generator lines and lays the new circle point at its true distance.
  for (std::size_t j = 2; j + 1 <= m && surf.size() >= 4; ++j) {
    t = SolveTriangle(corner, surf[j - 1].P2, surf[j].P2);
    theta += t.Angle0;
    razv[j].P1 = razv[1].P1;
    razv[j].P2 = Turned(theta, sX, sY, t.Side20, razv[1].P1);
  }

  // The closing plane triangle (X-side midpoint, corner, last circle point)
  // turns the edge from the corner to the X-side midpoint into place.
  t = SolveTriangle(surf[m].P1, surf[m - 1].P1, surf[m].P2);
  theta += t.Angle1;
  razv[m].P1 = razv[m - 1].P1;
  razv[m].P2 = Turned(theta, sX, sY, t.Side01, razv[m - 1].P1);

  for (const TRazvertka2Point& d : razv) {
    WidenMin(runMin, d.P1);
    WidenMin(runMin, d.P2);
    WidenMax(runMax, d.P1);
    WidenMax(runMax, d.P2);
  }
}

}  // namespace fish
