#include "FishRazvertka.h"

#include <cmath>
#include <limits>

#include "FishErrors.h"
#include "FishMath.h"
#include "FishSurface.h"

namespace fish {

namespace {

// A point with its coordinates rounded to hundredths. Every length of the
// development is measured between such points; rounding each surface point
// once instead of once per length it takes part in saves most of the work.
// Rounding is pure and only ever fails as an invalid operation, and the points
// are rounded in the order of their first use, so the first failure is the
// same as if every length rounded its own ends.
struct Rounded {
  Extended X, Y, Z;
};

[[gnu::always_inline]] inline Rounded roundPoint(const TPoint3D& p) {
  Rounded r{p.X, p.Y, p.Z};
  Round2(r.X);
  Round2(r.Y);
  Round2(r.Z);
  return r;
}

[[gnu::always_inline]] inline Extended length(const Rounded& p, const Rounded& q) {
  const Extended dx = p.X - q.X;
  const Extended dy = p.Y - q.Y;
  const Extended dz = p.Z - q.Z;
  return squareRoot(dx * dx + dy * dy + dz * dz);
}

// The angle between sides `a` and `b` opposite side `c`, or 0 when a side is 0.
[[gnu::always_inline]] inline Extended angleBetween(Extended a, Extended b, Extended c) {
  if (a * b == 0) return 0;
  return arcCos(divide(a * a + b * b - c * c, 2 * a * b));
}

// The angle between sides `a` and `b` is not needed, only its failure: the
// same division and the same test of 1 - ratio^2 as angleBetween, without
// the arc tangent.
//
// A ratio well inside -1 .. 1 cannot fail either test: when the numerator's
// size is below the divisor's by far more than the rounding of either (both
// finite, the divisor positive), the division is skipped. Only a triangle
// close to flat, or values beyond the reals' range, take the division.
[[gnu::always_inline]] inline void checkAngle(Extended a, Extended b, Extended c) {
  if (a * b == 0) return;
  const Extended num = a * a + b * b - c * c;
  const Extended den = 2 * a * b;
  constexpr Extended kWellInside = 1 - 0x1p-32L;
  if (std::fabs(num) <= den * kWellInside && den < std::numeric_limits<Extended>::infinity()) return;
  const Extended ratio = divide(num, den);
  if (!(1 - ratio * ratio >= 0)) throw EInvalidOp();
}

// Which angles of a triangle a caller uses; the others are only checked.
enum TAngles : unsigned { kAngle1 = 1, kAngle2 = 2, kAngle0 = 4, kAllAngles = 7 };

TTriangle3D solveRounded(const TPoint3D& v0, const TPoint3D& v1, const TPoint3D& v2, const Rounded& r0,
                         const Rounded& r1, const Rounded& r2, unsigned needed = kAllAngles) {
  TTriangle3D t;
  t.V0 = v0;
  t.V1 = v1;
  t.V2 = v2;
  t.Side01 = length(r0, r1);
  t.Side12 = length(r1, r2);
  t.Side20 = length(r2, r0);
  const auto angle = [needed](unsigned which, Extended a, Extended b, Extended c) -> Extended {
    if (needed & which) return angleBetween(a, b, c);
    checkAngle(a, b, c);
    return 0;
  };
  t.Angle1 = angle(kAngle1, t.Side12, t.Side01, t.Side20);
  t.Angle2 = angle(kAngle2, t.Side12, t.Side20, t.Side01);
  t.Angle0 = angle(kAngle0, t.Side20, t.Side01, t.Side12);
  return t;
}

}  // namespace

Extended Distance3D(const TPoint3D& p, const TPoint3D& q) {
  const Rounded rp = roundPoint(p);
  return length(rp, roundPoint(q));
}

TTriangle3D SolveTriangle(const TPoint3D& v0, const TPoint3D& v1, const TPoint3D& v2) {
  const Rounded r0 = roundPoint(v0);
  const Rounded r1 = roundPoint(v1);
  return solveRounded(v0, v1, v2, r0, r1, roundPoint(v2));
}

namespace {

[[gnu::always_inline]] inline void widenMin(TPoint2D& m, const TPoint2D& p) {
  if (p.X < m.X) m.X = p.X;
  if (p.Y < m.Y) m.Y = p.Y;
}

[[gnu::always_inline]] inline void widenMax(TPoint2D& m, const TPoint2D& p) {
  if (p.X > m.X) m.X = p.X;
  if (p.Y > m.Y) m.Y = p.Y;
}

// The point at distance `len` from `from`, turned by theta from the direction
// in which the origin is seen from the corner's image (the -X direction for
// sX = +1), opening towards sY.
[[gnu::always_inline]] inline TPoint2D turned(Extended theta, int sX, int sY, Extended len, const TPoint2D& from) {
  const Extended turn = kPi - theta;
  return {std::cos(turn) * (sX * len) + from.X, std::sin(turn) * (sY * len) + from.Y};
}

}  // namespace

namespace {

// The signs of a quadrant's piece: towards +X or -X from the origin, opening
// towards +Y or -Y.
void signsOf(int quadrant, int& sX, int& sY) {
  switch (quadrant) {
    case 1:
      sX = +1;
      sY = +1;
      break;
    case 2:
      sX = -1;
      sY = +1;
      break;
    case 3:
      sX = -1;
      sY = -1;
      break;
    case 4:
      sX = +1;
      sY = -1;
      break;
    default: throw ERangeError();
  }
}

// A surface array read as the development reads it.
struct ArraySurface {
  const TSurf2PointArray& s;
  std::size_t size() const { return s.size(); }
  const TPoint3D& p1(std::size_t k) const { return s[k].P1; }
  const TPoint3D& p2(std::size_t k) const { return s[k].P2; }
};

// A surface walked point by point: every P1 from element 1 to n + 1 is the
// corner, and every P2 between the ends an arc point made when asked for.
struct WalkedSurface {
  const TSurfaceWalk& w;
  std::size_t size() const { return w.size(); }
  TPoint3D p1(std::size_t k) const {
    if (k == 0) return w.first().P1;
    return k + 1 == w.size() ? w.last().P1 : w.corner();
  }
  TPoint3D p2(std::size_t k) const {
    if (k == 0) return w.first().P2;
    return k + 1 == w.size() ? w.last().P2 : w.arcPoint(k);
  }
};

// The development of a surface of m + 1 >= 2 elements, each element handed to
// `put(k, element)` as soon as it is laid, k = 0, 1, 2 .. m - 1, m. The order
// of every computation, and so the first failure, is the same whatever the
// surface and whatever `put` does.
template <typename Surface, typename Put>
void developElements(const Surface& surf, int sX, int sY, const TSystemParams& sp, Put&& put) {
  const std::size_t m = surf.size() - 1;
  const TPoint3D corner = surf.p1(1);

  // First seam: the generator line from the Y-side midpoint. Its circle point
  // lies at X = X1 in space, so its image keeps X = X1 and takes the rest of
  // its length along Y.
  const TPoint3D midYPoint = surf.p1(0);
  const TPoint3D arcStartPoint = surf.p2(0);
  const Rounded midY = roundPoint(midYPoint);
  const Rounded arcStart = roundPoint(arcStartPoint);
  const Extended d0 = length(midY, arcStart);
  const Extended phi = sp.X1 != 0 ? arcSin(divide(sp.X1, d0)) : 0;
  const TRazvertka2Point seam{{0, 0}, {sp.X1, std::cos(phi) * (sY * d0)}};
  put(0, seam);

  // The plane triangle (corner, Y-side midpoint, first circle point) puts the
  // corner on the X axis at its distance from the midpoint.
  const Rounded cornerR = roundPoint(corner);
  TTriangle3D t = solveRounded(corner, midYPoint, arcStartPoint, cornerR, midY, arcStart, kAngle0);
  const TPoint2D cornerImage{sX * t.Side01, sY * seam.P1.Y};
  put(1, TRazvertka2Point{cornerImage, seam.P2});
  Extended theta = t.Angle0;

  // The cone: each step adds the angle at the corner between two neighbouring
  // generator lines and lays the new circle point at its true distance.
  if (m >= 3) {
    // Each triangle (corner, previous arc point, current arc point) shares
    // its side from the corner to the previous point with the triangle
    // before it, and only its angle at the corner is used; its other two
    // angles are checked for the failures they would raise, in the order
    // they were always computed.
    Rounded previous = roundPoint(surf.p2(1));
    Extended cornerToPrevious = t.Side20;
    for (std::size_t j = 2; j < m; ++j) {
      const Rounded current = roundPoint(surf.p2(j));
      const Extended chord = length(previous, current);
      const Extended cornerToCurrent = length(current, cornerR);
      checkAngle(chord, cornerToPrevious, cornerToCurrent);
      checkAngle(chord, cornerToCurrent, cornerToPrevious);
      theta += angleBetween(cornerToCurrent, cornerToPrevious, chord);
      put(j, TRazvertka2Point{cornerImage, turned(theta, sX, sY, cornerToCurrent, cornerImage)});
      previous = current;
      cornerToPrevious = cornerToCurrent;
    }
  }

  // The closing plane triangle (X-side midpoint, corner, last circle point)
  // turns the edge from the corner to the X-side midpoint into place. The
  // corner's image is element m - 1's, the origin when that is element 0.
  const TPoint3D midXPoint = surf.p1(m);
  const TPoint3D cornerAgainPoint = surf.p1(m - 1);
  const TPoint3D arcEndPoint = surf.p2(m);
  const Rounded midX = roundPoint(midXPoint);
  const Rounded cornerAgain = roundPoint(cornerAgainPoint);
  t = solveRounded(midXPoint, cornerAgainPoint, arcEndPoint, midX, cornerAgain, roundPoint(arcEndPoint), kAngle1);
  theta += t.Angle1;
  const TPoint2D from = m - 1 == 0 ? seam.P1 : cornerImage;
  put(m, TRazvertka2Point{from, turned(theta, sX, sY, t.Side01, from)});
}

[[gnu::always_inline]] inline void widen(TPoint2D& runMin, TPoint2D& runMax, const TRazvertka2Point& d) {
  widenMin(runMin, d.P1);
  widenMin(runMin, d.P2);
  widenMax(runMax, d.P1);
  widenMax(runMax, d.P2);
}

}  // namespace

void CalcRazvertkaQuadrant(const TSurf2PointArray& surf, int quadrant, const TSystemParams& sp, TPoint2D& runMin,
                           TPoint2D& runMax, TRazvertka2PointArray& razv) {
  int sX = 0;
  int sY = 0;
  signsOf(quadrant, sX, sY);
  if (!isUsableExtended(sp.X1)) throw EInvalidOp();

  razv.assign(surf.size(), TRazvertka2Point{});
  if (surf.size() < 2) return;
  // Each element widens the box as it is laid (in index order); the box is
  // handed over only once all of them were.
  TPoint2D min = runMin, max = runMax;
  developElements(ArraySurface{surf}, sX, sY, sp, [&](std::size_t k, const TRazvertka2Point& d) {
    razv[k] = d;
    widen(min, max, d);
  });
  runMin = min;
  runMax = max;
}

void developQuadrantElements(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                             const std::function<void(std::size_t, const TRazvertka2Point&)>& each, TPoint2D& min,
                             TPoint2D& max) {
  TSurfaceWalk walk(sp, pro, quadrant);
  walk.begin();
  int sX = 0;
  int sY = 0;
  signsOf(quadrant, sX, sY);
  if (!isUsableExtended(sp.X1)) throw EInvalidOp();
  // Widened as the elements come and handed over only once all of them did:
  // a failure leaves the caller's box as it was, as developQuadrant does.
  TPoint2D runMin{}, runMax{};
  developElements(WalkedSurface{walk}, sX, sY, sp, [&](std::size_t k, const TRazvertka2Point& d) {
    widen(runMin, runMax, d);
    each(k, d);
  });
  min = runMin;
  max = runMax;
}

TQuadrantDevelopment developQuadrant(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant) {
  TQuadrantDevelopment d;
  developQuadrantInto(sp, pro, quadrant, d);
  return d;
}

void developQuadrantInto(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                         TQuadrantDevelopment& into) {
  into.Min = TPoint2D{};
  into.Max = TPoint2D{};
  CalcSurfQuadrant(sp, pro, quadrant, into.SurfBox, into.Surf);
  CalcRazvertkaQuadrant(into.Surf, quadrant, sp, into.Min, into.Max, into.Razvertka);
}

void publishLast(TQuadrantDevelopment&& done) {
  LastSurf = std::move(done.Surf);
  LastRazvertka = std::move(done.Razvertka);
}

void publishLast(TSurf2PointArray&& surf) { LastSurf = std::move(surf); }

}  // namespace fish
