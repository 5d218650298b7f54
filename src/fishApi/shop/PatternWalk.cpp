#include "PatternWalk.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/PointNames.h"
#include "fishApi/precise/ExactSurface.h"
#include "fishApi/precise/PreciseDevelopment.h"
#include "BendTable.h"
#include "PatternPieces.h"

namespace fish {

// A piece of other seams or with allowances as cut from its net
// (FlatPattern.cpp): `index` of `count`.
// The net's outline goes over to the piece (TPatternPiece::Net) or is let go;
// with `cut`, the outline cut from it before.
TPatternPiece cutPiece(TPieceNet&& net, std::size_t index, std::size_t count, const TCuttingParams& cutting,
                       const std::vector<TPoint2D>* cut);
// aimedLabel of directions already sorted (FlatPattern.cpp).
TPatternLabel aimedSorted(std::string text, const TPoint2D& at, const std::vector<Extended>& sorted);

namespace {

bool samePoint(const TPoint2D& a, const TPoint2D& b) { return a.X == b.X && a.Y == b.Y; }

void addPoint(std::vector<TPoint2D>& path, const TPoint2D& p) {
  if (path.empty() || !samePoint(path.back(), p)) path.push_back(p);
}

int partnerOf(int quadrant) { return quadrant == 1 ? 2 : quadrant == 2 ? 1 : quadrant == 3 ? 4 : 3; }

Extended direction(const TPoint2D& at, const TPoint2D& other) {
  return std::atan2(other.Y - at.Y, other.X - at.X);
}

void widen(TExtents2D& box, const TPoint2D& p, bool first) {
  if (first || p.X < box.MinX) box.MinX = p.X;
  if (first || p.X > box.MaxX) box.MaxX = p.X;
  if (first || p.Y < box.MinY) box.MinY = p.Y;
  if (first || p.Y > box.MaxY) box.MaxY = p.Y;
}

// Ticks instead of the full line: a mark `length` long from each end along
// it, or the whole line when it is shorter than two marks; only the tick at
// the round end keeps the angle.
template <typename Each>
void markByTicks(const TPatternLine& l, Extended length, const Each& each) {
  const Extended dx = l.To.X - l.From.X, dy = l.To.Y - l.From.Y;
  const Extended full = std::hypot(dx, dy);
  if (!(full > 2 * length)) {
    each(l);
    return;
  }
  const Extended f = length / full;
  each(TPatternLine{l.Quadrant, l.From, {l.From.X + dx * f, l.From.Y + dy * f}, l.Element});
  each(TPatternLine{l.Quadrant, {l.To.X - dx * f, l.To.Y - dy * f}, l.To, l.Element, l.Angle});
}

// The points of a quadrant its own names stand at and other quadrants may
// share (the arc start and end, the X-side midpoint, the corner): the lines
// that meet there are gathered from the whole pattern; every other name
// finds its lines beside it.
struct TEnds {
  TPoint2D T1, T2, T3, T4;
  bool Known = false;
};

struct THub {
  TPoint2D At;
  std::vector<Extended> Directions;
};

// The bends of the surface the pattern is laid from, asked for generator by
// generator in increasing order (a bend line is generator k of its
// quadrant). The exact surface is read line by line beside the development,
// three lines at a time; the tables' points are laid whole.
class TBendSteps {
 public:
  TBendSteps(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro, const TCuttingParams& cutting,
             int q)
      : Last(static_cast<std::size_t>(pro.Divisions) + 1) {
    if (cutting.Pattern == TPatternKind::Table) {
      TQuadrantDevelopment d;
      developCutting(cutting.Pattern, sp, plate, pro, static_cast<std::uint16_t>(q), d, cutting.Units);
      Table = bendAngles(d.Surf);
      return;
    }
    // As developCutting lays it: the middle surface of a thick plate.
    const bool thick = plate.Thickness != 0;
    Surface.emplace(thick ? sp : developedParams(sp, plate, cutting.Units), pro, static_cast<std::uint16_t>(q),
                    thick ? faceOffsets(plate) : TFaceOffsets{});
    Near[1] = Surface->element(0);
    Near[2] = Surface->element(1);
  }

