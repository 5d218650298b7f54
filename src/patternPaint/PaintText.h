// The texts of the drawings: their font at a height in millimetres, their
// measures, and a title set in lines to fit a box.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QString>
#include <QStringList>

class QPainter;

namespace vintaler::paint {

// A font `heightMm` high on a drawing of `dotsPerMm` device units per
// millimetre (the SVG's units are millimetres whatever its resolution).
QFont fontOf(const QPainter& painter, double heightMm, double dotsPerMm);

// The texts' measures in millimetres: the font measured once at a large
// size, where hinting does not round its advances, and taken in proportion.
class TextMeasure {
 public:
  static const TextMeasure& get() {
    static const TextMeasure measure;
    return measure;
  }
  double width(const QString& text, double heightMm) const {
    return Metrics.horizontalAdvance(text) * heightMm / kSize;
  }
  double ascent(double heightMm) const { return Metrics.ascent() * heightMm / kSize; }
  double descent(double heightMm) const { return Metrics.descent() * heightMm / kSize; }
  double capHeight(double heightMm) const { return CapHeight * heightMm / kSize; }
  double lineSpacing(double heightMm) const { return Metrics.lineSpacing() * heightMm / kSize; }

 private:
  static constexpr int kSize = 1000;
  static QFont measured() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(kSize);
    return font;
  }
  TextMeasure() : Metrics(measured()), CapHeight(Metrics.capHeight()) {}
  QFontMetricsF Metrics;
  // Qt measures the cap height from a glyph's outline every time it is
  // asked: asked once here, for every name on a drawing.
  double CapHeight;
};

// A text set in lines within a box: the size and the lines.
struct Fitted {
  double heightMm = 0;
  QStringList lines;
};

// The largest size up to `maxHeightMm`, in steps of 5 %, at which the text's
// lines fit the box of `widthMm` x `heightMm`. Below a fifth of that size
// the lines that still do not fit are cut short with an ellipsis.
Fitted fitText(const QString& text, double widthMm, double heightMm, double maxHeightMm);

// One line of text standing on `baseline` (device units).
void paintText(QPainter& painter, QPointF baseline, double heightMm, double dotsPerMm, const QString& text);

// A fitted text's lines from the top of its box, `topMm` below the page's
// top edge and `leftMm` from its left; one line that fits at the full size
// stands on `oneLineBaselineMm` instead, where a single line always stood.
void paintFitted(QPainter& painter, const Fitted& f, double leftMm, double topMm, double oneLineBaselineMm,
                 double fullHeightMm, double dpm);

}  // namespace vintaler::paint
