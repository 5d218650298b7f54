#include "ShopFigures.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <utility>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "FlatPattern.h"
#include "PatternWalk.h"
#include "fishApi/core/NumText.h"

namespace fish {

namespace {

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
  std::sort(quadrants.begin(), quadrants.end());
  quadrants.erase(std::unique(quadrants.begin(), quadrants.end()), quadrants.end());
  sheet.Quadrants = std::move(quadrants);
  sheet.Area = checkFinite(std::fabs(polygonArea(outline)));
  sheet.NetArea = sheet.Area;
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

// Today's sheet outline built from its quadrants' outline paths one at a
// time, as the sheets of the pattern lay it (patternPieces): round the first
// quadrant from the origin to its arc start, then back round its partner to
// the origin, closed and turned counter-clockwise. Only the paths are held,
// never the developments.
class TSheetOutline {
 public:
  // A quadrant's outline path (outlinePath's): origin, corner, X-side
  // midpoint, arc end, the arc images, arc start, no point repeating its
  // predecessor.
  void path(const TRazvertka2PointArray& d) {
    const std::size_t m = d.size() - 1;
    Path.clear();
    Path.reserve(m + 3);
    add(Path, d[0].P1);
    add(Path, d[1].P1);
    add(Path, d[m].P2);
    for (std::size_t k = m; k-- > 0;) add(Path, d[k].P2);
  }
  // The area inside the path closed (quadrantOutline's), signed.
  Extended pathArea() {
    if (Path.size() < 2 || !same(Path.front(), Path.back())) return polygonArea(Path);
    const TPoint2D last = Path.back();
    Path.pop_back();
    const Extended area = polygonArea(Path);
    Path.push_back(last);
    return area;
  }
  // The path starts a sheet.
  void begin() {
    Outline = std::move(Path);
    Path = std::vector<TPoint2D>();
  }
  // The partner's path joined: back round it, its origin on the shared line
  // left out.
  void join() {
    Outline.reserve(Outline.size() + Path.size());
    for (std::size_t k = Path.size(); k-- > 1;) add(Outline, Path[k]);
    Path = std::vector<TPoint2D>();
  }
  std::vector<TPoint2D>& points() { return Outline; }
  void release() { Outline = std::vector<TPoint2D>(); }
  TSheetFigures finish(std::vector<int> quadrants) {
    if (Outline.size() > 1 && same(Outline.front(), Outline.back())) Outline.pop_back();
    if (polygonArea(Outline) < 0) std::reverse(Outline.begin() + 1, Outline.end());
    return sheetOf(std::move(quadrants), Outline);
  }

