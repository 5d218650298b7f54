#include "FishView.h"

#include <cmath>
#include <limits>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"

namespace fish {

std::int32_t pixelOf(std::int64_t v) {
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) {
    throw ERangeError();
  }
  return static_cast<std::int32_t>(v);
}

void TViewMapping::setBounds(const TViewBounds& b) {
  MinX = b[kMinX];
  MaxX = b[kMaxX];
  MinY = b[kMinY];
  MaxY = b[kMaxY];
  MinZ = b[kMinZ];
  MaxZ = b[kMaxZ];
}

void TViewMapping::UpdateScale() {
  if (MaxX == MinX) {
    scaleX_ = scaleY_ = scaleZ_ = 0;
    return;
  }
  // A span too wide for the extended format (bounds near its limits) is an
  // overflow, not an infinity that would make the factor a silent 0.
  const auto span = [](Extended hi, Extended lo) { return checkFinite(hi - lo); };
  const std::int32_t smaller = Width > Height ? Height : Width;
  if (SpaceMode == TSpaceMode::_2D) {
    scaleZ_ = 0;
    const Extended m = smaller;
    scaleX_ = divide(m, span(MaxX, MinX));
    scaleY_ = divide(m, span(MaxY, MinY));
  } else {
    const Extended k = 0.75L * smaller;
    scaleZ_ = divide(k, span(MaxZ, MinZ));
    scaleX_ = divide(k, span(MaxX, MinX));
    scaleY_ = divide(k, span(MaxY, MinY));
  }
}

std::int32_t TViewMapping::WorldToScreenX(Extended x) const { return pixelOf(roundToInt64((x - MinX) * scaleX_)); }

std::int32_t TViewMapping::WorldToScreenY(Extended y) const {
  // Height - r in 128 bits: no 64-bit r can wrap it into the 32-bit range.
  const __int128 row = static_cast<__int128>(Height) - roundToInt64((y - MinY) * scaleY_);
  if (row < std::numeric_limits<std::int32_t>::min() || row > std::numeric_limits<std::int32_t>::max()) {
    throw ERangeError();
  }
  return static_cast<std::int32_t>(row);
}

std::int32_t TViewMapping::DepthOffset(Extended z) const { return pixelOf(roundToInt64((z - MinZ) * 0.5L * scaleZ_)); }

TPixel TViewMapping::project2D(Extended x, Extended y) const {
  const std::int32_t column = WorldToScreenX(x);
  return {column, WorldToScreenY(y)};
}

TPixel TViewMapping::project3D(Extended x, Extended y, Extended z) const {
  const std::int64_t d = DepthOffset(z - Z0);
  const std::int64_t row = static_cast<std::int64_t>(WorldToScreenY(y)) - d;
  const std::int64_t column = static_cast<std::int64_t>(WorldToScreenX(x)) + d;
  return {pixelOf(column), pixelOf(row)};
}

Extended TViewMapping::ScreenToWorldX(std::int32_t column) const {
  if (scaleX_ == 0) return 0;
  return checkFinite(column / scaleX_ + MinX);
}

Extended TViewMapping::ScreenToWorldY(std::int32_t row) const {
  if (scaleY_ == 0) return 0;
  return checkFinite(static_cast<Extended>(Height - static_cast<std::int64_t>(row)) / scaleY_ + MinY);
}

TScrollSteps scrollSteps(const TViewBounds& b) {
  return {std::fabs((b[kMaxX] - b[kMinX]) * 0.05L), std::fabs((b[kMaxY] - b[kMinY]) * 0.05L)};
}

TViewBounds scrolledX(TViewBounds b, Extended d) {
  b[kMinX] += d;
  b[kMaxX] += d;
  return b;
}

TViewBounds scrolledY(TViewBounds b, Extended d) {
  b[kMinY] += d;
  b[kMaxY] += d;
  return b;
}

TViewBounds zoomed(TViewBounds b, Extended d) {
  b[kMinX] -= d;
  b[kMaxX] += d;
  b[kMinY] -= d;
  b[kMaxY] += d;
  return b;
}

TViewBounds moved(const TViewBounds& b, TViewMove move) {
  const TScrollSteps step = scrollSteps(b);
  switch (move) {
    case TViewMove::Left: return scrolledX(b, step.X);
    case TViewMove::Right: return scrolledX(b, -step.X);
    case TViewMove::Up: return scrolledY(b, -step.Y);
    case TViewMove::Down: return scrolledY(b, step.Y);
    case TViewMove::In: return zoomed(b, -0.5L * step.Y);
    case TViewMove::Out: return zoomed(b, 0.5L * step.Y);
  }
  return b;
}

TViewBounds modelWindow(const TExtents3D& e) { return {e.MinX, e.MaxX, e.MinY, e.MaxY, e.MinZ, e.MaxZ}; }

TViewBounds squareWindow(const TViewBounds& current, const TExtents2D& e) {
  const Extended lo = e.MinY < e.MinX ? e.MinY : e.MinX;
  const Extended hi = e.MaxY > e.MaxX ? e.MaxY : e.MaxX;
  return {lo, hi, lo, hi, current[kMinZ], current[kMaxZ]};
}

TTenths readoutTenths(Extended worldX, Extended worldY) {
  const std::int32_t x = pixelOf(roundToInt64(worldX * 10));
  return {x, pixelOf(roundToInt64(worldY * 10))};
}

}  // namespace fish
