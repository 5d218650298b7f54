// The page "Размеры для разметки": the shop figures (ShopFigures.h) as plain
// text lines for a fixed-pitch font, lengths in hundredths of a mm as the
// pattern chosen for cutting measures them.
#pragma once

#include <cstdint>
#include <string_view>

#include "FishTexts.h"
#include "fishApi/shop/PlateParams.h"
#include "fishApi/shop/QuoteFigures.h"
#include "fishApi/shop/ShopFigures.h"

namespace fish {

// Which face of the plate is up as the pattern is drawn (the DXF read as it
// is drawn): the transition's outside or its inside; Unknown when chosen
// quadrants disagree or none has a facet of any area.
enum class TFaceUp : std::uint8_t { Unknown, Outside, Inside };

// The quote of the chosen quadrants (QuoteFigures.h), nothing when none is
// chosen, and the face that is up as they are drawn.
struct TShopQuote {
  TQuote Quote;
  TFaceUp FaceUp = TFaceUp::Unknown;
};

// Throws what quoteFigures throws.
TShopQuote shopQuote(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                     const TCuttingParams& cutting);

// The figures without their lists (shopSummary) and the quote without its
// bends (only counted: quoteFigures without keepBends), the face up taken
// from the developments the figures measure. Throws what shopSummary, then
// shopQuote, throw.
struct TShopSummary {
  TShopFigures Figures;
  TShopQuote Quote;
};
// `watch` is shown each quadrant as shopSummary shows it: its arrays, then
// its figures.
struct TQuadrantWatch {
  std::function<void(int quadrant, const TQuadrantArrays&)> Seen;
  std::function<void(const TQuadrantFigures&)> Measured;
};
TShopSummary shopSummaryAndQuote(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                                 const TCuttingParams& cutting, const TQuadrantWatch& watch = {});

// The page's lines from figures already computed.
TStringList figuresLines(const TShopFigures& figures, std::string_view decimalSeparator = ".");

// The page of the records and the pattern chosen for cutting: the lines, or
// as far as they go and the engine's error (the results page's convention).
// The tables' arrays come from `source` when there is one (see shopFigures).
TResultsPage figuresPage(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         TPatternKind pattern, std::string_view decimalSeparator = ".",
                         const TQuadrantSource& source = {});

// The same with the pattern cut as `cutting` says: the sheets section names
// the seams and allowances when they are not today's, and gives each piece's
// area with and without its allowances; then the press brake's bends of each
// piece and, after the totals, what the job is priced by (shopQuote).
TResultsPage figuresPage(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting, std::string_view decimalSeparator = ".",
                         const TQuadrantSource& source = {});

}  // namespace fish
