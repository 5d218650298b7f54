#include "DimensionSketch.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace vintaler {

namespace {

// The part drawn: the rectangle B x A, the circle's plane at L, the circle's
// centre offset by x1, y1 and its radius, in the sketch's pixels.
constexpr double kB = 108;
constexpr double kA = 50;
constexpr double kL = 150;
constexpr double kX1 = 26;
constexpr double kY1 = 14;
constexpr double kR = 32;

// Oblique view: x to the right, y up, z drawn up and to the right at 0.42 of
// its length. The origin is placed so that the whole sketch, labels
// included, stands inside the picture with a margin all round.
QPointF View(double x, double y, double z) { return {77 + x + 0.42 * z, 158 - y - 0.42 * z}; }

QFont sketchFont() {
  QFont f;
  f.setPointSize(8);
  return f;
}

// One arrow head at `tip` of a line coming from `from`.
void Head(QPainter& p, QPointF from, QPointF tip) {
  const QLineF line(tip, from);
  for (double turn : {25.0, -25.0}) {
    QLineF head = line;
    head.setLength(6);
    head.setAngle(line.angle() + turn);
    p.drawLine(head);
  }
}

void Arrow(QPainter& p, const QLineF& line) {
  p.drawLine(line);
  Head(p, line.p1(), line.p2());
}

// A dimension: a line with a head at both ends.
void Dimension(QPainter& p, const QLineF& line) {
  Arrow(p, line);
  Head(p, line.p2(), line.p1());
}

}  // namespace

DimensionSketchLayout dimensionSketchLayout() {
  DimensionSketchLayout s;
  s.size = QSize(204, 250);
  // Axes through the origin (X0, Y0, Z0). Y stops above the B dimension; Z
  // ends inside the circle, which lies across it.
  s.axes = {QLineF(View(-kB / 2 - 16, 0, 0), View(kB / 2 + 22, 0, 0)), QLineF(View(0, -30, 0), View(0, 56, 0)),
            QLineF(View(0, 0, 0), View(0, 0, 200))};
  // B below the rectangle, A to its right, L along Z to the left of it.
  s.dimensions = {QLineF(View(-kB / 2, -kA / 2 - 10, 0), View(kB / 2, -kA / 2 - 10, 0)),
                  QLineF(View(kB / 2 + 10, -kA / 2, 0), View(kB / 2 + 10, kA / 2, 0)),
                  QLineF(View(-kB / 2 - 12, 0, 0), View(-kB / 2 - 12, 0, kL))};

  const QFontMetricsF metrics(sketchFont());
  const auto label = [&](const QString& text, QPointF baseline, bool axis = false) {
    s.labels.append({text, baseline, metrics.boundingRect(text).translated(baseline), axis});
  };
  const auto centredBelow = [&](const QString& text, QPointF at) {
    return at + QPointF(-metrics.horizontalAdvance(text) / 2, metrics.ascent() + 1);
  };
  label(QStringLiteral("X"), View(kB / 2 + 24, -4, 0), true);
  label(QStringLiteral("Y"), View(4, 50, 0), true);
  label(QStringLiteral("Z"), View(-12, 0, 200), true);
  label(QStringLiteral("X0,Y0,Z0"), View(3, -13, 0), true);
  // B under the middle of its line, A in the upper half beside its line,
  // clear of the X axis, and L beside the middle of its line.
  label(QStringLiteral("B"), centredBelow(QStringLiteral("B"), View(0, -kA / 2 - 10, 0)));
  label(QStringLiteral("A"), View(kB / 2 + 13, kA / 4 - 4, 0));
  label(QStringLiteral("L"), View(-kB / 2 - 26, 0, kL / 2));
  const QPointF centre = View(kX1, kY1, kL);
  label(QStringLiteral("R"), centre + QPointF(25, -25));
  label(QStringLiteral("x1"), View(kX1 / 2 - 5, -11, kL));
  label(QStringLiteral("y1"), View(kX1 + 4, kY1 / 2 - 6, kL));
  return s;
}

namespace {

// The sketch drawn afresh.
QPixmap drawSketch() {
  const DimensionSketchLayout s = dimensionSketchLayout();
  QPixmap pixmap(s.size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setFont(sketchFont());

  const QColor axis(30, 90, 200);
  const QColor part(31, 31, 31);
  const QColor dim(190, 30, 30);

  p.setPen(QPen(axis, 1, Qt::DashLine));
  for (const QLineF& a : s.axes) Arrow(p, a);

  // The rectangular section in Z = 0: side B along X, side A along Y.
  p.setPen(QPen(part, 1.5));
  const QPointF rect[4] = {View(-kB / 2, -kA / 2, 0), View(kB / 2, -kA / 2, 0), View(kB / 2, kA / 2, 0),
                           View(-kB / 2, kA / 2, 0)};
  p.drawPolygon(rect, 4);

  // The circular section in Z = L, centre offset by x1 and y1.
  const QPointF centre = View(kX1, kY1, kL);
  p.drawEllipse(centre, kR, kR);
  p.setPen(QPen(part, 0.6, Qt::DotLine));
  p.drawLine(View(0, 0, kL), View(kX1, 0, kL));
  p.drawLine(View(kX1, 0, kL), centre);

  // Extension lines from the rectangle's corners a little past B and A.
  p.setPen(QPen(dim, 0.6));
  for (double x : {-kB / 2, kB / 2}) p.drawLine(View(x, -kA / 2 - 2, 0), View(x, -kA / 2 - 13, 0));
  for (double y : {-kA / 2, kA / 2}) p.drawLine(View(kB / 2 + 2, y, 0), View(kB / 2 + 13, y, 0));
  p.setPen(dim);
  for (const QLineF& d : s.dimensions) Dimension(p, d);
  // The radius points from the centre at the circle: one head.
  Arrow(p, QLineF(centre, centre + QPointF(kR, -kR) / std::sqrt(2.0)));

  for (const DimensionSketchLayout::Label& l : s.labels) {
    p.setPen(l.axis ? axis : dim);
    p.drawText(l.baseline, l.text);
  }
  return pixmap;
}

}  // namespace

QPixmap dimensionSketch() {
  // Drawn once for every window while the application's font stays the
  // same: the pixmap is shared, not copied.
  static QString drawnWith;
  static QPixmap drawn;
  const QString font = sketchFont().key();
  if (drawn.isNull() || font != drawnWith) {
    drawn = drawSketch();
    drawnWith = font;
  }
  return drawn;
}

}  // namespace vintaler
