#include "Allowances.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>
#include <string>

#include "Hull.h"
#include "fishApi/core/NumText.h"

namespace fish {

namespace {

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

struct TVec {
  Extended X, Y;
};

// Millimetres to Clipper's integers and back: a power of two that puts the
// farthest point of the piece and its allowances near 2^50, so that every
// product Clipper forms stays exact in its 64-bit (and, above 2^30, 128-bit)
// arithmetic and the outline keeps 15 significant digits. Lengths in another
// unit are taken as the millimetres they are (`perUnit` in one): Clipper rounds
// its arcs to a tolerance in its integers, and the same piece then gets the
// same arcs whatever its unit.
struct TGrid {
  Extended Scale = 1;

  TGrid(Extended reach, Extended perUnit) {
    int e = 0;
    std::frexp(static_cast<double>(std::max<Extended>(reach * perUnit, 1e-300L)), &e);
    Scale = std::ldexp(1.0L, 50 - e) * perUnit;
  }
  IntPoint in(const TPoint2D& p) const {
    return {static_cast<ClipperLib::cInt>(std::llround(p.X * Scale)),
            static_cast<ClipperLib::cInt>(std::llround(p.Y * Scale))};
  }
  IntPoint in(const TVec& p) const { return in(TPoint2D{p.X, p.Y}); }
  TPoint2D out(const IntPoint& p) const {
    return {static_cast<Extended>(p.X) / Scale, static_cast<Extended>(p.Y) / Scale};
  }
};

// Unit direction and outward normal of the edge a -> b of a counter-clockwise
// outline.
void frame(const TPoint2D& a, const TPoint2D& b, TVec& along, TVec& out) {
  const Extended l = std::hypot(b.X - a.X, b.Y - a.Y);
  along = {(b.X - a.X) / l, (b.Y - a.Y) / l};
  out = {along.Y, -along.X};
}

TVec at(const TPoint2D& p, const TVec& d, Extended t) { return {p.X + d.X * t, p.Y + d.Y * t}; }

// The union of every part. Each is turned counter-clockwise first: under
// the non-zero rule a part wound the other way would cancel what it covers.
Paths unite(Paths paths) {
  for (Path& p : paths) {
    if (!ClipperLib::Orientation(p)) ClipperLib::ReversePath(p);
  }
  ClipperLib::Clipper c;
  c.AddPaths(paths, ClipperLib::ptSubject, true);
  Paths out;
  c.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  return out;
}

// How far the chain a round end's allowance is offset from may stand off the
// round end, mm. Clipper's sweep over the offset of a chain slows with the
// square of its points where the chain runs nearly level, and a round end of
// 100,000 divisions has points a micrometre apart; at 1 um the chain keeps a
// point every millimetre or so, far finer than any cut.
constexpr Extended kOffsetTolerance = 1e-3L;

// The chain with every point dropped that stands within `tolerance` of the
// chord between the points kept either side of it (Ramer, Douglas and
// Peucker): the ends always stay.
std::vector<bool> pointsKept(const std::vector<TPoint2D>& chain, Extended tolerance) {
  const std::size_t n = chain.size();
  if (n < 3) return std::vector<bool>(n, true);
  std::vector<bool> keep(n, false);
  keep.front() = keep.back() = true;
  std::vector<std::pair<std::size_t, std::size_t>> spans{{0, n - 1}};
  while (!spans.empty()) {
    const auto [a, b] = spans.back();
    spans.pop_back();
    const TPoint2D &p = chain[a], &q = chain[b];
    const Extended dx = q.X - p.X, dy = q.Y - p.Y, len = std::hypot(dx, dy);
    Extended farthest = -1;
    std::size_t at = a;
    for (std::size_t k = a + 1; k < b; ++k) {
      const Extended d = len > 0 ? std::fabs((chain[k].X - p.X) * dy - (chain[k].Y - p.Y) * dx) / len
                                 : std::hypot(chain[k].X - p.X, chain[k].Y - p.Y);
      if (d > farthest) {
        farthest = d;
        at = k;
      }
    }
    if (farthest > tolerance) {
      keep[at] = true;
      spans.push_back({a, at});
      spans.push_back({at, b});
    }
  }
  return keep;
}

std::vector<TPoint2D> fewerPoints(const std::vector<TPoint2D>& chain, Extended tolerance) {
  const std::size_t n = chain.size();
  if (n < 3) return chain;
  const std::vector<bool> keep = pointsKept(chain, tolerance);
  std::vector<TPoint2D> kept;
  for (std::size_t k = 0; k < n; ++k) {
    if (keep[k]) kept.push_back(chain[k]);
  }
  return kept;
}

}  // namespace

Extended allowanceOf(TEdgeKind kind, const TCuttingParams& c) {
  switch (kind) {
    case TEdgeKind::Rect: return c.RectAllowance;
    case TEdgeKind::Round: return c.RoundAllowance;
    case TEdgeKind::SeamStart: return c.SeamSecond;
    case TEdgeKind::SeamEnd: return c.SeamFirst;
    case TEdgeKind::Open: return 0;
  }
  return 0;
}

Extended checkedAllowances(const TExtents2D& box, const TCuttingParams& cutting) {
  const Extended side = std::max(box.MaxX - box.MinX, box.MaxY - box.MinY);
  const std::pair<Extended, TCuttingField> widths[] = {{cutting.SeamFirst, TCuttingField::SeamAllowance},
                                                       {cutting.SeamSecond, TCuttingField::SeamAllowance},
                                                       {cutting.RectAllowance, TCuttingField::RectAllowance},
                                                       {cutting.RoundAllowance, TCuttingField::RoundAllowance}};
  Extended widest = 0;
  for (const auto& [w, field] : widths) {
    if (w > side) {
      throw ECuttingError(TMessage(FISH_TR("shop", "Припуск %1 %3 больше самой детали (%2 %3)"),
                                   {decimalText(w, 2), decimalText(side, 2), unitWord(cutting.Units)}),
                          field);
    }
    widest = std::max(widest, w);
  }
  return widest;
}

std::vector<TPoint2D> cutOutline(const TPieceNet& piece, const TCuttingParams& cutting) {
  const std::vector<TPoint2D>& net = piece.Net;
  const std::size_t n = net.size();
  const TExtents2D box = boxOf(net);
  const Extended reach = std::max({std::fabs(box.MinX), std::fabs(box.MaxX), std::fabs(box.MinY), std::fabs(box.MaxY)});
  const Extended widest = checkedAllowances(box, cutting);
  const TGrid grid(reach + 5 * widest, mmPerUnit(cutting.Units));
  const auto width = [&](std::size_t i) { return allowanceOf(piece.Edges[i], cutting); };

  Path netPath;
  netPath.reserve(n);
  for (const TPoint2D& p : net) netPath.push_back(grid.in(p));
  Paths parts(1);  // the net itself, put in once the round end has used it

  // Straight edges: a rectangle outside each; at an outward corner between
  // two edges with allowances, the mitre between their outer lines.
  for (std::size_t i = 0; i < n; ++i) {
    const TPoint2D &a = net[i], &b = net[(i + 1) % n];
    const Extended w = width(i);
    if (w <= 0) continue;
    TVec d, o;
    frame(a, b, d, o);
    if (piece.Edges[i] != TEdgeKind::Round) {
      parts.push_back({grid.in(a), grid.in(b), grid.in(at(b, o, w)), grid.in(at(a, o, w))});
    }
    const std::size_t j = (i + 1) % n;
    const Extended w2 = width(j);
    if (w2 <= 0 || (piece.Edges[i] == TEdgeKind::Round && piece.Edges[j] == TEdgeKind::Round)) continue;
    TVec d2, o2;
    frame(b, net[(j + 1) % n], d2, o2);
    if (d.X * d2.Y - d.Y * d2.X <= 0) continue;  // an inward corner: the rectangles overlap
    const TVec p1 = at(b, o, w), p2 = at(b, o2, w2);
    // p1 + t d meets p2 - s d2.
    const Extended den = d.X * d2.Y - d.Y * d2.X;
    const Extended t = ((p2.X - p1.X) * d2.Y - (p2.Y - p1.Y) * d2.X) / den;
    const TVec tip{p1.X + t * d.X, p1.Y + t * d.Y};
    if (std::hypot(tip.X - b.X, tip.Y - b.Y) <= 4 * std::max(w, w2)) {
      parts.push_back({grid.in(b), grid.in(p1), grid.in(tip), grid.in(p2)});
    } else {
      parts.push_back({grid.in(b), grid.in(p1), grid.in(p2)});
    }
  }

  // The round end: each chain of arc chords offset by Clipper, kept outside
  // the piece and short of the lines of the edges at its two ends.
  const Extended round = cutting.RoundAllowance;
  Path thinned;
  if (round > 0) {
    // The piece shrunk by a hair only trims the inner half of each round
    // end's band, all of it inside the net, which the union below holds
    // whole: shrunk from the net with its round ends' chains thinned as the
    // band's are.
    {
      std::vector<bool> keep(n, true);
      for (std::size_t i = 0; i < n; ++i) {
        if (piece.Edges[i] != TEdgeKind::Round || piece.Edges[(i + n - 1) % n] == TEdgeKind::Round) continue;
        std::vector<std::size_t> at{i};
        for (std::size_t j = i; piece.Edges[j] == TEdgeKind::Round && at.size() <= n; j = (j + 1) % n) at.push_back((j + 1) % n);
        std::vector<TPoint2D> points;
        points.reserve(at.size());
        for (const std::size_t k : at) points.push_back(net[k]);
        const std::vector<bool> kept = pointsKept(points, kOffsetTolerance / mmPerUnit(cutting.Units));
        for (std::size_t k = 1; k + 1 < at.size(); ++k) keep[at[k]] = kept[k];
      }
      for (std::size_t i = 0; i < n; ++i) {
        if (keep[i]) thinned.push_back(netPath[i]);
      }
    }
    Paths inside;
    {
      ClipperLib::ClipperOffset shrink(2.0, 0.25);
      shrink.AddPath(thinned, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
      shrink.Execute(inside, -static_cast<double>(round / 1000 * grid.Scale));
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (piece.Edges[i] != TEdgeKind::Round || piece.Edges[(i + n - 1) % n] == TEdgeKind::Round) continue;
      std::size_t j = i, chords = 0;
      for (std::size_t k = i; piece.Edges[k] == TEdgeKind::Round && chords < n; k = (k + 1) % n) ++chords;
      std::vector<TPoint2D> points;
      points.reserve(chords + 1);
      points.push_back(net[i]);
      while (piece.Edges[j] == TEdgeKind::Round && points.size() <= n) {
        points.push_back(net[(j + 1) % n]);
        j = (j + 1) % n;
      }
      Path chain;
      for (const TPoint2D& p : fewerPoints(points, kOffsetTolerance / mmPerUnit(cutting.Units))) {
        chain.push_back(grid.in(p));
      }
      ClipperLib::ClipperOffset offset(2.0, 0.25);
      offset.AddPath(chain, ClipperLib::jtMiter, ClipperLib::etOpenButt);
      Paths band;
      offset.Execute(band, static_cast<double>(round * grid.Scale));
      // The piece itself, shrunk by a hair (W / 1000): taken out of the band
      // it leaves the band's outer half and a sliver inside the piece,
      // whose edges then never lie along the piece's own, which would make
      // Clipper's sweep meet thousands of near-coincident edges.
      // (`inside` and the two squares after it, taken off again after use.)
      Paths& beyond = inside;
      // Past the line of the edge before the chain (ending at its first
      // point) and of the edge after it (starting at its last point), or
      // past the outer line of that edge's own allowance: a square of 4 W
      // on the outer side, at the chain's end. What is left of the round
      // end's allowance beyond the edge lies within that edge's rectangle,
      // and the mitre closes on it.
      for (const std::size_t e : {(i + n - 1) % n, j}) {
        const TPoint2D& a = net[e];
        const TPoint2D& b = net[(e + 1) % n];
        TVec d, o;
        frame(a, b, d, o);
        const TPoint2D& end = e == j ? a : b;
        const TPoint2D base = {end.X + o.X * width(e), end.Y + o.Y * width(e)};
        const Extended r = 4 * round;
        beyond.push_back({grid.in(at(base, d, -r)), grid.in(at(base, d, r)),
                          grid.in(TVec{base.X + d.X * r + o.X * r, base.Y + d.Y * r + o.Y * r}),
                          grid.in(TVec{base.X - d.X * r + o.X * r, base.Y - d.Y * r + o.Y * r})});
      }
      ClipperLib::Clipper c;
      c.AddPaths(band, ClipperLib::ptSubject, true);
      c.AddPaths(beyond, ClipperLib::ptClip, true);
      Paths kept;
      c.Execute(ClipperLib::ctDifference, kept, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
      beyond.resize(beyond.size() - 2);
      parts.insert(parts.end(), kept.begin(), kept.end());
    }
  }

  // Where the round end's band reaches further inside than its chain was
  // thinned (a band of 1 mm or more), the region between the chain and the
  // thinned one lies in the band already: the net goes in thinned too.
  parts[0] = round > 0 && round / 1000 >= kOffsetTolerance / mmPerUnit(cutting.Units) ? std::move(thinned)
                                                                                      : std::move(netPath);
  const Paths joined = unite(std::move(parts));
  // The outer boundary: the largest ring (a hole could only be a sliver the
  // allowances closed over).
  const Path* outer = nullptr;
  double largest = 0;
  for (const Path& p : joined) {
    if (const double a = std::fabs(ClipperLib::Area(p)); a > largest) {
      largest = a;
      outer = &p;
    }
  }
  std::vector<TPoint2D> cut;
  if (!outer) return net;
  // Parts that share an edge up to the grid's rounding leave a spike of no
  // width where they meet: cleaned away with every point within 1E-6 mm of
  // the line through its neighbours.
  Path clean;
  ClipperLib::CleanPolygon(*outer, clean, static_cast<double>(1e-6L / mmPerUnit(cutting.Units) * grid.Scale));
  for (const IntPoint& p : clean) cut.push_back(grid.out(p));
  if (polygonArea(cut) < 0) std::reverse(cut.begin() + 1, cut.end());
  return cut;
}

}  // namespace fish
