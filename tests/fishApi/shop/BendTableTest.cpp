// The bends along the generators against the closed form of a pyramid's
// dihedral angles and the symmetry of a centred transition.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/precise/ExactSurface.h"
#include "fishApi/shop/BendAngleTexts.h"
#include "fishApi/shop/BendTable.h"
#include "fishApi/shop/Hull.h"
#include "fishApi/shop/QuoteFigures.h"
#include "fishApi/shop/ShopFigures.h"

using namespace fish;
using namespace fish::test;

namespace {

// Over corner 1 the cone is a right circular one with its apex at the
// corner: its facets are those of a regular pyramid of height L over the
// circle, whose neighbours meet at cos d = (L^2 cos h + R^2 cos^2(h/2)) /
// (L^2 + R^2 cos^2(h/2)), h = (pi/2)/n. A centred transition bends its
// quadrant symmetrically about the corner's bisector, all one way.
TEST(BendTable, IsThePyramidsAndSymmetric) {
  const Extended L = 80, R = 40;
  for (std::int32_t n : {1, 7, 1000, 100000}) {
    const std::vector<Extended> a = bendAngles(exactSurfaceQuadrant(params(100, 100, L, R, 50, 50), withDivisions(n), 1));
    ASSERT_EQ(a.size(), std::size_t(n) + 1);
    const Extended h = kPi_2 / n, c2 = std::cos(h / 2) * std::cos(h / 2);
    const Extended d = std::acos((L * L * std::cos(h) + R * R * c2) / (L * L + R * R * c2)) * 180 / kPi;
    for (std::size_t k = 2; k <= std::size_t(n); ++k) EXPECT_NEAR(asDouble(a[k - 1]), asDouble(d), 1e-9 + 1e-6 * asDouble(d)) << n;

    const std::vector<Extended> s = bendAngles(exactSurfaceQuadrant(defaultSystemParams(), withDivisions(n), 1));
    for (std::size_t k = 0; k < s.size(); ++k) {
      EXPECT_GE(s[k], 0);
      EXPECT_NEAR(asDouble(s[k]), asDouble(s[s.size() - 1 - k]), 1e-9);
    }
  }
}

}  // namespace

namespace {

// Today's two pieces: their seams are the four generators from the X sides'
// middles to the arc ends, every generator 1 .. n+1 is a bend, and without
// allowances the cut is the net outline; a collar only adds to the cut.
TEST(QuoteFigures, CountWhatTheShopDoes) {
  const TSystemParams sp = params(400, 300, 250, 100, 60, -40);
  const TProParams pro = withDivisions(24, {1, 1, 1, 1});
  const TPlateParams plate = plateOf(2, TFaces::Inside, TFaces::Outside);
  const TShopFigures f = shopFigures(sp, pro, plate, TPatternKind::Precise);
  TCuttingParams cutting;
  const TQuote q = quoteFigures(sp, pro, plate, cutting);
  Extended seams = 0;
  for (const TQuadrantFigures& quadrant : f.Quadrants) seams += quadrant.Generators.back();
  EXPECT_EQ(q.Pieces.size(), 2u);
  EXPECT_EQ(q.Pierces, 2);
  EXPECT_EQ(q.Bends, 4u * 25);
  EXPECT_NEAR(asDouble(q.SeamLength), asDouble(seams), 1e-9 * asDouble(seams));
  EXPECT_NEAR(asDouble(q.NetArea), asDouble(f.NetArea), 1e-9 * asDouble(f.NetArea));
  EXPECT_EQ(asDouble(q.CutArea), asDouble(q.NetArea));
  EXPECT_NEAR(asDouble(q.Mass), asDouble(f.Mass), 1e-9 * asDouble(f.Mass));
  for (const TPieceQuote& p : q.Pieces) {
    for (const TBend& b : p.Bends) {
      EXPECT_NEAR(asDouble(b.Length), asDouble(f.Quadrants[std::size_t(b.Quadrant - 1)].Generators[b.Element]), 1e-9);
    }
  }
  cutting.RoundAllowance = 10;
  const TQuote collar = quoteFigures(sp, pro, plate, cutting);
  EXPECT_EQ(asDouble(collar.NetArea), asDouble(q.NetArea));
  EXPECT_GT(collar.CutArea, q.CutArea);
  EXPECT_GT(collar.CutLength, q.CutLength);
}

// The summary quotes today's pieces from its sheets' outlines, not laid
// again: every figure the pieces laid give, to the bit, and the bends counted.
TEST(QuoteFigures, TheSummaryQuotesTodaysPiecesAsLaid) {
  const TSystemParams sp = params(400, 300, 250, 100, 60, -40);
  const TPlateParams plate = plateOf(2, TFaces::Inside, TFaces::Outside);
  for (const TPatternKind pattern : {TPatternKind::Precise, TPatternKind::Table}) {
    for (const std::array<ByteBool, 4>& chosen : {std::array<ByteBool, 4>{1, 1, 1, 1}, {1, 0, 0, 1}, {0, 1, 1, 0}}) {
      const TProParams pro = withDivisions(997, chosen);
      TCuttingParams cutting;
      cutting.Pattern = pattern;
      std::optional<TQuote> summary;
      shopSummary(sp, pro, plate, cutting, {}, summary);
      ASSERT_TRUE(summary);
      const TQuote laid = quoteFigures(sp, pro, plate, cutting, nullptr, false);
      ASSERT_EQ(summary->Pieces.size(), laid.Pieces.size());
      for (std::size_t i = 0; i < laid.Pieces.size(); ++i) {
        const TPieceQuote &a = summary->Pieces[i], &b = laid.Pieces[i];
        const auto figures = [](const TPieceQuote& p) {
          return std::vector<Extended>{p.CutLength, p.SeamLength, p.NetArea, p.CutArea, p.BlankWidth, p.BlankHeight,
                                       p.MinBlank.Width, p.MinBlank.Height, p.MinBlank.Angle, p.Mass};
        };
        EXPECT_EQ(figures(a), figures(b)) << i;
        EXPECT_EQ(a.Quadrants, b.Quadrants);
        EXPECT_EQ(a.Seams, b.Seams);
        EXPECT_EQ(a.BendCount, b.BendCount);
        EXPECT_TRUE(a.Bends.empty());
      }
    }
  }
}

}  // namespace

