#include "FishRazvertka.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "FishErrors.h"
#include "FishMath.h"
#include "FishRuns.h"
#include "FishSurface.h"
#include "FishTriangle.h"

namespace fish {

using namespace triangle;

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

// The signs of a quadrant's piece: towards +X or -X from the origin, opening
// towards +Y or -Y.
void signsOf(int quadrant, int& sX, int& sY) {
  if (quadrant < 1 || quadrant > 4) throw ERangeError();
  sX = quadrant == 1 || quadrant == 4 ? +1 : -1;
  sY = quadrant <= 2 ? +1 : -1;
}

// A surface array read as the development reads it: any array of two
// elements or more, the engine's or one made by hand.
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
  Extended cosT[kRunLength] = {}, sinT[kRunLength] = {};
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
    w.arcDirections(first, count, cosT, sinT);
  }
  TPoint3D coneP2(std::size_t k) const { return w.arcPointFrom(cosT[k - runStart], sinT[k - runStart]); }
};

[[gnu::always_inline]] inline void widen(TPoint2D& min, TPoint2D& max, const TPoint2D& p) {
  if (p.X < min.X) min.X = p.X;
  if (p.Y < min.Y) min.Y = p.Y;
  if (p.X > max.X) max.X = p.X;
  if (p.Y > max.Y) max.Y = p.Y;
}

// The point at distance `len` from `from`, turned by theta from the direction
// in which the origin is seen from the corner's image (the -X direction for
// sX = +1), opening towards sY.
[[gnu::always_inline]] inline TPoint2D turned(Extended theta, int sX, int sY, Extended len, const TPoint2D& from) {
  const Extended turn = kPi - theta;
  return {std::cos(turn) * (sX * len) + from.X, std::sin(turn) * (sY * len) + from.Y};
}

// The cone as a fan of triangles round the corner: each has the corner and
// two neighbouring arc points, and shares its side from the corner with the
// one before it. A step measures the new side and the chord between the arc
// points, and the angle at the corner by the law of cosines; the triangle's
// other two angles are only checked for the failures they would raise, in the
// order they were always computed.
class ConeFan {
 public:
  ConeFan(const Rounded& corner, const TPoint3D& firstArcPoint, Extended cornerToFirst)
      : CornerR(corner), RawZ(firstArcPoint.Z), Previous(roundPoint(firstArcPoint)), CornerToPrevious(cornerToFirst) {
    const Extended dz = Previous.Z - CornerR.Z;
    CornerDzSquared = dz * dz;
  }

  // The next arc point: its side from the corner, and the angle at the
  // corner since the previous one as the arguments of its arc tangent
  // (arcCos), or `flat` when a side is 0 and the angle is 0.
  [[gnu::always_inline]] void next(const TPoint3D& point, Extended& side, Extended& cosine, Extended& root,
                                   bool& flat) {
    Rounded current;
    Extended chord, cornerToCurrent;
    if (RawZ.holds(point.Z)) {
      // Every arc point of a surface the engine made has the circle's Z. Bit
      // for bit the previous point's Z, it rounds as that one did; the
      // chord's Z part is then 0, whose square adds nothing to the sum, and
      // the side from the corner has the same Z part.
      current.X = rounded(point.X);
      current.Y = rounded(point.Y);
      current.Z = Previous.Z;
      const Extended dx = Previous.X - current.X;
      const Extended dy = Previous.Y - current.Y;
      chord = squareRoot(dx * dx + dy * dy);
      const Extended ex = current.X - CornerR.X;
      const Extended ey = current.Y - CornerR.Y;
      cornerToCurrent = squareRoot(ex * ex + ey * ey + CornerDzSquared);
    } else {
      current = roundPoint(point);
      RawZ = TBits(point.Z);
      chord = length(Previous, current);
      cornerToCurrent = length(current, CornerR);
      const Extended dz = current.Z - CornerR.Z;
      CornerDzSquared = dz * dz;
    }
    checkAngle(chord, CornerToPrevious, cornerToCurrent);
    checkAngle(chord, cornerToCurrent, CornerToPrevious);
    // angleBetween(cornerToCurrent, CornerToPrevious, chord), its arc
    // tangent left to the caller.
    flat = cornerToCurrent * CornerToPrevious == 0;
    if (!flat) {
      // cosineBetween without its checks: neither side is 0, and both are at
      // least a thousandth (they join points rounded to hundredths) and below
      // 4e17, so the ratio is finite.
      const Extended c = (cornerToCurrent * cornerToCurrent + CornerToPrevious * CornerToPrevious - chord * chord) /
                         (2 * cornerToCurrent * CornerToPrevious);
      root = squareRoot(1 - c * c);
      cosine = c;
    }
    side = cornerToCurrent;
    Previous = current;
    CornerToPrevious = cornerToCurrent;
  }

 private:
  const Rounded& CornerR;
  TBits RawZ;
  Rounded Previous;
  Extended CornerToPrevious;
  Extended CornerDzSquared;
};

