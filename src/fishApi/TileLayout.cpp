#include "TileLayout.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace fish {

namespace {

// Beyond this many grid cells the sheets are not counted one by one: the
// pattern needs at least as many sheets as the grid has rows or columns.
constexpr Extended kMaxGridCells = 4e6L;

struct Grid {
  bool landscape = false;
  Extended sheetW = 0, sheetH = 0;
  Extended areaW = 0, areaH = 0;
  Extended stepX = 0, stepY = 0;
  Extended left = 0, top = 0;
  int rows = 0, columns = 0;
  std::vector<char> used;
  long long count = 0;

  TExtents2D area(int r, int c) const {
    TExtents2D a;
    a.MinX = left + c * stepX;
    a.MaxX = a.MinX + areaW;
    a.MaxY = top - r * stepY;
    a.MinY = a.MaxY - areaH;
    return a;
  }
};

// The number of sheets, each `area` long with `step` between starts, that
// cover `length`.
Extended sheetsAlong(Extended length, Extended area, Extended step) {
  return length <= area ? 1 : std::ceil((length - area) / step) + 1;
}

bool inside(const TExtents2D& r, const TPoint2D& p) {
  return p.X >= r.MinX && p.X <= r.MaxX && p.Y >= r.MinY && p.Y <= r.MaxY;
}

// Liang-Barsky: whether any part of the segment lies in the rectangle.
bool segmentTouches(const TExtents2D& r, const TPoint2D& a, const TPoint2D& b) {
  if (inside(r, a) || inside(r, b)) return true;
  Extended t0 = 0, t1 = 1;
  const Extended dx = b.X - a.X, dy = b.Y - a.Y;
  const Extended p[4] = {-dx, dx, -dy, dy};
  const Extended q[4] = {a.X - r.MinX, r.MaxX - a.X, a.Y - r.MinY, r.MaxY - a.Y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const Extended t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  return true;
}

template <class Visit>
void forEachLine(const TFlatPattern& pattern, Visit visit) {
  for (const TPatternPiece& piece : pattern.Pieces) {
    const std::size_t n = piece.Outline.size();
    for (std::size_t i = 0; i < n; ++i) visit(piece.Outline[i], piece.Outline[(i + 1) % n]);
  }
  for (const TPatternLine& l : pattern.BendLines) visit(l.From, l.To);
}

Grid gridFor(const TFlatPattern& pattern, TPaper paper, bool landscape) {
  const TPaperSize size = paperSize(paper);
  Grid g;
  g.landscape = landscape;
  g.sheetW = landscape ? size.Height : size.Width;
  g.sheetH = landscape ? size.Width : size.Height;
  g.areaW = g.sheetW - 2 * kSheetMargin;
  g.areaH = g.sheetH - 2 * kSheetMargin;
  g.stepX = g.areaW - kTileOverlap;
  g.stepY = g.areaH - kTileOverlap;
  const TExtents2D& box = pattern.Box;
  const Extended w = box.MaxX - box.MinX;
  const Extended h = box.MaxY - box.MinY;
  const Extended columns = sheetsAlong(w, g.areaW, g.stepX);
  const Extended rows = sheetsAlong(h, g.areaH, g.stepY);
  if (!std::isfinite(rows * columns) || rows * columns > kMaxGridCells) {
    throw ETooManySheets(static_cast<long long>(std::min<Extended>(std::max(rows, columns), 1e18L)));
  }
  g.columns = static_cast<int>(columns);
  g.rows = static_cast<int>(rows);
  // The grid is centred on the pattern.
  g.left = box.MinX - ((g.columns - 1) * g.stepX + g.areaW - w) / 2;
  g.top = box.MaxY + ((g.rows - 1) * g.stepY + g.areaH - h) / 2;
  g.used.assign(static_cast<std::size_t>(g.rows) * static_cast<std::size_t>(g.columns), 0);

  const auto mark = [&g](int r, int c) {
    char& cell =
        g.used[static_cast<std::size_t>(r) * static_cast<std::size_t>(g.columns) + static_cast<std::size_t>(c)];
    if (!cell) ++g.count;
    cell = 1;
  };

  // Sheets a line passes through.
  forEachLine(pattern, [&](const TPoint2D& a, const TPoint2D& b) {
    const Extended minX = std::min(a.X, b.X), maxX = std::max(a.X, b.X);
    const Extended minY = std::min(a.Y, b.Y), maxY = std::max(a.Y, b.Y);
    const int c0 = std::max(0, static_cast<int>(std::ceil((minX - g.left - g.areaW) / g.stepX)));
    const int c1 = std::min(g.columns - 1, static_cast<int>(std::floor((maxX - g.left) / g.stepX)));
    const int r0 = std::max(0, static_cast<int>(std::ceil((g.top - g.areaH - maxY) / g.stepY)));
    const int r1 = std::min(g.rows - 1, static_cast<int>(std::floor((g.top - minY) / g.stepY)));
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) {
        if (segmentTouches(g.area(r, c), a, b)) mark(r, c);
      }
    }
  });

