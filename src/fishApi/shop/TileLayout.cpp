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

  std::size_t cell(int r, int c) const {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c);
  }

  void mark(int r, int c) {
    char& cellUsed = used[cell(r, c)];
    if (!cellUsed) ++count;
    cellUsed = 1;
  }

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

// The rows whose band of Y overlaps minY..maxY, and the columns whose band of
// X overlaps minX..maxX (empty ranges when there are none).
int firstRow(const Grid& g, Extended maxY) {
  return std::max(0, static_cast<int>(std::ceil((g.top - g.areaH - maxY) / g.stepY)));
}
int lastRow(const Grid& g, Extended minY) {
  return std::min(g.rows - 1, static_cast<int>(std::floor((g.top - minY) / g.stepY)));
}
int firstColumn(const Grid& g, Extended minX) {
  return std::max(0, static_cast<int>(std::ceil((minX - g.left - g.areaW) / g.stepX)));
}
int lastColumn(const Grid& g, Extended maxX) {
  return std::min(g.columns - 1, static_cast<int>(std::floor((maxX - g.left) / g.stepX)));
}

// A row or column of the grid as a function of one coordinate, remembered
// over the range of coordinates last found to give the same one. Every such
// function here never decreases (or never increases) as the coordinate
// grows, rounding included, so that whatever lies between two coordinates
// that give the same answer gives it too: the short edges of an arc, one
// after the other, are answered mostly without the divisions and the
// roundings.
struct Remembered {
  Extended lo = 1, hi = 0;  // empty
  int value = 0;

  template <class F>
  int operator()(Extended x, F f) {
    if (lo <= x && x <= hi) return value;
    const int v = f(x);
    if (lo <= hi && v == value) {
      lo = std::min(lo, x);
      hi = std::max(hi, x);
    } else {
      lo = hi = x;
      value = v;
    }
    return v;
  }
};

// The rows and columns forEachCell last found, for the next segment.
struct CellMemory {
  Remembered firstRow, lastRow, firstColumn, lastColumn;
};

// Calls visit(row, column) for every cell of the grid the segment a-b
// crosses or touches. Row by row: the part of the segment inside the row's
// band of Y spans an interval of X there, and every cell whose area overlaps
// that interval holds a point of the segment, since a cell covers the whole
// band. Only the cells met are visited, however long the line.
template <class Visit>
void forEachCell(const Grid& g, CellMemory& memory, const TPoint2D& a, const TPoint2D& b, Visit visit) {
  const Extended dy = b.Y - a.Y;
  const int r1 = memory.lastRow(std::min(a.Y, b.Y), [&g](Extended y) { return lastRow(g, y); });
  for (int r = memory.firstRow(std::max(a.Y, b.Y), [&g](Extended y) { return firstRow(g, y); }); r <= r1; ++r) {
    const Extended bandTop = g.top - r * g.stepY;
    const Extended bandBottom = bandTop - g.areaH;
    Extended x0 = a.X, x1 = b.X;
    // A segment within the band is there whole: the band's edges are
    // then at least a whole dy from a, in rounding too, and the clipping
    // below would keep both ends as they are.
    if (dy != 0 && !(bandBottom <= std::min(a.Y, b.Y) && std::max(a.Y, b.Y) <= bandTop)) {
      // Where the segment enters and leaves the band.
      Extended t0 = (bandBottom - a.Y) / dy, t1 = (bandTop - a.Y) / dy;
      if (t0 > t1) std::swap(t0, t1);
      t0 = std::max<Extended>(t0, 0);
      t1 = std::min<Extended>(t1, 1);
      if (t0 > t1) continue;
      x0 = t0 == 0 ? a.X : t0 == 1 ? b.X : a.X + t0 * (b.X - a.X);
      x1 = t1 == 0 ? a.X : t1 == 1 ? b.X : a.X + t1 * (b.X - a.X);
    }
    if (x0 > x1) std::swap(x0, x1);
    const int c1 = memory.lastColumn(x1, [&g](Extended x) { return lastColumn(g, x); });
    for (int c = memory.firstColumn(x0, [&g](Extended x) { return firstColumn(g, x); }); c <= c1; ++c) visit(r, c);
  }
}

