// The drawing surface of a printed view: the engine draws the view's world
// window once more, with the view's own mapping (its size, window and mode),
// and the lines are kept as they fall on the report's picture frame, in the
// frame's units (834 x 594) but without rounding to the screen's pixels. The
// report draws them at the printer's resolution, so a line stays one
// continuous printer pixel wide however much the view is shrunk or enlarged.
#pragma once

#include <QLineF>
#include <QPointF>
#include <QSizeF>
#include <vector>

#include "fishApi/view/FishDraw.h"
#include "fishApi/view/FishView.h"

namespace vintaler {

class ReportSurface : public fish::TDrawSurface {
 public:
  // `view`: the mapping of the view as shown (its Width and Height are the
  // view's pixel size); `frame`: the picture frame the view is stretched
  // onto, with separate horizontal and vertical factors.
  ReportSurface(const fish::TViewMapping& view, const QSizeF& frame);

  void UpdateScale() override;
  void ClearView() override;
  void MoveTo2D(fish::Extended x, fish::Extended y) override;
  void LineTo2D(fish::Extended x, fish::Extended y) override;
  void MoveTo3D(fish::Extended x, fish::Extended y, fish::Extended z) override;
  void LineTo3D(fish::Extended x, fish::Extended y, fish::Extended z) override;

  // The lines drawn since the last ClearView, in frame units.
  const std::vector<QLineF>& lines() const { return lines_; }

 private:
  // A view pixel position (not rounded) carried onto the frame.
  QPointF onFrame(fish::Extended column, fish::Extended row) const;
  QPointF point2D(fish::Extended x, fish::Extended y) const;
  QPointF point3D(fish::Extended x, fish::Extended y, fish::Extended z) const;

  fish::TViewMapping map_;
  double factorX_ = 0;
  double factorY_ = 0;
  QPointF pen_;
  std::vector<QLineF> lines_;
};

}  // namespace vintaler
