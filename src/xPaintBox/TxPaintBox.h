// A drawing surface: a world window mapped to pixels, in plane or oblique 3-D
// mode, drawn into the widget's own back-buffer image (cmCanvas) or into an
// off-screen bitmap of the widget's size (cmBitMap) for printing and copying.
//
// The back buffer holds the last picture drawn. Qt's paint requests show it
// as it is; OnPaint (whose handler redraws the whole view through the engine)
// is raised only when the buffer is stale: never drawn, resized, or
// invalidated by the owner because what it shows has changed. Drawing a
// picture therefore costs one engine pass, not one for the drawing and
// another for the repaint it asks for.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "fishApi/view/FishDraw.h"
#include "fishApi/view/FishView.h"

class TxPaintBox : public QWidget, public fish::TDrawSurface {
  Q_OBJECT

 public:
  enum TCanvasMode { cmCanvas, cmBitMap };
  using Extended = fish::Extended;

  explicit TxPaintBox(QWidget* parent = nullptr);
  ~TxPaintBox() override;

  // Setting a property only stores it: callers run UpdateScale and redraw.
  fish::TSpaceMode SpaceMode() const { return map_.SpaceMode; }
  void setSpaceMode(fish::TSpaceMode m) {
    map_.SpaceMode = m;
    forgetMappedPoints();
  }
  Extended MinX() const { return map_.MinX; }
  Extended MaxX() const { return map_.MaxX; }
  Extended MinY() const { return map_.MinY; }
  Extended MaxY() const { return map_.MaxY; }
  Extended MinZ() const { return map_.MinZ; }
  Extended MaxZ() const { return map_.MaxZ; }
  Extended X0() const { return map_.X0; }
  Extended Y0() const { return map_.Y0; }
  Extended Z0() const { return map_.Z0; }
  void setMinX(Extended v) { setField(&fish::TViewMapping::MinX, v); }
  void setMaxX(Extended v) { setField(&fish::TViewMapping::MaxX, v); }
  void setMinY(Extended v) { setField(&fish::TViewMapping::MinY, v); }
  void setMaxY(Extended v) { setField(&fish::TViewMapping::MaxY, v); }
  void setMinZ(Extended v) { setField(&fish::TViewMapping::MinZ, v); }
  void setMaxZ(Extended v) { setField(&fish::TViewMapping::MaxZ, v); }
  void setX0(Extended v) { setField(&fish::TViewMapping::X0, v); }
  void setY0(Extended v) { setField(&fish::TViewMapping::Y0, v); }
  void setZ0(Extended v) { setField(&fish::TViewMapping::Z0, v); }
  // All six bounds at once: MinX, MaxX, MinY, MaxY, MinZ, MaxZ.
  fish::TViewBounds bounds() const { return map_.bounds(); }
  void setBounds(const fish::TViewBounds& b) {
    map_.setBounds(b);
    forgetMappedPoints();
  }

  TCanvasMode CanvasMode() const { return canvasMode_; }
  void setCanvasMode(TCanvasMode mode);

  // Pen colour of the widget's own canvas (the bitmap's pen stays black).
  QColor penColor() const { return penColor_; }
  void setPenColor(const QColor& c);

  Extended ScaleX() const { return map_.ScaleX(); }
  Extended ScaleY() const { return map_.ScaleY(); }
  Extended ScaleZ() const { return map_.ScaleZ(); }

  // fish::TDrawSurface
  void UpdateScale() override;
  // UpdateScale for a window whose failure is shown elsewhere (on the view,
  // by its redraw): false instead of the engine's error.
  bool tryUpdateScale();
  void ClearView() override;
  void MoveTo2D(Extended x, Extended y) override;
  void LineTo2D(Extended x, Extended y) override;
  void MoveTo3D(Extended x, Extended y, Extended z) override;
  void LineTo3D(Extended x, Extended y, Extended z) override;
  // A line between two pixels of the current mapping, as a MoveTo to the
  // first and a LineTo to the second draw it: for a picture kept as pixels
  // and drawn again.
  void drawPixelLine(const QPoint& from, const QPoint& to);

  // The world window and scale factors as of the last UpdateScale, at the
  // control's current size.
  const fish::TViewMapping& mapping() const;

