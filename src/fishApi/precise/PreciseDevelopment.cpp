#include "PreciseDevelopment.h"

#include <cmath>

#include "ExactSurface.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"

namespace fish {

namespace {

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

// The development of an accepted surface, each element handed to
// `put(k, element)` in index order, and its box. Both the array and the
// element-by-element development run this one function.
//
// Every point of an accepted surface lies within 1E17 of the origin (see
// TExactSurface), so no square or product here comes near the end of the
// extended range, no square root is taken of a negative sum, and atan2 of
// finite values is finite: each point is still checked before it is handed
// on, as a NaN must never reach a drawing.
template <typename Put>
void lay(const TExactSurface& s, Put&& put, TPoint2D& min, TPoint2D& max) {
  const int sX = towardsX(s.quadrant());
  const int sY = towardsY(s.quadrant());
  const std::size_t n = static_cast<std::size_t>(s.divisions());
  const TSystemParams& sp = s.params();
  const TPoint3D& corner = s.corner();

  TPoint2D lo{}, hi{};
  const auto widen = [&lo, &hi](const TPoint2D& p) {
    if (p.X < lo.X) lo.X = p.X;
    if (p.Y < lo.Y) lo.Y = p.Y;
    if (p.X > hi.X) hi.X = p.X;
    if (p.Y > hi.Y) hi.Y = p.Y;
  };
  // Every element from 1 on starts at the corner's image, which element 1
  // brings into the box.
  const auto hand = [&](std::size_t k, const TPoint2D& from, const TPoint2D& to) {
    checkFinite(to.X);
    checkFinite(to.Y);
    if (k <= 1) widen(from);
    widen(to);
    put(k, TRazvertka2Point{from, to});
  };

  // The plane triangle (Y-side midpoint M, corner C, arc start S). The edge
  // M -> C runs along X in space, so S is laid at its offset along the edge
  // and its distance from the edge's line across it. With the corner at the
  // positive end of the edge the offset is S.X - M.X = X1, as in the tables.
  const TPoint3D& m = s.midY();
  TDirection previous = s.direction(0);
  const TPoint3D start = s.pointAt(previous);
  const Extended edge = corner.X - m.X;
  const int alongX = edge > 0 ? 1 : edge < 0 ? -1 : sX;
  const TVector v{start.X - m.X, start.Y - m.Y, start.Z - m.Z};
  const Extended across = std::sqrt(v.Y * v.Y + v.Z * v.Z);
  const Extended cornerOffset = std::fabs(edge);
  const TPoint2D origin{0, 0};
  const TPoint2D cornerImage{sX * cornerOffset, 0};
  const TPoint2D startImage{sX * alongX * v.X, sY * across};
  hand(0, origin, startImage);
  hand(1, cornerImage, startImage);

  // Points are laid from the corner's image by their distance g and their
  // angle theta from the direction towards the origin, turning towards the
  // open side: corner + g * (-sX cos theta, sY sin theta). The arc start's
  // angle is the triangle's angle at the corner, between C -> M and C -> S.
  TAngleSum theta(std::atan2(across, cornerOffset - alongX * v.X));
  const auto image = [&](Extended g) {
    const Extended t = theta.value();
    return TPoint2D{cornerImage.X - sX * g * std::cos(t), cornerImage.Y + sY * g * std::sin(t)};
  };

  // The cone: each triangle (corner, previous arc point, next arc point)
  // adds its angle at the corner. u is the generator from the corner to the
  // previous point; the step w between the points is taken from the
  // difference of their directions, so that it keeps its digits when the
  // step is tiny, and the angle is that between u and u + w.
  const Extended px = sp.X1 - corner.X;
  const Extended py = sp.Y1 - corner.Y;
  const Extended pz = sp.L - corner.Z;
  Extended r0 = s.radius(previous);
  TVector u{px + r0 * previous.Cos, py + r0 * previous.Sin, pz};
  for (std::size_t j = 1; j <= n; ++j) {
    const TDirection d = s.direction(j);
    // r1 d - r0 d0 = r1 (d - d0) + (r1 - r0) d0: both parts keep their
    // digits when the step is tiny (on the faces r1 - r0 is exactly 0).
    const Extended r1 = s.radius(d);
    const Extended dr = r1 - r0;
    const TVector w{r1 * (d.Cos - previous.Cos) + dr * previous.Cos, r1 * (d.Sin - previous.Sin) + dr * previous.Sin,
                    0};
    const TVector next{px + r1 * d.Cos, py + r1 * d.Sin, pz};
    // |u x (u + w)| = |u x w|, and u . (u + w) as it stands.
    const Extended cx = -u.Z * w.Y;
    const Extended cy = u.Z * w.X;
    const Extended cz = u.X * w.Y - u.Y * w.X;
    theta.add(std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), u.X * next.X + u.Y * next.Y + u.Z * next.Z));
    hand(j + 1, cornerImage, image(lengthOf(next)));
    u = next;
    previous = d;
    r0 = r1;
  }

  // The closing plane triangle (corner, arc end, X-side midpoint) turns the
  // edge from the corner to the X-side midpoint into place.
  const TPoint3D& mx = s.midX();
  const TVector toMid{mx.X - corner.X, mx.Y - corner.Y, mx.Z - corner.Z};
  theta.add(angleBetween(u, toMid));
  hand(n + 2, cornerImage, image(lengthOf(toMid)));
  min = lo;
  max = hi;
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
