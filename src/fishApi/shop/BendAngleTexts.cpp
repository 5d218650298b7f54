#include "BendAngleTexts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <unordered_map>

#include "fishApi/core/NumText.h"

namespace fish {

namespace {

// A convex shape (a segment or a text's box) and its bounding box.
struct TShape {
  std::array<TPoint2D, 4> P{};
  std::size_t N = 0;
  TPoint2D Lo, Hi;
};

TShape shapeOf(std::initializer_list<TPoint2D> points) {
  TShape s;
  for (const TPoint2D& p : points) s.P[s.N++] = p;
  s.Lo = s.Hi = s.P[0];
  for (std::size_t i = 1; i < s.N; ++i) {
    s.Lo = {std::min(s.Lo.X, s.P[i].X), std::min(s.Lo.Y, s.P[i].Y)};
    s.Hi = {std::max(s.Hi.X, s.P[i].X), std::max(s.Hi.Y, s.P[i].Y)};
  }
  return s;
}

// Some edge of either shape has both on its two sides (the separating axis
// test of convex shapes); shapes that touch meet.
bool apart(const TShape& a, const TShape& b) {
  if (a.Hi.X < b.Lo.X || b.Hi.X < a.Lo.X || a.Hi.Y < b.Lo.Y || b.Hi.Y < a.Lo.Y) return true;
  const auto splits = [](const TShape& edges, const TShape& s1, const TShape& s2) {
    for (std::size_t i = 0; i < edges.N; ++i) {
      const TPoint2D& p = edges.P[i];
      const TPoint2D& q = edges.P[(i + 1) % edges.N];
      const Extended nx = p.Y - q.Y, ny = q.X - p.X;
      const auto range = [&](const TShape& s) {
        Extended lo = nx * s.P[0].X + ny * s.P[0].Y, hi = lo;
        for (std::size_t k = 1; k < s.N; ++k) {
          const Extended v = nx * s.P[k].X + ny * s.P[k].Y;
          lo = std::min(lo, v);
          hi = std::max(hi, v);
        }
        return std::pair{lo, hi};
      };
      const auto [aLo, aHi] = range(s1);
      const auto [bLo, bHi] = range(s2);
      if (aHi < bLo || bHi < aLo) return true;
    }
    return false;
  };
  return splits(a, a, b) || splits(b, a, b);
}

// The box of a line's text `w` wide on `side` (1 above as read, -1 below),
// the text's centre and its direction; false when the line is shorter than
// the text.
struct TTextPlace {
  TShape Box;
  TPoint2D Centre;
  Extended Direction = 0;
};

bool textPlace(const TPatternLine& l, Extended w, Extended height, Extended side, TTextPlace& out) {
  const Extended length = std::hypot(l.To.X - l.From.X, l.To.Y - l.From.Y);
  if (!(length >= w) || !(w > 0)) return false;
  TPoint2D d{(l.To.X - l.From.X) / length, (l.To.Y - l.From.Y) / length};
  if (d.X < 0 || (d.X == 0 && d.Y < 0)) d = {-d.X, -d.Y};
  const TPoint2D n{-d.Y, d.X};
  const TPoint2D middle{(l.From.X + l.To.X) / 2, (l.From.Y + l.To.Y) / 2};
  const Extended off = height / 4 + height / 2;
  const TPoint2D c{middle.X + n.X * side * off, middle.Y + n.Y * side * off};
  const Extended hw = w / 2, hh = height / 2;
  const auto corner = [&](Extended a, Extended b) { return TPoint2D{c.X + d.X * a + n.X * b, c.Y + d.Y * a + n.Y * b}; };
  out.Box = shapeOf({corner(-hw, -hh), corner(hw, -hh), corner(hw, hh), corner(-hw, hh)});
  out.Centre = c;
  out.Direction = std::atan2(d.Y, d.X);
  return true;
}

std::size_t keyOf(const TPatternLine& l) {
  return (l.Element << 3) | static_cast<std::size_t>(l.Quadrant & 7);
}

}  // namespace

std::string bendAngleText(Extended degrees) { return decimalText(degrees, 2) + "°"; }

std::vector<TBendAngleText> bendAngleTexts(const TFlatPattern& pattern, Extended height,
                                           const std::function<Extended(const std::string&)>& width) {
  const std::vector<TPatternLine>& lines = pattern.BendLines;
  // The fan's next lines either way, the nearest: most lines of a fine
  // division have no room beside them, found without the whole pattern.
  std::unordered_map<std::size_t, std::size_t> withAngle;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].Angle) withAngle.emplace(keyOf(lines[i]), i);
  }
  if (withAngle.empty()) return {};

  std::vector<TShape> obstacles;  // every line but the text's own, by index first
  obstacles.reserve(lines.size());
  for (const TPatternLine& l : lines) obstacles.push_back(shapeOf({l.From, l.To}));
  for (const TPatternPiece& piece : pattern.Pieces) {
    for (const std::vector<TPoint2D>* outline : {&piece.Outline, &piece.Net}) {
      for (std::size_t i = 0, n = outline->size(); i < n; ++i)
        obstacles.push_back(shapeOf({(*outline)[i], (*outline)[(i + 1) % n]}));
    }
  }

  std::vector<TBendAngleText> texts;
  std::vector<TShape> placed;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TPatternLine& l = lines[i];
    if (!l.Angle) continue;
    TBendAngleText text{i, bendAngleText(*l.Angle), {}, 0};
    const Extended w = width(text.Text);
    const auto clear = [&](const TShape& box) {
      for (const int step : {-1, 1}) {
        const auto next = withAngle.find(keyOf({l.Quadrant, {}, {}, l.Element + static_cast<std::size_t>(step)}));
        if (next != withAngle.end() && !apart(box, obstacles[next->second])) return false;
      }
      for (std::size_t k = 0; k < obstacles.size(); ++k) {
        if (k != i && !apart(box, obstacles[k])) return false;
      }
      return std::all_of(placed.begin(), placed.end(), [&](const TShape& other) { return apart(box, other); });
    };
    for (const Extended side : {1.0L, -1.0L}) {
      TTextPlace at;
      if (!textPlace(l, w, height, side, at)) break;
      const TShape& box = at.Box;
      if (!clear(box)) continue;
      text.Centre = at.Centre;
      text.Direction = at.Direction;
      placed.push_back(box);
      texts.push_back(std::move(text));
      break;
    }
  }
  return texts;
}

