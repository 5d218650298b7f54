#include "PreciseDevelopment.h"

#include <cmath>

#include "ExactSurface.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"

namespace fish {

// What the layer below needs, named so that it may hold them.
namespace laying {

// A running sum of positive angles with its rounding carried along (Kahan):
// after 100000 steps the sum is as good as one rounding, not 100000 of them.
class TAngleSum {
 public:
  explicit TAngleSum(Extended start) : Sum(start) {}
  void add(Extended angle) {
    const Extended y = angle - Carry;
    const Extended t = Sum + y;
    Carry = (t - Sum) - y;
    Sum = t;
  }
  Extended value() const { return Sum; }

 private:
  Extended Sum;
  Extended Carry = 0;
};

struct TVector {
  Extended X, Y, Z;
};

// The angle between two vectors, 0 .. pi, from the length of their cross
// product and their dot product. Unlike the arc cosine of a ratio it keeps
// its relative accuracy however small the angle; it is 0 when either vector
// is 0.
Extended angleBetween(const TVector& u, const TVector& v) {
  const Extended cx = u.Y * v.Z - u.Z * v.Y;
  const Extended cy = u.Z * v.X - u.X * v.Z;
  const Extended cz = u.X * v.Y - u.Y * v.X;
  return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), u.X * v.X + u.Y * v.Y + u.Z * v.Z);
}

Extended lengthOf(const TVector& v) { return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z); }

// The signs of a quadrant's piece: towards +X or -X from the origin, opening
// towards +Y or -Y (as the tables lay it).
int towardsX(int quadrant) { return quadrant == 1 || quadrant == 4 ? 1 : -1; }
int towardsY(int quadrant) { return quadrant <= 2 ? 1 : -1; }

// The development of an accepted surface, element by element in index
// order as next() is asked for them, and its box; the array, the
// element-by-element development and the streaming comparisons all run this
// one class.
//
// Every point of an accepted surface lies within 1E17 of the origin (see
// TExactSurface), so no square or product here comes near the end of the
// extended range, no square root is taken of a negative sum, and atan2 of
// finite values is finite: each point is still checked before it is handed
// on, as a NaN must never reach a drawing.
}  // namespace laying

using namespace laying;

class TPreciseStream::TLayer {
 public:
  explicit TLayer(const TExactSurface& s)
      : S(s),
        SX(towardsX(s.quadrant())),
        SY(towardsY(s.quadrant())),
        N(static_cast<std::size_t>(s.divisions())),
        Previous(s.direction(0)),
        Theta(0) {
    // The plane triangle (Y-side midpoint M, corner C, arc start S). The
    // edge M -> C runs along X in space, so S is laid at its offset along
    // the edge and its distance from the edge's line across it. With the
    // corner at the positive end of the edge the offset is S.X - M.X = X1,
    // as in the tables.
    const TPoint3D& m = s.midY();
    const TPoint3D& corner = s.corner();
    const TPoint3D start = s.pointAt(Previous);
    const Extended edge = corner.X - m.X;
    const int alongX = edge > 0 ? 1 : edge < 0 ? -1 : SX;
    const TVector v{start.X - m.X, start.Y - m.Y, start.Z - m.Z};
    const Extended across = std::sqrt(v.Y * v.Y + v.Z * v.Z);
    const Extended cornerOffset = std::fabs(edge);
    CornerImage = {SX * cornerOffset, 0};
    StartImage = {SX * alongX * v.X, SY * across};
    // Points are laid from the corner's image by their distance g and their
    // angle theta from the direction towards the origin, turning towards the
    // open side: corner + g * (-sX cos theta, sY sin theta). The arc start's
    // angle is the triangle's angle at the corner, between C -> M and C -> S.
    Theta = TAngleSum(std::atan2(across, cornerOffset - alongX * v.X));
    const TSystemParams& sp = s.params();
    P = {sp.X1 - corner.X, sp.Y1 - corner.Y, sp.L - corner.Z};
    R0 = s.radius(Previous);
    U = {P.X + R0 * Previous.Cos, P.Y + R0 * Previous.Sin, P.Z};
  }

  std::size_t size() const { return N + 3; }

