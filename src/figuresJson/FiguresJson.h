// The shop figures of a project as one JSON document, for programs that
// nest, price, check or mark out a pattern: the input, the pattern chosen for
// cutting (whose development every figure measures), the sizes developed
// for the plate, every quadrant's outline points, the true lengths of its
// generator lines, arc chords and rectangle half sides (what marking out by
// triangulation takes), its area, the sheets as drawn, the net area, the mass
// and the accuracy. Lengths in mm, areas in mm2 (in and in2 in a project
// whose "units" say "in"), the mass in kg; numbers as
// JSON numbers carrying a double's full precision. The document's form is
// docs/vintaler-figures.schema.json.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "fishApi/core/FishTypes.h"
#include "fishApi/shop/ShopFigures.h"
#include "fishApi/texts/FiguresText.h"

namespace vintaler::figures {

// The document, compact, without a final line feed. A value that is not a
// finite number (none should be) fails with fish::EInvalidOp rather than
// become JSON's null.
std::string figuresJson(const fish::TProParams& pro, const fish::TShopFigures& figures);

// The same with the press brake's bends of every piece in cutting order
// (`bends`), what the job is priced by (`quote`) and the face up as drawn.
std::string figuresJson(const fish::TProParams& pro, const fish::TShopFigures& figures,
                        const fish::TShopQuote& quote);

// The same document written to `out` as it is made, byte for byte the
// string's: nothing is held that grows with the divisions but what
// `figures` holds. Figures without the quadrants' lists (fish::shopSummary)
// have each quadrant developed again as it is written, one at a time, and a
// quote that only counted its bends has the pattern's bend lines walked
// again for them (fish::TPatternWalk). A
// value that is not a finite number fails as above, with the document
// written so far.
void writeFiguresJson(std::ostream& out, const fish::TProParams& pro, const fish::TShopFigures& figures,
                      const fish::TShopQuote& quote);

// The figures and quote of fish::shopSummaryAndQuote worked out and their
// document written to `out` in one pass: each quadrant is written while the
// summary has its development at hand, the rest once every quadrant is
// measured, so that no quadrant is developed twice. The bytes are those of
// writeFiguresJson of the same summary. Throws what the summary throws,
// then what the document fails with, as that pair would in turn; `out` is
// then left with part of a document, so the caller writes to a place it
// can let go. `bendsDraft`, when given, is an empty place the bends of
// today's pieces are spelled into meanwhile and read back from, so that
// they are not held.
fish::TShopSummary writeShopJson(std::ostream& out, std::iostream* bendsDraft, const fish::TSystemParams& sp,
                                 const fish::TProParams& pro, const fish::TPlateParams& plate,
                                 const fish::TCuttingParams& cutting);

}  // namespace vintaler::figures
