#include "ShopFigures.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "FishErrors.h"
#include "FishMath.h"
#include "FishRazvertka.h"
#include "FishSurface.h"
#include "FlatPattern.h"
#include "NumText.h"

namespace fish {

namespace {

// cos and sin of t_j = start + (j - 1) * h for j = 1, 2, ... by turning the
// previous pair through h:
//
//   cos t_{j+1} = cos t_j cos h - sin t_j sin h
//   sin t_{j+1} = sin t_j cos h + cos t_j sin h
//
// A turn is a rotation: it neither grows nor shrinks an error already made,
// and adds at most a few units in the last place of its own, so k turns from
// a pair taken from cosl/sinl are off by at most about 4k units of 2^-64.
// Starting again from cosl/sinl every kReseed = 512 steps keeps that under
// 2^-53 of the radius: 1E-10 mm on a radius of 1 km, where the development
// rounds every point to hundredths. Two transcendental calls per 512 points
// instead of two per point.
class ArcWalk {
 public:
  ArcWalk(Extended start, Extended step) : Start(start), Step(step), CosStep(std::cos(step)), SinStep(std::sin(step)) {
    seed();
  }

  Extended cos() const { return Cos; }
  Extended sin() const { return Sin; }

  void next() {
    ++Index;
    if (Index % kReseed == 0) {
      seed();
      return;
    }
    const Extended c = Cos * CosStep - Sin * SinStep;
    Sin = Sin * CosStep + Cos * SinStep;
    Cos = c;
  }

 private:
  static constexpr std::int64_t kReseed = 512;

  // The angle as the surface computes it: (j - 1) * signed step + start.
  void seed() {
    const Extended t = static_cast<Extended>(Index) * Step + Start;
    Cos = std::cos(t);
    Sin = std::sin(t);
  }