namespace {

// The angles the lines carry are the quote's, one a bend however it is
// marked; each text stands off its own line by three quarters of its height
// and clear of every other bend line, and a fine division leaves some out.
TEST(BendAngleTexts, AnglesOfTheQuoteWhereThereIsRoom) {
  const struct { const char* name; TSystemParams sp; std::int32_t n; TCuttingParams cutting; bool allPlaced; } rows[] = {
      {"coarse, full lines", params(400, 300, 250, 100, 60, -40), 12, {}, true},
      {"fine, ticks, seams c1 c3, allowances", params(400, 300, 250, 100, 60, -40), 200,
       {TPatternKind::Precise, 0b00100010, 5, 0, 5, 5, TBendMarks::Ticks}, false},
      {"the tables' pattern", defaultSystemParams(), 6, {TPatternKind::Table}, true},
  };
  const Extended h = 1.8L;
  for (const auto& row : rows) {
    const TProParams pro = withDivisions(row.n, {1, 1, 1, 1});
    const TPlateParams plate = plateOf(2, TFaces::Inside, TFaces::Outside);
    TCuttingParams cutting = row.cutting;
    cutting.BendAngles = true;
    const TFlatPattern pattern = flatPattern(row.sp, plate, pro, cutting);
    const TQuote quote = quoteFigures(row.sp, pro, plate, cutting);
    std::map<std::pair<int, std::size_t>, Extended> bends;
    for (const TPieceQuote& p : quote.Pieces) {
      for (const TBend& b : p.Bends) bends[{b.Quadrant, b.Element}] = b.Angle;
    }
    std::size_t carried = 0;
    for (const TPatternLine& l : pattern.BendLines) {
      if (!l.Angle) continue;
      ++carried;
      EXPECT_EQ(*l.Angle, bends.at({l.Quadrant, l.Element})) << row.name;
    }
    EXPECT_EQ(carried, quote.Bends) << row.name;

    const auto texts = bendAngleTexts(pattern, h, [h](const std::string& t) { return 0.6L * h * t.size(); });
    for (const TBendAngleText& t : texts) {
      for (std::size_t i = 0; i < pattern.BendLines.size(); ++i) {
        const TPatternLine& l = pattern.BendLines[i];
        const Extended dx = l.To.X - l.From.X, dy = l.To.Y - l.From.Y;
        const Extended at =
            std::clamp(((t.Centre.X - l.From.X) * dx + (t.Centre.Y - l.From.Y) * dy) / (dx * dx + dy * dy), 0.0L, 1.0L);
        const Extended d = std::hypot(t.Centre.X - l.From.X - at * dx, t.Centre.Y - l.From.Y - at * dy);
        EXPECT_TRUE(i == t.Line ? std::fabs(d - 0.75L * h) < 1e-9 : d > h / 2) << row.name << " " << t.Text;
      }
    }
    EXPECT_TRUE(!texts.empty() && (texts.size() == carried) == row.allPlaced) << row.name << ": " << texts.size();
  }
}

}  // namespace

