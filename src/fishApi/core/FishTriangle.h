// Lengths and angles between surface points rounded to hundredths: the
// arithmetic every triangle of the development is solved with. Internal to
// the engine's core; inline, because the development's inner loop is made of
// these steps.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "FishErrors.h"
#include "FishMath.h"
#include "FishTypes.h"

namespace fish::triangle {

// A point with its coordinates rounded to hundredths. Every length of the
// development is measured between such points; rounding each surface point
// once instead of once per length it takes part in saves most of the work.
// Rounding is pure and only ever fails as an invalid operation, and the points
// are rounded in the order of their first use, so the first failure is the
// same as if every length rounded its own ends.
struct Rounded {
  Extended X, Y, Z;
};

// The ten bytes of an extended real, compared in the integer unit.
struct TBits {
  std::uint64_t Significand = 0;
  std::uint16_t SignExponent = 0;
  explicit TBits(const Extended& x) {
    std::memcpy(&Significand, &x, sizeof Significand);
    std::memcpy(&SignExponent, reinterpret_cast<const unsigned char*>(&x) + sizeof Significand, sizeof SignExponent);
  }
  bool holds(const Extended& x) const {
    const TBits other(x);
    return other.Significand == Significand && other.SignExponent == SignExponent;
  }
};

[[gnu::always_inline]] inline Extended rounded(Extended x) {
  Round2(x);
  return x;
}

[[gnu::always_inline]] inline Rounded roundPoint(const TPoint3D& p) {
  Rounded r{p.X, p.Y, p.Z};
  Round2(r.X);
  Round2(r.Y);
  Round2(r.Z);
  return r;
}

[[gnu::always_inline]] inline Extended length(const Rounded& p, const Rounded& q) {
  const Extended dx = p.X - q.X;
  const Extended dy = p.Y - q.Y;
  const Extended dz = p.Z - q.Z;
  return squareRoot(dx * dx + dy * dy + dz * dz);
}

// The cosine of the angle between sides `a` and `b` opposite side `c` (law of
// cosines); neither side may be 0.
[[gnu::always_inline]] inline Extended cosineBetween(Extended a, Extended b, Extended c) {
  return divide(a * a + b * b - c * c, 2 * a * b);
}

// The angle between sides `a` and `b` opposite side `c`, or 0 when a side is 0.
[[gnu::always_inline]] inline Extended angleBetween(Extended a, Extended b, Extended c) {
  if (a * b == 0) return 0;
  return arcCos(cosineBetween(a, b, c));
}

// The angle between sides `a` and `b` is not needed, only its failure: the
// same division and the same test of 1 - ratio^2 as angleBetween, without
// the arc tangent.
//
// A ratio well inside -1 .. 1 cannot fail either test: when the numerator's
// size is below the divisor's by far more than the rounding of either (the
// divisor positive), the division is skipped. Only a triangle close to flat
// takes the division. Every side is measured between points rounded to
// hundredths, whose coordinates fit 64 bits as hundredths: a side is below
// 4e17 and the divisor below 4e35, never infinite or NaN.
[[gnu::always_inline]] inline void checkAngle(Extended a, Extended b, Extended c) {
  if (a * b == 0) return;
  const Extended num = a * a + b * b - c * c;
  const Extended den = 2 * a * b;
  constexpr Extended kWellInside = 1 - 0x1p-32L;
  if (std::fabs(num) <= den * kWellInside) return;
  const Extended ratio = divide(num, den);
  if (!(1 - ratio * ratio >= 0)) throw EInvalidOp();
}

// Which angles of a triangle a caller uses; the others are only checked.
enum TAngles : unsigned { kAngle1 = 1, kAngle2 = 2, kAngle0 = 4, kAllAngles = 7 };

// A triangle's sides and angles, as TTriangle3D holds them, without its
// corners: the development reads only these, and copies nothing else.
struct TSolved {
  Extended Side20, Side01, Side12;
  Extended Angle1, Angle2, Angle0;
};

inline TSolved solveRounded(const Rounded& r0, const Rounded& r1, const Rounded& r2, unsigned needed = kAllAngles) {
  TSolved t;
  t.Side01 = length(r0, r1);
  t.Side12 = length(r1, r2);
  t.Side20 = length(r2, r0);
  const auto angle = [needed](unsigned which, Extended a, Extended b, Extended c) -> Extended {
    if (needed & which) return angleBetween(a, b, c);
    checkAngle(a, b, c);
    return 0;
  };
  t.Angle1 = angle(kAngle1, t.Side12, t.Side01, t.Side20);
  t.Angle2 = angle(kAngle2, t.Side12, t.Side20, t.Side01);
  t.Angle0 = angle(kAngle0, t.Side20, t.Side01, t.Side12);
  return t;
}

}  // namespace fish::triangle
