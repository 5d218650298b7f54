#include "TPatternPicture.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "patternPaint/PatternPaint.h"

namespace vintaler {

namespace {
constexpr int kMargin = 8;  // pixels between the pattern's box and the edge
}

TPatternPicture::TPatternPicture(QWidget* parent) : QWidget(parent) {
  setMinimumSize(sizeHint());
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

void TPatternPicture::showPattern(fish::TFlatPattern pattern) {
  pattern_ = std::move(pattern);
  pattern_->Labels.clear();
  for (fish::TPatternLine& line : pattern_->BendLines) line.Angle.reset();
  numberAt_.clear();
  for (fish::TPatternPiece& piece : pattern_->Pieces) {
    if (!piece.Name.empty()) numberAt_.push_back(piece.NameAt);
    piece.Name.clear();
  }
  if (numberAt_.size() != pattern_->Pieces.size()) numberAt_.clear();
  message_.clear();
  update();
}

void TPatternPicture::showMessage(const QString& message) {
  pattern_.reset();
  numberAt_.clear();
  message_ = message;
  update();
}

void TPatternPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const QRectF inside = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
  if (!pattern_) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(inside, Qt::AlignCenter | Qt::TextWordWrap, message_);
    return;
  }
  const fish::TExtents2D& box = pattern_->Box;
  const double width = static_cast<double>(box.MaxX - box.MinX);
  const double height = static_cast<double>(box.MaxY - box.MinY);
  if (pattern_->Pieces.empty() || !(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height)) {
    return;
  }
  // The scale that fits the box, and the box's centre at the picture's.
  const double dotsPerMm = std::min(inside.width() / width, inside.height() / height);
  if (!(dotsPerMm > 0) || !std::isfinite(dotsPerMm)) return;
  const fish::TPoint2D centre{(box.MinX + box.MaxX) / 2, (box.MinY + box.MaxY) / 2};
  paint::MmMap map;
  map.corner = {centre.X - inside.width() / 2 / dotsPerMm, centre.Y + inside.height() / 2 / dotsPerMm};
  map.at = inside.topLeft();
  map.dotsPerMm = dotsPerMm;
  map.minPenDots = 1;
  paint::paintPattern(painter, *pattern_, map);
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(QColor(200, 30, 30));
  for (std::size_t i = 0; i < numberAt_.size(); ++i) {
    // On a white patch: the number stays legible over the bend lines.
    const QString number = QString::number(i + 1);
    QRectF patch = painter.fontMetrics().boundingRect(number).adjusted(-2, 0, 2, 0);
    patch.moveCenter(map(numberAt_[i]));
    painter.fillRect(patch, Qt::white);
    painter.drawText(patch, Qt::AlignCenter, number);
  }
}

}  // namespace vintaler
