// The pieces of every set of one to four seams, and their allowances,
// against the quadrants' own developments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/precise/PreciseDevelopment.h"
#include "fishApi/shop/Allowances.h"
#include "fishApi/shop/PatternPieces.h"

using namespace fish;
using namespace fish::test;

namespace {

// Crossings of a ray to +X: odd inside.
bool inside(const std::vector<TPoint2D>& poly, const TPoint2D& p) {
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const TPoint2D &a = poly[i], &b = poly[j];
    if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X) in = !in;
  }
  return in;
}

struct PiecesCase {
  const char* name;
  TSystemParams sp;
  std::array<ByteBool, 4> quadrants;
};

const PiecesCase kPieceProjects[] = {
    {"Default", params(100, 100, 50, 50), {1, 1, 1, 1}},
    {"Offset", params(400, 300, 250, 100, 60, -40), {1, 1, 1, 1}},
    {"OffsetWithoutQuadrant3", params(400, 300, 250, 100, 60, -40), {1, 1, 0, 1}},
};

class SeamSets : public ::testing::TestWithParam<PiecesCase> {};

// Every seam set of one to four seams: n pieces (fewer where a quadrant is
// left out), each a simple outline or refused as overlapping itself; their
// areas add up to the quadrants'; every bend line ends at two corners of its
// piece's outline and runs inside it.
TEST_P(SeamSets, CutThePatternIntoSimplePiecesOfTheSameArea) {
  const PiecesCase& c = GetParam();
  const TProParams pro = withDivisions(12, c.quadrants);
  Extended whole = 0;
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (quadrantSelected(pro, q)) whole += std::fabs(polygonArea(quadrantOutline(developPrecise(c.sp, pro, q))));
  }
  int laid = 0;
  for (unsigned seams = 1; seams < 256; ++seams) {
    if (__builtin_popcount(seams) > 4) continue;
    SCOPED_TRACE(seamsText(static_cast<std::uint8_t>(seams)));
    TCuttingParams cutting;
    cutting.Seams = static_cast<std::uint8_t>(seams);
    std::vector<TPieceNet> pieces;
    try {
      pieces = patternNets(c.sp, pro, cutting);
    } catch (const ECuttingError& e) {
      EXPECT_NE(std::string(e.what()).find("накладывается сама на себя"), std::string::npos);
      continue;
    }
    ++laid;
    if (c.quadrants == std::array<ByteBool, 4>{1, 1, 1, 1}) {
      EXPECT_EQ(pieces.size(), unsigned(__builtin_popcount(seams)));
    }
    Extended area = 0;
    for (const TPieceNet& p : pieces) {
      ASSERT_EQ(p.Edges.size(), p.Net.size());
      EXPECT_TRUE(isSimplePolygon(p.Net));
      EXPECT_GT(polygonArea(p.Net), 0);
      area += polygonArea(p.Net);
      std::set<std::pair<Extended, Extended>> corners;
      for (const TPoint2D& v : p.Net) corners.insert({v.X, v.Y});
      for (const TPatternLine& l : p.Bends) {
        EXPECT_TRUE(corners.count({l.From.X, l.From.Y}) && corners.count({l.To.X, l.To.Y}));
        EXPECT_TRUE(inside(p.Net, {(l.From.X + l.To.X) / 2, (l.From.Y + l.To.Y) / 2}));
      }
    }
    EXPECT_NEAR(asDouble(area), asDouble(whole), 1e-9 * asDouble(whole));
  }
  EXPECT_GT(laid, 100);
}

