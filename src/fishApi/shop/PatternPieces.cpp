#include "PatternPieces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "Allowances.h"
#include "Hull.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/PointNames.h"
#include "fishApi/precise/PreciseDevelopment.h"

namespace fish {

namespace {

// ---- Rigid motions ------------------------------------------------------------

// p -> M p + T; M a rotation, or a rotation and a mirror.
struct TMotion {
  Extended XX = 1, XY = 0, YX = 0, YY = 1, TX = 0, TY = 0;
  bool Identity = true;  // applied as nothing at all, bit for bit

  TPoint2D operator()(const TPoint2D& p) const {
    if (Identity) return p;
    return {XX * p.X + XY * p.Y + TX, YX * p.X + YY * p.Y + TY};
  }
};

Extended orient(const TPoint2D& a, const TPoint2D& b, const TPoint2D& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}

bool same(const TPoint2D& a, const TPoint2D& b) { return a.X == b.X && a.Y == b.Y; }

struct TPointHash {
  std::size_t operator()(const TPoint2D& p) const {
    return std::hash<Extended>()(p.X) * 1000003u ^ std::hash<Extended>()(p.Y);
  }
};
struct TPointSame {
  bool operator()(const TPoint2D& a, const TPoint2D& b) const { return same(a, b); }
};

// The motion that lays the seam line (a2, b2) of a half onto (a1, b1) of the
// half before it, with the new half's point s2 on the other side of the line
// than the old half's point s1: a turn, and a mirror in the line when the
// turn alone would fold the new half back onto the old. Two halves already
// laid in one frame (quadrants 1 and 2 share their origin line) stay as they
// are.
TMotion glue(const TPoint2D& a1, const TPoint2D& b1, const TPoint2D& s1, const TPoint2D& a2, const TPoint2D& b2,
             const TPoint2D& s2) {
  if (same(a1, a2) && same(b1, b2) && (orient(a1, b1, s1) > 0) != (orient(a1, b1, s2) > 0)) return {};
  const Extended ux = b1.X - a1.X, uy = b1.Y - a1.Y, vx = b2.X - a2.X, vy = b2.Y - a2.Y;
  const Extended lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
  Extended c = 1, s = 0;
  if (lu > 0 && lv > 0) {
    c = (ux * vx + uy * vy) / (lu * lv);
    s = (vx * uy - vy * ux) / (lu * lv);
  }
  TMotion m{c, -s, s, c, 0, 0, false};
  m.TX = a1.X - (m.XX * a2.X + m.XY * a2.Y);
  m.TY = a1.Y - (m.YX * a2.X + m.YY * a2.Y);
  if ((orient(a1, b1, s1) > 0) == (orient(a1, b1, m(s2)) > 0) && lu > 0) {
    // Mirror in the line a1 b1: w -> 2 (w . e) e - w about a1, e along it.
    const Extended ex = ux / lu, ey = uy / lu;
    const Extended fxx = 2 * ex * ex - 1, fxy = 2 * ex * ey, fyy = 2 * ey * ey - 1;
    TMotion r{fxx * m.XX + fxy * m.YX, fxx * m.XY + fxy * m.YY, fxy * m.XX + fyy * m.YX, fxy * m.XY + fyy * m.YY, 0,
              0, false};
    const TPoint2D t{m.TX - a1.X, m.TY - a1.Y};
    r.TX = a1.X + fxx * t.X + fxy * t.Y;
    r.TY = a1.Y + fxy * t.X + fyy * t.Y;
    return r;
  }
  return m;
}

// ---- Half quadrants -----------------------------------------------------------

// A quadrant, or the half of it on one side of its corner seam, in its
// quadrant's frame: the rectangular end and the round end, both in the order
// the ring runs, and the generators inside it.
struct THalf {
  int Quadrant = 0;
  std::vector<TPoint2D> Rect, Round;
  // The generators inside, by element: each runs from the corner to its arc
  // point of the quadrant's development.
  std::vector<std::size_t> Bends;
};

// k* of a development: the generator (1 .. n+1) whose turn about the
// corner's image from the first is nearest half the whole fan's.
std::size_t bisectorGenerator(const TRazvertka2PointArray& d) {
  const std::size_t last = d.size() - 2;
  const TPoint2D& c = d[1].P1;
  std::vector<Extended> turn(last + 1, 0);
  for (std::size_t k = 2; k <= last; ++k) {
    const TPoint2D u{d[k - 1].P2.X - c.X, d[k - 1].P2.Y - c.Y}, v{d[k].P2.X - c.X, d[k].P2.Y - c.Y};
    turn[k] = turn[k - 1] + std::atan2(u.X * v.Y - u.Y * v.X, u.X * v.X + u.Y * v.Y);
  }
  std::size_t best = 1;
  for (std::size_t k = 2; k <= last; ++k) {
    if (std::fabs(turn[k] - turn[last] / 2) < std::fabs(turn[best] - turn[last] / 2)) best = k;
  }
  return best;
}

// The half quadrants of quadrant q in ring order: one when its corner has no
// seam, else two, cut along generator k*. Quadrants 1 and 3 run from the
// X side to the Y side round the ring, against the order of their elements.
std::vector<THalf> halvesOf(int q, const TRazvertka2PointArray& d, bool cutAtCorner) {
  const std::size_t last = d.size() - 2;  // n + 1
  const TPoint2D &o = d[0].P1, &c = d[1].P1, &midX = d[last + 1].P2;
  const auto part = [&](std::vector<TPoint2D> rect, std::size_t from, std::size_t to) {
    THalf h;
    h.Quadrant = q;
    h.Rect = std::move(rect);
    h.Round.reserve(to - from + 1);
    for (std::size_t k = from; k <= to; ++k) h.Round.push_back(d[k].P2);
    // The generators inside: all but a corner seam at either end.
    const std::size_t first = from == 1 ? 1 : from + 1;
    const std::size_t lastInside = to == last ? last : to - 1;
    for (std::size_t k = first; k <= lastInside; ++k) {
      if (!same(c, d[k].P2)) h.Bends.push_back(k);
    }
    return h;
  };
  std::vector<THalf> halves;
  if (cutAtCorner) {
    const std::size_t k = bisectorGenerator(d);
    halves.push_back(part({o, c}, 1, k));
    halves.push_back(part({c, midX}, k, last));
  } else {
    halves.push_back(part({o, c, midX}, 1, last));
  }
  if (q == 1 || q == 3) {
    std::reverse(halves.begin(), halves.end());
    for (THalf& h : halves) {
      std::reverse(h.Rect.begin(), h.Rect.end());
      std::reverse(h.Round.begin(), h.Round.end());
    }
  }
  return halves;
}

// ---- Outlines -------------------------------------------------------------------

struct TOutlineBuilder {
  std::vector<TPoint2D> Points;
  std::vector<TEdgeKind> Edges;  // Edges[i] ends at Points[i + 1]

