// The pattern cut into the pieces its seams make (CuttingParams.h).
//
// Round the transition, seen from the round end, the eight places a seam may
// run split the surface into eight half quadrants, H0 between +x and c1, H1
// between c1 and +y, and so on to H7 between c4 and +x. A piece is a run of
// chosen half quadrants between two seams (or a quadrant left out); a
// quadrant whose corner carries no seam goes whole into its piece.
//
// Each quadrant is developed in its own frame (the tables' frame of
// PreciseDevelopment.h) and cut at its corner seam along generator k*, the
// one whose direction about the corner's image is nearest half the corner's
// fan. A piece is laid as one connected development: every half after the
// first is moved rigidly (turned, and mirrored if its frame is) so that the
// seam line it shares with the half before falls on that half's, on the far
// side of it. A piece's outline then runs along the rectangular end from its
// first seam to its last, back along the round end, and closes on the seam
// lines; each edge knows which of these it is, for the allowances.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CuttingParams.h"
#include "FlatPattern.h"
#include "fishApi/core/FishTypes.h"

namespace fish {

// What an edge of a piece's net outline is.
enum class TEdgeKind : std::uint8_t {
  Rect,       // the rectangular end
  Round,      // the round end (an arc chord)
  SeamStart,  // the seam the piece starts at (that seam's second edge)
  SeamEnd,    // the seam the piece ends at (that seam's first edge)
  Open,       // where a quadrant left out ends the piece: no allowance
};

struct TPieceNet {
  std::vector<int> Quadrants;  // 1..4, as the piece runs round
  // Closed and counter-clockwise; Edges[i] joins Net[i] and Net[i + 1].
  std::vector<TPoint2D> Net;
  std::vector<TEdgeKind> Edges;
  std::vector<TPatternLine> Bends;    // every generator inside the piece
  std::vector<TPatternLabel> Labels;  // the results tables' names, each once
  std::string Seams;                  // the seams at its ends, e.g. "+x, -x"
};

// The pieces of the chosen quadrants, developed as `cutting.Pattern` cuts
// them. The default seams (+x, -x) keep the tables' frame (with allowances,
// the pieces of quadrants 3 and 4 move down clear); any other seams
// lay each piece with its longest extent along X, the pieces one above the
// other. Throws the development's errors, ENoQuadrant, or ECuttingError
// naming a piece whose development overlaps itself.
std::vector<TPieceNet> patternNets(const TSystemParams& sp, const TProParams& pro, const TCuttingParams& cutting);

// The same of the sizes as given for a plate (developCutting); without
// `names` the pieces carry no labels.
std::vector<TPieceNet> patternNets(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                                   const TCuttingParams& cutting, bool names = true);

// The same with each piece's bend lines handed to `lines` (the piece's index
// and the line, in the order Bends has them) instead of held: the pieces come
// back without them. Without `names`, the pieces are laid one at a time
// (TPieceLaying below); with them, today's pieces without allowances hand
// their lines over as they are laid, the others once laid whole.
using TPieceLines = std::function<void(std::size_t piece, const TPatternLine& line)>;
std::vector<TPieceNet> patternNets(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                                   const TCuttingParams& cutting, bool names, const TPieceLines* lines);

// The same pieces laid one at a time from developments handed over element
// by element, so that nothing but one piece's net is held: a first pass lays
// every piece's net to learn where it goes (the turn to its longest extent,
// the stacking, the move down) and refuses what patternNets refuses, in the
// same order; afterwards each piece's net, bend lines and labels are laid
// again on request and moved the same way, bit for bit.
//
// `develop(q, upTo, each)` hands quadrant q's development to `each` element
// by element as cutting lays it, at least up to element `upTo`.
using TElementFn = std::function<void(std::size_t element, const TRazvertka2Point& e)>;
using TDevelopFn = std::function<void(int q, std::size_t upTo, const TElementFn& each)>;

// Quadrant q developed as developCutting develops it for a plate, handed
// over element by element (the precise one no further than `upTo`).
TDevelopFn cuttingElements(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                           const TCuttingParams& cutting);

// The directions (radians from +X) of the lines leaving a point.
struct TPointMeets {
  TPoint2D At;
  std::vector<Extended> Directions;
};

class TPieceLaying {
 public:
  // Throws as patternNets does, and the allowances' ECuttingError for a
  // width larger than its piece (cutOutline).
  TPieceLaying(const TProParams& pro, const TCuttingParams& cutting, TDevelopFn develop);
  ~TPieceLaying();
  TPieceLaying(const TPieceLaying&) = delete;
  TPieceLaying& operator=(const TPieceLaying&) = delete;

  std::size_t size() const;
  // Some piece has a bend line.
  bool anyBend() const;
  // Piece i where it stays, without its bend lines and labels.
  TPieceNet net(std::size_t i) const;
  // Piece i's bend lines in patternNets' order; `start` is told each half
  // quadrant's quadrant before its lines (and before its development starts).
  void bends(std::size_t i, const std::function<void(const TPatternLine&)>& each,
             const std::function<void(int quadrant)>& start = {}) const;
  // Where the edges of `outline`, piece i's outline as cut from its net
  // outline `net`, meet the points the piece's labels may stand at, for
  // labels().
  std::vector<TPointMeets> outlineMeets(std::size_t i, const std::vector<TPoint2D>& net,
                                        const std::vector<TPoint2D>& outline) const;
  // Piece i's labels in patternNets' order, each turned into the widest
  // angle between the lines that meet at its point: the cut outline's edges
  // (`meets`, from outlineMeets) and the piece's bend lines.
  void labels(std::size_t i, const std::vector<TPointMeets>& meets,
              const std::function<void(const TPatternLabel&)>& each) const;

  struct TPlan;

 private:
  std::unique_ptr<TPlan> P;
};

}  // namespace fish
