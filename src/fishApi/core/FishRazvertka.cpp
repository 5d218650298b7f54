#include "FishRazvertka.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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

// The ten bytes of an extended real, compared in the integer unit.
struct TBits {
  std::uint64_t Significand = 0;
  std::uint16_t SignExponent = 0;
  explicit TBits(const Extended& x) {
    std::memcpy(&Significand, &x, sizeof Significand);
    std::memcpy(&SignExponent, reinterpret_cast<const unsigned char*>(&x) + sizeof Significand, sizeof SignExponent);
  }
  bool holds(const Extended& x) const {
    const TBits other(x);
    return other.Significand == Significand && other.SignExponent == SignExponent;
  }
};

[[gnu::always_inline]] inline Extended rounded(Extended x) {
  Round2(x);
  return x;
}

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

// The cosine of the angle between sides `a` and `b` opposite side `c` (law of
// cosines); neither side may be 0.
[[gnu::always_inline]] inline Extended cosineBetween(Extended a, Extended b, Extended c) {
  return divide(a * a + b * b - c * c, 2 * a * b);
}

// The angle between sides `a` and `b` opposite side `c`, or 0 when a side is 0.
[[gnu::always_inline]] inline Extended angleBetween(Extended a, Extended b, Extended c) {
  if (a * b == 0) return 0;
  return arcCos(cosineBetween(a, b, c));
}

// The angle between sides `a` and `b` is not needed, only its failure: the
// same division and the same test of 1 - ratio^2 as angleBetween, without
// the arc tangent.
//
// A ratio well inside -1 .. 1 cannot fail either test: when the numerator's
// size is below the divisor's by far more than the rounding of either (the
// divisor positive), the division is skipped. Only a triangle close to flat
// takes the division. Every side is measured between points rounded to
// hundredths, whose coordinates fit 64 bits as hundredths: a side is below
// 4e17 and the divisor below 4e35, never infinite or NaN.
[[gnu::always_inline]] inline void checkAngle(Extended a, Extended b, Extended c) {
  if (a * b == 0) return;
  const Extended num = a * a + b * b - c * c;
  const Extended den = 2 * a * b;
  constexpr Extended kWellInside = 1 - 0x1p-32L;
  if (std::fabs(num) <= den * kWellInside) return;
  const Extended ratio = divide(num, den);
  if (!(1 - ratio * ratio >= 0)) throw EInvalidOp();
}

// Which angles of a triangle a caller uses; the others are only checked.
enum TAngles : unsigned { kAngle1 = 1, kAngle2 = 2, kAngle0 = 4, kAllAngles = 7 };

// A triangle's sides and angles, as TTriangle3D holds them, without its
// corners: the development reads only these, and copies nothing else.
struct TSolved {
  Extended Side20, Side01, Side12;
  Extended Angle1, Angle2, Angle0;
};