  void add(const TPoint2D& p, TEdgeKind kind) {
    if (!Points.empty() && same(Points.back(), p)) return;
    if (!Points.empty()) Edges.push_back(kind);
    Points.push_back(p);
  }
  // The closing edge; when the last point is the first, the edge into it
  // closes the outline.
  void close(TEdgeKind kind) {
    if (Points.size() > 1 && same(Points.front(), Points.back())) {
      Points.pop_back();
    } else {
      Edges.push_back(kind);
    }
  }
};

Extended signedArea(const std::vector<TPoint2D>& p) { return polygonArea(p); }

// The direction of the piece's longest extent: the farthest pair of points of
// its convex hull, found by rotating calipers.
Extended longestDirection(const std::vector<TPoint2D>& points) {
  const std::vector<TPoint2D> hull = convexHull(points);
  const std::size_t h = hull.size();
  if (h < 2) return 0;
  const auto far = [](const TPoint2D& a, const TPoint2D& b) { return std::hypot(a.X - b.X, a.Y - b.Y); };
  Extended best = -1, angle = 0;
  for (std::size_t i = 0, j = 1; i < h; ++i) {
    const TPoint2D& a = hull[i];
    const TPoint2D& b = hull[(i + 1) % h];
    while (orient(a, b, hull[(j + 1) % h]) > orient(a, b, hull[j])) j = (j + 1) % h;
    for (const TPoint2D* p : {&a, &b}) {
      if (const Extended dist = far(*p, hull[j]); dist > best) {
        best = dist;
        angle = std::atan2(hull[j].Y - p->Y, hull[j].X - p->X);
      }
    }
  }
  return angle;
}

void moveAll(TPieceNet& piece, const TMotion& m) {
  for (TPoint2D& p : piece.Net) p = m(p);
  for (TPatternLine& l : piece.Bends) l = {l.Quadrant, m(l.From), m(l.To), l.Element};
  for (TPatternLabel& l : piece.Labels) l.At = m(l.At);
}

// A run of half quadrants laid as one piece.
// With `lines` the bend lines are handed to it as they are laid, not held.
TPieceNet layRun(const std::vector<THalf>& run, const std::array<TRazvertka2PointArray, 4>& developed, bool fromSeam,
                 bool toSeam, bool names, const std::function<void(const TPatternLine&)>* lines) {
  std::vector<TMotion> motion(run.size());
  for (std::size_t i = 1; i < run.size(); ++i) {
    const THalf &a = run[i - 1], &b = run[i];
    if (a.Quadrant == b.Quadrant) {
      motion[i] = motion[i - 1];  // the two halves of one quadrant, one frame
      continue;
    }
    const TMotion& m = motion[i - 1];
    motion[i] = glue(m(a.Rect.back()), m(a.Round.back()), m(a.Rect[a.Rect.size() - 2]), b.Rect.front(),
                     b.Round.front(), b.Rect[1]);
  }

  // A half's point where the piece has it: the two ends of the seam line a
  // half shares with the half before are that half's, exactly, so that the
  // outline, the bend lines and the names meet there.
  const auto place = [&](std::size_t i, const TPoint2D& p) {
    if (i > 0 && run[i].Quadrant != run[i - 1].Quadrant) {
      if (same(p, run[i].Rect.front())) return motion[i - 1](run[i - 1].Rect.back());
      if (same(p, run[i].Round.front())) return motion[i - 1](run[i - 1].Round.back());
    }
    return motion[i](p);
  };
  TPieceNet piece;
  TOutlineBuilder outline;
  const bool handOver = lines != nullptr;
  std::size_t count = 0, corners = 0;
  for (const THalf& h : run) {
    count += h.Bends.size();
    corners += h.Rect.size() + h.Round.size();
  }
  if (!handOver) piece.Bends.reserve(count);
  outline.Points.reserve(corners);
  outline.Edges.reserve(corners);
  for (std::size_t i = 0; i < run.size(); ++i) {
    for (const TPoint2D& p : run[i].Rect) outline.add(place(i, p), TEdgeKind::Rect);
    if (piece.Quadrants.empty() || piece.Quadrants.back() != run[i].Quadrant) piece.Quadrants.push_back(run[i].Quadrant);
    const int q = run[i].Quadrant;
    const TRazvertka2PointArray& d = developed[static_cast<std::size_t>(q - 1)];
    for (const std::size_t k : run[i].Bends) {
      TPatternLine line{q, place(i, d[1].P1), place(i, d[k].P2), k};
      if (handOver) {
        (*lines)(line);
      } else {
        piece.Bends.push_back(std::move(line));
      }
    }
  }
  const TEdgeKind endKind = toSeam ? TEdgeKind::SeamEnd : TEdgeKind::Open;
  for (std::size_t i = run.size(); i-- > 0;) {
    const std::vector<TPoint2D>& round = run[i].Round;
    for (std::size_t k = round.size(); k-- > 0;) {
      outline.add(place(i, round[k]), i + 1 == run.size() && k + 1 == round.size() ? endKind : TEdgeKind::Round);
    }
  }
  outline.close(fromSeam ? TEdgeKind::SeamStart : TEdgeKind::Open);
  piece.Net = std::move(outline.Points);
  piece.Edges = std::move(outline.Edges);
  if (signedArea(piece.Net) < 0) {
    // Walked the other way round: the same edges, each from its other end.
    std::reverse(piece.Net.begin() + 1, piece.Net.end());
    std::reverse(piece.Edges.begin(), piece.Edges.end());
  }

  // Each name once a piece: a point two halves share is named by both.
  std::unordered_map<std::string, TPoint2D> named;
  for (std::size_t i = 0; names && i < run.size(); ++i) {
    const THalf& h = run[i];
    std::vector<TNamedPoint> points = namedOutlinePoints(developed[static_cast<std::size_t>(h.Quadrant - 1)], h.Quadrant);
    std::unordered_set<TPoint2D, TPointHash, TPointSame> mine(h.Rect.begin(), h.Rect.end());
    mine.insert(h.Round.begin(), h.Round.end());
    for (TNamedPoint& p : points) {
      if (!mine.count(p.At)) continue;
      const TPoint2D at = place(i, p.At);
      if (const auto found = named.find(p.Name); found != named.end() && std::hypot(found->second.X - at.X,
                                                                                    found->second.Y - at.Y) < 1e-6L)
        continue;
      named[p.Name] = at;
      piece.Labels.push_back({std::move(p.Name), at});
    }
  }
  return piece;
}

}  // namespace

std::vector<TPieceNet> patternNets(const TSystemParams& sp, const TProParams& pro, const TCuttingParams& cutting) {
  return patternNets(sp, TPlateParams{}, pro, cutting);
}

std::vector<TPieceNet> patternNets(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                                   const TCuttingParams& cutting, bool names) {
  return patternNets(sp, plate, pro, cutting, names, nullptr);
}

TDevelopFn cuttingElements(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                           const TCuttingParams& cutting) {
  return [sp, plate, pro, cutting](int q, std::size_t upTo, const TElementFn& each) {
    const TSystemParams developed = developedParams(sp, plate, cutting.Units);
    const auto quadrant = static_cast<std::uint16_t>(q);
    if (cutting.Pattern == TPatternKind::Table) {
      TPoint2D min, max;
      developQuadrantElements(developed, pro, quadrant, each, min, max);
      return;
    }
    const bool thick = plate.Thickness != 0;
    TPreciseStream stream(thick ? sp : developed, pro, quadrant, thick ? faceOffsets(plate) : TFaceOffsets{});
    for (std::size_t k = 0, n = stream.size(); k < n && k <= upTo; ++k) each(k, stream.next());
  };
}

std::vector<TPieceNet> patternNets(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                                   const TCuttingParams& cutting, bool names, const TPieceLines* lines) {
  if (lines && !names) {
    // Nothing of a piece but its net is kept: laid one piece at a time.
    const TPieceLaying laying(pro, cutting, cuttingElements(sp, plate, pro, cutting));
    std::vector<TPieceNet> pieces;
    for (std::size_t i = 0; i < laying.size(); ++i) {
      pieces.push_back(laying.net(i));
      laying.bends(i, [&](const TPatternLine& l) { (*lines)(i, l); });
    }
    return pieces;
  }
  checkCutting(cutting);
  const bool todaysFrame = cutting.Seams == kDefaultSeams;
  const Extended widest =
      std::max({cutting.SeamFirst, cutting.SeamSecond, cutting.RectAllowance, cutting.RoundAllowance});
  // Lines handed over as they are laid must be where the pieces stay: today's
  // pieces without allowances are not moved afterwards.
  const bool early = lines && todaysFrame && widest == 0;
  std::array<TRazvertka2PointArray, 4> developed;
  bool any = false;
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (!quadrantSelected(pro, q)) continue;
    TQuadrantDevelopment d;
    developCutting(cutting.Pattern, sp, plate, pro, q, d, cutting.Units);
    developed[q - 1] = std::move(d.Razvertka);
    any = true;
  }
  if (!any) throw ENoQuadrant();