template <class Visit>
void forEachOutlineEdge(const TFlatPattern& pattern, Visit visit) {
  for (std::size_t p = 0; p < pattern.Pieces.size(); ++p) {
    const std::vector<TPoint2D>& o = pattern.Pieces[p].Outline;
    const std::size_t n = o.size();
    for (std::size_t i = 0; i < n; ++i) visit(p, i, o[i], o[(i + 1) % n]);
  }
}

// The grid of one orientation with the sheets the outlines need: those an
// outline crosses or touches, and those wholly on the metal. The outlines'
// edges are handed over one at a time, in any order.
struct GridBuilder {
  Grid g;
  // Sheets wholly inside a sheet of metal: their centre is inside an outline
  // (an odd number of outline crossings to its left). Each edge adds its
  // crossings to the rows whose centre line it spans.
  std::vector<std::vector<Extended>> crossings;
  Extended firstCentre = 0;
  CellMemory memory;
  Remembered firstCentreRow, lastCentreRow;

  GridBuilder(const TExtents2D& box, TPaper paper, bool landscape) {
    const TPaperSize size = paperSize(paper);
    g.landscape = landscape;
    g.sheetW = landscape ? size.Height : size.Width;
    g.sheetH = landscape ? size.Width : size.Height;
    g.areaW = g.sheetW - 2 * kSheetMargin;
    g.areaH = g.sheetH - 2 * kSheetMargin;
    g.stepX = g.areaW - kTileOverlap;
    g.stepY = g.areaH - kTileOverlap;
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
    crossings.resize(static_cast<std::size_t>(g.rows));
    firstCentre = g.top - g.areaH / 2;
  }

  void edge(const TPoint2D& a, const TPoint2D& b) {
    forEachCell(g, memory, a, b, [this](int r, int c) { g.mark(r, c); });
    const int r0 = firstCentreRow(std::max(a.Y, b.Y), [this](Extended y) {
      return std::max(0, static_cast<int>(std::ceil((firstCentre - y) / g.stepY)));
    });
    const int r1 = lastCentreRow(std::min(a.Y, b.Y), [this](Extended y) {
      return std::min(g.rows - 1, static_cast<int>(std::floor((firstCentre - y) / g.stepY)));
    });
    for (int r = r0; r <= r1; ++r) {
      const Extended y = firstCentre - r * g.stepY;
      if ((a.Y > y) != (b.Y > y)) {
        crossings[static_cast<std::size_t>(r)].push_back(a.X + (y - a.Y) / (b.Y - a.Y) * (b.X - a.X));
      }
    }
  }

  Grid finish() {
    for (int r = 0; r < g.rows; ++r) {
      std::vector<Extended>& row = crossings[static_cast<std::size_t>(r)];
      std::sort(row.begin(), row.end());
      for (int c = 0; c < g.columns; ++c) {
        const Extended x = g.left + c * g.stepX + g.areaW / 2;
        if ((std::lower_bound(row.begin(), row.end(), x) - row.begin()) % 2 == 1) g.mark(r, c);
      }
    }
    return std::move(g);
  }
};

// The grid of the orientation that needs fewer sheets, with the sheets of
// the outlines (`edges` hands over each outline edge) and of the bend lines
// (`lines` each line). Throws ETooManySheets past the limit.
template <class Edges, class Lines>
Grid chosenGrid(const TExtents2D& box, TPaper paper, Edges edges, Lines lines) {
  GridBuilder portrait(box, paper, false);
  GridBuilder landscape(box, paper, true);
  edges([&](const TPoint2D& a, const TPoint2D& b) {
    portrait.edge(a, b);
    landscape.edge(a, b);
  });
  Grid p = portrait.finish();
  Grid l = landscape.finish();
  Grid g = l.count < p.count ? std::move(l) : std::move(p);
  if (g.count > kMaxSheets) throw ETooManySheets(g.count);
  // Only an outline that crosses itself leaves a bend line off its metal.
  CellMemory memory;
  lines([&](const TPoint2D& a, const TPoint2D& b) { forEachCell(g, memory, a, b, [&g](int r, int c) { g.mark(r, c); }); });
  if (g.count > kMaxSheets) throw ETooManySheets(g.count);
  return g;
}

