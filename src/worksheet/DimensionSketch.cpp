#include "DimensionSketch.h"

#include <QPainter>
#include <QPainterPath>

namespace vintaler {

namespace {

// Oblique view: x to the right, y up, z drawn up and to the right at half length.
QPointF View(double x, double y, double z) { return {58 + x + 0.42 * z, 206 - y - 0.42 * z}; }

void Arrow(QPainter& p, QPointF from, QPointF to) {
  p.drawLine(from, to);
  const QLineF line(to, from);
  for (double turn : {25.0, -25.0}) {
    QLineF head = line;
    head.setLength(6);
    head.setAngle(line.angle() + turn);
    p.drawLine(head);
  }
}

void Label(QPainter& p, QPointF at, const QString& text) { p.drawText(at, text); }

}  // namespace

QPixmap dimensionSketch() {
  QPixmap pixmap(204, 250);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QFont f = p.font();
  f.setPointSize(8);
  p.setFont(f);

  const QColor axis(30, 90, 200);
  const QColor part(31, 31, 31);
  const QColor dim(190, 30, 30);

  // Axes through the origin (X0, Y0, Z0).
  p.setPen(QPen(axis, 1, Qt::DashLine));
  Arrow(p, View(-56, 0, 0), View(70, 0, 0));
  Arrow(p, View(0, -36, 0), View(0, 56, 0));
  Arrow(p, View(0, 0, 0), View(0, 0, 200));
  p.setPen(axis);
  Label(p, View(72, -4, 0), QStringLiteral("X"));
  Label(p, View(-10, 54, 0), QStringLiteral("Y"));
  Label(p, View(-10, 0, 200), QStringLiteral("Z"));
  Label(p, View(3, -13, 0), QStringLiteral("X0,Y0,Z0"));

  // The rectangular section in Z = 0: side B along X, side A along Y.
  p.setPen(QPen(part, 1.5));
  const double b = 80;
  const double a = 48;
  const QPointF rect[4] = {View(-b / 2, -a / 2, 0), View(b / 2, -a / 2, 0), View(b / 2, a / 2, 0),
                           View(-b / 2, a / 2, 0)};
  p.drawPolygon(rect, 4);

  // The circular section in Z = L, centre offset by x1 and y1.
  const double x1 = 26;
  const double y1 = 14;
  const double L = 150;
  const QPointF centre = View(x1, y1, L);
  p.drawEllipse(centre, 30, 30);
  p.setPen(QPen(part, 0.6, Qt::DotLine));
  p.drawLine(View(0, 0, L), View(x1, 0, L));
  p.drawLine(View(x1, 0, L), centre);

  p.setPen(dim);
  Arrow(p, View(-b / 2, -a / 2 - 10, 0), View(b / 2, -a / 2 - 10, 0));
  Label(p, View(-4, -a / 2 - 24, 0), QStringLiteral("B"));
  Arrow(p, View(b / 2 + 10, -a / 2, 0), View(b / 2 + 10, a / 2, 0));
  Label(p, View(b / 2 + 14, -2, 0), QStringLiteral("A"));
  Arrow(p, centre, centre + QPointF(21, -21));
  Label(p, centre + QPointF(24, -24), QStringLiteral("R"));
  Label(p, View(x1 / 2 - 6, -12, L), QStringLiteral("x1"));
  Label(p, View(x1 + 4, y1 / 2 - 6, L), QStringLiteral("y1"));
  Arrow(p, View(-b / 2 - 12, 0, 0), View(-b / 2 - 12, 0, L));
  Label(p, View(-b / 2 - 26, 0, L / 2), QStringLiteral("L"));
  return pixmap;
}

}  // namespace vintaler