  const auto seamAt = [&cutting](int place) { return (cutting.Seams >> (place % kSeamPlaces)) & 1u; };
  // The eight half quadrants in ring order; a quadrant without a corner seam
  // fills both of its places with one half.
  std::array<std::vector<THalf>, 4> halves;
  for (int q = 1; q <= 4; ++q) {
    if (quadrantSelected(pro, static_cast<std::uint16_t>(q)))
      halves[static_cast<std::size_t>(q - 1)] = halvesOf(q, developed[static_cast<std::size_t>(q - 1)], seamAt(2 * q - 1));
  }
  // Start after a seam, or after a quadrant left out, so that no run wraps.
  int start = 0;
  for (int place = 0; place < kSeamPlaces; ++place) {
    if (seamAt(place)) {
      start = place;
      break;
    }
  }
  std::vector<TPieceNet> pieces;
  std::vector<THalf> run;
  bool runFromSeam = true;
  std::string runSeams;
  const auto finish = [&](bool toSeam, int place) {
    if (run.empty()) return;
    const std::size_t index = pieces.size();
    const std::function<void(const TPatternLine&)> each = [&](const TPatternLine& l) { (*lines)(index, l); };
    TPieceNet piece = layRun(run, developed, runFromSeam, toSeam, names, early ? &each : nullptr);
    piece.Seams = runSeams;
    // One seam alone is both ends of its one piece: named once.
    const std::string end(seamKey(static_cast<TSeamAt>(place % kSeamPlaces)));
    if (toSeam && piece.Seams != end) piece.Seams += (piece.Seams.empty() ? "" : ", ") + end;
    pieces.push_back(std::move(piece));
    run.clear();
  };
  for (int step = 0; step < kSeamPlaces; ++step) {
    const int place = start + step;  // the half between ring places `place` and `place + 1`
    if (seamAt(place)) {
      finish(true, place);
      runFromSeam = true;
      runSeams = std::string(seamKey(static_cast<TSeamAt>(place % kSeamPlaces)));
    }
    const int q = (place % kSeamPlaces) / 2 + 1;
    const std::vector<THalf>& quadrant = halves[static_cast<std::size_t>(q - 1)];
    if (quadrant.empty()) {
      finish(false, place);
      runFromSeam = false;
      runSeams.clear();
      continue;
    }
    // A whole quadrant is laid at its first place; its second adds nothing.
    if (quadrant.size() == 1 && place % 2 == 1 && !run.empty() && run.back().Quadrant == q) continue;
    run.push_back(quadrant.size() == 1 ? quadrant[0] : quadrant[static_cast<std::size_t>(place % 2)]);
  }
  finish(seamAt(start + kSeamPlaces) != 0, start + kSeamPlaces);