  Extended Start;
  Extended Step;
  Extended CosStep;
  Extended SinStep;
  std::int64_t Index = 0;
  Extended Cos = 1;
  Extended Sin = 0;
};

Extended length2D(const TPoint2D& p, const TPoint2D& q) {
  const Extended dx = p.X - q.X;
  const Extended dy = p.Y - q.Y;
  return std::sqrt(dx * dx + dy * dy);
}

Extended length3D(const TPoint3D& p, const TPoint3D& q) {
  const Extended dx = p.X - q.X;
  const Extended dy = p.Y - q.Y;
  const Extended dz = p.Z - q.Z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The point of the circle with true direction cosines.
TPoint3D exactCirclePoint(const TSystemParams& sp, Extended cosT, Extended sinT) {
  return {sp.R * cosT + sp.X1, sp.R * sinT + sp.Y1, sp.L};
}

// ---- Sheets -----------------------------------------------------------------

TSheetFigures sheetOf(std::vector<int> quadrants, const std::vector<TPoint2D>& outline) {
  TSheetFigures sheet;
  sheet.Quadrants = std::move(quadrants);
  sheet.Area = checkFinite(std::fabs(polygonArea(outline)));
  Extended minX = outline.front().X, maxX = minX;
  Extended minY = outline.front().Y, maxY = minY;
  for (const TPoint2D& p : outline) {
    minX = std::min(minX, p.X);
    maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  sheet.Width = checkFinite(maxX - minX);
  sheet.Height = checkFinite(maxY - minY);
  return sheet;
}

}  // namespace

// Each length the development keeps is set against the same length on the
// exact surface: the circle with unrounded directions, the rectangle as it
// is, nothing rounded to hundredths. The development of element j (1 .. n+1)
// puts the image of arc point j at d[j].P2 and the corner at d[j].P1; the
// origin d[0].P1 is the Y-side midpoint, d[n+2].P2 the X-side midpoint, and
// the arc end is the image of arc point n + 1.
TQuadrantAccuracy quadrantAccuracy(const TSystemParams& developed, const TProParams& pro, int quadrant,
                                   const TRazvertka2PointArray& d) {
  if (quadrant < 1 || quadrant > 4) throw ERangeError();
  const TQuadrantSetup arc = quadrantSetup(static_cast<std::uint16_t>(quadrant));
  const std::int32_t divisions = pro.Divisions;
  if (divisions < 1 || d.size() != static_cast<std::size_t>(divisions) + 3) throw ERangeError();
  const std::size_t n = static_cast<std::size_t>(divisions);
  const Extended step = arc.StepSign * divide(kPi_2, static_cast<Extended>(divisions));

  const TPoint3D midY = RectPoint(developed, arc.FirstRect);
  const TPoint3D corner = RectPoint(developed, arc.CornerRect);
  const TPoint3D midX = RectPoint(developed, arc.LastRect);

  TQuadrantAccuracy a;
  const auto note = [&a](Extended developedLength, Extended exactLength) {
    a.WorstEdgeError = std::max(a.WorstEdgeError, std::fabs(developedLength - exactLength));
  };
  note(length2D(d[1].P1, d[0].P1), length3D(corner, midY));
  note(length2D(d[n + 2].P2, d[n + 2].P1), length3D(midX, corner));

  ArcWalk walk(arc.StartAngle, step);
  TPoint3D previous = exactCirclePoint(developed, walk.cos(), walk.sin());
  note(length2D(d[0].P2, d[0].P1), length3D(previous, midY));
  note(length2D(d[1].P2, d[1].P1), length3D(previous, corner));
  Extended exactChords = 0;
  for (std::size_t j = 2; j <= n + 1; ++j) {
    walk.next();
    const TPoint3D current = exactCirclePoint(developed, walk.cos(), walk.sin());
    note(length2D(d[j].P2, d[1].P1), length3D(current, corner));
    const Extended chord = length2D(d[j].P2, d[j - 1].P2);
    const Extended exactChord = length3D(current, previous);
    note(chord, exactChord);
    a.ArcLength += chord;
    exactChords += exactChord;
    previous = current;
  }
  const TPoint3D arcEnd = exactCirclePoint(developed, std::cos(arc.EndAngle), std::sin(arc.EndAngle));
  note(length2D(d[n + 2].P2, d[n + 1].P2), length3D(arcEnd, midX));

  a.TrueArcLength = kPi_2 * std::fabs(developed.R);
  a.ChordPolygonGap = a.TrueArcLength - exactChords;
  return a;
}

void TAccuracy::include(const TQuadrantAccuracy& quadrant) {
  ArcLengthError = std::max(ArcLengthError, std::fabs(quadrant.ArcLength - quadrant.TrueArcLength));
  WorstEdgeError = std::max(WorstEdgeError, quadrant.WorstEdgeError);
  ChordPolygonGap = std::max(ChordPolygonGap, quadrant.ChordPolygonGap);
}

Extended TAccuracy::worst() const { return std::max(ArcLengthError, WorstEdgeError); }

std::string accuracyWarning(const TAccuracy& accuracy, std::string_view sep) {
  if (!accuracy.exceedsLimit()) return {};
  return "Внимание: развертка отклоняется от точной поверхности на " + decimalText(accuracy.worst(), 2, sep) +
         " мм (допустимо " + decimalText(kAccuracyLimit, 2, sep) +
         " мм): " + (accuracy.wantsMoreDivisions() ? "увеличьте" : "уменьшите") + " число разбиений";
}

TShopFigures shopFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate) {
  TShopFigures f;
  f.Given = sp;
  f.Plate = plate;
  f.Divisions = pro.Divisions;
  f.Developed = developedParams(sp, plate);
  checkDivisions(pro);

  TQuadrantDevelopment piece;
  for (int q = 1; q <= 4; ++q) {
    developQuadrantInto(f.Developed, pro, static_cast<std::uint16_t>(q), piece);
    const TSurf2PointArray& s = piece.Surf;
    const std::size_t n = s.size() - 3;
    TQuadrantFigures& out = f.Quadrants[static_cast<std::size_t>(q - 1)];
    out.Quadrant = q;
    out.Generators.reserve(n + 3);
    for (const TSurf2Point& line : s) out.Generators.push_back(Distance3D(line.P1, line.P2));
    out.Chords.reserve(n);
    for (std::size_t j = 2; j <= n + 1; ++j) out.Chords.push_back(Distance3D(s[j - 1].P2, s[j].P2));
    out.EdgeToCorner = Distance3D(s[0].P1, s[1].P1);
    out.EdgeFromCorner = Distance3D(s[n + 1].P1, s[n + 2].P1);
    out.Area = checkFinite(std::fabs(polygonArea(quadrantOutline(piece.Razvertka))));
    out.Accuracy = quadrantAccuracy(f.Developed, pro, q, piece.Razvertka);
    f.Accuracy.include(out.Accuracy);
    f.NetArea += out.Area;
    out.Razvertka = std::move(piece.Razvertka);
  }

  const auto razvertka = [&f](int q) { return &f.Quadrants[static_cast<std::size_t>(q - 1)].Razvertka; };
  for (TPatternPiece& sheet : patternPieces(pro, {razvertka(1), razvertka(2), razvertka(3), razvertka(4)})) {
    f.Sheets.push_back(sheetOf(std::move(sheet.Quadrants), sheet.Outline));
  }

  // mm2 * mm = mm3, and a cubic metre is 1E9 mm3.
  f.NetArea = checkFinite(f.NetArea);
  f.Mass = checkFinite(f.NetArea * plate.Thickness * 1e-9L * plate.Density);
  checkFinite(f.Accuracy.worst());
  checkFinite(f.Accuracy.ChordPolygonGap);
  return f;
}

}  // namespace fish
