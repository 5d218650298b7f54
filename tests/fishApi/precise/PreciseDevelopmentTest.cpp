// The precise development against the exact surface, computed here on its
// own from the construction: circle points at their angles, the corner and
// the midpoints of the rectangle.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <typeinfo>

#include "fishApi/FishErrors.h"
#include "fishApi/FishMath.h"
#include "fishApi/FishRazvertka.h"
#include "fishApi/FishSurface.h"
#include "fishApi/FlatPattern.h"
#include "fishApi/TestParams.h"
#include "fishApi/precise/PreciseDevelopment.h"
#include "preciseRows.h"

namespace fish::test {
namespace {

struct V3 {
  Extended x, y, z;
};
V3 minus(const TPoint3D& p, const TPoint3D& q) { return {p.X - q.X, p.Y - q.Y, p.Z - q.Z}; }
V3 cross(const V3& u, const V3& v) { return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x}; }
Extended norm(const V3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
Extended dist(const TPoint3D& p, const TPoint3D& q) { return norm(minus(p, q)); }

// Circle point j = 0 .. n of a quadrant, from its angle.
TPoint3D circle(const TSystemParams& sp, const TQuadrantSetup& s, std::int32_t n, std::size_t j) {
  const Extended t = s.StartAngle + s.StepSign * static_cast<Extended>(j) * (kPi_2 / n);
  return {sp.X1 + sp.R * std::cos(t), sp.Y1 + sp.R * std::sin(t), sp.L};
}

// Every side of every triangle of the pattern (half sides, generators, arc
// chords, seam, closing line) is its 3-D length; the pattern's area is the
// triangles' area; its sheets' outlines are simple; the
// element-by-element development is the array's, bit for bit.
TEST(PreciseDevelopment, IsTheExactTriangulationLaidFlat) {
  for (const Row& row : rows()) {
    for (std::int32_t n : {1, 2, 10, 997, 100000}) {
      SCOPED_TRACE(std::string(row.name) + " n=" + std::to_string(n));
      const TProParams pro = withDivisions(n, {1, 1, 1, 1});
      std::array<TRazvertka2PointArray, 4> d;
      for (std::uint16_t q = 1; q <= 4; ++q) {
        const TRazvertka2PointArray& r = d[q - 1] = developPrecise(row.sp, pro, q);
        const TQuadrantSetup s = quadrantSetup(q);
        const TPoint3D midY = RectPoint(row.sp, s.FirstRect), corner = RectPoint(row.sp, s.CornerRect),
                       midX = RectPoint(row.sp, s.LastRect);
        const auto same = [](Extended developed, Extended exact) {
          EXPECT_NEAR(asDouble(developed), asDouble(exact), 1e-12 * asDouble(exact) + 1e-300);
        };
        const std::size_t m = r.size() - 1;
        same(distance2D(r[0].P1, r[0].P2), dist(midY, circle(row.sp, s, n, 0)));
        same(distance2D(r[0].P1, r[1].P1), dist(midY, corner));
        same(distance2D(r[m].P1, r[m].P2), dist(midX, corner));
        same(distance2D(r[m - 1].P2, r[m].P2), dist(midX, circle(row.sp, s, n, m - 2)));
        Extended area = norm(cross(minus(corner, midY), minus(circle(row.sp, s, n, 0), midY))) +
                        norm(cross(minus(circle(row.sp, s, n, m - 2), corner), minus(midX, corner)));
        for (std::size_t k = 1; k < m; ++k) {
          const TPoint3D p = circle(row.sp, s, n, k - 1);
          same(distance2D(r[k].P1, r[k].P2), dist(corner, p));
          if (k == 1) continue;
          const TPoint3D before = circle(row.sp, s, n, k - 2);
          same(distance2D(r[k - 1].P2, r[k].P2), dist(before, p));
          area += norm(cross(minus(before, corner), minus(p, corner)));
        }
        same(std::fabs(polygonArea(quadrantOutline(r))), area / 2);
        if (n != 997) continue;
        TPoint2D lo, hi;
        TRazvertka2PointArray streamed;
        developPreciseElements(
            row.sp, pro, q, [&](std::size_t, const TRazvertka2Point& e) { streamed.push_back(e); }, lo, hi);
        ASSERT_EQ(streamed.size(), r.size());
        for (std::size_t k = 0; k < r.size(); ++k)
          EXPECT_TRUE(streamed[k].P1.X == r[k].P1.X && streamed[k].P1.Y == r[k].P1.Y &&
                      streamed[k].P2.X == r[k].P2.X && streamed[k].P2.Y == r[k].P2.Y);
      }
      for (const TPatternPiece& sheet : patternPieces(pro, {&d[0], &d[1], &d[2], &d[3]}))
        EXPECT_TRUE(isSimplePolygon(sheet.Outline));
    }
  }
}

// The developed round end lies on the development of the exact circle: the
// angle a point turns by about the corner's image is the integral of the
// generator's turning rate |g x g'| / |g|^2 along the arc (for a right cone
// R / slant height), here by 5-point Gauss-Legendre on 64 panels; the
// distance of point j from the arc start then follows from the two
// generators and that angle.
TEST(PreciseDevelopment, RoundEndLiesOnTheDevelopedCircle) {
  const Extended nodes[] = {0, 0.5384693101056830910363144L, 0.9061798459386639927976269L};
  const Extended weights[] = {0.5688888888888888888888889L, 0.4786286704993664680412915L,
                              0.2369268850561890875142640L};
  const std::int32_t n = 100000;
  for (const Row& row : rows()) {
    for (std::uint16_t q = 1; q <= 4; ++q) {
      const TQuadrantSetup s = quadrantSetup(q);
      const TPoint3D c = RectPoint(row.sp, s.CornerRect);
      const auto rate = [&](Extended a) {
        const Extended t = s.StartAngle + s.StepSign * a;
        const V3 g{row.sp.X1 + row.sp.R * std::cos(t) - c.X, row.sp.Y1 + row.sp.R * std::sin(t) - c.Y, row.sp.L};
        const V3 dg{-row.sp.R * std::sin(t), row.sp.R * std::cos(t), 0};
        return norm(cross(g, dg)) / (g.x * g.x + g.y * g.y + g.z * g.z);
      };
      const TRazvertka2PointArray d = developPrecise(row.sp, withDivisions(n), q);
      for (std::size_t j : {std::size_t{1}, std::size_t{n / 3}, std::size_t{n}}) {
        const Extended upTo = kPi_2 * static_cast<Extended>(j) / n, h = upTo / 64;
        Extended turn = 0;
        for (int panel = 0; panel < 64; ++panel)
          for (int i = -2; i <= 2; ++i)
            turn += h / 2 * weights[std::abs(i)] * rate(h * (panel + 0.5L) + (i < 0 ? -1 : 1) * nodes[std::abs(i)] * h / 2);
        const Extended g0 = dist(c, circle(row.sp, s, n, 0)), gj = dist(c, circle(row.sp, s, n, j));
        const Extended expected = std::sqrt(g0 * g0 + gj * gj - 2 * g0 * gj * std::cos(turn));
        EXPECT_NEAR(asDouble(distance2D(d[1].P2, d[j + 1].P2)), asDouble(expected), 1e-6)
            << row.name << " q" << q << " j=" << j;
      }
    }
  }
}

// At 10 divisions the tables' pattern of the default project differs from
// the precise one only by its thousandths and hundredths.
TEST(PreciseDevelopment, TablesAgreeAtTenDivisions) {
  const TSystemParams sp = defaultSystemParams();
  const TProParams pro = withDivisions(10);
  for (std::uint16_t q = 1; q <= 4; ++q) {
    const TRazvertka2PointArray precise = developPrecise(sp, pro, q);
    const TRazvertka2PointArray table = developQuadrant(sp, pro, q).Razvertka;
    ASSERT_EQ(precise.size(), table.size());
    for (std::size_t k = 0; k < table.size(); ++k) {
      EXPECT_LE(asDouble(distance2D(table[k].P1, precise[k].P1)), 0.15) << "q" << q << " k=" << k;
      EXPECT_LE(asDouble(distance2D(table[k].P2, precise[k].P2)), 0.15) << "q" << q << " k=" << k;
    }
  }
}

// A record the tables refuse is refused with the same error.
TEST(PreciseDevelopment, RefusesWhatTheTablesRefuse) {
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  const struct {
    const char* name;
    TSystemParams sp;
    std::int32_t n;
    std::uint16_t q;
  } cases[] = {
      {"no divisions", defaultSystemParams(), 0, 1},
      {"negative divisions", defaultSystemParams(), -3, 2},
      {"too many divisions", defaultSystemParams(), 100001, 1},
      {"quadrant 5", defaultSystemParams(), 10, 5},
      {"NaN offset", params(100, 100, 50, 50, nan), 10, 3},
      {"side beyond hundredths", params(4e17L, 100, 50, 50), 10, 4},
      {"radius beyond hundredths", params(100, 100, 50, 1e18L), 10, 1},
      {"radius beyond the extended range", params(100, 100, 50, 1e4931L), 10, 2},
  };
  for (const auto& c : cases) {
    const auto thrown = [&](auto develop) -> std::string {
      try {
        develop(c.sp, withDivisions(c.n), c.q);
      } catch (const EFishError& e) {
        return typeid(e).name();
      }
      return "nothing";
    };
    const std::string table = thrown([](auto&&... a) { return developQuadrant(a...); });
    EXPECT_NE(table, "nothing") << c.name;
    EXPECT_EQ(thrown([](auto&&... a) { return developPrecise(a...); }), table) << c.name;
  }
}

}  // namespace
}  // namespace fish::test