  Extended below = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    TPieceNet& piece = pieces[i];
    if (!todaysFrame && !isSimplePolygon(piece.Net)) {
      throw ECuttingError(
          TMessage(FISH_TR("shop", "Деталь %1 из %2 (швы %3) накладывается сама на себя в развертке: добавьте швы"),
                   {std::to_string(i + 1), std::to_string(pieces.size()), piece.Seams}),
          TCuttingField::Seams);
    }
    if (todaysFrame) {
      // Today's pieces meet along their rectangular ends, on the X axis: with
      // allowances the lower ones (quadrants 3 and 4) move down clear of the
      // upper ones' by both allowances and 10 mm.
      const bool lower = piece.Quadrants.front() >= 3;
      if (lower && widest > 0) {
        moveAll(piece, TMotion{1, 0, 0, 1, 0, -(2 * widest + 10 / mmPerUnit(cutting.Units)), false});
      }
      continue;
    }
    // Longest extent along X, the pieces stacked upwards 20 mm apart beyond
    // their allowances.
    const Extended a = -longestDirection(piece.Net);
    moveAll(piece, TMotion{std::cos(a), -std::sin(a), std::sin(a), std::cos(a), 0, 0, false});
    const TExtents2D box = boxOf(piece.Net);
    moveAll(piece, TMotion{1, 0, 0, 1, -box.MinX, below - box.MinY, false});
    below += box.MaxY - box.MinY + 20 / mmPerUnit(cutting.Units) + 2 * widest;
  }
  for (std::size_t i = 0; lines && !early && i < pieces.size(); ++i) {
    for (const TPatternLine& l : pieces[i].Bends) (*lines)(i, l);
    pieces[i].Bends = {};
  }
  return pieces;
}


// ---- Pieces laid one at a time -----------------------------------------------------

// aimedLabel of directions already sorted (FlatPattern.cpp).
TPatternLabel aimedSorted(std::string text, const TPoint2D& at, const std::vector<Extended>& sorted);

namespace {

bool before(const TPoint2D& a, const TPoint2D& b) { return a.X < b.X || (a.X == b.X && a.Y < b.Y); }

bool among(const std::vector<TPoint2D>& sorted, const TPoint2D& p) {
  const auto at = std::lower_bound(sorted.begin(), sorted.end(), p, before);
  return at != sorted.end() && same(*at, p);
}

Extended towards(const TPoint2D& at, const TPoint2D& other) { return std::atan2(other.Y - at.Y, other.X - at.X); }

// A half quadrant as a piece needs it when its development is handed over
// element by element: the ends of its round end and its generators by
// element, and which of its quadrant's named points are among its own.
struct THalfPlan {
  int Quadrant = 0;
  std::vector<TPoint2D> Rect;        // in ring order
  std::size_t From = 0, To = 0;      // its round end: the far ends of elements From .. To
  bool Reversed = false;             // the ring runs against the elements (quadrants 1 and 3)
  TPoint2D RoundFirst, RoundLast;    // in ring order
  std::size_t BendFirst = 1, BendLast = 0;
  std::array<bool, 4> Member{};      // the named points of rows 0 .. 3
  std::vector<std::size_t> Outside;  // elements 2 .. n outside From .. To whose points are its own
};

struct TRunPlan {
  std::vector<THalfPlan> Run;
  std::vector<TMotion> Motion;  // each half's, as laid in the run
  bool FromSeam = true, ToSeam = true;
  std::string Seams;
  std::vector<int> Quadrants;
  std::vector<TMotion> Moves;  // where the piece goes afterwards, in turn
};

// The points of rows 0 .. 3 of a development (PointNames.h).
std::array<TPoint2D, 4> rowPoints(const TRazvertka2PointArray& d) {
  const std::size_t n = d.size() - 3;
  return {d[0].P2, d[n + 1].P2, d[n + 2].P2, d[1].P1};
}

}  // namespace