// The development of a surface of m + 1 >= 2 elements: the one unfolding of
// the engine. Every element is handed to the sink as soon as it is laid, in
// the order k = 0, 1, 2 .. m: `sink.one(k, element)` for the seam (0), the
// corner's element (1) and the closing one (m), `sink.run(first, elements)`
// for each run of the cone's elements between them. [min, max] is widened by
// every point laid, in that order.
//
// The cone is laid in runs (FishRuns.h): first, for the whole run, the rounded
// points, the lengths and every check, up to the arguments of each element's
// arc tangent; then the arc tangents and the running angle; then the cosines
// and sines that lay the points. Only the first part can fail; the elements of
// a run made before a failure are laid and handed on before it is thrown.
template <typename Surface, typename Sink>
void developElements(Surface& surf, int sX, int sY, const TSystemParams& sp, Sink& sink, TPoint2D& min,
                     TPoint2D& max) {
  const auto one = [&](std::size_t k, const TRazvertka2Point& d) {
    widen(min, max, d.P1);
    widen(min, max, d.P2);
    sink.one(k, d);
  };
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
  one(0, seam);

  // The plane triangle (corner, Y-side midpoint, first circle point) puts the
  // corner on the X axis at its distance from the midpoint.
  const Rounded cornerR = roundPoint(corner);
  TSolved t = solveRounded(cornerR, midY, arcStart, kAngle0);
  const TPoint2D cornerImage{sX * t.Side01, sY * seam.P1.Y};
  one(1, TRazvertka2Point{cornerImage, seam.P2});
  Extended theta = t.Angle0;

  // The cone: each step adds the angle at the corner between two neighbouring
  // generator lines and lays the new circle point at its true distance.
  if (m >= 3) {
    ConeFan fan(cornerR, surf.p2(1), t.Side20);
    // Every cone element starts at the corner's image, written into the run's
    // slots once, as bytes (not value by value through the x87 unit). Element
    // 1 already widened the box by it, so only the ends can move the box.
    TRunBuffer<TRazvertka2Point> run;
    for (std::size_t k = 0; k < std::min(kRunLength, m - 2); ++k) {
      std::memcpy(&run[k].P1, &cornerImage, sizeof cornerImage);
    }
    // Per element of a run, as the fan measures it.
    Extended side[kRunLength], cosine[kRunLength], root[kRunLength];
    bool flat[kRunLength];
    std::size_t made = 0;
    const auto lay = [&](std::size_t first) {
      Extended thetaAt[kRunLength];
      for (std::size_t k = 0; k < made; ++k) {
        theta += flat[k] ? Extended(0) : std::atan2(root[k], cosine[k]);
        thetaAt[k] = theta;
      }
      for (std::size_t k = 0; k < made; ++k) run[k].P2 = turned(thetaAt[k], sX, sY, side[k], cornerImage);
      run.setSize(made);
      TPoint2D lo = min, hi = max;
      for (const TRazvertka2Point& d : run) widen(lo, hi, d.P2);
      min = lo;
      max = hi;
      sink.run(first, run);
    };
    for (std::size_t first = 2; first < m; first += made) {
      const std::size_t count = std::min(kRunLength, m - first);
      surf.prepareCone(first, count);
      made = 0;
      try {
        for (; made < count; ++made) {
          fan.next(surf.coneP2(first + made), side[made], cosine[made], root[made], flat[made]);
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
  one(m, TRazvertka2Point{from, turned(theta, sX, sY, t.Side01, from)});
}

// Appends the development to an array.
struct ArraySink {
  TRazvertka2PointArray& razv;
  void one(std::size_t, const TRazvertka2Point& d) { razv.push_back(d); }
  void run(std::size_t, const TRunBuffer<TRazvertka2Point>& r) { razv.insert(razv.end(), r.begin(), r.end()); }
};

// Hands every element on as it comes.
struct EachSink {
  const std::function<void(std::size_t, const TRazvertka2Point&)>& each;
  void one(std::size_t k, const TRazvertka2Point& d) { each(k, d); }
  void run(std::size_t first, const TRunBuffer<TRazvertka2Point>& r) {
    for (const TRazvertka2Point& d : r) each(first++, d);
  }
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
  // The box is handed over only once every element was laid.
  TPoint2D min = runMin, max = runMax;
  ArraySink sink{razv};
  ArraySurface from{surf};
  try {
    developElements(from, sX, sY, sp, sink, min, max);
  } catch (...) {
    razv.resize(surf.size());
    throw;
  }
  runMin = min;
  runMax = max;
}

void developQuadrantElements(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                             const std::function<void(std::size_t, const TRazvertka2Point&)>& each, TPoint2D& min,
                             TPoint2D& max, TSurf2PointArray* surface) {
  TSurfaceWalk walk(sp, pro, quadrant);
  // With the surface wanted whole, it is made first and the development
  // reads it from there: its arc points are not computed twice.
  TExtents3D box;
  if (surface) {
    surfaceInto(walk, box, *surface);
  } else {
    walk.begin();
  }
  int sX = 0;
  int sY = 0;
  signsOf(quadrant, sX, sY);
  if (!isUsableExtended(sp.X1)) throw EInvalidOp();
  // Widened from the origin as the elements come and handed over only once
  // all of them did: a failure leaves the caller's box as it was, as
  // developQuadrant does.
  TPoint2D lo{}, hi{};
  EachSink sink{each};
  if (surface) {
    ArraySurface from{*surface};
    developElements(from, sX, sY, sp, sink, lo, hi);
  } else {
    WalkedSurface from{walk, {}, {}, 0};
    developElements(from, sX, sY, sp, sink, lo, hi);
  }
  min = lo;
  max = hi;
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
