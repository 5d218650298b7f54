// The sketch on the "Схема" page: what B, A, R, L, X1 and Y1 measure.
#pragma once

#include <QPixmap>

namespace vintaler {

// The rectangle B x A centred on the origin, the oblique Z axis, and the
// circle of radius R at distance L with its centre offset by x1 and y1.
QPixmap dimensionSketch();

}  // namespace vintaler
