// The flat pattern as it goes onto metal: the sheets to cut, the lines to
// bend or mark, and the point names of the results tables, in millimetres in
// the development's own coordinates, at the full precision of the
// computation. Built once from the development chosen for cutting (the
// precise one or the tables'); every export (DXF, SVG, PDF, the tiled print)
// writes this value.
//
// A quadrant's piece is bounded by the image of the Y side's centre line
// (origin -> arc start), the half side from the Y-side midpoint to the corner,
// the half side from the corner to the X-side midpoint, the generator line
// from there to the arc end, and the arc images back to the arc start.
// Quadrants 1 and 2 share the first of these lines, and so do 3 and 4: when
// both of a pair are chosen they are one sheet, and that line is not cut.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishTypes.h"
#include "CuttingParams.h"
#include "PlateParams.h"

namespace fish {

// One sheet to cut: its outline as a closed polygon (the last vertex joins
// the first; no vertex repeats its predecessor), counter-clockwise.
struct TPatternPiece {
  std::vector<int> Quadrants;  // 1..4, in increasing order
  std::vector<TPoint2D> Outline;
  // With allowances: the net outline inside the cut one (Outline), on which
  // the bend lines end; empty without them.
  std::vector<TPoint2D> Net;
  // Seams other than today's: the piece's name ("Деталь 1 из 2 (швы c1, c3)")
  // and where it is written, in the middle of the piece's box.
  std::string Name;
  TPoint2D NameAt;
};

// A bend or marking line: a generator line of the cone between the corner
// and an arc point (elements 1 to n+1 of the development).
struct TPatternLine {
  int Quadrant = 0;
  TPoint2D From;
  TPoint2D To;
  std::size_t Element = 0;  // k, the development's element (1 .. n+1)
  // The bend along it in degrees (BendTable.h), when the cutting choices ask
  // for the angles on the drawings. Of a line marked by ticks, only the tick
  // at the round end carries it: the lines stand widest apart there.
  std::optional<Extended> Angle = std::nullopt;
};

// A point name of the results tables (T1.., R1.., L1..) at its point. The
// name stands off the lines that meet there: in the widest angle between
// them, on the line that halves it.
struct TPatternLabel {
  std::string Text;
  TPoint2D At;
  TPoint2D Toward{0.70710678118654752440L, 0.70710678118654752440L};  // unit vector halving that angle
  Extended Spread = 3.14159265358979323846L;                          // half that angle, in radians
};

// A label at `at` turned into the widest angle between `directions`, the
// angles (radians, from +X counter-clockwise) of the lines that leave its
// point; with no direction it keeps its default.
TPatternLabel aimedLabel(std::string text, const TPoint2D& at, std::vector<Extended> directions);

// The same label turned into each angle between `directions` in turn, the
// widest first: the places to try when the first is taken by another name.
std::vector<TPatternLabel> labelChoices(const std::string& text, const TPoint2D& at, std::vector<Extended> directions);

// Where the centre of a label's text goes when the text is `width` x
// `height` (its box upright): along Toward, just far enough that the box
// keeps `height` / 2 clear of the point and of the lines bounding its angle.
TPoint2D labelCentre(const TPatternLabel& label, Extended width, Extended height);

struct TFlatPattern {
  std::vector<TPatternPiece> Pieces;
  std::vector<TPatternLine> BendLines;
  std::vector<TPatternLabel> Labels;
  TExtents2D Box;         // of every outline
  bool Crossing = false;  // an outline crosses itself (extreme offsets): exported as drawn
  // The development it was laid from. The tables' pattern is exported as it
  // always was; the precise one says so in each export's title or header.
  TPatternKind Kind = TPatternKind::Table;
  // The unit of every coordinate (the project's).
  TUnits Units = TUnits::Millimetres;
};

// The pattern in millimetres: every point, outline and box scaled by
// mmPerUnit, the directions as they are. What is drawn on paper at full
// size is drawn from this.
TFlatPattern inMillimetres(const TFlatPattern& pattern);

// Nothing to export: no quadrant is chosen.
class ENoQuadrant : public EFishError {
 public:
  ENoQuadrant();
};

// The pattern of the chosen quadrants, developed as `pattern` cuts it
// (CuttingParams.h). Throws the engine's error of the development, or
// ENoQuadrant.
TFlatPattern flatPattern(const TSystemParams& sp, const TProParams& pro, TPatternKind pattern);

// The pattern cut as `cutting` says: its development, its seams, its
// allowances (PatternPieces.h, Allowances.h) and its bend marks (ticks at
// both ends of each bend line instead of the line). Today's seams without
// allowances, marked in full, give flatPattern(sp, pro, cutting.Pattern),
// bit for bit.
// Throws as that does, and ECuttingError for a refused choice.
TFlatPattern flatPattern(const TSystemParams& sp, const TProParams& pro, const TCuttingParams& cutting);

// The same of the sizes as given for a plate (developCutting): the tables'
// pattern of developedParams, the precise one of the plate's middle surface.
// With cutting.BendAngles each bend line gets its Angle, from the surface the
// pattern is laid from.
TFlatPattern flatPattern(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                         const TCuttingParams& cutting);

// The closed outline of one quadrant's piece from its development: origin,
// corner, X-side midpoint, arc end, the arc images, arc start (no vertex
// repeating its predecessor, the last joining the first).
std::vector<TPoint2D> quadrantOutline(const TRazvertka2PointArray& d);

// The sheets of the chosen quadrants laid out from their developments
// (`developments[q - 1]` of every chosen quadrant q; the others are not
// read): quadrants 1 and 2, and 3 and 4, joined along their shared line when
// both are chosen, each outline counter-clockwise. Without a chosen
// quadrant, no sheet.
std::vector<TPatternPiece> patternPieces(const TProParams& pro,
                                         const std::array<const TRazvertka2PointArray*, 4>& developments);

// Twice the signed area is the shoelace sum; positive for counter-clockwise.
Extended polygonArea(const std::vector<TPoint2D>& polygon);

// True when no two edges of the closed polygon meet except neighbours at
// their common vertex.
bool isSimplePolygon(const std::vector<TPoint2D>& polygon);

}  // namespace fish
