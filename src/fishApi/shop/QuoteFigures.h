// What a job is quoted by, per piece as it is cut and for the whole
// transition: the length the cutting head travels, the pierces, the seams to
// weld or lock, the bends and their angles, the blank and the mass.
//
// Lengths in mm, areas in mm2, the mass in kg; every figure is of the pattern
// chosen for cutting, its seams and allowances (CuttingParams.h), developed
// for the plate (developCutting).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "CuttingParams.h"
#include "Hull.h"
#include "PlateParams.h"
#include "fishApi/core/FishTypes.h"

namespace fish {

// One bend line of a piece: its quadrant and its element (numbered as the
// figures' generators), its length and the bend (BendTable.h), in degrees.
struct TBend {
  int Quadrant = 0;
  std::size_t Element = 0;
  Extended Length = 0;
  Extended Angle = 0;
};

struct TPieceQuote {
  std::vector<int> Quadrants;    // as the piece runs round
  std::string Seams;             // the seams at its ends ("+x, -x")
  Extended CutLength = 0;        // the cut outline, allowances included
  int Pierces = 1;               // one a piece: it has no holes
  Extended SeamLength = 0;       // its edges on seams, to weld or lock (net)
  Extended NetArea = 0;          // inside the net outline
  Extended CutArea = 0;          // inside the cut outline
  Extended BlankWidth = 0;       // the cut outline's box, as laid
  Extended BlankHeight = 0;
  TBlank MinBlank;               // the least rectangle round it, turned any way
  Extended Mass = 0;             // of CutArea
  std::vector<TBend> Bends;      // in cutting order: round the piece
  std::size_t BendCount = 0;     // Bends.size(), also when they are not kept
};

struct TQuote {
  std::vector<TPieceQuote> Pieces;
  // The sums over the pieces.
  Extended CutLength = 0;
  int Pierces = 0;
  Extended SeamLength = 0;
  std::size_t Bends = 0;
  Extended NetArea = 0;
  Extended CutArea = 0;
  Extended BlankArea = 0;  // the boxes'
  Extended MinBlankArea = 0;  // the least rectangles'
  Extended Mass = 0;
};

// The quote of the chosen quadrants. Throws what flatPattern throws, and
// the plate's errors.
TQuote quoteFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                    const TCuttingParams& cutting);

// The bends of quadrants 1..4, element k - 1 that along generator k, as
// bendAngles gives them from the surface the chosen pattern is laid from
// (developCutting's Surf).
using TQuadrantBends = std::array<std::vector<Extended>, 4>;

// The same with each chosen quadrant's bends measured already (none when
// `bends` is null). Without `keepBends` each piece only counts its bends
// (BendCount), Bends left empty and no angle measured: for a writer that
// walks the bend lines again (TPatternWalk), which hands them over in the
// same order, pieces one after another.
TQuote quoteFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                    const TCuttingParams& cutting, const TQuadrantBends* bends, bool keepBends = true);

// A piece whose quadrants, seams, seam length and bend count are set,
// quoted from its net outline and its cut one (the net one without
// allowances): its cut length, areas, blanks and mass, then added to the
// quote's sums.
void addPiece(TQuote& quote, TPieceQuote piece, const std::vector<TPoint2D>& net, const std::vector<TPoint2D>& cut,
              const TPlateParams& plate, TUnits units);

// What a piece of today's seams (+x and -x, no allowances) needs of each of
// its quadrants' developments to be quoted from its sheet's outline: the
// development's origin, corner, arc start and first arc point's image
// (element 1's far end), X-side midpoint and arc end, and how many bend
// lines it has (its generators from the corner, but where an arc point lies
// on the corner).
struct TTodaysQuadrant {
  TPoint2D Origin, Corner, ArcStart, FirstArc, MidX, ArcEnd;
  std::size_t Bends = 0;
};
TTodaysQuadrant todaysQuadrant(const TRazvertka2PointArray& development);

// Today's piece of quadrant `first` (1 or 3 when it is joined to the next,
// then `second` is that one's) quoted as quoteFigures quotes it, bit for bit,
// from its sheet's outline as patternPieces lays it (counter-clockwise from
// the origin), without the piece laid again: the piece's net runs round the
// same points the same way, from another one, so the outline is turned in
// place to start there. The bends are counted only. False, with nothing
// added and the outline as it was, when the net would not run round the
// same points (the two quadrants not laid in one frame): quoteFigures then.
bool quoteTodaysPiece(TQuote& quote, std::vector<TPoint2D>& outline, int first, const TTodaysQuadrant& firstQuadrant,
                      const TTodaysQuadrant* second, const TPlateParams& plate, TUnits units);

}  // namespace fish
