#include "TxPaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QTextOption>
#include <exception>

#include "fishApi/FishErrors.h"

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
  if (!drawImage().isNull()) drawPainter().drawLine(pen, to);
  pen = to;
  if (canvasMode_ == cmCanvas) changed();
}

void TxPaintBox::MoveTo2D(Extended x, Extended y) { movePen(mapping().project2D(x, y)); }
void TxPaintBox::LineTo2D(Extended x, Extended y) { linePen(mapping().project2D(x, y)); }
void TxPaintBox::MoveTo3D(Extended x, Extended y, Extended z) { movePen(mapping().project3D(x, y, z)); }
void TxPaintBox::LineTo3D(Extended x, Extended y, Extended z) { linePen(mapping().project3D(x, y, z)); }

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
