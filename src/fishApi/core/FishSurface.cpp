#include "FishSurface.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <iterator>

#include "FishErrors.h"
#include "FishMath.h"
#include "FishRuns.h"

namespace fish {

TPoint3D RectPoint(const TSystemParams& sp, int code) {
  const Extended b = sp.B * 0.5L;
  const Extended a = sp.A * 0.5L;
  switch (code) {
    case 1: return {b, 0, 0};
    case 2: return {b, -a, 0};
    case 3: return {0, -a, 0};
    case 4: return {-b, -a, 0};
    case 5: return {-b, 0, 0};
    case 6: return {-b, a, 0};
    case 7: return {0, a, 0};
    case 8: return {b, a, 0};
    default: throw ERangeError();
  }
}

namespace {

// The circle point whose direction has cosine cosT and sine sinT: both are
// rounded to thousandths, then scaled by R and moved to the circle's centre.
[[gnu::always_inline]] inline TPoint3D pointFromDirection(const TSystemParams& sp, Extended cosT, Extended sinT) {
  const Extended cx = roundedInteger(cosT * 1000);
  const Extended sy = roundedInteger(sinT * 1000);
  TPoint3D p;
  p.X = checkFinite((cx * sp.R) * kThousandth + sp.X1);
  p.Y = checkFinite((sy * sp.R) * kThousandth + sp.Y1);
  p.Z = sp.L;
  return p;
}

[[gnu::always_inline]] inline TPoint3D circlePoint(const TSystemParams& sp, Extended t) {
  return pointFromDirection(sp, std::cos(t), std::sin(t));
}

}  // namespace

TPoint3D CirclePoint(const TSystemParams& sp, Extended t) { return circlePoint(sp, t); }

namespace {

// The circle point at an end of a quadrant's arc. Its angle is one of five
// constants, whose cosines and sines are taken once and kept: the same
// values the library gives each time, without reducing pi/2 .. 2 pi again
// for every quadrant (at a few divisions most of a development's set-up).
TPoint3D arcEndPoint(const TSystemParams& sp, Extended t) {
  static constexpr Extended kEnds[] = {0, kPi_2, kPi, kPi3_2, kPi2};
  struct TEnds {
    Extended Cos[std::size(kEnds)];
    Extended Sin[std::size(kEnds)];
  };
  static const TEnds ends = [] {
    TEnds e{};
    for (std::size_t i = 0; i < std::size(kEnds); ++i) {
      // Through a volatile, so that the compiler does not fold them into
      // constants of its own, which could differ from the library's.
      const volatile Extended angle = kEnds[i];
      e.Cos[i] = std::cos(angle);
      e.Sin[i] = std::sin(angle);
    }
    return e;
  }();
  for (std::size_t i = 0; i < std::size(kEnds); ++i) {
    if (kEnds[i] == t) return pointFromDirection(sp, ends.Cos[i], ends.Sin[i]);
  }
  return circlePoint(sp, t);
}

}  // namespace

namespace {

Extended largerRounded(Extended p, Extended q) {
  const std::int64_t rp = roundToInt64(p);
  const std::int64_t rq = roundToInt64(q);
  return static_cast<Extended>(rp > rq ? rp : rq);
}

[[gnu::always_inline]] inline void widenMin(TExtents3D& e, const TPoint3D& p) {
  if (p.X < e.MinX) e.MinX = p.X;
  if (p.Y < e.MinY) e.MinY = p.Y;
  if (p.Z < e.MinZ) e.MinZ = p.Z;
}

[[gnu::always_inline]] inline void widenMax(TExtents3D& e, const TPoint3D& p) {
  if (p.X > e.MaxX) e.MaxX = p.X;
  if (p.Y > e.MaxY) e.MaxY = p.Y;
  if (p.Z > e.MaxZ) e.MaxZ = p.Z;
}

[[gnu::always_inline]] inline void widen(TExtents3D& e, const TSurf2Point& s) {
  widenMin(e, s.P1);
  widenMin(e, s.P2);
  widenMax(e, s.P1);
  widenMax(e, s.P2);
}

// Counted from any thread: a window computes two quadrants at once.
std::atomic<std::uint64_t> computedSurfaces{0};

}  // namespace

std::uint64_t surfaceComputations() { return computedSurfaces.load(std::memory_order_relaxed); }

TQuadrantSetup quadrantSetup(std::uint16_t quadrant) {
  switch (quadrant) {
    case 1: return {7, 1, 8, kPi_2, 0, -1};
    case 2: return {7, 5, 6, kPi_2, kPi, +1};
    case 3: return {3, 5, 4, kPi3_2, kPi, -1};
    case 4: return {3, 1, 2, kPi3_2, kPi2, +1};
    default: throw ERangeError();
  }
}

TExtents3D InitSurfExtents(const TPoint3D& p, const TPoint3D& q) {
  TExtents3D e;
  e.MaxX = largerRounded(p.X, q.X);
  e.MaxY = largerRounded(p.Y, q.Y);
  e.MaxZ = largerRounded(p.Z, q.Z);
  return e;
}

void checkDivisions(std::int32_t divisions) {
  if (divisions < 0 || divisions > kMaxDivisions) throw EDivisionsRange(divisions);
}

void checkDivisions(const TProParams& pro) { checkDivisions(pro.Divisions); }

void checkSystemParams(const TSystemParams& sp) {
  for (Extended v : {sp.B, sp.A, sp.L, sp.R, sp.X1, sp.Y1}) {
    if (!isUsableExtended(v)) throw EInvalidOp();
  }
}

TSurfaceWalk::TSurfaceWalk(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant)
    : Sp(sp), Setup(quadrantSetup(quadrant)), Divisions(pro.Divisions) {
  computedSurfaces.fetch_add(1, std::memory_order_relaxed);
  checkDivisions(pro);
  checkSystemParams(sp);
  Size = static_cast<std::size_t>(Divisions) + 3;
}

void TSurfaceWalk::begin() {
  const Extended step = divide(kPi_2, static_cast<Extended>(Divisions));
  SignedStep = Setup.StepSign * step;
  First.P1 = RectPoint(Sp, Setup.FirstRect);
  First.P2 = arcEndPoint(Sp, Setup.StartAngle);
  Last.P1 = RectPoint(Sp, Setup.LastRect);
  // The arc end comes from its own constant, not from the stepped angle, so
  // the last line ends exactly on the axis of the circle.
  Last.P2 = arcEndPoint(Sp, Setup.EndAngle);
  Corner = RectPoint(Sp, Setup.CornerRect);
  Box = InitSurfExtents(First.P1, First.P2);
}

Extended TSurfaceWalk::arcAngle(std::size_t i) const {
  return static_cast<Extended>(i - 1) * SignedStep + Setup.StartAngle;
}

TPoint3D TSurfaceWalk::arcPoint(std::size_t i) const { return circlePoint(Sp, arcAngle(i)); }

TPoint3D TSurfaceWalk::arcPointFrom(Extended cosT, Extended sinT) const { return pointFromDirection(Sp, cosT, sinT); }

void TSurfaceWalk::arcDirections(std::size_t first, std::size_t count, Extended* cosT, Extended* sinT) const {
  for (std::size_t k = 0; k < count; ++k) {
    const Extended t = arcAngle(first + k);
    cosT[k] = std::cos(t);
    sinT[k] = std::sin(t);
  }
}

void CalcSurfQuadrant(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant, TExtents3D& extents,
                      TSurf2PointArray& surf) {
  TSurfaceWalk walk(sp, pro, quadrant);
  surfaceInto(walk, extents, surf);
}

void surfaceInto(TSurfaceWalk& walk, TExtents3D& extents, TSurf2PointArray& surf) {
  const TSystemParams& sp = walk.params();
  const std::size_t size = walk.size();
  const std::size_t last = size - 1;
  // Each element is written once, in order, not filled with zeros first (an
  // extended real is copied through the x87 unit, ten bytes at a time). A
  // failure leaves the array as a zero-filled one written up to the failure
  // would be: sized, the elements not reached zero, the last one set once
  // the walk had begun.
  surf.clear();
  surf.reserve(size);
  bool begun = false;
  // The arc elements of a run are made here and appended together, copied as
  // bytes; `made` of them are complete.
  TRunBuffer<TSurf2Point> run;
  std::size_t made = 0;
  try {
    walk.begin();
    begun = true;
    surf.push_back(walk.first());
    TExtents3D box = walk.firstBox();
    if (last > 1) {
      // Arc point 1 is the arc start: its angle is the start's, 0 steps on.
      surf.push_back(TSurf2Point{walk.corner(), walk.first().P2});
      widen(box, surf.back());
    }
    // Every later arc element starts at the same corner and has the same Z,
    // bit for bit, as element 1, which already widened the box by them: they
    // can no longer move it, so only X and Y of the arc points are compared.
    // The run's elements start as copies of element 1, copied as bytes rather
    // than value by value through the x87 unit; only X and Y are made.
    for (std::size_t k = 0; k < std::min(kRunLength, last - 1); ++k) std::memcpy(&run[k], &surf.back(), sizeof run[k]);
    Extended cosT[kRunLength], sinT[kRunLength];
    for (std::size_t i = 2; i < last;) {
      const std::size_t count = std::min(kRunLength, last - i);
      walk.arcDirections(i, count, cosT, sinT);
      for (made = 0; made < count; ++made) {
        const TPoint3D p = pointFromDirection(sp, cosT[made], sinT[made]);
        run[made].P2.X = p.X;
        run[made].P2.Y = p.Y;
      }
      run.setSize(count);
      TPoint2D min{box.MinX, box.MinY}, max{box.MaxX, box.MaxY};
      for (const TSurf2Point& element : run) {
        const TPoint3D& p = element.P2;
        if (p.X < min.X) min.X = p.X;
        if (p.Y < min.Y) min.Y = p.Y;
        if (p.X > max.X) max.X = p.X;
        if (p.Y > max.Y) max.Y = p.Y;
      }
      box.MinX = min.X;
      box.MinY = min.Y;
      box.MaxX = max.X;
      box.MaxY = max.Y;
      surf.insert(surf.end(), run.begin(), run.end());
      made = 0;
      i += count;
    }
    surf.push_back(walk.last());
    widen(box, surf.back());
    extents = box;
  } catch (...) {
    run.setSize(made);
    surf.insert(surf.end(), run.begin(), run.end());
    surf.resize(size);
    if (begun) surf[last] = walk.last();
    throw;
  }
}

}  // namespace fish
