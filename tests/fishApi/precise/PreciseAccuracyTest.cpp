// The accuracy measures against what they claim.
#include <gtest/gtest.h>

#include <algorithm>

#include "PreciseRows.h"
#include "fishApi/shop/ShopFigures.h"
#include "fishApi/precise/PreciseAccuracy.h"
#include "fishApi/precise/PreciseDevelopment.h"

namespace fish::test {
namespace {

// The circle point half-way along each step, unfolded into the step's plane
// (at its distance from the corner, turned from the step's first generator by
// its 3-D angle), stands off the step's chord by no more than chordError,
// and the farthest by nearly as much.
TEST(PreciseAccuracy, ChordErrorBoundsTheUnfoldedMidArc) {
  for (const Row& row : rows()) {
    for (std::int32_t n : {3, 40, 300}) {
      Extended worst = 0;
      for (std::uint16_t q = 1; q <= 4; ++q) {
        const TQuadrantSetup s = quadrantSetup(q);
        const TPoint3D c = RectPoint(row.sp, s.CornerRect);
        const TRazvertka2PointArray d = developPrecise(row.sp, withDivisions(n), q);
        for (std::size_t j = 0; j + 3 < d.size(); ++j) {
          const V3 a = minus(circle(row.sp, s, n, static_cast<Extended>(j)), c);
          const V3 m = minus(circle(row.sp, s, n, static_cast<Extended>(j) + 0.5L), c);
          const Extended turn = std::atan2(norm(cross(a, m)), dot(a, m));
          const TPoint2D o = d[1].P1, p = d[j + 1].P2, e = d[j + 2].P2;
          const Extended side = (p.X - o.X) * (e.Y - o.Y) < (p.Y - o.Y) * (e.X - o.X) ? -1 : 1;
          const Extended ct = std::cos(turn) * norm(m) / norm(a), st = std::sin(turn) * norm(m) / norm(a) * side;
          const TPoint2D mid{o.X + (p.X - o.X) * ct - (p.Y - o.Y) * st, o.Y + (p.X - o.X) * st + (p.Y - o.Y) * ct};
          worst =
              std::max(worst, std::fabs((e.X - p.X) * (mid.Y - p.Y) - (e.Y - p.Y) * (mid.X - p.X)) / distance2D(p, e));
        }
      }
      const Extended bound = chordError(row.sp, n);
      EXPECT_LE(asDouble(worst), asDouble(bound)) << row.name << " n=" << n;
      EXPECT_GE(asDouble(worst), asDouble(bound) * (n < 10 ? 0.5 : 0.9)) << row.name << " n=" << n;
    }
  }
}

// The advice, followed, clears the warning: the precise pattern at its
// count, the tables' pattern at the count it names; when none is named the
// tables fail across the counts searched and the shop is sent to the precise
// pattern.
TEST(PreciseAccuracy, AdviceFollowedClearsTheWarning) {
  for (const Row& row : rows()) {
    for (std::int32_t n : {2, 440}) {
      SCOPED_TRACE(std::string(row.name) + " n=" + std::to_string(n));
      const TPatternAccuracy a = patternAccuracy(row.sp, withDivisions(n));
      ASSERT_GT(a.ChordDivisions, 0);
      EXPECT_EQ(preciseAccuracyWarning(a).empty(), n >= a.ChordDivisions);
      if (n < a.ChordDivisions) {
        EXPECT_NE(preciseAccuracyWarning(a).find("не менее " + std::to_string(a.ChordDivisions)), std::string::npos);
      }
      EXPECT_LE(chordError(row.sp, a.ChordDivisions), kAccuracyLimit);
      EXPECT_TRUE(a.ChordDivisions == 1 || chordError(row.sp, a.ChordDivisions - 1) > kAccuracyLimit);
      if (!a.tableExceedsLimit()) continue;
      const std::string warning = tableAccuracyWarning(a);
      if (a.TableDivisions != 0) {
        EXPECT_NE(warning.find(std::to_string(a.TableDivisions)), std::string::npos);
        EXPECT_TRUE(tableAccuracyWarning(patternAccuracy(row.sp, withDivisions(a.TableDivisions))).empty());
        continue;
      }
      EXPECT_NE(warning.find("точной развертке"), std::string::npos);
      for (std::int32_t k = a.ChordDivisions; k <= a.TableSearchedTo; k += 37)
        EXPECT_GT(tablePointError(row.sp, withDivisions(k)), kAccuracyLimit) << k;
    }
  }
}

}  // namespace
}  // namespace fish::test