struct TPieceLaying::TPlan {
  TProParams Pro;
  TCuttingParams Cutting;
  TDevelopFn Develop;
  std::size_t N = 0;
  std::array<TPoint2D, 4> Corner{};
  std::array<std::array<TPoint2D, 4>, 4> Rows{};
  std::vector<TRunPlan> Pieces;
  bool AnyBend = false;

  TPoint2D place(const TRunPlan& r, std::size_t i, const TPoint2D& p) const {
    if (i > 0 && r.Run[i].Quadrant != r.Run[i - 1].Quadrant) {
      if (same(p, r.Run[i].Rect.front())) return r.Motion[i - 1](r.Run[i - 1].Rect.back());
      if (same(p, r.Run[i].RoundFirst)) return r.Motion[i - 1](r.Run[i - 1].RoundLast);
    }
    return r.Motion[i](p);
  }
  static TPoint2D moved(const TRunPlan& r, TPoint2D p) {
    for (const TMotion& m : r.Moves) p = m(p);
    return p;
  }

  std::vector<THalfPlan> halves(int q, const TRazvertka2PointArray& d, bool cutAtCorner);
  TPieceNet lay(const TRunPlan& r) const;
  // The points a piece's lines gather at: every half's corner, the ends of
  // its rectangular and round ends, and its named points of rows 0 .. 3;
  // where the piece stays, sorted, each once.
  std::vector<TPoint2D> hubs(const TRunPlan& r) const;
};

std::vector<THalfPlan> TPieceLaying::TPlan::halves(int q, const TRazvertka2PointArray& d, bool cutAtCorner) {
  const std::size_t last = d.size() - 2, n = d.size() - 3;
  const TPoint2D &o = d[0].P1, &c = d[1].P1, &midX = d[last + 1].P2;
  const std::array<TPoint2D, 4> rows = rowPoints(d);
  const auto part = [&](std::vector<TPoint2D> rect, std::size_t from, std::size_t to) {
    THalfPlan h;
    h.Quadrant = q;
    h.Rect = std::move(rect);
    h.From = from;
    h.To = to;
    h.RoundFirst = d[from].P2;
    h.RoundLast = d[to].P2;
    h.BendFirst = from == 1 ? 1 : from + 1;
    h.BendLast = to == last ? last : to - 1;
    for (std::size_t k = h.BendFirst; k <= h.BendLast && !AnyBend; ++k) AnyBend = !same(c, d[k].P2);
    std::vector<TPoint2D> mine(h.Rect);
    mine.reserve(h.Rect.size() + to - from + 1);
    for (std::size_t k = from; k <= to; ++k) mine.push_back(d[k].P2);
    std::sort(mine.begin(), mine.end(), before);
    for (std::size_t row = 0; row < 4; ++row) h.Member[row] = among(mine, rows[row]);
    for (std::size_t k = 2; k <= n; ++k) {
      if ((k < from || k > to) && among(mine, d[k].P2)) h.Outside.push_back(k);
    }
    return h;
  };
  std::vector<THalfPlan> out;
  if (cutAtCorner) {
    const std::size_t k = bisectorGenerator(d);
    out.push_back(part({o, c}, 1, k));
    out.push_back(part({c, midX}, k, last));
  } else {
    out.push_back(part({o, c, midX}, 1, last));
  }
  if (q == 1 || q == 3) {
    std::reverse(out.begin(), out.end());
    for (THalfPlan& h : out) {
      std::reverse(h.Rect.begin(), h.Rect.end());
      std::swap(h.RoundFirst, h.RoundLast);
      h.Reversed = true;
    }
  }
  return out;
}

TPieceNet TPieceLaying::TPlan::lay(const TRunPlan& r) const {
  TPieceNet piece;
  piece.Quadrants = r.Quadrants;
  piece.Seams = r.Seams;
  TOutlineBuilder outline;
  std::size_t corners = 0;
  for (const THalfPlan& h : r.Run) corners += h.Rect.size() + h.To - h.From + 1;
  outline.Points.reserve(corners);
  outline.Edges.reserve(corners);
  for (std::size_t i = 0; i < r.Run.size(); ++i) {
    for (const TPoint2D& p : r.Run[i].Rect) outline.add(place(r, i, p), TEdgeKind::Rect);
  }
  const TEdgeKind endKind = r.ToSeam ? TEdgeKind::SeamEnd : TEdgeKind::Open;
  std::vector<TPoint2D> round;
  for (std::size_t i = r.Run.size(); i-- > 0;) {
    const THalfPlan& h = r.Run[i];
    round.clear();
    round.reserve(h.To - h.From + 1);
    Develop(h.Quadrant, h.To, [&](std::size_t k, const TRazvertka2Point& e) {
      if (k >= h.From && k <= h.To) round.push_back(e.P2);
    });
    // Back along the ring: against the elements unless the ring runs so.
    for (std::size_t j = 0; j < round.size(); ++j) {
      const TPoint2D& p = h.Reversed ? round[j] : round[round.size() - 1 - j];
      outline.add(place(r, i, p), i + 1 == r.Run.size() && j == 0 ? endKind : TEdgeKind::Round);
    }
  }
  outline.close(r.FromSeam ? TEdgeKind::SeamStart : TEdgeKind::Open);
  piece.Net = std::move(outline.Points);
  piece.Edges = std::move(outline.Edges);
  if (signedArea(piece.Net) < 0) {
    std::reverse(piece.Net.begin() + 1, piece.Net.end());
    std::reverse(piece.Edges.begin(), piece.Edges.end());
  }
  return piece;
}

