// The accuracy measures against what they claim: the chord error against
// the sagitta of mid-arc points unfolded here, and the advice by following it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fishApi/FishMath.h"
#include "fishApi/FishSurface.h"
#include "fishApi/ShopFigures.h"
#include "fishApi/precise/PreciseAccuracy.h"
#include "fishApi/precise/PreciseDevelopment.h"
#include "preciseRows.h"

namespace fish::test {
namespace {

// For every step of the precise pattern, the circle point half-way between
// its two arc points is unfolded into the step's plane: at its distance
// from the corner, turned from the step's first generator by its 3-D angle.
// Its distance from the chord never exceeds chordError, and the largest
// reaches it within the bound's slack.
TEST(PreciseAccuracy, ChordErrorBoundsTheUnfoldedMidArc) {
  for (const Row& row : rows()) {
    for (std::int32_t n : {3, 40, 300}) {
      Extended worst = 0;
      for (std::uint16_t q = 1; q <= 4; ++q) {
        const TQuadrantSetup s = quadrantSetup(q);
        const TPoint3D c = RectPoint(row.sp, s.CornerRect);
        const TRazvertka2PointArray d = developPrecise(row.sp, withDivisions(n), q);
        const auto toCircle = [&](Extended j) {
          const Extended t = s.StartAngle + s.StepSign * j * (kPi_2 / n);
          return std::array<Extended, 3>{row.sp.X1 + row.sp.R * std::cos(t) - c.X,
                                         row.sp.Y1 + row.sp.R * std::sin(t) - c.Y, row.sp.L - c.Z};
        };
        for (std::size_t j = 0; j + 3 < d.size(); ++j) {
          const auto a = toCircle(static_cast<Extended>(j)), m = toCircle(static_cast<Extended>(j) + 0.5L);
          const Extended cx = a[1] * m[2] - a[2] * m[1], cy = a[2] * m[0] - a[0] * m[2], cz = a[0] * m[1] - a[1] * m[0];
          const Extended turn = std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), a[0] * m[0] + a[1] * m[1] + a[2] * m[2]);
          const TPoint2D o = d[1].P1, p = d[j + 1].P2, e = d[j + 2].P2;
          const Extended side = (p.X - o.X) * (e.Y - o.Y) - (p.Y - o.Y) * (e.X - o.X) < 0 ? -1 : 1;
          const Extended g = std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]) / distance2D(o, p);
          const Extended ct = std::cos(turn) * g, st = std::sin(turn) * g * side;
          const TPoint2D mid{o.X + (p.X - o.X) * ct - (p.Y - o.Y) * st, o.Y + (p.X - o.X) * st + (p.Y - o.Y) * ct};
          const Extended off = std::fabs((e.X - p.X) * (mid.Y - p.Y) - (e.Y - p.Y) * (mid.X - p.X)) / distance2D(p, e);
          worst = std::max(worst, off);
        }
      }
      const Extended bound = chordError(row.sp, n);
      EXPECT_LE(asDouble(worst), asDouble(bound) * (1 + 1e-9)) << row.name << " n=" << n;
      EXPECT_GE(asDouble(worst), asDouble(bound) * (n < 10 ? 0.5 : 0.9)) << row.name << " n=" << n;
    }
  }
}

// The advice, followed, clears the warning: the precise pattern at its
// count, the tables' pattern at the count it names; when none is named the
// tables fail at every count searched, and the warning sends the shop to the
// precise pattern.
TEST(PreciseAccuracy, AdviceFollowedClearsTheWarning) {
  for (const Row& row : rows()) {
    for (std::int32_t n : {2, 440}) {
      SCOPED_TRACE(std::string(row.name) + " n=" + std::to_string(n));
      const TPatternAccuracy a = patternAccuracy(row.sp, withDivisions(n));
      ASSERT_GT(a.ChordDivisions, 0);
      EXPECT_EQ(a.preciseExceedsLimit(), n < a.ChordDivisions);
      EXPECT_EQ(preciseAccuracyWarning(a).empty(), !a.preciseExceedsLimit());
      if (a.preciseExceedsLimit()) {
        EXPECT_NE(preciseAccuracyWarning(a).find("не менее " + std::to_string(a.ChordDivisions)), std::string::npos);
      }
      EXPECT_FALSE(patternAccuracy(row.sp, withDivisions(a.ChordDivisions)).preciseExceedsLimit());
      EXPECT_TRUE(patternAccuracy(row.sp, withDivisions(a.ChordDivisions - 1)).preciseExceedsLimit() ||
                  a.ChordDivisions == 1);
      if (!a.tableExceedsLimit()) continue;
      const std::string warning = tableAccuracyWarning(a);
      if (a.TableDivisions != 0) {
        EXPECT_NE(warning.find(std::to_string(a.TableDivisions)), std::string::npos);
        const TPatternAccuracy followed = patternAccuracy(row.sp, withDivisions(a.TableDivisions));
        EXPECT_FALSE(followed.tableExceedsLimit());
        EXPECT_TRUE(tableAccuracyWarning(followed).empty());
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
