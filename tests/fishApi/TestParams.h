// Shorthands for building records in the engine tests.
#pragma once

#include <cmath>
#include <utility>

#include "fishApi/core/FishTypes.h"
#include "fishApi/shop/PlateParams.h"

namespace fish::test {

inline TSystemParams params(Extended B, Extended A, Extended L, Extended R, Extended X1 = 0, Extended Y1 = 0) {
  TSystemParams sp;
  sp.B = B;
  sp.A = A;
  sp.L = L;
  sp.R = R;
  sp.X1 = X1;
  sp.Y1 = Y1;
  return sp;
}

inline TProParams withDivisions(std::int32_t n, std::array<ByteBool, 4> quadrants = {1, 1, 0, 0}) {
  TProParams pp = defaultProParams();
  pp.Divisions = n;
  pp.Quadrants = quadrants;
  return pp;
}

inline double asDouble(Extended v) { return static_cast<double>(v); }

// A plate of a named material with its own density.
inline TPlateParams plateOf(Extended t, TFaces rect = TFaces::Mean, TFaces round = TFaces::Mean,
                            TMaterial material = TMaterial::Steel) {
  TPlateParams p;
  p.Thickness = t;
  p.RectFaces = rect;
  p.RoundFaces = round;
  p.Material = material;
  p.Density = materialDensity(material);
  return p;
}

inline Extended distance2D(const TPoint2D& a, const TPoint2D& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// The area of a triangle from its three sides (Heron, in the stable order of
// the sides).
inline Extended heron(Extended a, Extended b, Extended c) {
  if (a < b) std::swap(a, b);
  if (a < c) std::swap(a, c);
  if (b < c) std::swap(b, c);
  const Extended p = (a + (b + c)) * (c - (a - b)) * (c + (a - b)) * (a + (b - c));
  return p > 0 ? std::sqrt(p) / 4 : 0;
}

}  // namespace fish::test