std::vector<TPoint2D> TPieceLaying::TPlan::hubs(const TRunPlan& r) const {
  std::vector<TPoint2D> points;
  for (std::size_t i = 0; i < r.Run.size(); ++i) {
    const THalfPlan& h = r.Run[i];
    const auto q = static_cast<std::size_t>(h.Quadrant - 1);
    for (const TPoint2D& p : h.Rect) points.push_back(moved(r, place(r, i, p)));
    for (const TPoint2D& p : {h.RoundFirst, h.RoundLast, Corner[q], Rows[q][0], Rows[q][1], Rows[q][2], Rows[q][3]})
      points.push_back(moved(r, place(r, i, p)));
  }
  std::sort(points.begin(), points.end(), before);
  points.erase(std::unique(points.begin(), points.end(), same), points.end());
  return points;
}

TPieceLaying::TPieceLaying(const TProParams& pro, const TCuttingParams& cutting, TDevelopFn develop)
    : P(std::make_unique<TPlan>()) {
  TPlan& plan = *P;
  plan.Pro = pro;
  plan.Cutting = cutting;
  plan.Develop = std::move(develop);
  plan.N = static_cast<std::size_t>(pro.Divisions);
  checkCutting(cutting);
  const bool todaysFrame = cutting.Seams == kDefaultSeams;
  const Extended widest =
      std::max({cutting.SeamFirst, cutting.SeamSecond, cutting.RectAllowance, cutting.RoundAllowance});
  const auto seamAt = [&cutting](int place) { return (cutting.Seams >> (place % kSeamPlaces)) & 1u; };

  // Each chosen quadrant developed once, whole, for its halves.
  std::array<std::vector<THalfPlan>, 4> halves;
  bool any = false;
  for (int q = 1; q <= 4; ++q) {
    if (!quadrantSelected(pro, static_cast<std::uint16_t>(q))) continue;
    TRazvertka2PointArray d;
    d.reserve(plan.N + 3);
    plan.Develop(q, plan.N + 2, [&d](std::size_t, const TRazvertka2Point& e) { d.push_back(e); });
    const auto i = static_cast<std::size_t>(q - 1);
    plan.Corner[i] = d[1].P1;
    plan.Rows[i] = rowPoints(d);
    halves[i] = plan.halves(q, d, seamAt(2 * q - 1));
    any = true;
  }
  if (!any) throw ENoQuadrant();

  // The runs between seams, as patternNets makes them.
  int start = 0;
  for (int place = 0; place < kSeamPlaces; ++place) {
    if (seamAt(place)) {
      start = place;
      break;
    }
  }
  TRunPlan run;
  const auto finish = [&](bool toSeam, int place) {
    if (run.Run.empty()) return;
    run.ToSeam = toSeam;
    const std::string end(seamKey(static_cast<TSeamAt>(place % kSeamPlaces)));
    if (toSeam && run.Seams != end) run.Seams += (run.Seams.empty() ? "" : ", ") + end;
    plan.Pieces.push_back(std::move(run));
    run = TRunPlan{};
  };
  bool fromSeam = true;
  std::string seams;
  for (int step = 0; step < kSeamPlaces; ++step) {
    const int place = start + step;
    if (seamAt(place)) {
      finish(true, place);
      fromSeam = true;
      seams = std::string(seamKey(static_cast<TSeamAt>(place % kSeamPlaces)));
    }
    const int q = (place % kSeamPlaces) / 2 + 1;
    const std::vector<THalfPlan>& quadrant = halves[static_cast<std::size_t>(q - 1)];
    if (quadrant.empty()) {
      finish(false, place);
      fromSeam = false;
      seams.clear();
      continue;
    }
    if (quadrant.size() == 1 && place % 2 == 1 && !run.Run.empty() && run.Run.back().Quadrant == q) continue;
    if (run.Run.empty()) {
      run.FromSeam = fromSeam;
      run.Seams = seams;
    }
    run.Run.push_back(quadrant.size() == 1 ? quadrant[0] : quadrant[static_cast<std::size_t>(place % 2)]);
  }
  finish(seamAt(start + kSeamPlaces) != 0, start + kSeamPlaces);

  for (TRunPlan& r : plan.Pieces) {
    r.Motion.resize(r.Run.size());
    for (std::size_t i = 0; i < r.Run.size(); ++i) {
      if (r.Quadrants.empty() || r.Quadrants.back() != r.Run[i].Quadrant) r.Quadrants.push_back(r.Run[i].Quadrant);
      if (i == 0) continue;
      const THalfPlan &a = r.Run[i - 1], &b = r.Run[i];
      if (a.Quadrant == b.Quadrant) {
        r.Motion[i] = r.Motion[i - 1];
        continue;
      }
      const TMotion& m = r.Motion[i - 1];
      r.Motion[i] = glue(m(a.Rect.back()), m(a.RoundLast), m(a.Rect[a.Rect.size() - 2]), b.Rect.front(),
                         b.RoundFirst, b.Rect[1]);
    }
  }

  // Every net laid once to learn where its piece goes.
  Extended below = 0;
  std::vector<TExtents2D> boxes;
  for (std::size_t i = 0; i < plan.Pieces.size(); ++i) {
    TRunPlan& r = plan.Pieces[i];
    TPieceNet piece = plan.lay(r);
    const auto move = [&](const TMotion& m) {
      for (TPoint2D& p : piece.Net) p = m(p);
      r.Moves.push_back(m);
    };
    if (!todaysFrame && !isSimplePolygon(piece.Net)) {
      throw ECuttingError(
          TMessage(FISH_TR("shop", "Деталь %1 из %2 (швы %3) накладывается сама на себя в развертке: добавьте швы"),
                   {std::to_string(i + 1), std::to_string(plan.Pieces.size()), piece.Seams}),
          TCuttingField::Seams);
    }
    if (todaysFrame) {
      if (piece.Quadrants.front() >= 3 && widest > 0)
        move(TMotion{1, 0, 0, 1, 0, -(2 * widest + 10 / mmPerUnit(cutting.Units)), false});
    } else {
      const Extended a = -longestDirection(piece.Net);
      move(TMotion{std::cos(a), -std::sin(a), std::sin(a), std::cos(a), 0, 0, false});
      const TExtents2D box = boxOf(piece.Net);
      move(TMotion{1, 0, 0, 1, -box.MinX, below - box.MinY, false});
      below += box.MaxY - box.MinY + 20 / mmPerUnit(cutting.Units) + 2 * widest;
    }
    if (cutting.hasAllowances()) boxes.push_back(boxOf(piece.Net));
  }
  for (const TExtents2D& box : boxes) checkedAllowances(box, cutting);
}

