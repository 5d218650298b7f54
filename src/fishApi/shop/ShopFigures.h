// The figures a shop lays a pattern out and prices it by: the true length of
// every line for marking out by triangulation, the areas of the pieces and
// sheets, the mass of the plate, and how far the developed pattern departs
// from the exact surface.
//
// Lengths are in mm, areas in mm2, the mass in kg. Everything is taken from
// the sizes as developed for the plate (developedParams), and from the
// pattern chosen for cutting (CuttingParams.h): for the precise pattern the
// true lengths are those of the exact surface, unrounded, and the areas those
// of its exact triangles; for the tables' pattern both are the tables'.
//
// Points are named as in the results tables (PointNames.h).
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fishApi/core/FishSurface.h"
#include "fishApi/core/FishTypes.h"
#include "CuttingParams.h"
#include "PlateParams.h"
#include "QuoteFigures.h"
#include "fishApi/precise/PreciseAccuracy.h"
#include "fishApi/core/PointNames.h"

namespace fish {

// How far one quadrant's development departs from the exact surface: the
// circle with its true directions (not rounded to three decimals) and
// lengths not rounded to hundredths.
struct TQuadrantAccuracy {
  // The developed arc: the sum of the distances between neighbouring arc
  // images, T1 to T2 (T7).
  Extended ArcLength = 0;
  // The circle's quarter: pi * R / 2 of the developed radius.
  Extended TrueArcLength = 0;
  // TrueArcLength less the sum of the exact chords of the n steps: what the
  // straight steps between the arc points cost even when exact.
  Extended ChordPolygonGap = 0;
  // The largest |developed length - exact 3-D length| over the piece's
  // edges: every generator line (elements 0 .. n+2), every chord between
  // neighbouring arc points, and the two half sides of the rectangle.
  Extended WorstEdgeError = 0;
};

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
class TArcWalk {
 public:
  TArcWalk() = default;
  TArcWalk(Extended start, Extended step) : Start(start), Step(step), CosStep(std::cos(step)), SinStep(std::sin(step)) {
    seed();
  }

  Extended cos() const { return Cos; }
  Extended sin() const { return Sin; }

  void next() {
    ++Index;
    if (--UntilSeed == 0) {
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
    UntilSeed = kReseed;
    const Extended t = static_cast<Extended>(Index) * Step + Start;
    Cos = std::cos(t);
    Sin = std::sin(t);
  }

  Extended Start = 0;
  Extended Step = 0;
  Extended CosStep = 1;
  Extended SinStep = 0;
  std::int64_t Index = 0;
  std::int64_t UntilSeed = kReseed;
  Extended Cos = 1;
  Extended Sin = 0;
};

// The accuracy of a quadrant measured element by element as its development
// is laid (developQuadrantElements), nothing kept that grows with the
// divisions: add() every element in index order 0 .. n + 2, then result().
// ERangeError for an element out of order or a result before the last.
class TAccuracyMeter {
 public:
  TAccuracyMeter(const TSystemParams& developed, const TProParams& pro, int quadrant);
  void add(std::size_t k, const TRazvertka2Point& element);
  TQuadrantAccuracy result() const;

 private:
  void note(Extended developedLength, Extended exactLength);

  TSystemParams Developed;
  std::int32_t Divisions;
  TQuadrantSetup Setup{};
  Extended Step = 0;
  TPoint3D MidY, Corner, MidX;
  std::size_t Next = 0;
  TArcWalk Walk;
  Extended ExactChord = 0;     // between neighbouring exact arc points
  Extended StartToCorner = 0;  // the exact first generator line of the cone
  TPoint2D Origin, CornerImage, PreviousImage;
  TQuadrantAccuracy Result;
};

// The accuracy of a quadrant from its development `d` (as developQuadrant
// makes it from `developed` and `pro`).
TQuadrantAccuracy quadrantAccuracy(const TSystemParams& developed, const TProParams& pro, int quadrant,
                                   const TRazvertka2PointArray& d);

// The accuracy of the whole transition: the worst quadrant of each measure.
struct TAccuracy {
  Extended ArcLengthError = 0;   // max |ArcLength - TrueArcLength|
  Extended WorstEdgeError = 0;   // max WorstEdgeError
  Extended ChordPolygonGap = 0;  // max ChordPolygonGap
  Extended Limit = kAccuracyLimit;  // in the project's unit (accuracyLimit)