// The layout of the sheets of `g`, their lists of lines and names empty;
// `tileOf` gets each cell's sheet (-1 for a cell not printed).
TTileLayout layoutOf(const Grid& g, TPaper paper, std::vector<int>& tileOf) {
  TTileLayout layout;
  layout.Paper = paper;
  layout.Landscape = g.landscape;
  layout.SheetWidth = g.sheetW;
  layout.SheetHeight = g.sheetH;
  layout.Rows = g.rows;
  layout.Columns = g.columns;
  layout.Grid = {g.left, g.left + (g.columns - 1) * g.stepX + g.areaW, g.top - (g.rows - 1) * g.stepY - g.areaH, g.top};
  const auto used = [&g](int r, int c) {
    return r >= 0 && c >= 0 && r < g.rows && c < g.columns && g.used[g.cell(r, c)];
  };
  const auto name = [&used](int r, int c) { return used(r, c) ? rowName(r) + std::to_string(c + 1) : std::string(); };
  tileOf.assign(g.used.size(), -1);
  for (int r = 0; r < g.rows; ++r) {
    for (int c = 0; c < g.columns; ++c) {
      if (!used(r, c)) continue;
      tileOf[g.cell(r, c)] = static_cast<int>(layout.Tiles.size());
      layout.Tiles.push_back(
          {r, c, name(r, c), g.area(r, c), name(r - 1, c), name(r + 1, c), name(r, c - 1), name(r, c + 1), {}, {}});
    }
  }
  return layout;
}

}  // namespace

ETooManySheets::ETooManySheets(long long sheets)
    : EFishError(TMessage(FISH_TR("shop", "Для печати в натуральную величину нужно %1 листов, больше допустимых %2: "
                                          "возьмите бумагу больше или передайте развертку в DXF"),
                          {std::to_string(sheets), std::to_string(kMaxSheets)})) {}

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

std::string sheetCountText(long long sheets) {
  const long long tens = sheets % 100, ones = sheets % 10;
  // Russian counts in three forms: 1, 21 лист; 2..4, 22 листа; 5..20, 11..14 листов.
  const TMsgId form = tens >= 11 && tens <= 14 ? FISH_TR("shop", "%1 листов")
                      : ones == 1              ? FISH_TR("shop", "%1 лист")
                      : ones >= 2 && ones <= 4 ? FISH_TR("shop", "%1 листа")
                                               : FISH_TR("shop", "%1 листов");
  return say(form, {std::to_string(sheets)});
}

TTileLayout tileLayout(const TFlatPattern& pattern, TPaper paper) {
  // The paper is measured in millimetres: a pattern in another unit is laid
  // out as it is printed.
  if (pattern.Units != TUnits::Millimetres) return tileLayout(inMillimetres(pattern), paper);
  const Grid g = chosenGrid(
      pattern.Box, paper,
      [&pattern](const auto& edge) {
        forEachOutlineEdge(pattern, [&](std::size_t, std::size_t, const TPoint2D& a, const TPoint2D& b) { edge(a, b); });
      },
      [&pattern](const auto& line) {
        for (const TPatternLine& l : pattern.BendLines) line(l.From, l.To);
      });
  std::vector<int> tileOf;
  TTileLayout layout = layoutOf(g, paper, tileOf);

  // Every line to the sheets it crosses.
  CellMemory memory;
  const auto lay = [&](const TPoint2D& a, const TPoint2D& b, TLineRef ref) {
    forEachCell(g, memory, a, b, [&](int r, int c) {
      if (const int t = tileOf[g.cell(r, c)]; t >= 0) layout.Tiles[static_cast<std::size_t>(t)].Lines.push_back(ref);
    });
  };
  forEachOutlineEdge(pattern, [&](std::size_t p, std::size_t i, const TPoint2D& a, const TPoint2D& b) {
    lay(a, b, {static_cast<std::int32_t>(p), static_cast<std::uint32_t>(i)});
  });
  for (std::size_t i = 0; i < pattern.BendLines.size(); ++i) {
    lay(pattern.BendLines[i].From, pattern.BendLines[i].To, {TLineRef::kBendLine, static_cast<std::uint32_t>(i)});
  }
  for (std::size_t i = 0; i < pattern.Labels.size(); ++i) {
    const TPoint2D& p = pattern.Labels[i].At;
    const int r1 = lastRow(g, p.Y - kLabelReach), c1 = lastColumn(g, p.X + kLabelReach);
    for (int r = firstRow(g, p.Y + kLabelReach); r <= r1; ++r) {
      for (int c = firstColumn(g, p.X - kLabelReach); c <= c1; ++c) {
        if (const int t = tileOf[g.cell(r, c)]; t >= 0) {
          layout.Tiles[static_cast<std::size_t>(t)].Labels.push_back(static_cast<std::uint32_t>(i));
        }
      }
    }
  }
  return layout;
}

