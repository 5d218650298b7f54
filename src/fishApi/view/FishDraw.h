// Drawing the wire model and the development onto a drawing surface.
#pragma once

#include "fishApi/core/FishTypes.h"

namespace fish {

// What the engine needs of a drawing surface: its scale refreshed from its
// current size and window, its view cleared to white, and straight lines as
// a pen move followed by a line to the next point (the pen stays there).
class TDrawSurface {
 public:
  virtual ~TDrawSurface() = default;
  virtual void UpdateScale() = 0;
  virtual void ClearView() = 0;
  virtual void MoveTo2D(Extended x, Extended y) = 0;
  virtual void LineTo2D(Extended x, Extended y) = 0;
  virtual void MoveTo3D(Extended x, Extended y, Extended z) = 0;
  virtual void LineTo3D(Extended x, Extended y, Extended z) = 0;
};

// The wire model of the selected quadrants: the quarter of the rectangle, the
// quarter of the circle, the generator lines from the side midpoints and the
// first and last lines of the fan; the inner fan lines only with ShowGrid.
void DrawSurf(TDrawSurface& surface, const TSystemParams& sp, const TProParams& pro);

// The development of the selected quadrants with every generator line.
void DrawRazvertka(TDrawSurface& surface, const TSystemParams& sp, const TProParams& pro);

// The lines DrawSurf draws for one quadrant's surface (non-empty), and those
// DrawRazvertka draws for one quadrant's development, in the same order: for
// a caller that keeps the arrays and draws them again.
void drawSurfLines(TDrawSurface& surface, const TSurf2PointArray& s, bool grid);
void drawRazvertkaLines(TDrawSurface& surface, const TRazvertka2PointArray& d);

}  // namespace fish
