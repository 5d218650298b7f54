// Splitting a full-size pattern over sheets of paper.
//
// Every sheet prints the pattern at exactly 100 % inside 10 mm margins.
// Neighbouring sheets overlap by 10 mm, where registration marks let them be
// laid together. Rows are named A, B, ... from the top, columns 1, 2, ...
// from the left ("B3"); a sheet with no part of the pattern (no line and no
// metal) is left out. The orientation is the one that needs fewer sheets.
//
// The sheets are counted from the outlines alone, before any line is laid
// on a sheet: the bend lines lie on the metal the outlines enclose, so they
// reach no sheet the outlines do not. Only a layout within the limit goes on
// to find, for every sheet, the lines and names it prints.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishTypes.h"
#include "FlatPattern.h"
#include "PatternWalk.h"

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

// A line of the pattern by its place: the edge of piece `Piece` from outline
// vertex `Index` to the next, or with Piece == kBendLine, BendLines[Index].
struct TLineRef {
  static constexpr std::int32_t kBendLine = -1;
  std::int32_t Piece = 0;
  std::uint32_t Index = 0;
};

struct TTile {
  int Row = 0;     // 0 at the top
  int Column = 0;  // 0 at the left
  std::string Name;
  TExtents2D Area;  // the part of the pattern it prints, in pattern millimetres
  // The names of the neighbours that are printed ("" where there is none).
  std::string Above, Below, Left, Right;
  // The lines that cross or touch its area: the outline edges piece by piece
  // in their order, then the bend lines in theirs.
  std::vector<TLineRef> Lines;
  // The point names whose point lies within kLabelReach of its area.
  std::vector<std::uint32_t> Labels;
};

// How far past a sheet's area a point name's text may reach.
inline constexpr Extended kLabelReach = 20;

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

// "1 лист", "3 листа", "25 листов": a count of sheets with the noun's form
// that goes with it.
std::string sheetCountText(long long sheets);

// The row name of a 0-based row: A..Z, then AA, AB, ...
std::string rowName(int row);

// Throws ETooManySheets as soon as the outlines show that the limit is passed
// in both orientations. The areas are of inMillimetres(pattern), which is
// what the sheets print.
TTileLayout tileLayout(const TFlatPattern& pattern, TPaper paper);

// The same sheets of a walked pattern, which is not held: their names,
// areas and neighbours as above, without the lists of what each one prints
// (Lines and Labels stay empty; the print finds them as it walks).
TTileLayout tileLayout(const TPatternWalk& walk, TPaper paper);

// The sheets of a layout that an element of the pattern (in millimetres)
// reaches, as tileLayout finds them: a line the sheets whose area it crosses
// or touches, a point name those within kLabelReach of its point. Each sheet
// (its index in Tiles) is named once.
class TTileRouter {
 public:
  explicit TTileRouter(const TTileLayout& layout);
  ~TTileRouter();
  TTileRouter(const TTileRouter&) = delete;
  TTileRouter& operator=(const TTileRouter&) = delete;

  void segment(const TPoint2D& a, const TPoint2D& b, const std::function<void(std::size_t)>& each) const;
  void label(const TPoint2D& at, const std::function<void(std::size_t)>& each) const;

  struct TGrid;

 private:
  std::unique_ptr<TGrid> G;
};

}  // namespace fish
