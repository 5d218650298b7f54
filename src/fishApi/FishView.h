// The world window of a drawing surface and its mapping to pixels.
//
// Plane mode: x to the right, y up from the bottom edge, one scale per axis.
// 3-D mode: an oblique projection in which depth (z) is drawn at half scale
// along the diagonal rising to the right at 45 degrees.
// Every pixel is a signed 32-bit integer; a value beyond that is a range
// error, never a wrapped coordinate.
#pragma once

#include <cstdint>

#include "FishTypes.h"

namespace fish {

enum class TSpaceMode { _2D, _3D };

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
std::int32_t PixelOf(std::int64_t v);

}  // namespace fish
