#include "ReportSurface.h"

namespace vintaler {

ReportSurface::ReportSurface(const fish::TViewMapping& view, const QSizeF& frame) : map_(view) {
  // A view that was never laid out has no pixels to stretch: nothing shows.
  if (view.Width > 0) factorX_ = frame.width() / view.Width;
  if (view.Height > 0) factorY_ = frame.height() / view.Height;
}

void ReportSurface::UpdateScale() { map_.UpdateScale(); }

void ReportSurface::ClearView() { lines_.clear(); }

QPointF ReportSurface::onFrame(fish::Extended column, fish::Extended row) const {
  return {static_cast<double>(column) * factorX_, static_cast<double>(row) * factorY_};
}

// The screen's mapping is asked too, for its checks alone: a point the view
// cannot show (beyond its pixel range) fails the print the same way.
QPointF ReportSurface::point2D(fish::Extended x, fish::Extended y) const {
  (void)map_.project2D(x, y);
  return onFrame((x - map_.MinX) * map_.ScaleX(), map_.Height - (y - map_.MinY) * map_.ScaleY());
}

QPointF ReportSurface::point3D(fish::Extended x, fish::Extended y, fish::Extended z) const {
  (void)map_.project3D(x, y, z);
  const fish::Extended depth = (z - map_.Z0 - map_.MinZ) * 0.5L * map_.ScaleZ();
  return onFrame((x - map_.MinX) * map_.ScaleX() + depth, map_.Height - (y - map_.MinY) * map_.ScaleY() - depth);
}

void ReportSurface::MoveTo2D(fish::Extended x, fish::Extended y) { pen_ = point2D(x, y); }

void ReportSurface::LineTo2D(fish::Extended x, fish::Extended y) {
  const QPointF to = point2D(x, y);
  lines_.emplace_back(pen_, to);
  pen_ = to;
}

void ReportSurface::MoveTo3D(fish::Extended x, fish::Extended y, fish::Extended z) { pen_ = point3D(x, y, z); }

void ReportSurface::LineTo3D(fish::Extended x, fish::Extended y, fish::Extended z) {
  const QPointF to = point3D(x, y, z);
  lines_.emplace_back(pen_, to);
  pen_ = to;
}

}  // namespace vintaler
