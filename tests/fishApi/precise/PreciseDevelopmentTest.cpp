// The precise development against the exact surface worked out here.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>
#include <typeinfo>

#include "PreciseRows.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/shop/FlatPattern.h"
#include "fishApi/precise/ExactSurface.h"
#include "fishApi/precise/PreciseAccuracy.h"
#include "fishApi/precise/PreciseDevelopment.h"

namespace fish::test {
namespace {

// The exact surface's circle points are at their angles; every side of every
// triangle (half sides, seam, generators, arc chords, closing line) is laid
// at its 3-D length, the area is the 3-D triangles' area, the sheets'
// outlines are simple, and element by element is the array, bit for bit. At
// 10 divisions the tables' points are off the precise ones by what their
// thousandths and hundredths account for, as tablePointError finds.
TEST(PreciseDevelopment, IsTheExactTriangulationLaidFlat) {
  for (const Row& row : rows()) {
    for (std::int32_t n : {1, 2, 10, 997, 100000}) {
      // The finest count on the default project and the largest one.
      if (n == 100000 && row.name != rows().front().name && row.name != rows().back().name) continue;
      SCOPED_TRACE(std::string(row.name) + " n=" + std::to_string(n));
      const TProParams pro = withDivisions(n, {1, 1, 1, 1});
      std::array<TRazvertka2PointArray, 4> d;
      Extended tables = 0;  // the tables' worst point off the precise one
      for (std::uint16_t q = 1; q <= 4; ++q) {
        const TRazvertka2PointArray& r = d[q - 1] = developPrecise(row.sp, pro, q);
        const TQuadrantSetup s = quadrantSetup(q);
        const TPoint3D midY = RectPoint(row.sp, s.FirstRect), c = RectPoint(row.sp, s.CornerRect),
                       midX = RectPoint(row.sp, s.LastRect), end = circle(row.sp, s, n, n);
        const auto same = [](Extended developed, Extended exact) {
          EXPECT_NEAR(asDouble(developed), asDouble(exact), 1e-12 * asDouble(exact) + 1e-300);
        };
        const std::size_t m = r.size() - 1;
        same(distance2D(r[0].P1, r[0].P2), dist(midY, circle(row.sp, s, n, 0)));
        same(distance2D(r[0].P1, r[1].P1), dist(midY, c));
        same(distance2D(r[m].P1, r[m].P2), dist(midX, c));
        same(distance2D(r[m - 1].P2, r[m].P2), dist(midX, end));
        Extended area = norm(cross(minus(c, midY), minus(circle(row.sp, s, n, 0), midY))) +
                        norm(cross(minus(end, c), minus(midX, c)));
        const TSurf2PointArray surface = exactSurfaceQuadrant(row.sp, pro, q);
        for (std::size_t k = 1; k < m; ++k) {
          const TPoint3D p = circle(row.sp, s, n, static_cast<Extended>(k - 1));
          same(distance2D(r[k].P1, r[k].P2), dist(c, p));
          EXPECT_LE(asDouble(dist(surface[k].P2, p)),
                    1e-15 * asDouble(row.sp.R + std::fabs(row.sp.X1) + std::fabs(row.sp.Y1)));
          if (k == 1) continue;
          const TPoint3D before = circle(row.sp, s, n, static_cast<Extended>(k - 2));
          same(distance2D(r[k - 1].P2, r[k].P2), dist(before, p));
          area += norm(cross(minus(before, c), minus(p, c)));
        }
        same(std::fabs(polygonArea(quadrantOutline(r))), area / 2);
        if (n != 10) continue;
        TRazvertka2PointArray e;
        TPoint2D lo, hi;
        developPreciseElements(
            row.sp, pro, q, [&e](std::size_t, const TRazvertka2Point& x) { e.push_back(x); }, lo, hi);
        const TRazvertka2PointArray t = developQuadrant(row.sp, pro, q).Razvertka;
        TSurf2PointArray laidFrom;  // the surface the development writes beside it
        developPreciseInto(row.sp, pro, q, e, laidFrom, lo, hi);
        ASSERT_EQ(laidFrom.size(), surface.size());
        for (std::size_t k = 0; k < r.size(); ++k) {
          EXPECT_TRUE(e[k].P1.X == r[k].P1.X && e[k].P1.Y == r[k].P1.Y && e[k].P2.X == r[k].P2.X &&
                      e[k].P2.Y == r[k].P2.Y);
          for (const auto& [a, b] : {std::pair{laidFrom[k].P1, surface[k].P1}, std::pair{laidFrom[k].P2, surface[k].P2}})
            EXPECT_TRUE(a.X == b.X && a.Y == b.Y && a.Z == b.Z);
          tables = std::max({tables, distance2D(t[k].P1, r[k].P1), distance2D(t[k].P2, r[k].P2)});
        }
      }
      for (const TPatternPiece& sheet : patternPieces(pro, {&d[0], &d[1], &d[2], &d[3]}))
        EXPECT_TRUE(isSimplePolygon(sheet.Outline));
      if (n != 10) continue;
      EXPECT_EQ(asDouble(tablePointError(row.sp, pro)), asDouble(tables));
      EXPECT_TRUE(tables <= 0.15L || row.name != rows()[0].name) << "the default project within 0.15 mm";
    }
  }
}

// At 100000 divisions the round end lies on the developed circle: a point
// turns about the corner's image by the integral of the generator's turning
// rate |g x g'| / |g|^2 (R / slant height on a right cone), by Simpson's rule
// here, and its distance from the arc start follows from that angle.
TEST(PreciseDevelopment, RoundEndLiesOnTheDevelopedCircle) {
  const std::int32_t n = 100000;
  for (const Row& row : rows()) {
    for (std::uint16_t q = 1; q <= 4; ++q) {
      const TQuadrantSetup s = quadrantSetup(q);
      const TPoint3D c = RectPoint(row.sp, s.CornerRect);
      const auto rate = [&](Extended j) {
        const V3 g = minus(circle(row.sp, s, n, j), c);
        const V3 dg = minus(circle(row.sp, s, n, j + 1e-3L), circle(row.sp, s, n, j - 1e-3L));
        return norm(cross(g, dg)) / dot(g, g) / 2e-3L;
      };
      const TRazvertka2PointArray d = developPrecise(row.sp, withDivisions(n), q);
      for (std::size_t j : {std::size_t{1}, std::size_t{n / 3}, std::size_t{n}}) {
        const Extended h = static_cast<Extended>(j) / 2000;
        Extended turn = 0;
        for (int i = 0; i < 2000; i += 2) turn += h / 3 * (rate(i * h) + 4 * rate((i + 1) * h) + rate((i + 2) * h));
        const Extended g0 = dist(c, circle(row.sp, s, n, 0)),
                       gj = dist(c, circle(row.sp, s, n, static_cast<Extended>(j)));
        EXPECT_NEAR(asDouble(distance2D(d[1].P2, d[j + 1].P2)),
                    asDouble(std::sqrt(g0 * g0 + gj * gj - 2 * g0 * gj * std::cos(turn))), 1e-6)
            << row.name << " q" << q << " j=" << j;
      }
    }
  }
}

// A record the tables refuse is refused with the same error.
TEST(PreciseDevelopment, RefusesWhatTheTablesRefuse) {
  const TSystemParams sp = defaultSystemParams();
  const std::tuple<const char*, TSystemParams, std::int32_t, std::uint16_t> cases[] = {
      {"no divisions", sp, 0, 1},
      {"negative divisions", sp, -3, 2},
      {"too many divisions", sp, 100001, 1},
      {"quadrant 5", sp, 10, 5},
      {"side beyond hundredths", params(4e17L, 100, 50, 50), 10, 4},
      {"NaN offset", params(100, 100, 50, 50, std::numeric_limits<Extended>::quiet_NaN()), 10, 3},
      {"radius beyond hundredths", params(100, 100, 50, 1e18L), 10, 1},
      {"radius beyond the extended range", params(100, 100, 50, 1e4931L), 10, 2}};
  for (const auto& [name, record, n, q] : cases) {
    const auto thrown = [&](auto develop) -> std::string {
      try {
        develop(record, withDivisions(n), q);
      } catch (const EFishError& e) {
        return typeid(e).name();
      }
      return "nothing";
    };
    const std::string table = thrown([](auto&&... a) { return developQuadrant(a...); });
    EXPECT_NE(table, "nothing") << name;
    EXPECT_EQ(thrown([](auto&&... a) { return developPrecise(a...); }), table) << name;
  }
}

// A plate 3 thick measured on its inside faces, on 45-degree walls (B = A =
// 200, R = 50, L = 50): the middle surface's sides lie 1.5 / cos 45 out, not
// 1.5, so its half sides are 100 + 1.5 sqrt 2; at the arc start, where the
// side's plane meets the circle, the round end moves out by as much, and at
// 45 degrees along the arc, 100 sqrt 2 - 50 across from the corner, by
// 1.5 sqrt(50^2 + (100 sqrt 2 - 50)^2) / 50. The
// middle surface is still laid exactly: its edges are their 3-D lengths.
TEST(PreciseDevelopment, LaysThePlatesMiddleSurfaceAlongItsNormal) {
  const TSystemParams sp = params(200, 200, 50, 50);
  const TFaceOffsets inside{1.5L, 1.5L};
  const Extended out = 1.5L * std::sqrt(2.0L);
  const TExactSurface s(sp, withDivisions(16), 1, inside);
  EXPECT_NEAR(asDouble(s.corner().X), asDouble(100 + out), 1e-15);
  EXPECT_NEAR(asDouble(s.radius(s.direction(0))), asDouble(50 + out), 1e-15);
  EXPECT_NEAR(asDouble(s.radius(s.direction(8))), 50 + 1.5 * std::hypot(50, 100 * std::sqrt(2) - 50) / 50, 1e-12);
  const TRazvertka2PointArray d = developPrecise(sp, withDivisions(16), 1, inside);
  EXPECT_NEAR(asDouble(distance2D(d[0].P1, d[1].P1)), asDouble(100 + out), 1e-12);
  for (std::size_t k = 1; k + 1 < d.size(); ++k) {
    const TSurf2Point e = s.element(k);
    EXPECT_NEAR(asDouble(distance2D(d[k].P1, d[k].P2)), asDouble(dist(e.P1, e.P2)), 1e-12);
  }
}

}  // namespace
}  // namespace fish::test
