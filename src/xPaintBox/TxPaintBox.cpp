#include "TxPaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QTextOption>

TxPaintBox::TxPaintBox(QWidget* parent) : QWidget(parent) {
  // Initial window: 0..100 on every axis, plane mode. The first scale is taken
  // while the control has no size, so every factor starts at 0.
  map_.UpdateScale();
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TxPaintBox::~TxPaintBox() { endPainting(); }

void TxPaintBox::setBounds(Extended minX, Extended maxX, Extended minY, Extended maxY, Extended minZ, Extended maxZ) {
  map_.MinX = minX;
  map_.MaxX = maxX;
  map_.MinY = minY;
  map_.MaxY = maxY;
  map_.MinZ = minZ;
  map_.MaxZ = maxZ;
}

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

void TxPaintBox::ClearView() {
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

void TxPaintBox::paintEvent(QPaintEvent*) {
  updateRequested_ = false;
  ensureCanvas();
  if (OnPaint) {
    inPaint_ = true;
    try {
      OnPaint(this);
    } catch (...) {
      // The handler reports its own failures; nothing may leave a paint event.
    }
    inPaint_ = false;
  }
  const QImage& image = canvasImage();
  QPainter p(this);
  p.drawImage(0, 0, image);
}

void TxPaintBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
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
