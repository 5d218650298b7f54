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

}  // namespace

namespace {

// The pieces of the quadrants `pro` chooses added to `quote`, with the
// bends `given` when it holds them.
void quotePieces(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                 const TCuttingParams& cutting, const TQuadrantBends* given, bool keep, TQuote& quote) {
  // The pieces without the point names, which a quote does not read, and
  // each piece's bend lines measured as they are laid (their angles below).
  std::vector<std::vector<TBend>> bendsOf;
  std::vector<std::size_t> countOf;
  // Today's pieces: as many lines as a piece's quadrants have elements at most.
  const bool today = cutting.Seams == kDefaultSeams && !cutting.hasAllowances();
  const std::size_t most = static_cast<std::size_t>(std::max(pro.Divisions, 0) + 1) *
                           static_cast<std::size_t>(std::count_if(pro.Quadrants.begin(), pro.Quadrants.end(),
                                                                  [](ByteBool q) { return q != 0; }));
  const TPieceLines measure = [&](std::size_t piece, const TPatternLine& l) {
    if (countOf.size() <= piece) countOf.resize(piece + 1);
    ++countOf[piece];
    if (!keep) return;
    if (bendsOf.size() <= piece) bendsOf.resize(piece + 1);
    if (today && bendsOf[piece].empty()) bendsOf[piece].reserve(most);
    bendsOf[piece].push_back({l.Quadrant, l.Element, length(l.From, l.To), 0});
  };
  std::vector<TPieceNet> nets = patternNets(sp, plate, pro, cutting, false, &measure);
  bendsOf.resize(nets.size());
  countOf.resize(nets.size());

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

  for (std::size_t piece = 0; piece < nets.size(); ++piece) {
    TPieceNet& net = nets[piece];
    TPieceQuote p;
    p.Quadrants = net.Quadrants;
    p.Seams = net.Seams;
    // The cut outline is the net one without allowances: not copied.
    const std::vector<TPoint2D> withAllowances = cutting.hasAllowances() ? cutOutline(net, cutting) : std::vector<TPoint2D>{};
    const std::vector<TPoint2D>& cut = cutting.hasAllowances() ? withAllowances : net.Net;
    p.CutLength = checkFinite(perimeter(cut));
    for (std::size_t i = 0, n = net.Net.size(); i < n; ++i) {
      if (net.Edges[i] == TEdgeKind::SeamStart || net.Edges[i] == TEdgeKind::SeamEnd)
        p.SeamLength += length(net.Net[i], net.Net[(i + 1) % n]);
    }
    p.NetArea = checkFinite(std::fabs(polygonArea(net.Net)));
    p.CutArea = checkFinite(std::fabs(polygonArea(cut)));
    const TExtents2D box = boxOf(cut);
    p.BlankWidth = box.MaxX - box.MinX;
    p.BlankHeight = box.MaxY - box.MinY;
    p.MinBlank = minimumBlank(cut);
    // mm2 * mm = mm3, and a cubic metre is 1E9 mm3 (an inch project's
    // cubic inches likewise by their own factor).
    p.Mass = checkFinite(p.CutArea * plate.Thickness * cubicMetresPerUnit(cutting.Units) * plate.Density);
    p.Bends = std::move(bendsOf[piece]);
    p.BendCount = countOf[piece];
    for (TBend& b : p.Bends) b.Angle = angles[static_cast<std::size_t>(b.Quadrant - 1)][b.Element - 1];
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
    // A piece once quoted is let go before the next is.
    net = TPieceNet{};
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