 private:
  static bool same(const TPoint2D& a, const TPoint2D& b) { return a.X == b.X && a.Y == b.Y; }
  static void add(std::vector<TPoint2D>& path, const TPoint2D& p) {
    if (path.empty() || !same(path.back(), p)) path.push_back(p);
  }
  std::vector<TPoint2D> Path, Outline;
};

}  // namespace

// Each length the development keeps is set against the same length on the
// exact surface: the circle with unrounded directions, the rectangle as it
// is, nothing rounded to hundredths. The development of element j (1 .. n+1)
// puts the image of arc point j at d[j].P2 and the corner at d[j].P1; the
// origin d[0].P1 is the Y-side midpoint, d[n+2].P2 the X-side midpoint, and
// the arc end is the image of arc point n + 1. The elements are taken in
// index order, so that they can be measured as they are laid.
TAccuracyMeter::TAccuracyMeter(const TSystemParams& developed, const TProParams& pro, int quadrant)
    : Developed(developed), Divisions(pro.Divisions) {
  if (quadrant < 1 || quadrant > 4) throw ERangeError();
  if (Divisions < 1) throw ERangeError();
  Setup = quadrantSetup(static_cast<std::uint16_t>(quadrant));
  Step = Setup.StepSign * divide(kPi_2, static_cast<Extended>(Divisions));
  MidY = RectPoint(developed, Setup.FirstRect);
  Corner = RectPoint(developed, Setup.CornerRect);
  MidX = RectPoint(developed, Setup.LastRect);
  // Neighbouring exact arc points are one step apart on the circle, so every
  // exact chord is the same: 2 R sin(step / 2).
  ExactChord = 2 * std::fabs(developed.R) * std::sin(std::fabs(Step) / 2);
}

void TAccuracyMeter::note(Extended developedLength, Extended exactLength) {
  Result.WorstEdgeError = std::max(Result.WorstEdgeError, std::fabs(developedLength - exactLength));
}

void TAccuracyMeter::add(std::size_t k, const TRazvertka2Point& d) {
  const std::size_t n = static_cast<std::size_t>(Divisions);
  if (k != Next || k > n + 2) throw ERangeError();
  ++Next;
  if (k >= 2 && k <= n + 1) {
    // The cone, where nearly all the elements are: the generator line to
    // the new arc point and the chord from the previous one.
    Walk.next();
    const TPoint3D current = exactCirclePoint(Developed, Walk.cos(), Walk.sin());
    note(length2D(d.P2, CornerImage), length3D(current, Corner));
    const Extended chord = length2D(d.P2, PreviousImage);
    note(chord, ExactChord);
    Result.ArcLength += chord;
  } else if (k == 0) {
    Origin = d.P1;
    Walk = TArcWalk(Setup.StartAngle, Step);
    const TPoint3D arcStart = exactCirclePoint(Developed, Walk.cos(), Walk.sin());
    note(length2D(d.P2, d.P1), length3D(arcStart, MidY));
    StartToCorner = length3D(arcStart, Corner);
  } else if (k == 1) {
    CornerImage = d.P1;
    note(length2D(d.P1, Origin), length3D(Corner, MidY));
    note(length2D(d.P2, d.P1), StartToCorner);
  } else {
    note(length2D(d.P2, d.P1), length3D(MidX, Corner));
    const TPoint3D arcEnd = exactCirclePoint(Developed, std::cos(Setup.EndAngle), std::sin(Setup.EndAngle));
    note(length2D(d.P2, PreviousImage), length3D(arcEnd, MidX));
  }
  PreviousImage = d.P2;
}

TQuadrantAccuracy TAccuracyMeter::result() const {
  if (Next != static_cast<std::size_t>(Divisions) + 3) throw ERangeError();
  TQuadrantAccuracy a = Result;
  a.TrueArcLength = kPi_2 * std::fabs(Developed.R);
  a.ChordPolygonGap = a.TrueArcLength - static_cast<Extended>(Divisions) * ExactChord;
  return a;
}

TQuadrantAccuracy quadrantAccuracy(const TSystemParams& developed, const TProParams& pro, int quadrant,
                                   const TRazvertka2PointArray& d) {
  TAccuracyMeter meter(developed, pro, quadrant);
  if (d.size() != static_cast<std::size_t>(pro.Divisions) + 3) throw ERangeError();
  for (std::size_t k = 0; k < d.size(); ++k) meter.add(k, d[k]);
  return meter.result();
}

void TAccuracy::include(const TQuadrantAccuracy& quadrant) {
  ArcLengthError = std::max(ArcLengthError, std::fabs(quadrant.ArcLength - quadrant.TrueArcLength));
  WorstEdgeError = std::max(WorstEdgeError, quadrant.WorstEdgeError);
  ChordPolygonGap = std::max(ChordPolygonGap, quadrant.ChordPolygonGap);
}

Extended TAccuracy::worst() const { return std::max(ArcLengthError, WorstEdgeError); }

std::string accuracyWarning(const TAccuracy& accuracy, std::string_view sep, TUnits units) {
  if (!accuracy.exceedsLimit()) return {};
  const TMsgId warning =
      accuracy.wantsMoreDivisions()
          ? FISH_TR("accuracy", "Внимание: развертка отклоняется от точной поверхности на %1 %3 (допустимо %2 %3): "
                                "увеличьте число разбиений")
          : FISH_TR("accuracy", "Внимание: развертка отклоняется от точной поверхности на %1 %3 (допустимо %2 %3): "
                                "уменьшите число разбиений");
  return say(warning, {decimalText(accuracy.worst(), 2, sep), decimalText(accuracy.Limit, 2, sep), unitWord(units)});
}

TShopFigures shopFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         TPatternKind pattern, const TQuadrantSource& source) {
  TCuttingParams cutting;
  cutting.Pattern = pattern;
  return shopFigures(sp, pro, plate, cutting, source);
}

Extended figuresLength(TPatternKind pattern, const TPoint3D& from, const TPoint3D& to) {
  return pattern == TPatternKind::Precise ? checkFinite(length3D(from, to)) : Distance3D(from, to);
}