namespace {

// A rectangle laid along the axes is its own least blank; turned by 30
// degrees, its least blank is still its own sides, turned back, while the box
// as laid grows.
TEST(MinimumBlank, IsTheRectangleItselfInAnyTurn) {
  for (const double turn : {0.0, 30.0}) {
    const Extended a = turn * kPi / 180, c = std::cos(a), s = std::sin(a);
    std::vector<TPoint2D> r;
    for (const auto& [x, y] : {std::pair{0.0L, 0.0L}, {300.0L, 0.0L}, {300.0L, 120.0L}, {150.0L, 120.0L}, {0.0L, 120.0L}})
      r.push_back({x * c - y * s, x * s + y * c});
    const TBlank b = minimumBlank(r);
    EXPECT_NEAR(asDouble(b.Width * b.Height), 300 * 120, 1e-9);
    EXPECT_NEAR(asDouble(std::max(b.Width, b.Height)), 300, 1e-9);
    EXPECT_NEAR(std::fmod(asDouble(b.Angle) - turn + 360, 90.0), 0, 1e-9);
  }
}

// A dense outline (a fan of points on an arc, points along the straight
// edges and a hair inside them, turned any way) has the least blank of its
// convex hull, to the bit: the points inside do not count.
TEST(MinimumBlank, IsThatOfTheHull) {
  for (const double turn : {0.0, 17.0, 45.0, 90.0, 131.0}) {
    const Extended a = turn * kPi / 180, c = std::cos(a), s = std::sin(a);
    std::vector<TPoint2D> cloud;
    const auto add = [&](Extended x, Extended y) { cloud.push_back({x * c - y * s + 1000, x * s + y * c - 70}); };
    for (int i = 0; i <= 3000; ++i) {
      const Extended t = kPi * i / 3000, edge = 400.0L * i / 3000;
      add(200 + 80 * std::cos(t), 150 + 60 * std::sin(t));
      add(edge, 0);
      add(edge, 1E-7L * (i % 3));
      add(400 - 1E-9L * (i % 2), edge * 150 / 400);
    }
    const TBlank all = minimumBlank(cloud), hull = minimumBlank(convexHull(cloud));
    EXPECT_EQ(all.Width, hull.Width) << turn;
    EXPECT_EQ(all.Height, hull.Height) << turn;
    EXPECT_EQ(all.Angle, hull.Angle) << turn;
  }
}

// With no offset the four quadrants bend alike, mirrored. The bends of the
// cone between a quadrant's first and last facets add up to the turn of its
// face normals along the fan, which is no less than the angle between the
// first and the last normal (the shortest way round the sphere of
// directions), and which finer divisions only refine: 2000 and 4000
// divisions agree within 0.01 degrees.
TEST(BendTable, MirrorsAndAddsUpToTheFansTurn) {
  const TSystemParams sp = params(400, 400, 250, 100);
  const TProParams pro = withDivisions(400);
  std::array<std::vector<Extended>, 4> a;
  for (std::uint16_t q = 1; q <= 4; ++q) a[q - 1] = bendAngles(exactSurfaceQuadrant(sp, pro, q));
  for (std::size_t k = 0; k < a[0].size(); ++k) {
    for (std::size_t q = 1; q < 4; ++q) EXPECT_NEAR(asDouble(a[q][k]), asDouble(a[0][k]), 1e-9) << k;
  }
  const auto fanTurn = [&sp](std::int32_t n) {
    const std::vector<Extended> b = bendAngles(exactSurfaceQuadrant(sp, withDivisions(n), 1));
    Extended sum = 0;
    for (std::size_t k = 2; k <= std::size_t(n); ++k) sum += b[k - 1];
    return sum * n / (n - 1);  // n - 1 bends between n facets, each about a n-th of the turn
  };
  const TSurf2PointArray s = exactSurfaceQuadrant(sp, pro, 1);
  const auto normal = [](const TPoint3D& c, const TPoint3D& p, const TPoint3D& q) {
    const std::array<Extended, 3> u{p.X - c.X, p.Y - c.Y, p.Z - c.Z}, v{q.X - c.X, q.Y - c.Y, q.Z - c.Z};
    return std::array<Extended, 3>{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  };
  const std::size_t n = s.size() - 3;
  const auto first = normal(s[1].P1, s[1].P2, s[2].P2), last = normal(s[1].P1, s[n].P2, s[n + 1].P2);
  const Extended dot = first[0] * last[0] + first[1] * last[1] + first[2] * last[2];
  const Extended lengths = std::sqrt((first[0] * first[0] + first[1] * first[1] + first[2] * first[2]) *
                                     (last[0] * last[0] + last[1] * last[1] + last[2] * last[2]));
  EXPECT_GE(asDouble(fanTurn(400)), asDouble(std::acos(dot / lengths) * 180 / kPi) - 1e-9);
  EXPECT_NEAR(asDouble(fanTurn(2000)), asDouble(fanTurn(4000)), 0.01);
}

}  // namespace