  Extended ScreenToWorldX(int column) const;
  Extended ScreenToWorldY(int row) const;

  // A new white bitmap of the widget's current size.
  void ResetBitmap();
  const QImage& Bitmap() const;

  // The view drawn by `draw` into a new bitmap (black 1-pixel lines on
  // white, the widget's size), which is returned. The surface draws on its
  // canvas again afterwards, also when `draw` throws; the canvas, which the
  // pass cleared, is then drawn again through OnPaint.
  QImage renderBitmap(const std::function<void()>& draw);

  // The picture no longer matches what it shows: the next paint raises
  // OnPaint to draw it afresh.
  void invalidate();
  bool isStale() const { return stale_; }
  // The canvas given back to the system, for a view nobody is looking at:
  // the next paint makes a fresh one and raises OnPaint to draw it. Only for
  // a surface whose OnPaint draws the whole picture.
  void releaseCanvas();
  bool holdsCanvas() const { return !canvas_.isNull(); }

  // The widget's own canvas: what the screen shows.
  const QImage& canvasImage() const;

  // Writes a message over the (already cleared) view, for a redraw that failed.
  void showMessage(const QString& text);

  std::function<void(TxPaintBox*)> OnPaint;
  std::function<void(TxPaintBox*)> OnDblClick;
  std::function<void(TxPaintBox*, int x, int y)> OnMouseMove;
  std::function<void(TxPaintBox*)> OnMouseEnter;
  std::function<void(TxPaintBox*)> OnMouseLeave;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage& drawImage();
  QPoint& drawPen();
  QPainter& drawPainter();
  void ensureCanvas() const;
  void endPainting() const;
  void changed();
  // Raises OnPaint now if the canvas is stale.
  void redrawIfStale();
  // The pixel of a world point (z unused in plane mode), looked up among the
  // last points mapped with the same mapping before it is computed: the
  // lines of a picture share their ends, so each point is mapped once.
  fish::TPixel pixelOf(Extended x, Extended y, Extended z, bool oblique) const;
  // Stores one field of the window; the points mapped with the old one are
  // forgotten.
  void setField(Extended fish::TViewMapping::*field, Extended v) {
    map_.*field = v;
    forgetMappedPoints();
  }
  void forgetMappedPoints() const { mappedCount_ = mappedNext_ = 0; }
  void movePen(const fish::TPixel& p);
  void linePen(const fish::TPixel& p);
  // True if the line from `from` to `to` would change no pixel of `image`;
  // linePen then skips it. Such a line is an exact repeat of the last line
  // drawn, or a line collapsed to a pixel already in the pen's colour (or off
  // the image). With an opaque pen the picture is the same; a dense
  // development repeats most of its lines.
  bool drawsNothingNew(const QImage& image, const QPoint& from, const QPoint& to) const;

  mutable fish::TViewMapping map_;
  TCanvasMode canvasMode_ = cmCanvas;
  QColor penColor_ = Qt::black;

  mutable QImage canvas_;
  mutable QImage bitmap_;
  QPoint canvasPen_;
  QPoint bitmapPen_;
  // One painter stays open on the image being drawn during a pass, and is
  // closed before the image is shown, handed out or resized.
  mutable std::unique_ptr<QPainter> painter_;
  mutable QImage* painterTarget_ = nullptr;
  // The open painter's pen is opaque (its colour as the image stores it),
  // and the last line it drew, if any.
  bool opaquePen_ = false;
  QRgb penRgb_ = 0;
  mutable bool hasLastLine_ = false;
  QPoint lastFrom_;
  QPoint lastTo_;

  struct Bits {
    std::uint64_t low = 0;
    std::uint16_t high = 0;
    bool operator==(const Bits&) const = default;
  };
  static Bits bitsOf(Extended v);
  struct MappedPoint {
    Bits x, y, z;
    bool oblique = false;
    fish::TPixel pixel;
  };
  mutable std::array<MappedPoint, 4> mapped_{};
  mutable std::size_t mappedCount_ = 0;  // valid entries, forgotten when the mapping changes
  mutable std::size_t mappedNext_ = 0;   // the entry replaced next
  mutable QSize mappedSize_;             // the control's size they were mapped at
  bool inPaint_ = false;
  bool updateRequested_ = false;
  bool stale_ = true;
};