void bendAngleTexts(const TPatternWalk& walk, Extended height, const std::function<Extended(const std::string&)>& width,
                    const std::function<void(const TBendAngleText&)>& each) {
  if (!walk.angles()) return;
  // The places beside each line that the lines walked shortly before and
  // after it leave free (at fine divisions the lines of the fan a text's
  // height away, and never room); the few left are then tried against every
  // other line and outline. The lines up to kWindow before and after are
  // tried at steps that widen with the distance, eight an octave: a text
  // stands off its line by a fraction of its height, so the first line that
  // crosses it lies a band of the fan away, whatever the divisions.
  struct TCandidate {
    TBendAngleText Text;
    TTextPlace At[2];
    bool Open[2] = {false, false};
  };
  constexpr std::size_t kWindow = 4096;
  std::vector<std::size_t> steps;
  for (std::size_t k = 1; k < kWindow; k += std::max<std::size_t>(1, k / 8)) steps.push_back(k);
  std::vector<std::pair<TPoint2D, TPoint2D>> ring(kWindow);  // line i at i % kWindow
  std::deque<TCandidate> pending;                            // in the order of their lines
  std::vector<std::size_t> slot(kWindow, SIZE_MAX);          // the line's place in pending, counted from popped
  std::size_t pushed = 0, popped = 0;
  std::deque<TCandidate> candidates;  // no copy as it grows
  std::size_t index = 0;
  const auto closes = [](TCandidate& c, const TShape& segment) {
    for (std::size_t s = 0; s < 2; ++s) c.Open[s] = c.Open[s] && apart(c.At[s].Box, segment);
    return !(c.Open[0] || c.Open[1]);
  };
  const auto settle = [&](std::size_t before) {
    while (!pending.empty() && pending.front().Text.Line < before) {
      if (pending.front().Open[0] || pending.front().Open[1]) candidates.push_back(std::move(pending.front()));
      pending.pop_front();
      ++popped;
    }
  };
  walk.bendLines([&](const TPatternLine& l) {
    const TShape segment = shapeOf({l.From, l.To});
    // The places of the lines a step before this one.
    for (const std::size_t k : steps) {
      if (k > index) break;
      const std::size_t at = slot[(index - k) % kWindow];
      if (at == SIZE_MAX || at < popped) continue;
      TCandidate& c = pending[at - popped];
      if (c.Text.Line == index - k && (c.Open[0] || c.Open[1])) closes(c, segment);
    }
    settle(index >= kWindow ? index - kWindow + 1 : 0);
    slot[index % kWindow] = SIZE_MAX;
    if (l.Angle) {
      TCandidate c{{index, bendAngleText(*l.Angle), {}, 0}, {}, {}};
      const Extended w = width(c.Text.Text);
      for (std::size_t s = 0; s < 2; ++s) c.Open[s] = textPlace(l, w, height, s == 0 ? 1.0L : -1.0L, c.At[s]);
      for (const std::size_t k : steps) {
        if (k > index || !(c.Open[0] || c.Open[1])) break;
        const auto& [from, to] = ring[(index - k) % kWindow];
        closes(c, shapeOf({from, to}));
      }
      if (c.Open[0] || c.Open[1]) {
        slot[index % kWindow] = pushed++;
        pending.push_back(std::move(c));
      }
    }
    ring[index % kWindow] = {l.From, l.To};
    ++index;
  });
  settle(index);
  if (candidates.empty()) return;

  // The places left filed in a grid of cells as wide as the widest place:
  // a line or an outline's edge is tried only against the places in the
  // cells it runs through, found along its longer axis (a line a cell
  // further either way across it, for rounding).
  const auto boxOf = [](const TCandidate& c) {
    TShape box;
    bool first = true;
    for (std::size_t s = 0; s < 2; ++s) {
      if (!c.Open[s]) continue;
      const TShape& b = c.At[s].Box;
      box.Lo = first ? b.Lo : TPoint2D{std::min(box.Lo.X, b.Lo.X), std::min(box.Lo.Y, b.Lo.Y)};
      box.Hi = first ? b.Hi : TPoint2D{std::max(box.Hi.X, b.Hi.X), std::max(box.Hi.Y, b.Hi.Y)};
      first = false;
    }
    return box;
  };
  TShape all = boxOf(candidates.front());
  Extended cell = 0;
  for (const TCandidate& c : candidates) {
    const TShape b = boxOf(c);
    all.Lo = {std::min(all.Lo.X, b.Lo.X), std::min(all.Lo.Y, b.Lo.Y)};
    all.Hi = {std::max(all.Hi.X, b.Hi.X), std::max(all.Hi.Y, b.Hi.Y)};
    cell = std::max({cell, b.Hi.X - b.Lo.X, b.Hi.Y - b.Lo.Y});
  }
  const Extended origin[2] = {all.Lo.X, all.Lo.Y};
  const auto cellOf = [&](Extended v, std::size_t axis) {
    return static_cast<std::int64_t>(std::floor((v - origin[axis]) / cell));
  };
  const bool gridded = std::isfinite(cell) && cell > 0 && std::isfinite(all.Hi.X - all.Lo.X + all.Hi.Y - all.Lo.Y) &&
                       cellOf(all.Hi.X, 0) < (1 << 24) && cellOf(all.Hi.Y, 1) < (1 << 24);
  const auto keyOfCell = [](std::int64_t x, std::int64_t y) {
    return (static_cast<std::uint64_t>(x) << 32) | static_cast<std::uint64_t>(y);
  };
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> cells;
  if (gridded) {
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      const TShape b = boxOf(candidates[i]);
      for (std::int64_t x = cellOf(b.Lo.X, 0); x <= cellOf(b.Hi.X, 0); ++x)
        for (std::int64_t y = cellOf(b.Lo.Y, 1); y <= cellOf(b.Hi.Y, 1); ++y) cells[keyOfCell(x, y)].push_back(i);
    }
  }
  std::vector<std::size_t> seen(candidates.size(), SIZE_MAX);
  std::size_t tried = 0;
  const auto tryOne = [&](TCandidate& c, const TShape& obstacle, std::size_t line) {
    if (c.Text.Line == line) return;
    for (std::size_t s = 0; s < 2; ++s) c.Open[s] = c.Open[s] && apart(c.At[s].Box, obstacle);
  };
  const auto against = [&](const TShape& obstacle, std::size_t line) {
    if (!gridded) {
      for (TCandidate& c : candidates) tryOne(c, obstacle, line);
      return;
    }
    const Extended lo[2] = {std::max(obstacle.Lo.X, all.Lo.X), std::max(obstacle.Lo.Y, all.Lo.Y)};
    const Extended hi[2] = {std::min(obstacle.Hi.X, all.Hi.X), std::min(obstacle.Hi.Y, all.Hi.Y)};
    if (lo[0] > hi[0] || lo[1] > hi[1]) return;
    ++tried;
    const TPoint2D& p = obstacle.P[0];
    const TPoint2D& q = obstacle.P[1];
    const Extended from[2] = {p.X, p.Y}, delta[2] = {q.X - p.X, q.Y - p.Y};
    const std::size_t a = std::fabs(delta[0]) >= std::fabs(delta[1]) ? 0 : 1, b = 1 - a;
    const std::int64_t bLo = cellOf(lo[b], b), bHi = cellOf(hi[b], b);
    for (std::int64_t u = cellOf(lo[a], a), uHi = cellOf(hi[a], a); u <= uHi; ++u) {
      std::int64_t vLo = bLo, vHi = bHi;
      if (delta[a] != 0) {
        const Extended slope = delta[b] / delta[a];
        const Extended s0 = std::max(lo[a], origin[a] + static_cast<Extended>(u) * cell);
        const Extended s1 = std::min(hi[a], origin[a] + static_cast<Extended>(u + 1) * cell);
        const Extended v0 = from[b] + (s0 - from[a]) * slope, v1 = from[b] + (s1 - from[a]) * slope;
        vLo = std::max(bLo, cellOf(std::min(v0, v1), b) - 1);
        vHi = std::min(bHi, cellOf(std::max(v0, v1), b) + 1);
      }
      for (std::int64_t v = vLo; v <= vHi; ++v) {
        const auto found = cells.find(a == 0 ? keyOfCell(u, v) : keyOfCell(v, u));
        if (found == cells.end()) continue;
        for (const std::size_t i : found->second) {
          if (seen[i] == tried) continue;
          seen[i] = tried;
          tryOne(candidates[i], obstacle, line);
        }
      }
    }
  };
  index = 0;
  walk.bendLines([&](const TPatternLine& l) { against(shapeOf({l.From, l.To}), index++); });
  walk.pieces([&](const TPatternPiece& piece) {
    for (const std::vector<TPoint2D>* outline : {&piece.Outline, &piece.Net}) {
      for (std::size_t i = 0, n = outline->size(); i < n; ++i)
        against(shapeOf({(*outline)[i], (*outline)[(i + 1) % n]}), index);
    }
  });

  std::vector<TShape> placed;
  for (TCandidate& c : candidates) {
    for (std::size_t s = 0; s < 2; ++s) {
      if (!c.Open[s] ||
          !std::all_of(placed.begin(), placed.end(), [&](const TShape& other) { return apart(c.At[s].Box, other); }))
        continue;
      c.Text.Centre = c.At[s].Centre;
      c.Text.Direction = c.At[s].Direction;
      placed.push_back(c.At[s].Box);
      each(c.Text);
      break;
    }
  }
}

}  // namespace fish
