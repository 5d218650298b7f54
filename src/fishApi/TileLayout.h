// Splitting a full-size pattern over sheets of paper.
//
// Every sheet prints the pattern at exactly 100 % inside 10 mm margins.
// Neighbouring sheets overlap by 10 mm, where registration marks let them be
// laid together. Rows are named A, B, ... from the top, columns 1, 2, ...
// from the left ("B3"); a sheet with no part of the pattern (no line and no
// metal) is left out. The orientation is the one that needs fewer sheets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FishErrors.h"
#include "FishTypes.h"
#include "FlatPattern.h"

namespace fish {

enum class TPaper { A4, A3, Letter };

// Portrait size in millimetres.
struct TPaperSize {
  Extended Width = 0;
  Extended Height = 0;
};
TPaperSize paperSize(TPaper paper);

// "A4", "A3" or "Letter" (any case); false for anything else.
bool paperFromName(std::string_view name, TPaper& paper);

inline constexpr Extended kSheetMargin = 10;  // mm on every side
inline constexpr Extended kTileOverlap = 10;  // mm shared by neighbours
inline constexpr int kMaxSheets = 500;

struct TTile {
  int Row = 0;     // 0 at the top
  int Column = 0;  // 0 at the left
  std::string Name;
  TExtents2D Area;  // the part of the pattern it prints, in pattern millimetres
  // The names of the neighbours that are printed ("" where there is none).
  std::string Above, Below, Left, Right;
};

struct TTileLayout {
  TPaper Paper = TPaper::A4;
  bool Landscape = false;
  Extended SheetWidth = 0;  // the paper, in the chosen orientation
  Extended SheetHeight = 0;
  int Rows = 0;
  int Columns = 0;
  TExtents2D Grid;           // the whole grid of printable areas
  std::vector<TTile> Tiles;  // the sheets printed, row by row from the top
};

// More sheets than kMaxSheets would be needed.
class ETooManySheets : public EFishError {
 public:
  explicit ETooManySheets(long long sheets);
};

// The row name of a 0-based row: A..Z, then AA, AB, ...
std::string rowName(int row);

TTileLayout tileLayout(const TFlatPattern& pattern, TPaper paper);

}  // namespace fish