  std::optional<Extended> at(std::size_t k) {
    if (!Surface) return k >= 1 && k <= Table.size() ? std::optional<Extended>(Table[k - 1]) : std::nullopt;
    while (Done < k && Done < Last) {
      ++Done;
      Near = {Near[1], Near[2], Surface->element(Done + 1)};
      Angle = bendAngle(Near[0], Near[1], Near[2], Done == 1, Done == Last, Sense);
    }
    return Angle;
  }

 private:
  std::size_t Last;
  std::vector<Extended> Table;
  std::optional<TExactSurface> Surface;
  std::array<TSurf2Point, 3> Near{};  // the surface's lines k - 1, k, k + 1
  int Sense = 0;
  std::size_t Done = 0;
  Extended Angle = 0;
};

}  // namespace

struct TPatternWalk::TState {
  TSystemParams Sp;
  TPlateParams Plate;
  TProParams Pro;
  TCuttingParams Cutting;
  bool WithPlate = true;
  // Pieces at other seams or with allowances, and where their cut outlines
  // meet the points their labels may stand at.
  std::unique_ptr<TPieceLaying> Laid;
  std::vector<std::vector<TPointMeets>> Meets;
  // The outlines cut with allowances, once: a few hundred points each where
  // the chain of the round end is dense.
  std::vector<std::vector<TPoint2D>> Cuts;
  std::optional<TSystemParams> Developed;

  std::optional<TExtents2D> Box;
  std::optional<bool> Crossing;
  std::optional<bool> AnyLine;
  std::array<TEnds, 4> Ends{};
  bool EndsKnown = false;
  std::vector<THub> PieceHubs, LineHubs;
  bool PieceHubsReady = false, LineHubsReady = false;
  // Both gathered into LineHubs, each sorted, for the labels.
  bool HubsMerged = false;

  bool chosen(int q) const { return quadrantSelected(Pro, static_cast<std::uint16_t>(q)); }

  // The development of quadrant q as cutting lays it (developCutting), one
  // element at a time, the precise one no further than element `upTo`.
  void develop(int q, const TElementFn& each, std::size_t upTo = SIZE_MAX) {
    if (!Developed) Developed = WithPlate ? developedParams(Sp, Plate, Cutting.Units) : Sp;
    const auto quadrant = static_cast<std::uint16_t>(q);
    if (Cutting.Pattern == TPatternKind::Table) {
      TPoint2D min, max;
      developQuadrantElements(*Developed, Pro, quadrant, each, min, max);
      return;
    }
    const bool thick = WithPlate && Plate.Thickness != 0;
    TPreciseStream stream(thick ? Sp : *Developed, Pro, quadrant, thick ? faceOffsets(Plate) : TFaceOffsets{});
    for (std::size_t k = 0, n = stream.size(); k < n && k <= upTo; ++k) each(k, stream.next());
  }

  std::size_t elementCount() const { return static_cast<std::size_t>(Pro.Divisions) + 3; }

  // A quadrant's outline as an open path from the origin to the arc start:
  // origin, corner, X-side midpoint, arc end, the arc images, arc start, no
  // point repeating its predecessor. Notes the quadrant's ends.
  std::vector<TPoint2D> path(int q, bool joined = false) {
    std::vector<TPoint2D> p;
    // The corner's place, then every far end; a piece of two quadrants
    // grows into the first's path.
    p.reserve((elementCount() + 2) * (joined ? 2 : 1));
    TEnds& ends = Ends[static_cast<std::size_t>(q - 1)];
    const std::size_t last = elementCount() - 1;
    develop(q, [&](std::size_t k, const TRazvertka2Point& e) {
      if (k == 0) {
        p.push_back(e.P1);
        p.push_back(e.P1);
        ends.T1 = e.P2;
      }
      if (k == 1) p[1] = ends.T4 = e.P1;
      if (k + 1 == last) ends.T2 = e.P2;
      if (k == last) ends.T3 = e.P2;
      p.push_back(e.P2);
    });
    ends.Known = true;
    std::reverse(p.begin() + 2, p.end());
    p.erase(std::unique(p.begin(), p.end(), samePoint), p.end());
    return p;
  }

  bool special(const TPoint2D& p) const {
    for (const TEnds& e : Ends) {
      if (e.Known && (samePoint(p, e.T1) || samePoint(p, e.T2) || samePoint(p, e.T3) || samePoint(p, e.T4)))
        return true;
    }
    return false;
  }

