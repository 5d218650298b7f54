#include "FishView.h"

#include <limits>

#include "FishErrors.h"
#include "FishMath.h"

namespace fish {

std::int32_t PixelOf(std::int64_t v) {
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) {
    throw ERangeError();
  }
  return static_cast<std::int32_t>(v);
}

void TViewMapping::UpdateScale() {
  if (MaxX == MinX) {
    scaleX_ = scaleY_ = scaleZ_ = 0;
    return;
  }
  const std::int32_t smaller = Width > Height ? Height : Width;
  if (SpaceMode == TSpaceMode::_2D) {
    scaleZ_ = 0;
    const Extended m = smaller;
    scaleX_ = divide(m, MaxX - MinX);
    scaleY_ = divide(m, MaxY - MinY);
  } else {
    const Extended k = 0.75L * smaller;
    scaleZ_ = divide(k, MaxZ - MinZ);
    scaleX_ = divide(k, MaxX - MinX);
    scaleY_ = divide(k, MaxY - MinY);
  }
}

std::int32_t TViewMapping::WorldToScreenX(Extended x) const { return PixelOf(roundToInt64((x - MinX) * scaleX_)); }

std::int32_t TViewMapping::WorldToScreenY(Extended y) const {
  // Height - r in 128 bits: no 64-bit r can wrap it into the 32-bit range.
  const __int128 row = static_cast<__int128>(Height) - roundToInt64((y - MinY) * scaleY_);
  if (row < std::numeric_limits<std::int32_t>::min() || row > std::numeric_limits<std::int32_t>::max()) {
    throw ERangeError();
  }
  return static_cast<std::int32_t>(row);
}

std::int32_t TViewMapping::DepthOffset(Extended z) const { return PixelOf(roundToInt64((z - MinZ) * 0.5L * scaleZ_)); }

TPixel TViewMapping::project2D(Extended x, Extended y) const {
  const std::int32_t column = WorldToScreenX(x);
  return {column, WorldToScreenY(y)};
}

TPixel TViewMapping::project3D(Extended x, Extended y, Extended z) const {
  const std::int64_t d = DepthOffset(z - Z0);
  const std::int64_t row = static_cast<std::int64_t>(WorldToScreenY(y)) - d;
  const std::int64_t column = static_cast<std::int64_t>(WorldToScreenX(x)) + d;
  return {PixelOf(column), PixelOf(row)};
}

Extended TViewMapping::ScreenToWorldX(std::int32_t column) const {
  if (scaleX_ == 0) return 0;
  return checkFinite(column / scaleX_ + MinX);
}

Extended TViewMapping::ScreenToWorldY(std::int32_t row) const {
  if (scaleY_ == 0) return 0;
  return checkFinite(static_cast<Extended>(Height - static_cast<std::int64_t>(row)) / scaleY_ + MinY);
}

}  // namespace fish