TPieceLaying::~TPieceLaying() = default;

std::size_t TPieceLaying::size() const { return P->Pieces.size(); }

bool TPieceLaying::anyBend() const { return P->AnyBend; }

TPieceNet TPieceLaying::net(std::size_t i) const {
  const TRunPlan& r = P->Pieces.at(i);
  TPieceNet piece = P->lay(r);
  for (const TMotion& m : r.Moves) {
    for (TPoint2D& p : piece.Net) p = m(p);
  }
  return piece;
}

void TPieceLaying::bends(std::size_t i, const std::function<void(const TPatternLine&)>& each,
                         const std::function<void(int quadrant)>& start) const {
  const TRunPlan& r = P->Pieces.at(i);
  for (std::size_t h = 0; h < r.Run.size(); ++h) {
    const THalfPlan& half = r.Run[h];
    const TPoint2D& c = P->Corner[static_cast<std::size_t>(half.Quadrant - 1)];
    const TPoint2D from = P->moved(r, P->place(r, h, c));
    if (start) start(half.Quadrant);
    P->Develop(half.Quadrant, half.BendLast, [&](std::size_t k, const TRazvertka2Point& e) {
      if (k < half.BendFirst || k > half.BendLast || same(c, e.P2)) return;
      each(TPatternLine{half.Quadrant, from, P->moved(r, P->place(r, h, e.P2)), k});
    });
  }
}

std::vector<TPointMeets> TPieceLaying::outlineMeets(std::size_t i, const std::vector<TPoint2D>& net,
                                                     const std::vector<TPoint2D>& outline) const {
  std::vector<TPoint2D> points = P->hubs(P->Pieces.at(i));
  if (P->Cutting.hasAllowances()) {
    // A cut vertex may fall on a point of the net itself.
    std::vector<TPoint2D> sorted(net);
    std::sort(sorted.begin(), sorted.end(), before);
    for (const TPoint2D& p : outline) {
      if (among(sorted, p)) points.push_back(p);
    }
    std::sort(points.begin(), points.end(), before);
    points.erase(std::unique(points.begin(), points.end(), same), points.end());
  }
  std::vector<TPointMeets> meets(points.size());
  for (std::size_t k = 0; k < points.size(); ++k) meets[k].At = points[k];
  for (std::size_t k = 0, n = outline.size(); k < n; ++k) {
    const TPoint2D &a = outline[k], &b = outline[(k + 1) % n];
    for (const auto& [at, other] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
      if (same(*at, *other)) continue;
      const auto found = std::lower_bound(points.begin(), points.end(), *at, before);
      if (found != points.end() && same(*found, *at))
        meets[static_cast<std::size_t>(found - points.begin())].Directions.push_back(towards(*at, *other));
    }
  }
  return meets;
}