  static std::vector<Extended>& hubOf(std::vector<THub>& hubs, const TPoint2D& at) {
    auto hub = std::find_if(hubs.begin(), hubs.end(), [&](const THub& h) { return samePoint(h.At, at); });
    if (hub == hubs.end()) hub = hubs.insert(hubs.end(), THub{at, {}});
    return hub->Directions;
  }
  static void note(std::vector<THub>& hubs, const TPoint2D& at, const TPoint2D& other) {
    if (!samePoint(at, other)) hubOf(hubs, at).push_back(direction(at, other));
  }

  void pieces(const std::function<void(const TPatternPiece&)>& each, bool testCrossing);
  void lines(const std::function<void(const TPatternLine&)>& each);
  void labels(const std::function<void(const TPatternLabel&)>& each);

  void laidPieces(const std::function<void(const TPatternPiece&)>& each, bool testCrossing);
  void laidLines(const std::function<void(const TPatternLine&)>& each);
  void laidLabels(const std::function<void(const TPatternLabel&)>& each);
};

void TPatternWalk::TState::laidPieces(const std::function<void(const TPatternPiece&)>& each, bool testCrossing) {
  const bool meets = Meets.size() != Laid->size();
  if (meets) Meets.clear();
  const bool cut = Cutting.hasAllowances() && Cuts.size() == Laid->size();
  if (!cut) Cuts.clear();
  TExtents2D box;
  bool first = true, crossing = false;
  for (std::size_t i = 0; i < Laid->size(); ++i) {
    const TPatternPiece piece = cutPiece(Laid->net(i), i, Laid->size(), Cutting, cut ? &Cuts[i] : nullptr);
    if (!cut && Cutting.hasAllowances()) Cuts.push_back(piece.Outline);
    for (const TPoint2D& p : piece.Outline) {
      widen(box, p, first);
      first = false;
    }
    if (testCrossing) crossing = crossing || !isSimplePolygon(piece.Outline);
    // Without allowances the outline is the net.
    if (meets) Meets.push_back(Laid->outlineMeets(i, piece.Net.empty() ? piece.Outline : piece.Net, piece.Outline));
    each(piece);
  }
  Box = box;
  if (testCrossing) Crossing = crossing;
}

void TPatternWalk::TState::laidLines(const std::function<void(const TPatternLine&)>& each) {
  for (std::size_t i = 0; i < Laid->size(); ++i) {
    // A fresh reading of a quadrant's bends for every half quadrant, each
    // laid from its quadrant's start; made before its development runs.
    std::optional<TBendSteps> bends;
    const auto start = [&](int q) {
      if (Cutting.BendAngles) bends.emplace(Sp, Plate, Pro, Cutting, q);
    };
    Laid->bends(
        i,
        [&](const TPatternLine& line) {
          TPatternLine l = line;
          if (bends) l.Angle = bends->at(l.Element);
          if (Cutting.BendMarks == TBendMarks::Ticks) {
            markByTicks(l, Cutting.TickLength, each);
          } else {
            each(l);
          }
        },
        start);
  }
}

void TPatternWalk::TState::laidLabels(const std::function<void(const TPatternLabel&)>& each) {
  if (Meets.size() != Laid->size()) laidPieces([](const TPatternPiece&) {}, false);
  for (std::size_t i = 0; i < Laid->size(); ++i) Laid->labels(i, Meets[i], each);
}

void TPatternWalk::TState::pieces(const std::function<void(const TPatternPiece&)>& each, bool testCrossing) {
  const bool hubs = !PieceHubsReady;
  if (hubs) PieceHubs.clear();
  TExtents2D box;
  bool first = true, crossing = false, any = false;
  for (int q = 1; q <= 4; ++q) {
    if (!chosen(q)) continue;
    any = true;
    const int partner = partnerOf(q);
    if (chosen(partner) && partner < q) continue;  // already joined to its partner
    TPatternPiece piece;
    piece.Outline = path(q, chosen(partner));
    if (chosen(partner)) {
      // Round the first from the origin to the shared arc start, then back
      // round the second to the origin; the shared line is not cut.
      piece.Quadrants = {q, partner};
      const std::vector<TPoint2D> second = path(partner);
      for (std::size_t k = second.size(); k-- > 1;) addPoint(piece.Outline, second[k]);
    } else {
      piece.Quadrants = {q};
    }
    std::vector<TPoint2D>& o = piece.Outline;
    if (o.size() > 1 && samePoint(o.front(), o.back())) o.pop_back();
    if (polygonArea(o) < 0) std::reverse(o.begin() + 1, o.end());
    for (const TPoint2D& p : o) {
      widen(box, p, first);
      first = false;
    }
    if (testCrossing) crossing = crossing || !isSimplePolygon(o);
    if (hubs) {
      for (std::size_t i = 0, n = o.size(); i < n; ++i) {
        const TPoint2D &a = o[i], &b = o[(i + 1) % n];
        if (special(a)) note(PieceHubs, a, b);
        if (special(b)) note(PieceHubs, b, a);
      }
    }
    each(piece);
  }
  if (!any) throw ENoQuadrant();
  EndsKnown = true;
  PieceHubsReady = true;
  Box = box;
  if (testCrossing) Crossing = crossing;
}

void TPatternWalk::TState::lines(const std::function<void(const TPatternLine&)>& each) {
  const bool hubs = EndsKnown && !LineHubsReady;
  if (hubs) LineHubs.clear();
  bool any = false, anyLine = false;
  const std::size_t last = elementCount() - 2;  // n + 1
  for (int q = 1; q <= 4; ++q) {
    if (!chosen(q)) continue;
    any = true;
    std::optional<TBendSteps> bends;
    if (Cutting.BendAngles) bends.emplace(Sp, Plate, Pro, Cutting, q);
    if (hubs) {
      // The corner gathers the whole fan.
      std::vector<Extended>& corner = hubOf(LineHubs, Ends[static_cast<std::size_t>(q - 1)].T4);
      corner.reserve(corner.size() + last + 16);  // and the few outline edges met there
    }
    develop(q, [&](std::size_t k, const TRazvertka2Point& e) {
      if (k < 1 || k > last || samePoint(e.P1, e.P2)) return;
      anyLine = true;
      if (hubs) {
        if (special(e.P1)) note(LineHubs, e.P1, e.P2);
        if (special(e.P2)) note(LineHubs, e.P2, e.P1);
      }
      TPatternLine l{q, e.P1, e.P2, k};
      if (bends) l.Angle = bends->at(k);
      if (Cutting.BendMarks == TBendMarks::Ticks) {
        markByTicks(l, Cutting.TickLength, each);
      } else {
        each(l);
      }
    });
  }
  if (!any) throw ENoQuadrant();
  AnyLine = anyLine;
  if (hubs) LineHubsReady = true;
}

void TPatternWalk::TState::labels(const std::function<void(const TPatternLabel&)>& each) {
  if (!PieceHubsReady) pieces([](const TPatternPiece&) {}, false);
  if (!LineHubsReady) lines([](const TPatternLine&) {});
  if (!HubsMerged) {
    for (const THub& h : PieceHubs) {
      std::vector<Extended>& all = hubOf(LineHubs, h.At);
      all.insert(all.end(), h.Directions.begin(), h.Directions.end());
    }
    for (THub& h : LineHubs) std::sort(h.Directions.begin(), h.Directions.end());
    HubsMerged = true;
  }
  static const std::vector<Extended> kNone;
  const auto hubAt = [this](const TPoint2D& at) -> const std::vector<Extended>& {
    for (const THub& h : LineHubs) {
      if (samePoint(h.At, at)) return h.Directions;
    }
    return kNone;
  };
  const auto divisions = static_cast<std::int32_t>(Pro.Divisions);
  const std::size_t n = static_cast<std::size_t>(divisions);
  for (int q = 1; q <= 4; ++q) {
    if (!chosen(q)) continue;
    const TEnds& ends = Ends[static_cast<std::size_t>(q - 1)];
    // Two quadrants joined in one sheet share the arc start, and its name
    // T1 is written once.
    const bool sharesT1 = chosen(partnerOf(q)) && partnerOf(q) < q;
    const TPoint2D at[4] = {ends.T1, ends.T2, ends.T3, ends.T4};
    for (std::size_t row = sharesT1 ? 1 : 0; row < 4; ++row)
      each(aimedSorted(outlinePoint(q, divisions, row).Name, at[row], hubAt(at[row])));

    // The arc points between: a run of equal points (one outline vertex)
    // meets the outline's neighbours either side and the bend lines of every
    // element in it.
    struct TMember {
      std::size_t K;
      TPoint2D Corner;
    };
    std::vector<TMember> run;
    TPoint2D runAt, before;
    const auto flush = [&](const TPoint2D& after) {
      const bool hub = special(runAt);
      std::vector<Extended> local;
      if (!hub) {
        local.push_back(direction(runAt, before));
        local.push_back(direction(runAt, after));
        for (const TMember& m : run) {
          if (m.K >= 1 && m.K <= n + 1 && !samePoint(m.Corner, runAt)) local.push_back(direction(runAt, m.Corner));
        }
      }
      for (const TMember& m : run) {
        if (m.K < 2 || m.K > n) continue;
        each(hub ? aimedSorted(outlinePoint(q, divisions, m.K + 2).Name, runAt, hubAt(runAt))
                 : aimedLabel(outlinePoint(q, divisions, m.K + 2).Name, runAt, local));
      }
      before = runAt;
      run.clear();
    };
    develop(q, [&](std::size_t k, const TRazvertka2Point& e) {
      if (k > n + 1) return;
      if (!run.empty() && !samePoint(e.P2, runAt)) flush(e.P2);
      if (run.empty()) runAt = e.P2;
      run.push_back({k, e.P1});
    });
    flush(ends.T3);  // the run at the arc end: T2's, its lines gathered whole
  }
}

TPatternWalk::TPatternWalk(const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                           const TCuttingParams& cutting)
    : S(std::make_unique<TState>()) {
  S->Sp = sp;
  S->Plate = plate;
  S->Pro = pro;
  S->Cutting = cutting;
  if (cutting.Seams != kDefaultSeams || cutting.hasAllowances()) {
    S->Laid = std::make_unique<TPieceLaying>(pro, cutting, [state = S.get()](int q, std::size_t upTo, const TElementFn& each) {
      state->develop(q, each, upTo);
    });
  } else {
    checkCutting(cutting);
  }
}

TPatternWalk::TPatternWalk(const TSystemParams& sp, const TProParams& pro, TPatternKind kind)
    : S(std::make_unique<TState>()) {
  S->Sp = sp;
  S->Pro = pro;
  S->Cutting.Pattern = kind;
  S->WithPlate = false;
}

TPatternWalk::~TPatternWalk() = default;

TPatternKind TPatternWalk::kind() const { return S->Cutting.Pattern; }

TUnits TPatternWalk::units() const { return S->Cutting.Units; }

bool TPatternWalk::nets() const { return S->Laid && S->Cutting.hasAllowances() && S->Laid->size() > 0; }

bool TPatternWalk::angles() const {
  if (!S->Cutting.BendAngles) return false;
  if (S->Laid) return S->Laid->anyBend();
  if (!S->AnyLine) S->lines([](const TPatternLine&) {});
  return *S->AnyLine;
}

void TPatternWalk::pieces(const std::function<void(const TPatternPiece&)>& each) const {
  if (S->Laid) {
    S->laidPieces(each, false);
    return;
  }
  S->pieces(each, false);
}

void TPatternWalk::bendLines(const std::function<void(const TPatternLine&)>& each) const {
  if (S->Laid) {
    S->laidLines(each);
    return;
  }
  S->lines(each);
}

void TPatternWalk::labels(const std::function<void(const TPatternLabel&)>& each) const {
  if (S->Laid) {
    S->laidLabels(each);
    return;
  }
  S->labels(each);
}

TExtents2D TPatternWalk::box() const {
  if (!S->Box && S->Laid) S->laidPieces([](const TPatternPiece&) {}, false);
  if (!S->Box) S->pieces([](const TPatternPiece&) {}, false);
  return *S->Box;
}

bool TPatternWalk::crossing() const {
  if (!S->Crossing && S->Laid) S->laidPieces([](const TPatternPiece&) {}, true);
  if (!S->Crossing) S->pieces([](const TPatternPiece&) {}, true);
  return *S->Crossing;
}

TFlatPattern collectPattern(const TPatternWalk& walk) {
  TFlatPattern pattern;
  pattern.Kind = walk.kind();
  pattern.Units = walk.units();
  walk.pieces([&](const TPatternPiece& piece) {
    pattern.Crossing = pattern.Crossing || !isSimplePolygon(piece.Outline);
    pattern.Pieces.push_back(piece);
  });
  walk.bendLines([&](const TPatternLine& l) { pattern.BendLines.push_back(l); });
  walk.labels([&](const TPatternLabel& l) { pattern.Labels.push_back(l); });
  pattern.Box = walk.box();
  return pattern;
}

}  // namespace fish
