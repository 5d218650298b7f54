// The flat pattern walked element by element instead of held: the same
// pieces, bend lines and labels as TFlatPattern (FlatPattern.h), in the same
// order and bit for bit, handed one at a time to whoever writes them.
//
// Each walk (pieces, bend lines, labels) lays the developments afresh and
// keeps nothing that grows with the divisions but the one outline being
// handed over (a piece's outline is built whole before it is handed on) and,
// for aiming the labels, the directions of the lines that meet at the
// corners and the other ends of the sides. The walks may be taken in any
// order and as often as a writer needs; a writer that needs the box of the
// outlines before its first element asks box().
//
// Pieces cut at other seams or with allowances are laid one at a time
// (TPieceLaying, PatternPieces.h): a walk lays each piece's net again and
// cuts it (Allowances.h), holding one piece's net and cut outline at a time
// and, for aiming the labels, where the cut outlines meet the points they
// stand at.
#pragma once

#include <functional>
#include <memory>

#include "CuttingParams.h"
#include "FlatPattern.h"
#include "PlateParams.h"

namespace fish {

class TPatternWalk {
 public:
  // The pattern flatPattern(sp, plate, pro, cutting) holds, with its
  // errors: today's pieces refuse the cutting choices at once and the plate,
  // the development's errors and ENoQuadrant from the first walk; pieces of
  // other seams or with allowances are laid here and refuse everything here.
  TPatternWalk(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
               const TCuttingParams& cutting);
  // The pattern flatPattern(sp, pro, kind) holds: today's seams, no
  // allowances, no choice checked.
  TPatternWalk(const TSystemParams& sp, const TProParams& pro, TPatternKind kind);
  ~TPatternWalk();
  TPatternWalk(const TPatternWalk&) = delete;
  TPatternWalk& operator=(const TPatternWalk&) = delete;

  TPatternKind kind() const;
  TUnits units() const;
  // The pieces carry their net outlines (TPatternPiece::Net): allowances.
  bool nets() const;
  // Some bend line carries its angle (walks the bend lines once when the
  // angles are asked for and they have not been walked).
  bool angles() const;

  // Every piece in TFlatPattern::Pieces order; the piece lives for the call.
  void pieces(const std::function<void(const TPatternPiece&)>& each) const;
  // Every bend line (or tick) in TFlatPattern::BendLines order.
  void bendLines(const std::function<void(const TPatternLine&)>& each) const;
  // Every label, aimed, in TFlatPattern::Labels order. Walks the pieces and
  // the bend lines first unless both have been walked whole.
  void labels(const std::function<void(const TPatternLabel&)>& each) const;

  // TFlatPattern::Box and ::Crossing; each walks the pieces once the first
  // time it is asked (crossing() testing every outline as it goes).
  TExtents2D box() const;
  bool crossing() const;

  struct TState;

 private:
  std::unique_ptr<TState> S;
};

// The whole pattern collected from the walk: flatPattern's value.
TFlatPattern collectPattern(const TPatternWalk& walk);

}  // namespace fish
