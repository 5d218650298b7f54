#include "FlatPattern.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iterator>
#include <unordered_map>

#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/PointNames.h"
#include "Allowances.h"
#include "BendTable.h"
#include "PatternPieces.h"
#include "PatternWalk.h"
#include "fishApi/precise/PreciseDevelopment.h"

namespace fish {

ENoQuadrant::ENoQuadrant() : EFishError(TMessage(FISH_TR("shop", "Не выбран ни один квадрант: экспортировать нечего"))) {}

namespace {

bool samePoint(const TPoint2D& a, const TPoint2D& b) { return a.X == b.X && a.Y == b.Y; }

void addPoint(std::vector<TPoint2D>& path, const TPoint2D& p) {
  if (path.empty() || !samePoint(path.back(), p)) path.push_back(p);
}

// A quadrant's outline as an open path from the origin to the arc start:
// origin, corner, X-side midpoint, arc end, the arc images, arc start. The
// development stores the X-side midpoint's image as the far end of its last
// element; the corner repeats along the cone and is taken once.
std::vector<TPoint2D> outlinePath(const TRazvertka2PointArray& d) {
  const std::size_t m = d.size() - 1;
  std::vector<TPoint2D> path;
  path.reserve(m + 3);
  addPoint(path, d[0].P1);
  addPoint(path, d[1].P1);
  addPoint(path, d[m].P2);
  for (std::size_t k = m; k-- > 0;) addPoint(path, d[k].P2);
  return path;
}

// The closed outline of a path: the closing edge (arc start -> origin)
// vanishes when the two coincide.
std::vector<TPoint2D> closed(std::vector<TPoint2D> path) {
  if (path.size() > 1 && samePoint(path.front(), path.back())) path.pop_back();
  return path;
}

// Two quadrants of one sheet: round the first from the origin to the shared
// arc start, then back round the second to the origin. The shared line
// between the origin and the arc start is not part of the outline.
std::vector<TPoint2D> joined(const std::vector<TPoint2D>& first, const std::vector<TPoint2D>& second) {
  std::vector<TPoint2D> outline = first;
  for (std::size_t k = second.size(); k-- > 1;) addPoint(outline, second[k]);
  return closed(std::move(outline));
}

std::vector<TPoint2D> counterClockwise(std::vector<TPoint2D> outline) {
  if (polygonArea(outline) < 0) std::reverse(outline.begin() + 1, outline.end());
  return outline;
}

// The quadrant that shares the centre line of the Y side.
int partnerOf(int quadrant) { return quadrant == 1 ? 2 : quadrant == 2 ? 1 : quadrant == 3 ? 4 : 3; }

void widen(TExtents2D& box, const TPoint2D& p, bool first) {
  if (first || p.X < box.MinX) box.MinX = p.X;
  if (first || p.X > box.MaxX) box.MaxX = p.X;
  if (first || p.Y < box.MinY) box.MinY = p.Y;
  if (first || p.Y > box.MaxY) box.MaxY = p.Y;
}

// ---- Simplicity -------------------------------------------------------------

Extended orient(const TPoint2D& a, const TPoint2D& b, const TPoint2D& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}

// c, known to be on the line through a and b, lies within the segment.
bool withinSegment(const TPoint2D& a, const TPoint2D& b, const TPoint2D& c) {
  return std::min(a.X, b.X) <= c.X && c.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= c.Y &&
         c.Y <= std::max(a.Y, b.Y);
}

bool segmentsMeet(const TPoint2D& p1, const TPoint2D& p2, const TPoint2D& q1, const TPoint2D& q2) {
  const Extended d1 = orient(q1, q2, p1);
  const Extended d2 = orient(q1, q2, p2);
  const Extended d3 = orient(p1, p2, q1);
  const Extended d4 = orient(p1, p2, q2);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
  return (d1 == 0 && withinSegment(q1, q2, p1)) || (d2 == 0 && withinSegment(q1, q2, p2)) ||
         (d3 == 0 && withinSegment(p1, p2, q1)) || (d4 == 0 && withinSegment(p1, p2, q2));
}

struct CellKey {
  Extended X, Y;
  bool operator==(const CellKey& o) const { return X == o.X && Y == o.Y; }
};

struct CellHash {
  std::size_t operator()(const CellKey& k) const {
    return std::hash<Extended>()(k.X) * 1000003u ^ std::hash<Extended>()(k.Y);
  }
};

// The grid of short edges keyed by the cells' real indices, for outlines so
// far from the origin that the indices leave a machine word.
template <typename Cross>
bool isSimplePolygonKeyed(const std::vector<TPoint2D>& polygon, Extended cell, const Cross& cross) {
  const std::size_t n = polygon.size();
  std::unordered_map<CellKey, std::vector<std::size_t>, CellHash> grid;
  for (std::size_t i = 0; i < n; ++i) {
    const TPoint2D& a = polygon[i];
    const TPoint2D& b = polygon[(i + 1) % n];
    if (std::hypot(b.X - a.X, b.Y - a.Y) > cell) continue;
    const Extended x0 = std::floor(std::min(a.X, b.X) / cell);
    const Extended x1 = std::floor(std::max(a.X, b.X) / cell);
    const Extended y0 = std::floor(std::min(a.Y, b.Y) / cell);
    const Extended y1 = std::floor(std::max(a.Y, b.Y) / cell);
    for (int kx = 0; kx <= (x1 > x0 ? 1 : 0); ++kx) {
      for (int ky = 0; ky <= (y1 > y0 ? 1 : 0); ++ky) {
        std::vector<std::size_t>& members = grid[{kx == 0 ? x0 : x1, ky == 0 ? y0 : y1}];
        for (std::size_t j : members) {
          if (cross(i, j)) return false;
        }
        members.push_back(i);
      }
    }
  }
  return true;
}

}  // namespace

Extended polygonArea(const std::vector<TPoint2D>& polygon) {
  Extended twice = 0;
  for (std::size_t i = 0, n = polygon.size(); i < n; ++i) {
    const TPoint2D& a = polygon[i];
    const TPoint2D& b = polygon[(i + 1) % n];
    twice += a.X * b.Y - b.X * a.Y;
  }
  return twice / 2;
}

// Edges longer than a cell (the few straight sides) are tested against every
// edge; the short ones (the arc images) only against the edges that share a
// cell of a grid whose cell is as long as the longest of them, so that each
// short edge lies in at most 2 x 2 cells. The grid is a sorted list of
// (cell, edge) pairs, a few machine words an edge. Linear (and a sort) for
// the arc chains of any number of divisions.
bool isSimplePolygon(const std::vector<TPoint2D>& polygon) {
  const std::size_t n = polygon.size();
  if (n < 3) return false;
  const auto from = [&](std::size_t i) -> const TPoint2D& { return polygon[i]; };
  const auto to = [&](std::size_t i) -> const TPoint2D& { return polygon[(i + 1) % n]; };
  const auto neighbours = [n](std::size_t i, std::size_t j) { return (i + 1) % n == j || (j + 1) % n == i; };
  const auto cross = [&](std::size_t i, std::size_t j) {
    if (i == j) return false;
    if (!neighbours(i, j)) return segmentsMeet(from(i), to(i), from(j), to(j));
    // Neighbours share a vertex; they overlap only if the second turns back
    // along the first.
    const std::size_t first = (i + 1) % n == j ? i : j;
    const TPoint2D& a = from(first);
    const TPoint2D& b = to(first);
    const TPoint2D& c = to((first + 1) % n);
    return n == 3 ? orient(a, b, c) == 0
                  : orient(a, b, c) == 0 && (a.X - b.X) * (c.X - b.X) + (a.Y - b.Y) * (c.Y - b.Y) > 0;
  };
  const auto length = [&](std::size_t i) { return std::hypot(to(i).X - from(i).X, to(i).Y - from(i).Y); };

  // The cell: the (longCount + 1)-th longest edge, past the straight sides
  // (eight, or up to 32 while they are far longer than the arc chords: a
  // piece of many quadrants has more).
  const std::size_t kept = std::min<std::size_t>(32, n - 1);
  std::vector<Extended> top;
  for (std::size_t i = 0; i < n; ++i) {
    const Extended l = length(i);
    if (top.size() <= kept) {
      top.insert(std::upper_bound(top.begin(), top.end(), l, std::greater<>()), l);
    } else if (l > top.back()) {
      top.pop_back();
      top.insert(std::upper_bound(top.begin(), top.end(), l, std::greater<>()), l);
    }
  }
  std::size_t longCount = std::min<std::size_t>(8, n - 1);
  while (longCount + 1 < top.size() && top[longCount] > 16 * top.back()) ++longCount;
  // Twice that: fewer short edges cross into a second cell.
  const Extended cell = 2 * top[longCount];

  // The cells of a short edge: at most two a side; counted, not stepped, so
  // that coordinates far beyond the cell size (where x + 1 == x) cannot loop.
  struct TEntry {
    std::int32_t X, Y;
    std::uint32_t Edge;
  };
  constexpr Extended kIndexLimit = 2.0e9L;
  std::vector<TEntry> grid;
  bool keyed = cell == 0 || n > UINT32_MAX;  // a cell index beyond a machine word: the grid keyed by the reals
  // The short edges' cells counted first: the grid made to size at once.
  std::size_t entries = 0;
  for (std::size_t i = 0; i < n && !keyed; ++i) {
    if (length(i) > cell) continue;
    const Extended x0 = std::floor(std::min(from(i).X, to(i).X) / cell);
    const Extended x1 = std::floor(std::max(from(i).X, to(i).X) / cell);
    const Extended y0 = std::floor(std::min(from(i).Y, to(i).Y) / cell);
    const Extended y1 = std::floor(std::max(from(i).Y, to(i).Y) / cell);
    entries += (x1 > x0 ? 2u : 1u) * (y1 > y0 ? 2u : 1u);
  }
  if (!keyed) grid.reserve(entries);
  for (std::size_t i = 0; i < n; ++i) {
    if (length(i) > cell || cell == 0) {
      for (std::size_t j = 0; j < n; ++j) {
        if (j != i && cross(i, j)) return false;
      }
      continue;
    }
    if (keyed) continue;
    const Extended x0 = std::floor(std::min(from(i).X, to(i).X) / cell);
    const Extended x1 = std::floor(std::max(from(i).X, to(i).X) / cell);
    const Extended y0 = std::floor(std::min(from(i).Y, to(i).Y) / cell);
    const Extended y1 = std::floor(std::max(from(i).Y, to(i).Y) / cell);
    if (!(std::fabs(x0) < kIndexLimit && std::fabs(x1) < kIndexLimit && std::fabs(y0) < kIndexLimit &&
          std::fabs(y1) < kIndexLimit)) {
      keyed = true;
      continue;
    }
    const auto ix0 = static_cast<std::int32_t>(x0), ix1 = static_cast<std::int32_t>(x1);
    const auto iy0 = static_cast<std::int32_t>(y0), iy1 = static_cast<std::int32_t>(y1);
    for (int kx = 0; kx <= (ix1 > ix0 ? 1 : 0); ++kx) {
      for (int ky = 0; ky <= (iy1 > iy0 ? 1 : 0); ++ky)
        grid.push_back({kx == 0 ? ix0 : ix1, ky == 0 ? iy0 : iy1, static_cast<std::uint32_t>(i)});
    }
  }
  if (cell == 0) return true;
  if (keyed) return isSimplePolygonKeyed(polygon, cell, cross);
  std::sort(grid.begin(), grid.end(),
            [](const TEntry& a, const TEntry& b) { return a.X != b.X ? a.X < b.X : a.Y != b.Y ? a.Y < b.Y : a.Edge < b.Edge; });
  for (std::size_t start = 0; start < grid.size();) {
    std::size_t end = start + 1;
    while (end < grid.size() && grid[end].X == grid[start].X && grid[end].Y == grid[start].Y) ++end;
    for (std::size_t a = start; a < end; ++a) {
      for (std::size_t b = start; b < a; ++b) {
        if (cross(grid[a].Edge, grid[b].Edge)) return false;
      }
    }
    start = end;
  }
  return true;
}

std::vector<TPatternLabel> labelChoices(const std::string& text, const TPoint2D& at, std::vector<Extended> a) {
  if (a.empty()) return {TPatternLabel{text, at}};
  constexpr Extended kTurn = 6.28318530717958647692L;
  std::sort(a.begin(), a.end());
  // Each gap from one angle to the next; the last runs round to the first.
  std::vector<std::pair<Extended, Extended>> gaps;  // width, start
  gaps.emplace_back(a.front() + kTurn - a.back(), a.back());
  for (std::size_t i = 1; i < a.size(); ++i) gaps.emplace_back(a[i] - a[i - 1], a[i - 1]);
  std::stable_sort(gaps.begin(), gaps.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
  std::vector<TPatternLabel> choices;
  for (const auto& [width, from] : gaps) {
    if (width <= 0) break;
    const Extended middle = from + width / 2;
    choices.push_back({text, at, {std::cos(middle), std::sin(middle)}, width / 2});
  }
  return choices;
}

// The label aimed into the widest gap between the directions `a`, sorted.
TPatternLabel aimedSorted(std::string text, const TPoint2D& at, const std::vector<Extended>& a);

// The first of labelChoices without the others: the widest gap, the first
// of equal ones in the order the choices list them.
TPatternLabel aimedLabel(std::string text, const TPoint2D& at, std::vector<Extended> a) {
  std::sort(a.begin(), a.end());
  return aimedSorted(std::move(text), at, a);
}

TPatternLabel aimedSorted(std::string text, const TPoint2D& at, const std::vector<Extended>& a) {
  if (a.empty()) return TPatternLabel{std::move(text), at};
  constexpr Extended kTurn = 6.28318530717958647692L;
  Extended width = a.front() + kTurn - a.back(), from = a.back();
  for (std::size_t i = 1; i < a.size(); ++i) {
    if (a[i] - a[i - 1] > width) {
      width = a[i] - a[i - 1];
      from = a[i - 1];
    }
  }
  const Extended middle = from + width / 2;
  return {std::move(text), at, {std::cos(middle), std::sin(middle)}, width / 2};
}

TPoint2D labelCentre(const TPatternLabel& label, Extended width, Extended height) {
  const Extended a = width / 2, b = height / 2, gap = height / 2;
  // How far the box reaches from its centre across a line of normal n.
  const auto reach = [a, b](Extended nx, Extended ny) { return a * std::fabs(nx) + b * std::fabs(ny); };
  const TPoint2D& u = label.Toward;
  Extended d = reach(u.X, u.Y) + gap;
  // Within an angle narrower than a half turn the box must also keep off
  // both lines that bound it; their normals into the angle are u turned by
  // 90 degrees less the half angle, either way.
  if (const Extended s = std::sin(label.Spread); label.Spread < 1.5707963267948966L && s > 0) {
    const Extended turn = 1.5707963267948966L - label.Spread;
    for (const Extended side : {turn, -turn}) {
      const Extended nx = u.X * std::cos(side) - u.Y * std::sin(side);
      const Extended ny = u.X * std::sin(side) + u.Y * std::cos(side);
      d = std::max(d, (reach(nx, ny) + gap) / s);
    }
  }
  return {label.At.X + u.X * d, label.At.Y + u.Y * d};
}

std::vector<TPoint2D> quadrantOutline(const TRazvertka2PointArray& d) { return closed(outlinePath(d)); }

std::vector<TPatternPiece> patternPieces(const TProParams& pro,
                                         const std::array<const TRazvertka2PointArray*, 4>& developments) {
  const auto chosen = [&pro](int q) { return quadrantSelected(pro, q); };
  const auto development = [&developments](int q) -> const TRazvertka2PointArray& {
    return *developments[static_cast<std::size_t>(q - 1)];
  };
  std::vector<TPatternPiece> pieces;
  for (int q = 1; q <= 4; ++q) {
    if (!chosen(q)) continue;
    const int partner = partnerOf(q);
    if (chosen(partner) && partner < q) continue;  // already joined to its partner
    TPatternPiece piece;
    if (chosen(partner)) {
      piece.Quadrants = {q, partner};
      piece.Outline = joined(outlinePath(development(q)), outlinePath(development(partner)));
    } else {
      piece.Quadrants = {q};
      piece.Outline = quadrantOutline(development(q));
    }
    piece.Outline = counterClockwise(std::move(piece.Outline));
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

TFlatPattern flatPattern(const TSystemParams& sp, const TProParams& pro, TPatternKind kind) {
  return collectPattern(TPatternWalk(sp, pro, kind));
}

TFlatPattern flatPattern(const TSystemParams& sp, const TProParams& pro, const TCuttingParams& cutting) {
  return flatPattern(sp, TPlateParams{}, pro, cutting);
}

TFlatPattern flatPattern(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                         const TCuttingParams& cutting) {
  return collectPattern(TPatternWalk(sp, plate, pro, cutting));
}

TFlatPattern inMillimetres(const TFlatPattern& pattern) {
  TFlatPattern mm = pattern;
  mm.Units = TUnits::Millimetres;
  const Extended k = mmPerUnit(pattern.Units);
  if (k == 1) return mm;
  const auto scale = [k](TPoint2D& p) {
    p.X *= k;
    p.Y *= k;
  };
  for (TPatternPiece& piece : mm.Pieces) {
    for (TPoint2D& p : piece.Outline) scale(p);
    for (TPoint2D& p : piece.Net) scale(p);
    scale(piece.NameAt);
  }
  for (TPatternLine& l : mm.BendLines) {
    scale(l.From);
    scale(l.To);
  }
  for (TPatternLabel& l : mm.Labels) scale(l.At);
  mm.Box = {mm.Box.MinX * k, mm.Box.MaxX * k, mm.Box.MinY * k, mm.Box.MaxY * k};
  return mm;
}

TPatternPiece cutPiece(TPieceNet&& net, std::size_t index, std::size_t count, const TCuttingParams& cutting,
                       const std::vector<TPoint2D>* cut) {
  TPatternPiece piece;
  piece.Quadrants = net.Quadrants;
  std::sort(piece.Quadrants.begin(), piece.Quadrants.end());
  if (cutting.hasAllowances()) piece.Outline = cut ? *cut : cutOutline(net, cutting);
  TExtents2D box;
  for (std::size_t k = 0; k < net.Net.size(); ++k) widen(box, net.Net[k], k == 0);
  if (cutting.Seams != kDefaultSeams) {
    const TMsgId name = net.Seams.find(',') == std::string::npos ? FISH_TR("shop", "Деталь %1 из %2 (шов %3)")
                                                                  : FISH_TR("shop", "Деталь %1 из %2 (швы %3)");
    piece.Name = say(name, {std::to_string(index + 1), std::to_string(count), net.Seams});
    piece.NameAt = {(box.MinX + box.MaxX) / 2, (box.MinY + box.MaxY) / 2};
  }
  (cutting.hasAllowances() ? piece.Net : piece.Outline) = std::move(net.Net);
  return piece;
}

}  // namespace fish
