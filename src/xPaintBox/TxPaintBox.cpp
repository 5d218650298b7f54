#include "TxPaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QTextOption>
#include <algorithm>
#include <cstring>
#include <exception>

#include "fishApi/core/FishErrors.h"

TxPaintBox::TxPaintBox(QWidget* parent) : QWidget(parent) {
  // Initial window: 0..100 on every axis, plane mode. The first scale is taken
  // while the control has no size, so every factor starts at 0.
  map_.UpdateScale();
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // A drawing takes the keyboard focus when clicked (or tabbed to), so that
  // the window's commands (Copy above all) act on it.
  setFocusPolicy(Qt::StrongFocus);
}

TxPaintBox::~TxPaintBox() { endPainting(); }

void TxPaintBox::setCanvasMode(TCanvasMode mode) {
  endPainting();
  canvasMode_ = mode;
}

void TxPaintBox::setPenColor(const QColor& c) {
  endPainting();
  penColor_ = c;
}

const fish::TViewMapping& TxPaintBox::mapping() const {
  // The mapping always works with the control's current size.
  map_.Width = width();
  map_.Height = height();
  return map_;
}

void TxPaintBox::UpdateScale() {
  forgetMappedPoints();
  map_.Width = width();
  map_.Height = height();
  map_.UpdateScale();
}

bool TxPaintBox::tryUpdateScale() {
  try {
    UpdateScale();
    return true;
  } catch (const fish::EFishError&) {
    return false;
  }
}

void TxPaintBox::ensureCanvas() const {
  if (canvas_.size() != size()) {
    endPainting();
    canvas_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas_.fill(Qt::white);
  }
}

void TxPaintBox::endPainting() const {
  if (painter_) {
    painter_->end();
    painter_.reset();
    painterTarget_ = nullptr;
  }
  hasLastLine_ = false;
}

QImage& TxPaintBox::drawImage() {
  if (canvasMode_ == cmBitMap) return bitmap_;
  ensureCanvas();
  return canvas_;
}

QPoint& TxPaintBox::drawPen() { return canvasMode_ == cmBitMap ? bitmapPen_ : canvasPen_; }

QPainter& TxPaintBox::drawPainter() {
  QImage& target = drawImage();
  if (!painter_ || painterTarget_ != &target) {
    endPainting();
    painter_ = std::make_unique<QPainter>(&target);
    painterTarget_ = &target;
    // A 1-pixel cosmetic pen without antialiasing: the lines a fabricator
    // sees are exactly the pixels the mapping names.
    painter_->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(canvasMode_ == cmBitMap ? QColor(Qt::black) : penColor_);
    pen.setWidth(1);
    pen.setCosmetic(true);
    painter_->setPen(pen);
    opaquePen_ = pen.color().alpha() == 255;
    penRgb_ = pen.color().rgb();
    hasLastLine_ = false;
  }
  return *painter_;
}

void TxPaintBox::changed() {
  // One repaint request per picture, however many lines it has.
  if (!inPaint_ && !updateRequested_) {
    updateRequested_ = true;
    update();
  }
}

void TxPaintBox::invalidate() {
  stale_ = true;
  update();
}

void TxPaintBox::releaseCanvas() {
  if (canvas_.isNull() || !OnPaint) return;
  endPainting();
  canvas_ = QImage();
  stale_ = true;
}

void TxPaintBox::ClearView() {
  // A pass on the canvas makes the buffer current; one into the bitmap still
  // clears the canvas, which then has to be drawn again.
  stale_ = canvasMode_ == cmBitMap;
  ensureCanvas();
  if (painterTarget_ == &canvas_) endPainting();
  canvas_.fill(Qt::white);
  changed();
}

void TxPaintBox::movePen(const fish::TPixel& p) { drawPen() = QPoint(p.X, p.Y); }

void TxPaintBox::linePen(const fish::TPixel& p) {
  QPoint& pen = drawPen();
  const QPoint to(p.X, p.Y);
  const QImage& image = drawImage();
  if (!image.isNull() && !drawsNothingNew(image, pen, to)) {
    drawPainter().drawLine(pen, to);
    hasLastLine_ = true;
    lastFrom_ = pen;
    lastTo_ = to;
  }
  pen = to;
  if (canvasMode_ == cmCanvas) changed();
}

bool TxPaintBox::drawsNothingNew(const QImage& image, const QPoint& from, const QPoint& to) const {
  // Only what this painter drew on this image since it opened is known;
  // drawing again with an opaque pen sets the same pixels to the same colour.
  if (!painter_ || painterTarget_ != &image || !opaquePen_) return false;
  if (hasLastLine_ && from == lastFrom_ && to == lastTo_) return true;
  if (from != to) return false;
  // A 1-pixel cosmetic line of length zero sets exactly its pixel, in the
  // pen's colour, and nothing when the pixel is off the image.
  return !image.rect().contains(from) || image.pixel(from) == penRgb_;
}