// The pattern walked a piece at a time lays every seam set's nets, bend
// lines and names where the pieces laid whole have them, bit for bit, the
// tables' pattern with its bend angles read beside the lines too (at 100
// divisions, where a second development of the tables started in the middle
// of a walk would disturb the one walked).
TEST_P(SeamSets, WalkedAPieceAtATimeAsLaidWhole) {
  const PiecesCase& c = GetParam();
  const TProParams pro = withDivisions(100, c.quadrants);
  const auto same = [](const TPoint2D& a, const TPoint2D& b) { return a.X == b.X && a.Y == b.Y; };
  for (unsigned seams = 1; seams < 256; ++seams) {
    if (__builtin_popcount(seams) > 4) continue;
    SCOPED_TRACE(seamsText(static_cast<std::uint8_t>(seams)));
    TCuttingParams cutting;
    cutting.Seams = static_cast<std::uint8_t>(seams);
    cutting.SeamFirst = 2;  // the pieces keep their nets
    cutting.Pattern = seams % 2 ? TPatternKind::Table : TPatternKind::Precise;
    cutting.BendAngles = true;
    std::vector<TPieceNet> whole;
    try {
      whole = patternNets(c.sp, pro, cutting);
    } catch (const ECuttingError&) {
      EXPECT_THROW(flatPattern(c.sp, pro, cutting), ECuttingError);
      continue;
    }
    const TFlatPattern walked = flatPattern(c.sp, pro, cutting);
    ASSERT_EQ(walked.Pieces.size(), whole.size());
    std::vector<TPatternLine> lines;
    std::vector<TPatternLabel> labels;
    for (std::size_t i = 0; i < whole.size(); ++i) {
      const std::vector<TPoint2D>& net = walked.Pieces[i].Net;
      EXPECT_TRUE(std::equal(whole[i].Net.begin(), whole[i].Net.end(), net.begin(), net.end(), same));
      lines.insert(lines.end(), whole[i].Bends.begin(), whole[i].Bends.end());
      labels.insert(labels.end(), whole[i].Labels.begin(), whole[i].Labels.end());
    }
    EXPECT_TRUE(std::equal(lines.begin(), lines.end(), walked.BendLines.begin(), walked.BendLines.end(),
                           [&](const TPatternLine& a, const TPatternLine& b) {
                             return same(a.From, b.From) && same(a.To, b.To) && a.Element == b.Element;
                           }));
    EXPECT_TRUE(std::equal(labels.begin(), labels.end(), walked.Labels.begin(), walked.Labels.end(),
                           [&](const TPatternLabel& a, const TPatternLabel& b) { return a.Text == b.Text && same(a.At, b.At); }));
  }
}

INSTANTIATE_TEST_SUITE_P(Projects, SeamSets, ::testing::ValuesIn(kPieceProjects), vintaler::test::rowName<PiecesCase>);

// A seam allowance of W1 on the edge a piece ends at and W2 on the one it
// starts at adds W1 and W2 times those edges' lengths, no more (today's two
// pieces: the seam edges meet no other allowance); the net outline stays.
TEST(Allowances, OnTheSeamsAddTheirStripsExactly) {
  TCuttingParams cutting;
  cutting.SeamFirst = 25.4L;
  cutting.SeamSecond = 9.5L;
  for (const TPieceNet& p : patternNets(params(400, 300, 250, 100, 60, -40), withDivisions(24, {1, 1, 1, 1}), cutting)) {
    Extended added = 0;
    for (std::size_t i = 0; i < p.Net.size(); ++i) {
      const TPoint2D &a = p.Net[i], &b = p.Net[(i + 1) % p.Net.size()];
      added += std::hypot(b.X - a.X, b.Y - a.Y) * allowanceOf(p.Edges[i], cutting);
    }
    const std::vector<TPoint2D> cut = cutOutline(p, cutting);
    EXPECT_GT(added, 0);
    EXPECT_NEAR(asDouble(polygonArea(cut)), asDouble(polygonArea(p.Net) + added), 1e-6 * asDouble(polygonArea(cut)));
  }
}

// Ticks are the two ends of each bend line, TickLength long, or the whole
// of a line too short for two.
TEST(BendMarks, TicksAreTheEndsOfTheBendLines) {
  TCuttingParams cutting;
  const TFlatPattern full = flatPattern(defaultSystemParams(), withDivisions(8), cutting);
  cutting.BendMarks = TBendMarks::Ticks;
  cutting.TickLength = 20;
  const TFlatPattern ticks = flatPattern(defaultSystemParams(), withDivisions(8), cutting);
  std::size_t t = 0;
  for (const TPatternLine& l : full.BendLines) {
    const Extended length = std::hypot(l.To.X - l.From.X, l.To.Y - l.From.Y);
    if (length <= 40) {
      EXPECT_TRUE(ticks.BendLines[t].From.X == l.From.X && ticks.BendLines[t].To.Y == l.To.Y);
      ++t;
      continue;
    }
    const TPatternLine &a = ticks.BendLines[t], &b = ticks.BendLines[t + 1];
    EXPECT_TRUE(a.From.X == l.From.X && a.From.Y == l.From.Y && b.To.X == l.To.X && b.To.Y == l.To.Y);
    EXPECT_NEAR(asDouble(std::hypot(a.To.X - a.From.X, a.To.Y - a.From.Y)), 20, 1e-12);
    EXPECT_NEAR(asDouble(std::hypot(b.To.X - b.From.X, b.To.Y - b.From.Y)), 20, 1e-12);
    t += 2;
  }
  EXPECT_EQ(t, ticks.BendLines.size());
  EXPECT_GT(t, full.BendLines.size());
}

}  // namespace
