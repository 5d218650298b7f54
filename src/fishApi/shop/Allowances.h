// The outline a piece is cut along: its net outline (PatternPieces.h) with
// the allowances for joining added outside the edges they belong to.
//
// A straight edge of width W gets the rectangle W deep outside it, ending
// square at its ends; where two edges that both carry an allowance meet at an
// outward corner, the gap between their rectangles is filled up to where
// their outer lines meet (a mitre; past four times the wider allowance, cut
// straight across). The round end's allowance is the round end offset by W
// (Clipper's offset of the open chain of its chords, its joins mitred), kept
// to the outside of the piece and cut along the seam lines at its ends.
// Everything is joined by Clipper's union, on integer coordinates fine enough
// that the outline moves by less than 1E-6 of its size.
#pragma once

#include <vector>

#include "CuttingParams.h"
#include "PatternPieces.h"

namespace fish {

// The width of the allowance along an edge of a kind.
Extended allowanceOf(TEdgeKind kind, const TCuttingParams& cutting);

// The cut outline, closed and counter-clockwise. ECuttingError naming the
// width when one is larger than the piece itself (its longer side).
std::vector<TPoint2D> cutOutline(const TPieceNet& piece, const TCuttingParams& cutting);

// The widest allowance, after cutOutline's check of every width against
// the piece whose net outline has the box `box`.
Extended checkedAllowances(const TExtents2D& box, const TCuttingParams& cutting);

}  // namespace fish
