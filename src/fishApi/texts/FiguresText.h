// The page "Размеры для разметки": the shop figures (ShopFigures.h) as plain
// text lines for a fixed-pitch font, lengths in hundredths of a mm as the
// pattern chosen for cutting measures them.
#pragma once

#include <string_view>

#include "FishTexts.h"
#include "fishApi/shop/PlateParams.h"
#include "fishApi/shop/ShopFigures.h"

namespace fish {

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
// area with and without its allowances.
TResultsPage figuresPage(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting, std::string_view decimalSeparator = ".",
                         const TQuadrantSource& source = {});

}  // namespace fish
