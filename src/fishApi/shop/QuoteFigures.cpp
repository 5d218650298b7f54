#include "QuoteFigures.h"

#include <algorithm>
#include <cmath>

#include "Allowances.h"
#include "BendTable.h"
#include "FlatPattern.h"
#include "PatternPieces.h"
#include "fishApi/core/FishMath.h"

namespace fish {

namespace {

Extended length(const TPoint2D& a, const TPoint2D& b) { return std::hypot(b.X - a.X, b.Y - a.Y); }

Extended perimeter(const std::vector<TPoint2D>& outline) {
  Extended sum = 0;
  for (std::size_t i = 0, n = outline.size(); i < n; ++i) sum += length(outline[i], outline[(i + 1) % n]);
  return sum;
}

bool samePoint(const TPoint2D& a, const TPoint2D& b) { return a.X == b.X && a.Y == b.Y; }

Extended orient(const TPoint2D& a, const TPoint2D& b, const TPoint2D& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}

}  // namespace

void addPiece(TQuote& quote, TPieceQuote p, const std::vector<TPoint2D>& net, const std::vector<TPoint2D>& cut,
              const TPlateParams& plate, TUnits units) {
  p.CutLength = checkFinite(perimeter(cut));
  p.NetArea = checkFinite(std::fabs(polygonArea(net)));
  p.CutArea = checkFinite(std::fabs(polygonArea(cut)));
  const TExtents2D box = boxOf(cut);
  p.BlankWidth = box.MaxX - box.MinX;
  p.BlankHeight = box.MaxY - box.MinY;
  p.MinBlank = minimumBlank(cut);
  // mm2 * mm = mm3, and a cubic metre is 1E9 mm3 (an inch project's
  // cubic inches likewise by their own factor).
  p.Mass = checkFinite(p.CutArea * plate.Thickness * cubicMetresPerUnit(units) * plate.Density);
  quote.CutLength += p.CutLength;
  quote.Pierces += p.Pierces;
  quote.SeamLength += p.SeamLength;
  quote.Bends += p.BendCount;
  quote.NetArea += p.NetArea;
  quote.CutArea += p.CutArea;
  quote.BlankArea += p.BlankWidth * p.BlankHeight;
  quote.MinBlankArea += p.MinBlank.Width * p.MinBlank.Height;
  quote.Mass += p.Mass;
  quote.Pieces.push_back(std::move(p));
}

TTodaysQuadrant todaysQuadrant(const TRazvertka2PointArray& d) {
  const std::size_t m = d.size() - 1;  // n + 2
  TTodaysQuadrant t{d[0].P1, d[1].P1, d[0].P2, d[1].P2, d[m].P2, d[m - 1].P2, 0};
  // The generators from the corner, but where an arc point lies on it.
  for (std::size_t k = 1; k < m; ++k) {
    if (!samePoint(d[1].P1, d[k].P2)) ++t.Bends;
  }
  return t;
}

bool quoteTodaysPiece(TQuote& quote, std::vector<TPoint2D>& outline, int first, const TTodaysQuadrant& a,
                      const TTodaysQuadrant* b, const TPlateParams& plate, TUnits units) {
  // The net leaves out a quadrant's arc start when it is its first arc
  // point's image, as the outline does, and lays the second quadrant where
  // it is only when the two share their origin line and have their corners
  // on either side of it.
  if (!samePoint(a.ArcStart, a.FirstArc) || (b && !samePoint(b->ArcStart, b->FirstArc))) return false;
  if (b && (!samePoint(a.Origin, b->Origin) || !samePoint(a.FirstArc, b->FirstArc) ||
            (orient(a.Origin, a.FirstArc, a.Corner) > 0) == (orient(a.Origin, a.FirstArc, b->Corner) > 0)))
    return false;
  // The net runs round the same points the same way, from the X-side
  // midpoint of a first quadrant laid against the order of its elements
  // (1 or 3), else from the origin.
  const TPoint2D& start = first % 2 == 1 ? a.MidX : a.Origin;
  const auto at = std::find_if(outline.begin(), outline.end(), [&](const TPoint2D& p) { return samePoint(p, start); });
  if (at == outline.end()) return false;
  std::rotate(outline.begin(), at, outline.end());
  TPieceQuote p;
  const int second = first + 1;
  p.Quadrants = b ? std::vector<int>{first, second} : std::vector<int>{first};
  // Today's seams are the X sides' lines: +x before quadrant 1 and after 4,
  // -x after 2 and before 3.
  const auto seam = [](int q) { return std::string(seamKey(q == 1 || q == 4 ? TSeamAt::PlusX : TSeamAt::MinusX)); };
  const int last = b ? second : first;
  p.Seams = first % 2 == 1 ? seam(first) : "";
  if (last % 2 == 0) p.Seams += (p.Seams.empty() ? "" : ", ") + seam(last);
  p.SeamLength = length(a.MidX, a.ArcEnd);
  if (b) p.SeamLength += length(b->MidX, b->ArcEnd);
  p.BendCount = a.Bends + (b ? b->Bends : 0);
  addPiece(quote, std::move(p), outline, outline, plate, units);
  return true;
}

namespace {

// The pieces of the quadrants `pro` chooses added to `quote`, with the
// bends `given` when it holds them.
void quotePieces(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                 const TCuttingParams& cutting, const TQuadrantBends* given, bool keep, TQuote& quote) {
  // The pieces laid one at a time (TPieceLaying), without the point names,
  // which a quote does not read: it refuses what patternNets refuses here.
  const TPieceLaying laying(pro, cutting, cuttingElements(sp, plate, pro, cutting));
  // Today's pieces: as many lines as a piece's quadrants have elements at most.
  const bool today = cutting.Seams == kDefaultSeams && !cutting.hasAllowances();
  const std::size_t most = static_cast<std::size_t>(std::max(pro.Divisions, 0) + 1) *
                           static_cast<std::size_t>(std::count_if(pro.Quadrants.begin(), pro.Quadrants.end(),
                                                                  [](ByteBool q) { return q != 0; }));

  // Each quadrant's bends, from the surface its pattern is laid from: the
  // tables' points (their development comes with them), or the exact
  // surface, which needs no development.
  TQuadrantBends own;
  const TQuadrantBends& angles = given ? *given : own;
  for (std::uint16_t q = 1; q <= 4 && !given && keep; ++q) {
    if (!quadrantSelected(pro, q)) continue;
    if (cutting.Pattern == TPatternKind::Precise) {
      own[q - 1] = bendAngles(exactSurfaceQuadrant(sp, pro, q, plate.Thickness > 0 ? faceOffsets(plate) : TFaceOffsets{}));
      continue;
    }
    TQuadrantDevelopment d;
    developCutting(cutting.Pattern, sp, plate, pro, q, d, cutting.Units);
    own[q - 1] = bendAngles(d.Surf);
  }

  for (std::size_t piece = 0; piece < laying.size(); ++piece) {
    const TPieceNet net = laying.net(piece);
    TPieceQuote p;
    // Each bend line measured as it is laid (its angle below), or counted.
    if (keep && today) p.Bends.reserve(most);
    laying.bends(piece, [&](const TPatternLine& l) {
      ++p.BendCount;
      if (keep) p.Bends.push_back({l.Quadrant, l.Element, length(l.From, l.To), 0});
    });
    p.Quadrants = net.Quadrants;
    p.Seams = net.Seams;
    // The cut outline is the net one without allowances: not copied.
    const std::vector<TPoint2D> withAllowances = cutting.hasAllowances() ? cutOutline(net, cutting) : std::vector<TPoint2D>{};
    const std::vector<TPoint2D>& cut = cutting.hasAllowances() ? withAllowances : net.Net;
    for (std::size_t i = 0, n = net.Net.size(); i < n; ++i) {
      if (net.Edges[i] == TEdgeKind::SeamStart || net.Edges[i] == TEdgeKind::SeamEnd)
        p.SeamLength += length(net.Net[i], net.Net[(i + 1) % n]);
    }
    for (TBend& b : p.Bends) b.Angle = angles[static_cast<std::size_t>(b.Quadrant - 1)][b.Element - 1];
    addPiece(quote, std::move(p), net.Net, cut, plate, cutting.Units);
  }
}

}  // namespace

TQuote quoteFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                    const TCuttingParams& cutting) {
  return quoteFigures(sp, pro, plate, cutting, nullptr);
}

TQuote quoteFigures(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                    const TCuttingParams& cutting, const TQuadrantBends* bends, bool keepBends) {
  TQuote quote;
  // Today's sheets, quadrants 1 and 2 and quadrants 3 and 4, are quoted a
  // pair at a time, so that only one pair's nets are held.
  const bool pairs = cutting.Seams == kDefaultSeams && !cutting.hasAllowances() &&
                     std::any_of(pro.Quadrants.begin(), pro.Quadrants.end(), [](ByteBool q) { return q != 0; });
  if (!pairs) {
    quotePieces(sp, pro, plate, cutting, bends, keepBends, quote);
    return quote;
  }
  for (int first = 1; first <= 3; first += 2) {
    if (!quadrantSelected(pro, first) && !quadrantSelected(pro, first + 1)) continue;
    TProParams pair = pro;
    for (int q = 1; q <= 4; ++q) {
      if (q != first && q != first + 1) pair.Quadrants[static_cast<std::size_t>(q - 1)] = 0;
    }
    quotePieces(sp, pair, plate, cutting, bends, keepBends, quote);
  }
  return quote;
}

}  // namespace fish