TxPaintBox::Bits TxPaintBox::bitsOf(Extended v) {
  // The 80 bits of the x87 value; the type's padding is left out.
  Bits b;
  std::memcpy(&b.low, &v, sizeof b.low);
  std::memcpy(&b.high, reinterpret_cast<const char*>(&v) + sizeof b.low, sizeof b.high);
  return b;
}

fish::TPixel TxPaintBox::pixelOf(Extended x, Extended y, Extended z, bool oblique) const {
  if (mappedSize_ != size()) {
    forgetMappedPoints();
    mappedSize_ = size();
  }
  // The point is found by its bits: a value equal only as a number (0 and
  // -0) is mapped afresh.
  const MappedPoint wanted{bitsOf(x), bitsOf(y), oblique ? bitsOf(z) : Bits{}, oblique, {}};
  for (std::size_t i = 0; i < mappedCount_; ++i) {
    const MappedPoint& m = mapped_[i];
    if (m.x == wanted.x && m.y == wanted.y && m.z == wanted.z && m.oblique == oblique) return m.pixel;
  }
  const fish::TPixel pixel = oblique ? mapping().project3D(x, y, z) : mapping().project2D(x, y);
  mapped_[mappedNext_] = wanted;
  mapped_[mappedNext_].pixel = pixel;
  mappedNext_ = (mappedNext_ + 1) % mapped_.size();
  mappedCount_ = std::min(mappedCount_ + 1, mapped_.size());
  return pixel;
}

void TxPaintBox::drawPixelLine(const QPoint& from, const QPoint& to) {
  drawPen() = from;
  linePen({to.x(), to.y()});
}

void TxPaintBox::MoveTo2D(Extended x, Extended y) { movePen(pixelOf(x, y, 0, false)); }
void TxPaintBox::LineTo2D(Extended x, Extended y) { linePen(pixelOf(x, y, 0, false)); }
void TxPaintBox::MoveTo3D(Extended x, Extended y, Extended z) { movePen(pixelOf(x, y, z, true)); }
void TxPaintBox::LineTo3D(Extended x, Extended y, Extended z) { linePen(pixelOf(x, y, z, true)); }

fish::Extended TxPaintBox::ScreenToWorldX(int column) const { return mapping().ScreenToWorldX(column); }
fish::Extended TxPaintBox::ScreenToWorldY(int row) const { return mapping().ScreenToWorldY(row); }

void TxPaintBox::ResetBitmap() {
  if (painterTarget_ == &bitmap_) endPainting();
  bitmap_ = QImage(size(), QImage::Format_RGB32);
  bitmap_.fill(Qt::white);
}

const QImage& TxPaintBox::Bitmap() const {
  if (painterTarget_ == &bitmap_) endPainting();
  return bitmap_;
}

const QImage& TxPaintBox::canvasImage() const {
  ensureCanvas();
  if (painterTarget_ == &canvas_) endPainting();
  return canvas_;
}

void TxPaintBox::showMessage(const QString& text) {
  ensureCanvas();
  if (painterTarget_ == &canvas_) endPainting();
  QPainter p(&canvas_);
  p.setPen(QColor(160, 0, 0));
  QFont f = font();
  f.setBold(true);
  p.setFont(f);
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  option.setWrapMode(QTextOption::WordWrap);
  p.drawText(QRectF(8, 8, qMax(10, width() - 16), qMax(10, height() - 16)), text, option);
  changed();
}

QImage TxPaintBox::renderBitmap(const std::function<void()>& draw) {
  setCanvasMode(cmBitMap);
  ResetBitmap();
  try {
    draw();
  } catch (...) {
    setCanvasMode(cmCanvas);
    redrawIfStale();
    throw;
  }
  QImage image = Bitmap().copy();
  setCanvasMode(cmCanvas);
  redrawIfStale();
  return image;
}

void TxPaintBox::redrawIfStale() {
  if (!stale_ || !OnPaint) return;
  // Cleared first: a handler that fails leaves its message on the buffer,
  // and repaints must not retry it in a loop.
  stale_ = false;
  inPaint_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{inPaint_};
  OnPaint(this);
}

void TxPaintBox::paintEvent(QPaintEvent*) {
  updateRequested_ = false;
  ensureCanvas();
  try {
    redrawIfStale();
  } catch (const std::exception& e) {
    // The handler shows the engine's failures itself. Nothing may leave a
    // paint event, so anything else (memory running out) is written over
    // the view rather than dropped.
    ClearView();
    showMessage(QString::fromUtf8(e.what()));
  }
  const QImage& image = canvasImage();
  QPainter p(this);
  p.drawImage(0, 0, image);
}

void TxPaintBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  stale_ = true;
  ensureCanvas();
}

void TxPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QWidget::mouseDoubleClickEvent(event);
  if (OnDblClick) OnDblClick(this);
}

void TxPaintBox::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (OnMouseMove) {
    const QPoint p = event->position().toPoint();
    OnMouseMove(this, p.x(), p.y());
  }
}

void TxPaintBox::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TxPaintBox::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (OnMouseLeave) OnMouseLeave(this);
}