  // Sheets wholly inside a sheet of metal: their centre is inside an outline
  // (an odd number of outline crossings to its left).
  for (int r = 0; r < g.rows; ++r) {
    const Extended y = g.top - r * g.stepY - g.areaH / 2;
    std::vector<Extended> crossings;
    for (const TPatternPiece& piece : pattern.Pieces) {
      const std::size_t n = piece.Outline.size();
      for (std::size_t i = 0; i < n; ++i) {
        const TPoint2D& a = piece.Outline[i];
        const TPoint2D& b = piece.Outline[(i + 1) % n];
        if ((a.Y > y) != (b.Y > y)) crossings.push_back(a.X + (y - a.Y) / (b.Y - a.Y) * (b.X - a.X));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (int c = 0; c < g.columns; ++c) {
      const Extended x = g.left + c * g.stepX + g.areaW / 2;
      const auto left = std::lower_bound(crossings.begin(), crossings.end(), x) - crossings.begin();
      if (left % 2 == 1) mark(r, c);
    }
  }
  return g;
}

}  // namespace

ETooManySheets::ETooManySheets(long long sheets)
    : EFishError("Для печати в натуральную величину нужно " + std::to_string(sheets) + " листов, больше допустимых " +
                 std::to_string(kMaxSheets) + ": возьмите бумагу больше или передайте развертку в DXF") {}

TPaperSize paperSize(TPaper paper) {
  switch (paper) {
    case TPaper::A4: return {210, 297};
    case TPaper::A3: return {297, 420};
    case TPaper::Letter: return {215.9L, 279.4L};
  }
  return {210, 297};
}

bool paperFromName(std::string_view name, TPaper& paper) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "a4") {
    paper = TPaper::A4;
  } else if (lower == "a3") {
    paper = TPaper::A3;
  } else if (lower == "letter") {
    paper = TPaper::Letter;
  } else {
    return false;
  }
  return true;
}

std::string rowName(int row) {
  std::string name;
  for (int n = row + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

TTileLayout tileLayout(const TFlatPattern& pattern, TPaper paper) {
  const Grid portrait = gridFor(pattern, paper, false);
  const Grid landscape = gridFor(pattern, paper, true);
  const Grid& g = landscape.count < portrait.count ? landscape : portrait;
  if (g.count > kMaxSheets) throw ETooManySheets(g.count);

  TTileLayout layout;
  layout.Paper = paper;
  layout.Landscape = g.landscape;
  layout.SheetWidth = g.sheetW;
  layout.SheetHeight = g.sheetH;
  layout.Rows = g.rows;
  layout.Columns = g.columns;
  layout.Grid = {g.left, g.left + (g.columns - 1) * g.stepX + g.areaW, g.top - (g.rows - 1) * g.stepY - g.areaH, g.top};
  const auto used = [&g](int r, int c) {
    return r >= 0 && c >= 0 && r < g.rows && c < g.columns &&
           g.used[static_cast<std::size_t>(r) * static_cast<std::size_t>(g.columns) + static_cast<std::size_t>(c)];
  };
  const auto name = [&used](int r, int c) { return used(r, c) ? rowName(r) + std::to_string(c + 1) : std::string(); };
  for (int r = 0; r < g.rows; ++r) {
    for (int c = 0; c < g.columns; ++c) {
      if (!used(r, c)) continue;
      layout.Tiles.push_back(
          {r, c, name(r, c), g.area(r, c), name(r - 1, c), name(r + 1, c), name(r, c - 1), name(r, c + 1)});
    }
  }
  return layout;
}

}  // namespace fish
