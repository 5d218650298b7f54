// The sketch on the "Схема" page: what B, A, R, L, X1 and Y1 measure.
#pragma once

#include <QLineF>
#include <QList>
#include <QPixmap>
#include <QRectF>
#include <QString>

namespace vintaler {

// Where the parts of the sketch stand, in its pixels.
struct DimensionSketchLayout {
  struct Label {
    QString text;
    QPointF baseline;   // left end of the text's base line
    QRectF box;         // the text's bounding rectangle
    bool axis = false;  // names an axis or the origin (drawn in the axes' colour)
  };
  QSize size;
  QList<QLineF> axes;        // X, Y, Z: from the tail to the arrow head
  QList<QLineF> dimensions;  // B, A, L: a head at both ends
  QList<Label> labels;
};

// The layout the picture is drawn from: every label inside it with a margin,
// none across an axis or another label.
DimensionSketchLayout dimensionSketchLayout();

// The rectangle B x A centred on the origin, the oblique Z axis, and the
// circle of radius R at distance L with its centre offset by x1 and y1.
QPixmap dimensionSketch();

}  // namespace vintaler