  void include(const TQuadrantAccuracy& quadrant);
  Extended worst() const;  // the larger of the two errors
  bool exceedsLimit() const { return worst() > Limit; }
  // The steps are too coarse for the arc: more divisions would help. Otherwise
  // an error above the limit comes from the rounding, which grows with the
  // number of divisions: fewer would help.
  bool wantsMoreDivisions() const { return ChordPolygonGap > Limit; }
};

// The plain warning when the accuracy exceeds the limit, empty otherwise:
// how far the pattern departs (hundredths of a mm, in the caller's decimal
// separator), the limit, and whether fewer or more divisions would help.
std::string accuracyWarning(const TAccuracy& accuracy, std::string_view decimalSeparator = ".",
                            TUnits units = TUnits::Millimetres);

struct TQuadrantFigures {
  int Quadrant = 0;
  // The piece as the chosen pattern develops it.
  TRazvertka2PointArray Razvertka;
  // True length of the generator line of element k = 0 .. n+2 (O-T1, corner
  // to each arc point 1 .. n+1, X-side midpoint to the arc end), as the
  // development measures it: for the tables Distance3D of its end points,
  // for the precise pattern their exact distance.
  std::vector<Extended> Generators;
  // Chord i = 0 .. n-1 joins arc points i+1 and i+2, measured the same way.
  std::vector<Extended> Chords;
  // The half sides of the rectangle: O to the corner, the corner to the
  // X-side midpoint (Distance3D).
  Extended EdgeToCorner = 0;
  Extended EdgeFromCorner = 0;
  // The area enclosed by the piece's developed outline (as drawn, positive).
  Extended Area = 0;
  TQuadrantAccuracy Accuracy;
};

// One sheet as drawn and exported: with today's seams quadrants 1 and 2, or
// 3 and 4, joined along their shared line when both are chosen; with others,
// the pieces they make (PatternPieces.h).
struct TSheetFigures {
  std::vector<int> Quadrants;  // every quadrant it holds a part of, once, in increasing order
  Extended Area = 0;           // enclosed by its outline, the one it is cut along
  Extended Width = 0;          // the blank: that outline's bounding rectangle
  Extended Height = 0;
  // Enclosed by the net outline, without the allowances: Area without them.
  Extended NetArea = 0;
  std::string Name;  // the piece's name with seams other than today's, else empty
};

struct TShopFigures {
  TSystemParams Given;
  TSystemParams Developed;
  TPlateParams Plate;
  TPatternKind Pattern = TPatternKind::Precise;
  TCuttingParams Cutting;  // its Pattern is Pattern
  std::int32_t Divisions = 0;
  std::array<TQuadrantFigures, 4> Quadrants;  // all four, like the results page
  std::vector<TSheetFigures> Sheets;          // the chosen quadrants; none chosen, none
  Extended NetArea = 0;                       // the four quadrants' areas
  Extended Mass = 0;                          // NetArea * t * density
  TAccuracy Accuracy;                         // of the chosen pattern's lines and arc
  // How far each pattern stands off the exact one (the chords of both; the
  // tables' points), with the advice for the chosen pattern.
  TPatternAccuracy PatternAccuracy;
};

// A quadrant's surface and development as developQuadrant makes them.
struct TQuadrantArrays {
  const TSurf2PointArray* Surf = nullptr;
  const TRazvertka2PointArray* Razvertka = nullptr;
};
// Gives the arrays of quadrant 1..4 of the developed sizes (valid until it is
// asked for the next quadrant), or throws that quadrant's engine error.
using TQuadrantSource = std::function<TQuadrantArrays(const TSystemParams& developed, int quadrant)>;

// All the figures of the pattern `pattern` cuts; each quadrant is developed
// once for them or, for the tables' pattern, taken from `source` (a window
// that keeps the arrays for its pictures), in quadrant order. Throws the
// engine's errors (the plate's among them) as the results page would meet
// them, and those of the chosen development.
TShopFigures shopFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         TPatternKind pattern, const TQuadrantSource& source = {});

// The same, the sheets cut as `cutting` says: its seams' pieces, each with
// its allowances (flatPattern). Throws as that does besides.
// `seen`, when given, is shown each quadrant's arrays as they are measured.
TShopFigures shopFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting, const TQuadrantSource& source = {},
                         const std::function<void(int quadrant, const TQuadrantArrays&)>& seen = {});

// The same figures without the quadrants' per-element lists: each
// quadrant's Razvertka, Generators and Chords are left empty, every other
// figure is the same to the bit. Each quadrant is developed once and let go
// (today's sheets hold the two quadrants of a sheet while it is joined), so
// that nothing of all four quadrants is held; every length is measured on
// the way, so the lists walked again (figuresQuadrant) are finite.
TShopFigures shopSummary(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting,
                         const std::function<void(int quadrant, const TQuadrantArrays&)>& seen = {});

// The same with the quote of today's pieces (the default seams, no
// allowances) made from the sheets' outlines as they are laid, as
// quoteFigures without keepBends makes it, bit for bit; `quote` is left
// empty (quoteFigures then) for other seams or allowances, no quadrant
// chosen, or pieces not laid in one frame. `measured`, when given, is shown
// each quadrant's figures (without the lists) once they are measured, after
// `seen` was shown its arrays and before the next quadrant is developed.
TShopFigures shopSummary(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting,
                         const std::function<void(int quadrant, const TQuadrantArrays&)>& seen,
                         std::optional<TQuote>& quote,
                         const std::function<void(const TQuadrantFigures&)>& measured = {});

// Quadrant 1..4 of `figures` developed again into `into` (its arrays
// reused), as the figures measured it: generator k is the line
// into.Surf[k], chord i the line from into.Surf[i + 1].P2 to
// into.Surf[i + 2].P2, each as long as figuresLength says.
void figuresQuadrant(const TShopFigures& figures, const TProParams& pro, int quadrant, TQuadrantDevelopment& into);

// The true length of a line between two points of the surface the pattern
// is laid from: exact for the precise pattern, between points rounded to
// hundredths for the tables'.
Extended figuresLength(TPatternKind pattern, const TPoint3D& from, const TPoint3D& to);

}  // namespace fish
