#include "FishDraw.h"

#include <cstdint>

#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"

namespace fish {

namespace {

void segment3D(TDrawSurface& s, const TPoint3D& a, const TPoint3D& b) {
  s.MoveTo3D(a.X, a.Y, a.Z);
  s.LineTo3D(b.X, b.Y, b.Z);
}

void segment2D(TDrawSurface& s, const TPoint2D& a, const TPoint2D& b) {
  s.MoveTo2D(a.X, a.Y);
  s.LineTo2D(b.X, b.Y);
}

}  // namespace

void DrawSurf(TDrawSurface& surface, const TSystemParams& sp, const TProParams& pro) {
  surface.UpdateScale();
  surface.ClearView();
  const bool grid = pro.ShowGrid != 0;
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (!quadrantSelected(pro, q)) continue;
    TExtents3D box;
    TSurf2PointArray s;
    CalcSurfQuadrant(sp, pro, q, box, s);
    drawSurfLines(surface, s, grid);
    publishLast(std::move(s));
  }
}

void DrawRazvertka(TDrawSurface& surface, const TSystemParams& sp, const TProParams& pro) {
  surface.UpdateScale();
  surface.ClearView();
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (!quadrantSelected(pro, q)) continue;
    TQuadrantDevelopment piece = developQuadrant(sp, pro, q);
    drawRazvertkaLines(surface, piece.Razvertka);
    publishLast(std::move(piece));
  }
}

void drawSurfLines(TDrawSurface& surface, const TSurf2PointArray& s, bool grid) {
  const std::size_t last = s.size() - 1;
  for (std::size_t k = 0; k <= last; ++k) {
    if (k > 0) {
      segment3D(surface, s[k - 1].P1, s[k].P1);
      segment3D(surface, s[k - 1].P2, s[k].P2);
    }
    if (k <= 1 || k + 1 >= last || grid) segment3D(surface, s[k].P1, s[k].P2);
  }
}

void drawRazvertkaLines(TDrawSurface& surface, const TRazvertka2PointArray& d) {
  for (std::size_t k = 0; k < d.size(); ++k) {
    if (k > 0) {
      segment2D(surface, d[k - 1].P1, d[k].P1);
      segment2D(surface, d[k - 1].P2, d[k].P2);
    }
    segment2D(surface, d[k].P1, d[k].P2);
  }
}

}  // namespace fish