void figuresQuadrant(const TShopFigures& f, const TProParams& pro, int quadrant, TQuadrantDevelopment& into) {
  developCutting(f.Pattern, f.Given, f.Plate, pro, static_cast<std::uint16_t>(quadrant), into, f.Cutting.Units);
}

namespace {

// The figures, with the quadrants' per-element lists when `lists` asks for
// them (see shopSummary).
TShopFigures figuresOf(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                       const TCuttingParams& cutting, const TQuadrantSource& source, bool lists,
                       const std::function<void(int, const TQuadrantArrays&)>& seen, std::optional<TQuote>* quote,
                       const std::function<void(const TQuadrantFigures&)>& measured = {}) {
  checkCutting(cutting);
  const TPatternKind pattern = cutting.Pattern;
  TShopFigures f;
  f.Given = sp;
  f.Plate = plate;
  f.Pattern = pattern;
  f.Cutting = cutting;
  f.Divisions = pro.Divisions;
  f.Developed = developedParams(sp, plate, cutting.Units);
  checkDivisions(pro);

  // The tables measure every length between points rounded to hundredths;
  // the precise pattern is laid from the exact distances.
  const bool precise = pattern == TPatternKind::Precise;
  const auto measure = [pattern](const TPoint3D& p, const TPoint3D& q) { return figuresLength(pattern, p, q); };
  const bool kept = source && !precise;
  const bool todays = cutting.Seams == kDefaultSeams && !cutting.hasAllowances();
  // Without the lists, today's sheets are outlined a quadrant at a time (1
  // and 2 joined, then 3 and 4), as each is developed.
  TSheetOutline outline;
  // Today's pieces quoted from those outlines, while they can be.
  if (quote) {
    quote->reset();
    if (!lists && todays && std::any_of(pro.Quadrants.begin(), pro.Quadrants.end(), [](ByteBool q) { return q != 0; }))
      quote->emplace();
  }
  TTodaysQuadrant firstOfPair, latest;
  // The tables' points against the precise ones are measured on the
  // development at hand when it is one of the two the comparison lays (of
  // the developed sizes: the tables' always, the precise one without a
  // plate's middle surface), the other walked beside it; a failure there is
  // kept for where the comparison would have met it.
  const bool pointsHere = !precise || plate.Thickness == 0;
  Extended pointError = 0;
  std::exception_ptr pointFailure;
  TQuadrantDevelopment own;
  for (int q = 1; q <= 4; ++q) {
    if (!kept) figuresQuadrant(f, pro, q, own);
    const TQuadrantArrays piece = kept ? source(f.Developed, q) : TQuadrantArrays{&own.Surf, &own.Razvertka};
    if (seen) seen(q, piece);
    const TSurf2PointArray& s = *piece.Surf;
    const std::size_t n = s.size() - 3;
    TQuadrantFigures& out = f.Quadrants[static_cast<std::size_t>(q - 1)];
    out.Quadrant = q;
    if (lists) {
      out.Generators.reserve(n + 3);
      out.Chords.reserve(n);
    }
    for (const TSurf2Point& line : s) {
      const Extended length = measure(line.P1, line.P2);
      if (lists) out.Generators.push_back(length);
    }
    for (std::size_t j = 2; j <= n + 1; ++j) {
      const Extended length = measure(s[j - 1].P2, s[j].P2);
      if (lists) out.Chords.push_back(length);
    }
    out.EdgeToCorner = measure(s[0].P1, s[1].P1);
    out.EdgeFromCorner = measure(s[n + 1].P1, s[n + 2].P1);
    // Today's sheets are outlined from each chosen quadrant's path, whose
    // area is the quadrant's; the surface is let go first.
    const bool sheetPath = !lists && todays && quadrantSelected(pro, q);
    if (sheetPath && !kept) own.Surf = TSurf2PointArray();
    if (sheetPath) outline.path(*piece.Razvertka);
    out.Area = checkFinite(std::fabs(sheetPath ? outline.pathArea() : polygonArea(quadrantOutline(*piece.Razvertka))));
    out.Accuracy = quadrantAccuracy(f.Developed, pro, q, *piece.Razvertka);
    f.Accuracy.include(out.Accuracy);
    f.NetArea += out.Area;
    if (pointsHere && !pointFailure) {
      try {
        pointError = std::max(pointError, quadrantPointError(f.Developed, pro, static_cast<std::uint16_t>(q),
                                                             *piece.Razvertka, !precise));
      } catch (const EFishError&) {
        pointFailure = std::current_exception();
      }
    }
    if (measured) measured(out);
    // A piece developed here is handed over; one the source keeps is copied.
    if (lists) out.Razvertka = kept ? *piece.Razvertka : std::move(own.Razvertka);
    if (sheetPath) {
      const bool first = q % 2 == 1;
      const int partner = first ? q + 1 : q - 1;
      const bool joined = quadrantSelected(pro, partner);
      if (quote && *quote) (first ? firstOfPair : latest) = todaysQuadrant(*piece.Razvertka);
      // The sheet and its quote need only the paths: the quadrant's arrays
      // are let go first.
      if (!kept) own = TQuadrantDevelopment{};
      if (first || !joined) {
        outline.begin();
      } else {
        outline.join();
      }
      if (!first || !joined) {
        f.Sheets.push_back(outline.finish(joined ? std::vector<int>{partner, q} : std::vector<int>{q}));
        const TTodaysQuadrant& from = first || joined ? firstOfPair : latest;
        if (quote && *quote &&
            !quoteTodaysPiece(**quote, outline.points(), joined ? partner : q, from, joined ? &latest : nullptr, plate,
                              cutting.Units))
          quote->reset();
        outline.release();
      }
    }
  }
  // The last quadrant's arrays are let go before the pieces are laid.
  own = TQuadrantDevelopment{};
  f.Accuracy.Limit = accuracyLimit(cutting.Units);
  if (pointFailure) std::rethrow_exception(pointFailure);
  f.PatternAccuracy = pointsHere ? patternAccuracy(f.Developed, pro, pointError, !precise, f.Accuracy.Limit)
                                 : patternAccuracy(f.Developed, pro, !precise, f.Accuracy.Limit);

  if (todays) {
    // Today's sheets, from the developments already at hand (without the
    // lists, joined already).
    const auto razvertka = [&f](int q) { return &f.Quadrants[static_cast<std::size_t>(q - 1)].Razvertka; };
    const std::vector<TPatternPiece> sheets =
        lists ? patternPieces(pro, {razvertka(1), razvertka(2), razvertka(3), razvertka(4)}) : std::vector<TPatternPiece>{};
    for (const TPatternPiece& sheet : sheets) f.Sheets.push_back(sheetOf(sheet.Quadrants, sheet.Outline));
  } else if (std::any_of(pro.Quadrants.begin(), pro.Quadrants.end(), [](ByteBool q) { return q != 0; })) {
    // The pieces walked one at a time, as flatPattern lays them.
    TPatternWalk(f.Developed, TPlateParams{}, pro, cutting).pieces([&f](const TPatternPiece& piece) {
      TSheetFigures sheet = sheetOf(piece.Quadrants, piece.Outline);
      if (!piece.Net.empty()) sheet.NetArea = checkFinite(std::fabs(polygonArea(piece.Net)));
      sheet.Name = piece.Name;
      f.Sheets.push_back(std::move(sheet));
    });
  }

  // mm2 * mm = mm3, and a cubic metre is 1E9 mm3 (an inch project's cubic
  // inches likewise by their own factor).
  f.NetArea = checkFinite(f.NetArea);
  f.Mass = checkFinite(f.NetArea * plate.Thickness * cubicMetresPerUnit(cutting.Units) * plate.Density);
  checkFinite(f.Accuracy.worst());
  checkFinite(f.Accuracy.ChordPolygonGap);
  return f;
}

}  // namespace

TShopFigures shopFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting, const TQuadrantSource& source,
                         const std::function<void(int, const TQuadrantArrays&)>& seen) {
  return figuresOf(sp, pro, plate, cutting, source, true, seen, nullptr);
}

TShopFigures shopSummary(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting,
                         const std::function<void(int, const TQuadrantArrays&)>& seen) {
  return figuresOf(sp, pro, plate, cutting, {}, false, seen, nullptr);
}

TShopFigures shopSummary(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting, const std::function<void(int, const TQuadrantArrays&)>& seen,
                         std::optional<TQuote>& quote, const std::function<void(const TQuadrantFigures&)>& measured) {
  return figuresOf(sp, pro, plate, cutting, {}, false, seen, &quote, measured);
}

}  // namespace fish