struct TTileRouter::TGrid : Grid {
  std::vector<int> tileOf;
  CellMemory memory, labelMemory;
};

TTileRouter::TTileRouter(const TTileLayout& layout) : G(std::make_unique<TGrid>()) {
  Grid& g = *G;
  g.landscape = layout.Landscape;
  g.sheetW = layout.SheetWidth;
  g.sheetH = layout.SheetHeight;
  g.areaW = g.sheetW - 2 * kSheetMargin;
  g.areaH = g.sheetH - 2 * kSheetMargin;
  g.stepX = g.areaW - kTileOverlap;
  g.stepY = g.areaH - kTileOverlap;
  g.left = layout.Grid.MinX;
  g.top = layout.Grid.MaxY;
  g.rows = layout.Rows;
  g.columns = layout.Columns;
  G->tileOf.assign(static_cast<std::size_t>(g.rows) * static_cast<std::size_t>(g.columns), -1);
  for (std::size_t t = 0; t < layout.Tiles.size(); ++t) G->tileOf[g.cell(layout.Tiles[t].Row, layout.Tiles[t].Column)] = static_cast<int>(t);
}

TTileRouter::~TTileRouter() = default;

void TTileRouter::segment(const TPoint2D& a, const TPoint2D& b, const std::function<void(std::size_t)>& each) const {
  forEachCell(*G, G->memory, a, b, [&](int r, int c) {
    if (const int t = G->tileOf[G->cell(r, c)]; t >= 0) each(static_cast<std::size_t>(t));
  });
}

void TTileRouter::label(const TPoint2D& p, const std::function<void(std::size_t)>& each) const {
  const Grid& g = *G;
  CellMemory& m = G->labelMemory;
  const int r1 = m.lastRow(p.Y - kLabelReach, [&g](Extended y) { return lastRow(g, y); });
  const int c1 = m.lastColumn(p.X + kLabelReach, [&g](Extended x) { return lastColumn(g, x); });
  const int c0 = m.firstColumn(p.X - kLabelReach, [&g](Extended x) { return firstColumn(g, x); });
  for (int r = m.firstRow(p.Y + kLabelReach, [&g](Extended y) { return firstRow(g, y); }); r <= r1; ++r) {
    for (int c = c0; c <= c1; ++c) {
      if (const int t = G->tileOf[g.cell(r, c)]; t >= 0) each(static_cast<std::size_t>(t));
    }
  }
}

TTileLayout tileLayout(const TPatternWalk& walk, TPaper paper) {
  const Extended k = mmPerUnit(walk.units());
  // Outlines that do not cross themselves enclose every bend line: the
  // lines are then not walked. Asked first, the walk that tests them finds
  // the box too.
  const bool crossing = walk.crossing();
  const TExtents2D box = walk.box();
  const auto mm = [k](const TPoint2D& p) { return k == 1 ? p : TPoint2D{p.X * k, p.Y * k}; };
  const Grid g = chosenGrid(
      {box.MinX * k, box.MaxX * k, box.MinY * k, box.MaxY * k}, paper,
      [&](const auto& edge) {
        walk.pieces([&](const TPatternPiece& piece) {
          const std::vector<TPoint2D>& o = piece.Outline;
          for (std::size_t i = 0; i < o.size(); ++i) edge(mm(o[i]), mm(o[(i + 1) % o.size()]));
        });
      },
      [&](const auto& line) {
        if (crossing) walk.bendLines([&](const TPatternLine& l) { line(mm(l.From), mm(l.To)); });
      });
  std::vector<int> tileOf;
  return layoutOf(g, paper, tileOf);
}

}  // namespace fish
