#include "ExactSurface.h"

#include <cmath>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"

namespace fish {

namespace {

// The tables round every point of the surface to hundredths; a coordinate
// whose hundredths do not fit 64 bits fails there as an invalid operation.
void checkRoundable(const TPoint3D& p) {
  for (Extended v : {p.X, p.Y, p.Z}) checkRoundsToInt64(v * 100);
}

}  // namespace

TExactSurface::TExactSurface(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                             const TFaceOffsets& offsets)
    : Sp(sp), Quadrant(quadrant), Divisions(pro.Divisions) {
  // The tables' own walk checks the quadrant, the divisions and the record,
  // and makes the lines at the arc's ends and the corner with their failures.
  // Its arc points lie between the ends in both coordinates (a rounded
  // cosine moves monotonically along a quarter), so the ends, the corner and
  // the two midpoints hold the largest coordinates the tables ever round.
  TSurfaceWalk tables(sp, pro, quadrant);
  tables.begin();
  for (const TPoint3D& p :
       {tables.first().P1, tables.first().P2, tables.corner(), tables.last().P1, tables.last().P2}) {
    checkRoundable(p);
  }

  const TQuadrantSetup setup = quadrantSetup(quadrant);
  Step = divide(kPi_2, static_cast<Extended>(Divisions));
  // The arc starts at pi/2 (quadrants 1, 2) or 3pi/2 (3, 4) and is stepped
  // by StepSign; with k = +1 or -1 for the two starts,
  //   cos(start + sign * a) = -k * sign * sin a,  sin(start + sign * a) = k * cos a.
  const int k = setup.StartAngle == kPi_2 ? 1 : -1;
  CosOfSin = -k * setup.StepSign;
  SinOfCos = k;
  MidY = RectPoint(sp, setup.FirstRect);
  Corner = RectPoint(sp, setup.CornerRect);
  MidX = RectPoint(sp, setup.LastRect);
  FacesCorner = Corner;
  if (offsets.none()) return;

  // Each side's trace moves out by Rect over its slope's cosine: the side at
  // +X leans by the run X1 + R - B/2 to the circle point above it, and so on.
  const Extended h = sp.L;
  const auto moved = [&](Extended run) { return offsets.Rect * divide(std::sqrt(h * h + run * run), std::fabs(h)); };
  const Extended plusX = sp.B / 2 + moved(sp.X1 + sp.R - sp.B / 2);
  const Extended minusX = -sp.B / 2 - moved(-sp.B / 2 - (sp.X1 - sp.R));
  const Extended plusY = sp.A / 2 + moved(sp.Y1 + sp.R - sp.A / 2);
  const Extended minusY = -sp.A / 2 - moved(-sp.A / 2 - (sp.Y1 - sp.R));
  const Extended x = Corner.X > 0 ? plusX : minusX;
  const Extended y = Corner.Y > 0 ? plusY : minusY;
  Corner = {x, y, 0};
  // The middles of the moved sides.
  MidY = {(plusX + minusX) / 2, y, 0};
  MidX = {x, (plusY + minusY) / 2, 0};
  RoundOffset = offsets.Round;
  checkRoundable(Corner);
  checkRoundable(MidY);
  checkRoundable(MidX);
}

Extended TExactSurface::radius(const TDirection& d) const {
  if (RoundOffset == 0) return Sp.R;
  // g . e for the faces' surface: R plus the centre's offset from the corner
  // along the direction.
  const Extended w = Sp.R + (Sp.X1 - FacesCorner.X) * d.Cos + (Sp.Y1 - FacesCorner.Y) * d.Sin;
  const Extended h = Sp.L;
  return checkFinite(Sp.R + RoundOffset * divide(std::sqrt(h * h + w * w), std::fabs(h)));
}

// The angle j * step is formed afresh for every point, never by adding steps.
// Past the middle of the arc the point is taken from the arc's far end,
// (n - j) steps back, by the symmetry of the quarter circle
// (cos(pi/2 - b) = sin b): every angle handed to the library stays within
// 0 .. pi/4, so a small cosine or sine is never the difference of a rounded
// angle from pi/2 (it keeps its relative accuracy), and both ends come out as
// exact axis directions.
TDirection TExactSurface::direction(std::size_t j) const {
  const std::size_t n = static_cast<std::size_t>(Divisions);
  Extended c, s;
  if (2 * j <= n) {
    const Extended a = static_cast<Extended>(j) * Step;
    c = std::cos(a);
    s = std::sin(a);
  } else {
    const Extended b = static_cast<Extended>(n - j) * Step;
    c = std::sin(b);
    s = std::cos(b);
  }
  return {CosOfSin * s, SinOfCos * c};
}

TSurf2Point TExactSurface::element(std::size_t k) const {
  const std::size_t n = static_cast<std::size_t>(Divisions);
  if (k == 0) return {MidY, arcPoint(0)};
  if (k == n + 2) return {MidX, arcPoint(n)};
  if (k > n + 2) throw ERangeError();
  return {Corner, arcPoint(k - 1)};
}

TSurf2PointArray exactSurfaceQuadrant(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                                      const TFaceOffsets& offsets) {
  const TExactSurface surface(sp, pro, quadrant, offsets);
  TSurf2PointArray lines;
  lines.reserve(surface.size());
  for (std::size_t k = 0; k < surface.size(); ++k) lines.push_back(surface.element(k));
  return lines;
}

}  // namespace fish
