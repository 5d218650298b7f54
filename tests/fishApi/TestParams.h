// Shorthands for building records in the engine tests.
#pragma once

#include "fishApi/FishTypes.h"

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

}  // namespace fish::test
