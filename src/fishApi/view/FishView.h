// The world window of a drawing surface and its mapping to pixels.
//
// Plane mode: x to the right, y up from the bottom edge, one scale per axis.
// 3-D mode: an oblique projection in which depth (z) is drawn at half scale
// along the diagonal rising to the right at 45 degrees.
// Every pixel is a signed 32-bit integer; a value beyond that is a range
// error, never a wrapped coordinate.
#pragma once

#include <array>
#include <cstdint>

#include "fishApi/core/FishTypes.h"

namespace fish {

enum class TSpaceMode { _2D, _3D };

// A view's world window: MinX, MaxX, MinY, MaxY, MinZ, MaxZ.
using TViewBounds = std::array<Extended, 6>;
enum TBound : std::size_t { kMinX, kMaxX, kMinY, kMaxY, kMinZ, kMaxZ };

struct TPixel {
  std::int32_t X = 0;
  std::int32_t Y = 0;
};

class TViewMapping {
 public:
  TSpaceMode SpaceMode = TSpaceMode::_2D;
  Extended MinX = 0, MaxX = 100;
  Extended MinY = 0, MaxY = 100;
  Extended MinZ = 0, MaxZ = 100;
  Extended X0 = 0, Y0 = 0, Z0 = 0;  // only Z0 is used: the depth origin
  std::int32_t Width = 0;           // of the control, in pixels
  std::int32_t Height = 0;

  TViewBounds bounds() const { return {MinX, MaxX, MinY, MaxY, MinZ, MaxZ}; }
  void setBounds(const TViewBounds& b);

  // Pixels per world unit from the bounds, the mode and the size. A zero X
  // span gives all factors 0. Otherwise a zero Y span (or Z span in 3-D)
  // fails as a division; factors computed before the failure keep their new
  // values, in the order Z (3-D only), X, Y.
  void UpdateScale();

  Extended ScaleX() const { return scaleX_; }
  Extended ScaleY() const { return scaleY_; }
  Extended ScaleZ() const { return scaleZ_; }

  std::int32_t WorldToScreenX(Extended x) const;
  std::int32_t WorldToScreenY(Extended y) const;
  std::int32_t DepthOffset(Extended z) const;

  TPixel project2D(Extended x, Extended y) const;
  // The depth offset of z - Z0 moves the point up and to the right.
  TPixel project3D(Extended x, Extended y, Extended z) const;

  // Inverse of the plane mapping with the factors of the last UpdateScale;
  // 0 while the factor is 0.
  Extended ScreenToWorldX(std::int32_t column) const;
  Extended ScreenToWorldY(std::int32_t row) const;

 private:
  Extended scaleX_ = 0;
  Extended scaleY_ = 0;
  Extended scaleZ_ = 0;
};

// A rounded pixel value as a 32-bit integer, or "Range check error".
std::int32_t pixelOf(std::int64_t v);

// ---- Moving a view's world window ----------------------------------------
//
// A scroll step is 5 % of the current span, always positive. The direction
// of a scroll names the way the picture moves on screen: to move it left the
// window moves right, and world Y points up. Both zooms take their step from
// the Y span alone and move each of the four X and Y bounds by half of it,
// inwards or outwards, so the centre stays; the Z bounds never change.

struct TScrollSteps {
  Extended X = 0;
  Extended Y = 0;
};
TScrollSteps scrollSteps(const TViewBounds& b);

TViewBounds scrolledX(TViewBounds b, Extended d);  // both X bounds + d
TViewBounds scrolledY(TViewBounds b, Extended d);  // both Y bounds + d
TViewBounds zoomed(TViewBounds b, Extended d);     // MinX, MinY - d; MaxX, MaxY + d

enum class TViewMove { Left, Right, Up, Down, In, Out };
// One navigation command applied to the window.
TViewBounds moved(const TViewBounds& b, TViewMove move);

// The model's auto-scaled window: its bounding box exactly, no margin.
TViewBounds modelWindow(const TExtents3D& e);

// The development's auto-scaled window: a square from the smaller of the two
// minima to the larger of the two maxima on both axes, so that the pattern
// keeps its proportions; Z as it was.
TViewBounds squareWindow(const TViewBounds& current, const TExtents2D& e);

// The pointer's world position in whole tenths (halves to even), as the
// coordinate read-out shows it; "Range check error" beyond 32 bits.
struct TTenths {
  std::int32_t X = 0;
  std::int32_t Y = 0;
};
TTenths readoutTenths(Extended worldX, Extended worldY);

}  // namespace fish