void TPieceLaying::labels(std::size_t i, const std::vector<TPointMeets>& meets,
                          const std::function<void(const TPatternLabel&)>& each) const {
  const TPlan& plan = *P;
  const TRunPlan& r = plan.Pieces.at(i);
  const bool cut = plan.Cutting.hasAllowances();
  const auto meetsAt = [&meets](const TPoint2D& p) -> const std::vector<Extended>* {
    const auto found = std::lower_bound(meets.begin(), meets.end(), p,
                                        [](const TPointMeets& m, const TPoint2D& q) { return before(m.At, q); });
    return found != meets.end() && same(found->At, p) ? &found->Directions : nullptr;
  };

  // The lines gathered whole at the piece's hubs: the outline's edges and
  // every bend line ending there.
  const std::vector<TPoint2D> hubs = plan.hubs(r);
  std::vector<std::vector<Extended>> gathered(hubs.size());
  const auto hubOf = [&hubs](const TPoint2D& p) -> std::size_t {
    const auto found = std::lower_bound(hubs.begin(), hubs.end(), p, before);
    return found != hubs.end() && same(*found, p) ? static_cast<std::size_t>(found - hubs.begin()) : hubs.size();
  };
  for (std::size_t h = 0; h < hubs.size(); ++h) {
    if (const std::vector<Extended>* m = meetsAt(hubs[h])) gathered[h] = *m;
  }
  bends(i, [&](const TPatternLine& l) {
    if (same(l.From, l.To)) return;
    if (const std::size_t h = hubOf(l.From); h < hubs.size()) gathered[h].push_back(towards(l.From, l.To));
    if (const std::size_t h = hubOf(l.To); h < hubs.size()) gathered[h].push_back(towards(l.To, l.From));
  });
  for (std::vector<Extended>& g : gathered) std::sort(g.begin(), g.end());

  // Each name once a piece: a name met again within 1E-6 of where it was
  // last named is left out. The names of rows past 3 repeat only between
  // quadrants of one side (PointNames.h); row 0 is every quadrant's.
  const auto right = [](int q) { return q == 1 || q == 4 ? 1 : 0; };
  std::array<int, 2> halvesOfSide{};
  for (const THalfPlan& h : r.Run) ++halvesOfSide[static_cast<std::size_t>(right(h.Quadrant))];
  std::array<std::array<std::optional<TPoint2D>, 4>, 2> namedRows{};
  std::array<std::vector<TPoint2D>, 2> namedAt;
  std::array<std::vector<bool>, 2> isNamed;
  for (std::size_t s = 0; s < 2; ++s) {
    if (halvesOfSide[s] < 2) continue;
    namedAt[s].resize(plan.N + 3);
    isNamed[s].resize(plan.N + 3);
  }
  const auto fresh = [&](int q, std::size_t row, const TPoint2D& at) {
    const auto s = static_cast<std::size_t>(right(q));
    const auto near = [&at](const TPoint2D& p) { return std::hypot(p.X - at.X, p.Y - at.Y) < 1e-6L; };
    if (row < 4) {
      std::optional<TPoint2D>& slot = namedRows[row == 0 ? 0 : s][row];
      if (slot && near(*slot)) return false;
      slot = at;
      return true;
    }
    if (namedAt[s].empty()) return true;
    if (isNamed[s][row] && near(namedAt[s][row])) return false;
    isNamed[s][row] = true;
    namedAt[s][row] = at;
    return true;
  };
  const auto divisions = static_cast<std::int32_t>(plan.N);
  const std::size_t n = plan.N;

  for (std::size_t h = 0; h < r.Run.size(); ++h) {
    const THalfPlan& half = r.Run[h];
    const int q = half.Quadrant;
    const auto qi = static_cast<std::size_t>(q - 1);
    for (std::size_t row = 0; row < 4; ++row) {
      if (!half.Member[row]) continue;
      const TPoint2D at = plan.place(r, h, plan.Rows[qi][row]);
      if (!fresh(q, row, at)) continue;
      const TPoint2D p = plan.moved(r, at);
      each(aimedSorted(outlinePoint(q, divisions, row).Name, p, gathered[hubOf(p)]));
    }

    // The arc points between: a run of equal points meets the outline's
    // neighbours either side and the bend lines of every element in it.
    const TPoint2D& c = plan.Corner[qi];
    const TPoint2D corner = plan.moved(r, plan.place(r, h, c));
    struct TMember {
      std::size_t K;
      TPoint2D Raw, At;
    };
    std::vector<TMember> run;
    TPoint2D runAt, previous;
    bool hasPrevious = false;
    const auto member = [&half](std::size_t k) {
      return (k >= half.From && k <= half.To) || std::binary_search(half.Outside.begin(), half.Outside.end(), k);
    };
    const auto flush = [&](const TPoint2D* after) {
      bool any = false;
      for (const TMember& m : run) any = any || (m.K >= 2 && m.K <= n && member(m.K));
      if (any) {
        const std::size_t hub = hubOf(runAt);
        std::vector<Extended> local;
        if (hub == hubs.size()) {
          if (cut) {
            if (const std::vector<Extended>* m = meetsAt(runAt)) local = *m;
          } else {
            if (hasPrevious) local.push_back(towards(runAt, previous));
            if (after) local.push_back(towards(runAt, *after));
          }
          for (const TMember& m : run) {
            if (m.K >= half.BendFirst && m.K <= half.BendLast && !same(c, m.Raw) && !same(corner, runAt))
              local.push_back(towards(runAt, corner));
          }
          std::sort(local.begin(), local.end());
        }
        for (const TMember& m : run) {
          if (m.K < 2 || m.K > n || !member(m.K) || !fresh(q, m.K + 2, m.At)) continue;
          each(aimedSorted(outlinePoint(q, divisions, m.K + 2).Name, runAt, hub == hubs.size() ? local : gathered[hub]));
        }
      }
      previous = runAt;
      hasPrevious = true;
      run.clear();
    };
    const std::size_t upTo = std::max(half.To, half.Outside.empty() ? 0 : half.Outside.back());
    plan.Develop(q, upTo, [&](std::size_t k, const TRazvertka2Point& e) {
      if (k < 1 || k > upTo || k > n + 1) return;
      const TPoint2D at = plan.place(r, h, e.P2);
      const TPoint2D p = plan.moved(r, at);
      if (!run.empty() && !same(p, runAt)) flush(&p);
      if (run.empty()) runAt = p;
      run.push_back({k, e.P2, at});
    });
    if (!run.empty()) flush(nullptr);
  }
}

}  // namespace fish
