#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/PointNames.h"

using namespace fish;

namespace {

// The development keeps every generator's true length, so the two points a
// generator is named by must lie that far apart on the pattern: a name put on
// the wrong point, or a line given the wrong end, shows as a wrong length.
TEST(PointNames, GeneratorsJoinTheirNamedPointsAtTheirTrueLengths) {
  struct Row {
    const char* name;
    TSystemParams sp;
    std::int32_t divisions;
  };
  const Row rows[] = {
      {"one division", {600, 400, 300, 150, 0, 0, {}}, 1},
      {"centred", {600, 400, 300, 150, 0, 0, {}}, 6},
      {"offset circle", {800, 500, 450, 120, 90, -60, {}}, 9},
  };
  for (const Row& row : rows) {
    for (int q = 1; q <= 4; ++q) {
      SCOPED_TRACE(std::string(row.name) + ", quadrant " + std::to_string(q));
      TProParams pp = defaultProParams();
      pp.Divisions = row.divisions;
      const TQuadrantDevelopment d = developQuadrant(row.sp, pp, static_cast<std::uint16_t>(q));
      std::map<std::string, TPoint2D> at{{kOriginName, {0, 0}}};
      for (const TNamedPoint& p : namedOutlinePoints(d.Razvertka, q)) at.emplace(p.Name, p.At);
      ASSERT_EQ(at.size(), outlinePointCount(row.divisions) + 1) << "every name once";
      for (std::size_t r = 0; r + 1 < at.size(); ++r) {
        const TOutlinePoint p = outlinePoint(q, row.divisions, r);
        const TElementPoint back = outlinePointOfElement(row.divisions, p.Element);
        EXPECT_TRUE(back.Row == r && back.NearEnd == p.NearEnd) << p.Name << " read back from its element";
      }
      for (std::size_t e = 0; e < d.Surf.size(); ++e) {
        const TLineEnds ends = generatorEnds(q, row.divisions, e);
        ASSERT_TRUE(at.count(ends.From) && at.count(ends.To)) << ends.From << "-" << ends.To;
        const TPoint2D a = at[ends.From], b = at[ends.To];
        EXPECT_NEAR(static_cast<double>(std::hypot(a.X - b.X, a.Y - b.Y)),
                    static_cast<double>(Distance3D(d.Surf[e].P1, d.Surf[e].P2)), 0.02)
            << "element " << e << ": " << ends.From << "-" << ends.To;
      }
    }
  }
  EXPECT_THROW(outlinePoint(5, 3, 0), ERangeError);
  EXPECT_THROW(outlinePoint(1, 3, 6), ERangeError);
  EXPECT_THROW(arcPointRow(3, 5), ERangeError);
}

}  // namespace
