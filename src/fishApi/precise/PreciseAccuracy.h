// How far a pattern for cutting stands off the exact one, and how many
// divisions bring it within kAccuracyLimit.
//
// The precise pattern (PreciseDevelopment.h) puts every developed point at
// its exact place; what is left is the straight cut between two neighbouring
// developed circle points, which stands off the developed round end between
// them (the chord error). It falls as the divisions grow, so the advice is a
// number of divisions to reach.
//
// The tables' pattern has the same chords, and its points stand off their
// exact places by what the tables' rounding moved them, measured against the
// precise development of the same project. That does not fall with the
// divisions: the advice is a count found to pass, or none.
//
// Lengths in mm. All four quadrants are measured, as the results page
// develops them all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fishApi/core/FishTypes.h"

namespace fish {

// The largest distance by which a straight chord between neighbouring
// developed circle points stands off the developed circle, over the four
// quadrants, at `divisions` (1 .. kMaxDivisions) steps per quarter arc.
// Refuses a record or a count as the development does.
Extended chordError(const TSystemParams& sp, std::int32_t divisions);

// The fewest divisions whose chord error is within `limit` (kAccuracyLimit
// in the project's unit, accuracyLimit), or 0 when not even kMaxDivisions
// are enough.
std::int32_t chordDivisions(const TSystemParams& sp, Extended limit = kAccuracyLimit);

// The tables' pattern of `pro.Divisions`: the largest distance of any
// element's developed point from the same point of the precise pattern, over
// the four quadrants. Throws what either development throws.
Extended tablePointError(const TSystemParams& sp, const TProParams& pro);

// A search for the tables' advice looks at this many counts at most, from the
// fewest divisions the chords allow upwards: past them the tables' rounding
// only adds up.
inline constexpr std::int32_t kTableSearchCounts = 400;

struct TPatternAccuracy {
  std::int32_t Divisions = 0;
  // Of both patterns' chords at Divisions (chordError).
  Extended ChordError = 0;
  // chordDivisions: the advice for the precise pattern.
  std::int32_t ChordDivisions = 0;
  // The tables' pattern at Divisions (tablePointError).
  Extended MaxPointError = 0;
  // A count at which the tables' pattern is within the limit in both its
  // chords and its points: Divisions when it is; otherwise the one nearest to
  // Divisions of the counts searched, ChordDivisions to TableSearchedTo; 0
  // when none of them is.
  std::int32_t TableDivisions = 0;
  std::int32_t TableSearchedTo = 0;
  // The limit every figure is held to, in the project's unit.
  Extended Limit = kAccuracyLimit;

  bool preciseExceedsLimit() const;
  bool tableExceedsLimit() const;
};

// Both patterns' figures and advice for the project; the count that passes
// for the tables' pattern is searched only when `adviseTables` asks for it
// (TableDivisions and TableSearchedTo stay 0 otherwise). Throws what either
// development throws at the project's own count.
TPatternAccuracy patternAccuracy(const TSystemParams& sp, const TProParams& pro, bool adviseTables = true,
                                 Extended limit = kAccuracyLimit);

// The same with the tables' point error (tablePointError) measured already,
// for instance quadrant by quadrant (quadrantPointError) as the figures
// develop them.
TPatternAccuracy patternAccuracy(const TSystemParams& sp, const TProParams& pro, Extended pointError,
                                 bool adviseTables, Extended limit);

// The largest distance of quadrant `quadrant`'s tables' points from its
// precise ones, one development given whole (`given`, of `sp` and `pro`;
// the tables' when `givenIsTables`), the other walked beside it. Throws
// what the walked development throws.
Extended quadrantPointError(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                            const TRazvertka2PointArray& given, bool givenIsTables);

// The precise pattern's figures alone (Divisions, ChordError,
// ChordDivisions), worked out without developing anything: all its warning
// needs. Refuses what chordError refuses.
TPatternAccuracy chordAccuracy(const TSystemParams& sp, const TProParams& pro, Extended limit = kAccuracyLimit);

// The warning for the precise pattern when its chords exceed the limit, empty
// otherwise: how far they stand off (hundredths of a mm, in the caller's
// decimal separator), the limit, and the fewest divisions to set.
// `unitWord` follows the lengths (empty: millimetres' word).
std::string preciseAccuracyWarning(const TPatternAccuracy& accuracy, std::string_view decimalSeparator = ".",
                                   std::string_view unitWord = {});

// The warning for the tables' pattern when its points or its chords exceed
// the limit, empty otherwise: the worse of the two, the limit, and a count
// that passes, or that none of those searched does and the precise pattern
// is to be cut.
std::string tableAccuracyWarning(const TPatternAccuracy& accuracy, std::string_view decimalSeparator = ".",
                                 std::string_view unitWord = {});

}  // namespace fish
