#include "FishTypes.h"

namespace fish {

TSurf2PointArray LastSurf;
TRazvertka2PointArray LastRazvertka;

TSystemParams defaultSystemParams() {
  TSystemParams sp;
  sp.B = 100;
  sp.A = 100;
  sp.L = 50;
  sp.R = 50;
  sp.X1 = 0;
  sp.Y1 = 0;
  return sp;
}

TProParams defaultProParams() {
  TProParams pp;
  pp.Divisions = 10;
  pp.Quadrants = {1, 1, 0, 0};
  pp.ShowGrid = 0;
  pp.Reserved2 = 1;
  return pp;
}

}  // namespace fish
