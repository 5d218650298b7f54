// The bends along the generators against the closed form of a pyramid's
// dihedral angles and the symmetry of a centred transition.
#include <gtest/gtest.h>

#include <cmath>

#include "fishApi/TestParams.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/precise/ExactSurface.h"
#include "fishApi/shop/BendTable.h"

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