  // Element k = 0, 1, ... n + 2 in turn.
  const TRazvertka2Point& next() {
    const std::size_t k = K++;
    if (k == 0) return hand(k, {0, 0}, StartImage);
    if (k == 1) return hand(k, CornerImage, StartImage);
    if (k <= N + 1) {
      // The cone: each triangle (corner, previous arc point, next arc point)
      // adds its angle at the corner. U is the generator from the corner to
      // the previous point; the step w between the points is taken from the
      // difference of their directions, so that it keeps its digits when the
      // step is tiny, and the angle is that between U and U + w.
      const TDirection d = S.direction(k - 1);
      // r1 d - r0 d0 = r1 (d - d0) + (r1 - r0) d0: both parts keep their
      // digits when the step is tiny (on the faces r1 - r0 is exactly 0).
      const Extended r1 = S.radius(d);
      const Extended dr = r1 - R0;
      const TVector w{r1 * (d.Cos - Previous.Cos) + dr * Previous.Cos,
                      r1 * (d.Sin - Previous.Sin) + dr * Previous.Sin, 0};
      const TVector next{P.X + r1 * d.Cos, P.Y + r1 * d.Sin, P.Z};
      // |U x (U + w)| = |U x w|, and U . (U + w) as it stands.
      const Extended cx = -U.Z * w.Y;
      const Extended cy = U.Z * w.X;
      const Extended cz = U.X * w.Y - U.Y * w.X;
      Theta.add(std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), U.X * next.X + U.Y * next.Y + U.Z * next.Z));
      U = next;
      Previous = d;
      R0 = r1;
      return hand(k, CornerImage, image(lengthOf(next)));
    }
    if (k != N + 2) throw ERangeError();
    // The closing plane triangle (corner, arc end, X-side midpoint) turns the
    // edge from the corner to the X-side midpoint into place.
    const TPoint3D& mx = S.midX();
    const TPoint3D& corner = S.corner();
    const TVector toMid{mx.X - corner.X, mx.Y - corner.Y, mx.Z - corner.Z};
    Theta.add(angleBetween(U, toMid));
    return hand(k, CornerImage, image(lengthOf(toMid)));
  }

  const TPoint2D& min() const { return Lo; }
  const TPoint2D& max() const { return Hi; }

  // The surface's line of the element handed last, as
  // TExactSurface::element makes it, from the direction laid for it.
  TSurf2Point line() const {
    const std::size_t k = K - 1;
    return {k == 0 ? S.midY() : k == N + 2 ? S.midX() : S.corner(), S.pointAt(Previous)};
  }

 private:
  TPoint2D image(Extended g) const {
    const Extended t = Theta.value();
    return TPoint2D{CornerImage.X - SX * g * std::cos(t), CornerImage.Y + SY * g * std::sin(t)};
  }

  void widen(const TPoint2D& p) {
    if (p.X < Lo.X) Lo.X = p.X;
    if (p.Y < Lo.Y) Lo.Y = p.Y;
    if (p.X > Hi.X) Hi.X = p.X;
    if (p.Y > Hi.Y) Hi.Y = p.Y;
  }

  // Every element from 1 on starts at the corner's image, which element 1
  // brings into the box.
  const TRazvertka2Point& hand(std::size_t k, const TPoint2D& from, const TPoint2D& to) {
    checkFinite(to.X);
    checkFinite(to.Y);
    if (k <= 1) widen(from);
    widen(to);
    Element = TRazvertka2Point{from, to};
    return Element;
  }

  const TExactSurface& S;
  int SX, SY;
  std::size_t N;
  std::size_t K = 0;
  TDirection Previous;
  TAngleSum Theta;
  TPoint2D CornerImage, StartImage;
  TVector P{}, U{};
  Extended R0 = 0;
  TPoint2D Lo{}, Hi{};
  TRazvertka2Point Element;
};

TPreciseStream::TPreciseStream(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                               const TFaceOffsets& offsets)
    : Surface(sp, pro, quadrant, offsets), Layer(std::make_unique<TLayer>(Surface)) {}

TPreciseStream::~TPreciseStream() = default;

std::size_t TPreciseStream::size() const { return Layer->size(); }

const TRazvertka2Point& TPreciseStream::next() { return Layer->next(); }

TSurf2Point TPreciseStream::line() const { return Layer->line(); }

namespace {

template <typename Put>
void lay(const TExactSurface& s, Put&& put, TPoint2D& min, TPoint2D& max) {
  TPreciseStream::TLayer layer(s);
  for (std::size_t k = 0; k < layer.size(); ++k) put(k, layer.next());
  min = layer.min();
  max = layer.max();
}

}  // namespace

void developPreciseInto(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                        TRazvertka2PointArray& razv, TPoint2D& min, TPoint2D& max, const TFaceOffsets& offsets) {
  razv.clear();
  const TExactSurface surface(sp, pro, quadrant, offsets);
  razv.reserve(surface.size());
  lay(
      surface, [&razv](std::size_t, const TRazvertka2Point& e) { razv.push_back(e); }, min, max);
}

void developPreciseInto(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                        TRazvertka2PointArray& razv, TSurf2PointArray& surf, TPoint2D& min, TPoint2D& max,
                        const TFaceOffsets& offsets) {
  razv.clear();
  surf.clear();
  const TExactSurface surface(sp, pro, quadrant, offsets);
  razv.reserve(surface.size());
  surf.reserve(surface.size());
  TPreciseStream::TLayer layer(surface);
  for (std::size_t k = 0; k < layer.size(); ++k) {
    razv.push_back(layer.next());
    surf.push_back(layer.line());
  }
  min = layer.min();
  max = layer.max();
}

TRazvertka2PointArray developPrecise(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                                     const TFaceOffsets& offsets) {
  TRazvertka2PointArray razv;
  TPoint2D min, max;
  developPreciseInto(sp, pro, quadrant, razv, min, max, offsets);
  return razv;
}

void developPreciseElements(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                            const std::function<void(std::size_t, const TRazvertka2Point&)>& each, TPoint2D& min,
                            TPoint2D& max) {
  const TExactSurface surface(sp, pro, quadrant);
  lay(surface, each, min, max);
}

}  // namespace fish