TSolved solveRounded(const Rounded& r0, const Rounded& r1, const Rounded& r2, unsigned needed = kAllAngles) {
  TSolved t;
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
  const TSolved s = solveRounded(r0, r1, roundPoint(v2));
  return {v0, v1, v2, s.Side20, s.Side01, s.Side12, s.Angle1, s.Angle2, s.Angle0};
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

// The cone is laid in runs of this many elements: first, for the whole run,
// the rounded points, the lengths and every check, up to the arguments of
// each element's arc tangent; then the arc tangents and the running angle;
// then the cosines and sines that lay the points. No extended value survives
// a call into the maths library in the x87 registers, so a loop with both
// calls in every element stores and reloads everything it carries (the
// previous point, the corner, the lengths, the box) twice per element; here
// the calls come in loops that carry only the running angle. Only the first
// part can fail, and it runs in element order, so the first failure is the
// same; the elements of a run made before it are laid before it is thrown, so
// what was handed over before a failure is the same too.
constexpr std::size_t kConeRun = 32;

// A surface array read as the development reads it.
struct ArraySurface {
  const TSurf2PointArray& s;
  std::size_t size() const { return s.size(); }
  const TPoint3D& p1(std::size_t k) const { return s[k].P1; }
  const TPoint3D& p2(std::size_t k) const { return s[k].P2; }
  void prepareCone(std::size_t, std::size_t) {}
  const TPoint3D& coneP2(std::size_t k) const { return s[k].P2; }
};

// A surface walked point by point: every P1 from element 1 to n + 1 is the
// corner, and every P2 between the ends an arc point made when asked for. The
// cone's arc points take their cosines and sines a run at a time.
struct WalkedSurface {
  const TSurfaceWalk& w;
  Extended cosT[kConeRun] = {}, sinT[kConeRun] = {};
  std::size_t runStart = 0;
  std::size_t size() const { return w.size(); }
  TPoint3D p1(std::size_t k) const {
    if (k == 0) return w.first().P1;
    return k + 1 == w.size() ? w.last().P1 : w.corner();
  }
  TPoint3D p2(std::size_t k) const {
    if (k == 0) return w.first().P2;
    return k + 1 == w.size() ? w.last().P2 : w.arcPoint(k);
  }
  void prepareCone(std::size_t first, std::size_t count) {
    runStart = first;
    for (std::size_t k = 0; k < count; ++k) {
      const Extended t = w.arcAngle(first + k);
      cosT[k] = std::cos(t);
      sinT[k] = std::sin(t);
    }
  }
  TPoint3D coneP2(std::size_t k) const { return w.arcPointFrom(cosT[k - runStart], sinT[k - runStart]); }
};

// The development of a surface of m + 1 >= 2 elements, each element handed to
// the sink as soon as it is laid, k = 0, 1, 2 .. m - 1, m: `one(k, element)`
// for the seam (0), the corner's element (1) and the closing one (m);
// `coneFrom(start, count)` once, then `cone(k, end)` for each of the count
// elements of the cone, which all start at the corner's image, and
// `coneRunDone()` after each run of them.
// The order of every computation, and so the first failure, is the same
// whatever the surface and whatever the sink does.
template <typename Surface, typename Sink>
void developElements(Surface& surf, int sX, int sY, const TSystemParams& sp, Sink& sink) {
  const std::size_t m = surf.size() - 1;
  // The surface's points are only read (and rounded), never copied.
  const TPoint3D& corner = surf.p1(1);

  // First seam: the generator line from the Y-side midpoint. Its circle point
  // lies at X = X1 in space, so its image keeps X = X1 and takes the rest of
  // its length along Y.
  const Rounded midY = roundPoint(surf.p1(0));
  const Rounded arcStart = roundPoint(surf.p2(0));
  const Extended d0 = length(midY, arcStart);
  const Extended phi = sp.X1 != 0 ? arcSin(divide(sp.X1, d0)) : 0;
  const TRazvertka2Point seam{{0, 0}, {sp.X1, std::cos(phi) * (sY * d0)}};
  sink.one(0, seam);

  // The plane triangle (corner, Y-side midpoint, first circle point) puts the
  // corner on the X axis at its distance from the midpoint.
  const Rounded cornerR = roundPoint(corner);
  TSolved t = solveRounded(cornerR, midY, arcStart, kAngle0);
  const TPoint2D cornerImage{sX * t.Side01, sY * seam.P1.Y};
  sink.one(1, TRazvertka2Point{cornerImage, seam.P2});
  Extended theta = t.Angle0;

  // The cone: each step adds the angle at the corner between two neighbouring
  // generator lines and lays the new circle point at its true distance.
  if (m >= 3) {
    // Each triangle (corner, previous arc point, current arc point) shares
    // its side from the corner to the previous point with the triangle
    // before it, and only its angle at the corner is used; its other two
    // angles are checked for the failures they would raise, in the order
    // they were always computed.
    TBits rawZ(surf.p2(1).Z);
    Rounded previous = roundPoint(surf.p2(1));
    const Extended previousDz = previous.Z - cornerR.Z;
    Extended cornerDzSquared = previousDz * previousDz;
    Extended cornerToPrevious = t.Side20;
    sink.coneFrom(cornerImage, m - 2);
    // Per element of a run: the side from the corner, and the angle at the
    // corner as the arguments of its arc tangent (arcCos), or `flat` when a
    // side is 0 and the angle is 0.
    Extended side[kConeRun], cosine[kConeRun], root[kConeRun];
    bool flat[kConeRun];
    std::size_t made = 0;
    const auto lay = [&](std::size_t first) {
      Extended thetaAt[kConeRun];
      for (std::size_t k = 0; k < made; ++k) {
        theta += flat[k] ? Extended(0) : std::atan2(root[k], cosine[k]);
        thetaAt[k] = theta;
      }
      for (std::size_t k = 0; k < made; ++k) sink.cone(first + k, turned(thetaAt[k], sX, sY, side[k], cornerImage));
      sink.coneRunDone();
    };
    for (std::size_t first = 2; first < m; first += made) {
      const std::size_t count = std::min(kConeRun, m - first);
      surf.prepareCone(first, count);
      made = 0;
      try {
        for (; made < count; ++made) {
          const TPoint3D& point = surf.coneP2(first + made);
          Rounded current;
          Extended chord, cornerToCurrent;
          if (rawZ.holds(point.Z)) {
            // Every arc point of a surface the engine made has the circle's
            // Z. Bit for bit the previous point's Z, it rounds as that one
            // did; the chord's Z part is then 0, whose square adds nothing
            // to the sum, and the side from the corner has the same Z part.
            current.X = rounded(point.X);
            current.Y = rounded(point.Y);
            current.Z = previous.Z;
            const Extended dx = previous.X - current.X;
            const Extended dy = previous.Y - current.Y;
            chord = squareRoot(dx * dx + dy * dy);
            const Extended ex = current.X - cornerR.X;
            const Extended ey = current.Y - cornerR.Y;
            cornerToCurrent = squareRoot(ex * ex + ey * ey + cornerDzSquared);
          } else {
            current = roundPoint(point);
            rawZ = TBits(point.Z);
            chord = length(previous, current);
            cornerToCurrent = length(current, cornerR);
            const Extended dz = current.Z - cornerR.Z;
            cornerDzSquared = dz * dz;
          }
          checkAngle(chord, cornerToPrevious, cornerToCurrent);
          checkAngle(chord, cornerToCurrent, cornerToPrevious);
          // angleBetween(cornerToCurrent, cornerToPrevious, chord), its arc
          // tangent left for later.
          flat[made] = cornerToCurrent * cornerToPrevious == 0;
          if (!flat[made]) {
            // cosineBetween without its checks: neither side is 0, and both
            // are at least a thousandth (they join points rounded to
            // hundredths) and below 4e17, so the ratio is finite.
            const Extended c =
                (cornerToCurrent * cornerToCurrent + cornerToPrevious * cornerToPrevious - chord * chord) /
                (2 * cornerToCurrent * cornerToPrevious);
            root[made] = squareRoot(1 - c * c);
            cosine[made] = c;
          }
          side[made] = cornerToCurrent;
          previous = current;
          cornerToPrevious = cornerToCurrent;
        }
      } catch (...) {
        lay(first);
        throw;
      }
      lay(first);
    }
  }

  // The closing plane triangle (X-side midpoint, corner, last circle point)
  // turns the edge from the corner to the X-side midpoint into place. The
  // corner's image is element m - 1's, the origin when that is element 0.
  const Rounded midX = roundPoint(surf.p1(m));
  const Rounded cornerAgain = roundPoint(surf.p1(m - 1));
  t = solveRounded(midX, cornerAgain, roundPoint(surf.p2(m)), kAngle1);
  theta += t.Angle1;
  const TPoint2D from = m - 1 == 0 ? seam.P1 : cornerImage;
  sink.one(m, TRazvertka2Point{from, turned(theta, sX, sY, t.Side01, from)});
}

[[gnu::always_inline]] inline void widen(TPoint2D& runMin, TPoint2D& runMax, const TRazvertka2Point& d) {
  widenMin(runMin, d.P1);
  widenMin(runMin, d.P2);
  widenMax(runMax, d.P1);
  widenMax(runMax, d.P2);
}

// Appends the development to an array and widens a box by it. The cone's
// elements are made a run at a time, in a buffer kept by each thread (a local
// array would be zero-filled at every call), and appended together, copied as
// bytes. Every cone element starts at the corner's image, which element 1
// already widened the box by; it can no longer move the box, so only the ends
// are compared.
struct ArraySink {
  TRazvertka2PointArray& razv;
  TPoint2D min, max;
  TRazvertka2Point* run = runBuffer();
  std::size_t inRun = 0;
  static TRazvertka2Point* runBuffer() {
    static thread_local TRazvertka2Point buffer[kConeRun];
    return buffer;
  }
  void one(std::size_t, const TRazvertka2Point& d) {
    razv.push_back(d);
    widen(min, max, d);
  }
  void coneFrom(const TPoint2D& start, std::size_t count) {
    // Copied as bytes, not value by value through the x87 unit.
    for (std::size_t k = 0; k < std::min(kConeRun, count); ++k) std::memcpy(&run[k].P1, &start, sizeof start);
  }
  void cone(std::size_t, const TPoint2D& end) { run[inRun++].P2 = end; }
  void coneRunDone() {
    TPoint2D lo = min, hi = max;
    for (std::size_t k = 0; k < inRun; ++k) {
      widenMin(lo, run[k].P2);
      widenMax(hi, run[k].P2);
    }
    min = lo;
    max = hi;
    razv.insert(razv.end(), run, run + inRun);
    inRun = 0;
  }
};

// Hands every element on as it comes, widening a box from the origin.
struct EachSink {
  const std::function<void(std::size_t, const TRazvertka2Point&)>& each;
  TPoint2D min{}, max{};
  TPoint2D coneStart{};
  void one(std::size_t k, const TRazvertka2Point& d) {
    widen(min, max, d);
    each(k, d);
  }
  void coneFrom(const TPoint2D& start, std::size_t) { coneStart = start; }
  void cone(std::size_t k, const TPoint2D& end) { one(k, TRazvertka2Point{coneStart, end}); }
  void coneRunDone() {}
};

}  // namespace

void CalcRazvertkaQuadrant(const TSurf2PointArray& surf, int quadrant, const TSystemParams& sp, TPoint2D& runMin,
                           TPoint2D& runMax, TRazvertka2PointArray& razv) {
  int sX = 0;
  int sY = 0;
  signsOf(quadrant, sX, sY);
  if (!isUsableExtended(sp.X1)) throw EInvalidOp();

  // Each element is written once, in order, not over a zero fill; a failure
  // leaves the array as a zero-filled one written up to the failure would be.
  razv.clear();
  razv.reserve(surf.size());
  if (surf.size() < 2) {
    razv.resize(surf.size());
    return;
  }
  // Each element widens the box as it is laid (in index order); the box is
  // handed over only once all of them were.
  ArraySink sink{razv, runMin, runMax};
  ArraySurface from{surf};
  try {
    developElements(from, sX, sY, sp, sink);
  } catch (...) {
    razv.resize(surf.size());
    throw;
  }
  runMin = sink.min;
  runMax = sink.max;
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
  EachSink sink{each, {}, {}, {}};
  WalkedSurface from{walk, {}, {}, 0};
  developElements(from, sX, sY, sp, sink);
  min = sink.min;
  max = sink.max;
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
