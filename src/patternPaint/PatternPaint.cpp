#include "PatternPaint.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "fishApi/NumText.h"

namespace vintaler::paint {

namespace {

constexpr double kCutWidthMm = 0.3;
constexpr double kBendWidthMm = 0.2;
constexpr double kLabelHeightMm = 2.5;
constexpr double kTitleHeightMm = 3.5;
constexpr double kRulerMm = 100;
constexpr double kPdfDpi = 1200;

double dotsPerMmOf(const QPainter& painter) { return painter.device()->logicalDpiY() / 25.4; }

// A font `heightMm` high on the painter's device.
QFont fontOf(const QPainter& painter, double heightMm) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(heightMm * dotsPerMmOf(painter) * 72.0 / painter.device()->logicalDpiY());
  return font;
}

// Dashes 3 mm long with 1.5 mm gaps. Qt counts a dash pattern in pen widths,
// but its SVG writer copies the numbers as they are into the file, where
// they are user units: there they are given in device units instead.
QPen penOf(const QPainter& painter, double widthMm, double dotsPerMm, bool dashed) {
  QPen pen(Qt::black, widthMm * dotsPerMm, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  if (dashed) {
    const bool svg = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::SVG;
    const double unit = svg ? 1 / dotsPerMm : widthMm;
    pen.setDashPattern({3 / unit, 1.5 / unit});
  }
  return pen;
}

std::string numberText(fish::Extended v) { return fish::floatToText(v, "."); }

// A page at least `widthMm` x `heightMm`, in whole points as PDF pages are
// measured: the margins at the right and bottom grow by less than 0.36 mm.
QPageLayout pageOf(double widthMm, double heightMm) {
  const auto points = [](double mm) { return std::ceil(mm * 72 / 25.4 - 1e-9); };
  return QPageLayout(
      QPageSize(QSizeF(points(widthMm), points(heightMm)), QPageSize::Point, QString(), QPageSize::ExactMatch),
      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// The paper of a tiled print, in the layout's orientation.
QPageLayout paperOf(const fish::TTileLayout& layout) {
  const QPageSize::PageSizeId id = layout.Paper == fish::TPaper::A3       ? QPageSize::A3
                                   : layout.Paper == fish::TPaper::Letter ? QPageSize::Letter
                                                                          : QPageSize::A4;
  return QPageLayout(QPageSize(id), layout.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// A cross in a circle, where two sheets laid over each other must agree.
void paintRegistrationMark(QPainter& painter, QPointF at, double dotsPerMm) {
  const double r = 2 * dotsPerMm;
  painter.setPen(penOf(painter, 0.15, dotsPerMm, false));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(at, r, r);
  painter.drawLine(at - QPointF(1.6 * r, 0), at + QPointF(1.6 * r, 0));
  painter.drawLine(at - QPointF(0, 1.6 * r), at + QPointF(0, 1.6 * r));
}

void paintText(QPainter& painter, QPointF baseline, double heightMm, const QString& text) {
  painter.setFont(fontOf(painter, heightMm));
  painter.setPen(Qt::black);
  painter.drawText(baseline, text);
}

// The sheet of the tiled print: the printable area at 100 %, the sheet's name
// at the top left, its neighbours' names at the middle of each edge, the
// registration marks in the overlaps and the ruler along the bottom.
void paintTile(QPainter& painter, const fish::TFlatPattern& pattern, const fish::TTileLayout& layout,
               const fish::TTile& tile, const Title& title) {
  const double dpm = dotsPerMmOf(painter);
  const double m = fish::kSheetMargin;
  const double w = static_cast<double>(layout.SheetWidth);
  const double h = static_cast<double>(layout.SheetHeight);
  const MmMap map{{tile.Area.MinX, tile.Area.MaxY}, QPointF(m * dpm, m * dpm), dpm};

  painter.save();
  painter.setClipRect(QRectF(m * dpm, m * dpm, (w - 2 * m) * dpm, (h - 2 * m) * dpm));
  paintPattern(painter, pattern, map);
  // Marks at fixed points of the pattern in the middle of each overlap: the
  // neighbour prints them at the same places.
  const fish::Extended half = fish::kTileOverlap / 2;
  const fish::TExtents2D& a = tile.Area;
  const fish::Extended inset = 15;
  if (!tile.Right.empty()) {
    for (fish::Extended y : {a.MaxY - inset, a.MinY + inset})
      paintRegistrationMark(painter, map({a.MaxX - half, y}), dpm);
  }
  if (!tile.Left.empty()) {
    for (fish::Extended y : {a.MaxY - inset, a.MinY + inset})
      paintRegistrationMark(painter, map({a.MinX + half, y}), dpm);
  }
  if (!tile.Below.empty()) {
    for (fish::Extended x : {a.MinX + inset, a.MaxX - inset})
      paintRegistrationMark(painter, map({x, a.MinY + half}), dpm);
  }
  if (!tile.Above.empty()) {
    for (fish::Extended x : {a.MinX + inset, a.MaxX - inset})
      paintRegistrationMark(painter, map({x, a.MaxY - half}), dpm);
  }
  painter.restore();

  // The printable area's border, thin: the overlap is measured from it.
  painter.setPen(penOf(painter, 0.1, dpm, false));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(m * dpm, m * dpm, (w - 2 * m) * dpm, (h - 2 * m) * dpm));

  const double text = 3;
  paintText(painter, QPointF(m * dpm, (m - 3) * dpm), 5,
            QString::fromStdString(tile.Name) + QStringLiteral("   ") + titleLine(title));
  painter.setFont(fontOf(painter, text));
  const auto centred = [&](const std::string& name, QPointF at, const QString& arrow) {
    if (name.empty()) return;
    const QString label = arrow + QStringLiteral(" ") + QString::fromStdString(name);
    const double width = painter.fontMetrics().horizontalAdvance(label);
    painter.drawText(at - QPointF(width / 2, 0), label);
  };
  centred(tile.Above, QPointF(w / 2 * dpm, (m - 3) * dpm), QStringLiteral("↑"));
  centred(tile.Below, QPointF((w - 40) * dpm, (h - 2) * dpm), QStringLiteral("↓"));
  painter.save();
  painter.translate((m - 3) * dpm, h / 2 * dpm);
  painter.rotate(-90);
  centred(tile.Left, QPointF(0, 0), QStringLiteral("←"));
  painter.restore();
  painter.save();
  painter.translate((w - m + 3) * dpm, h / 2 * dpm);
  painter.rotate(90);
  centred(tile.Right, QPointF(0, 0), QStringLiteral("→"));
  painter.restore();
  paintRuler(painter, QPointF(m * dpm, (h - 2) * dpm), dpm);
}

// The first sheet: the whole grid over the reduced pattern, each printed
// sheet named.
void paintOverview(QPainter& painter, const fish::TFlatPattern& pattern, const fish::TTileLayout& layout,
                   const Title& title) {
  const double dpm = dotsPerMmOf(painter);
  const double m = fish::kSheetMargin;
  const double top = m + 12;
  const double w = static_cast<double>(layout.SheetWidth) - 2 * m;
  const double h = static_cast<double>(layout.SheetHeight) - top - m;
  const fish::TExtents2D& g = layout.Grid;
  const double gridW = static_cast<double>(g.MaxX - g.MinX);
  const double gridH = static_cast<double>(g.MaxY - g.MinY);
  const double scale = std::min(w / gridW, h / gridH);
  const MmMap map{{g.MinX, g.MaxY}, QPointF(m * dpm, top * dpm), dpm * scale};

  paintText(painter, QPointF(m * dpm, (m + 4) * dpm), kTitleHeightMm, titleLine(title));
  paintText(
      painter, QPointF(m * dpm, (m + 9) * dpm), kTitleHeightMm,
      QStringLiteral("Печать в натуральную величину (100 %): листов %1, схема раскладки").arg(layout.Tiles.size()));
  MmMap reduced = map;
  paintPattern(painter, pattern, reduced);
  painter.setFont(fontOf(painter, 4));
  for (const fish::TTile& tile : layout.Tiles) {
    const QPointF a = map({tile.Area.MinX, tile.Area.MaxY});
    const QPointF b = map({tile.Area.MaxX, tile.Area.MinY});
    painter.setPen(penOf(painter, 0.2, dpm, false));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(a, b));
    painter.drawText(QRectF(a, b), Qt::AlignCenter, QString::fromStdString(tile.Name));
  }
}

QByteArray pdfBytes(const std::function<void(QPdfWriter&)>& paint) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(static_cast<int>(kPdfDpi));
    pdf.setCreator(QStringLiteral("Винталер"));
    paint(pdf);
  }
  return buffer.data();
}

}  // namespace

QPointF MmMap::operator()(const fish::TPoint2D& p) const {
  return {at.x() + static_cast<double>(p.X - corner.X) * dotsPerMm,
          at.y() + static_cast<double>(corner.Y - p.Y) * dotsPerMm};
}

void paintPattern(QPainter& painter, const fish::TFlatPattern& pattern, const MmMap& map) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  // The bend lines lie inside the sheets: drawn first, under the outline.
  painter.setPen(penOf(painter, kBendWidthMm, map.dotsPerMm, true));
  for (const fish::TPatternLine& l : pattern.BendLines) painter.drawLine(map(l.From), map(l.To));
  painter.setPen(penOf(painter, kCutWidthMm, map.dotsPerMm, false));
  for (const fish::TPatternPiece& piece : pattern.Pieces) {
    QPolygonF outline;
    outline.reserve(static_cast<qsizetype>(piece.Outline.size()));
    for (const fish::TPoint2D& p : piece.Outline) outline << map(p);
    painter.drawPolygon(outline);
  }
  const double labelHeight = kLabelHeightMm * map.dotsPerMm;
  if (labelHeight >= 1) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(labelHeight * 72.0 / painter.device()->logicalDpiY());
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (const fish::TPatternLabel& l : pattern.Labels) {
      painter.drawText(map(l.At) + QPointF(0.6 * map.dotsPerMm, -0.6 * map.dotsPerMm), QString::fromStdString(l.Text));
    }
  }
  painter.restore();
}

void paintRuler(QPainter& painter, QPointF at, double dotsPerMm) {
  painter.save();
  painter.setPen(penOf(painter, 0.1, dotsPerMm, false));
  painter.drawLine(at, at + QPointF(kRulerMm * dotsPerMm, 0));
  for (int mm = 0; mm <= static_cast<int>(kRulerMm); ++mm) {
    const double tick = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 3 : 2;
    const QPointF x = at + QPointF(mm * dotsPerMm, 0);
    painter.drawLine(x, x - QPointF(0, tick * dotsPerMm));
  }
  painter.restore();
  paintText(painter, at + QPointF((kRulerMm + 2) * dotsPerMm, 0), 2.5, QStringLiteral("100 мм"));
}

QString titleLine(const Title& t) {
  const auto n = [](fish::Extended v) { return QString::fromStdString(numberText(v)); };
  QString line = QStringLiteral("%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8")
                     .arg(t.project, n(t.sp.B), n(t.sp.A), n(t.sp.R), n(t.sp.L), n(t.sp.X1), n(t.sp.Y1))
                     .arg(t.divisions);
  if (t.plate.Thickness > 0) {
    line += QStringLiteral(", t = %1 (по средней поверхности)")
                .arg(QString::fromStdString(fish::decimalText(t.plate.Thickness, 2)));
  }
  return line;
}

namespace {

struct FullPage {
  double width = 0, height = 0;  // mm
  MmMap map;
};

FullPage fullPage(const fish::TFlatPattern& pattern, double dotsPerMm, double roundTo) {
  const fish::TExtents2D& box = pattern.Box;
  const double w = std::max(static_cast<double>(box.MaxX - box.MinX), kRulerMm + 20);
  const double h = static_cast<double>(box.MaxY - box.MinY);
  FullPage page;
  page.width = std::ceil((w + 2 * kPageMarginMm) * roundTo) / roundTo;
  page.height = std::ceil((h + 2 * kPageMarginMm) * roundTo) / roundTo;
  if (!(page.width <= kMaxPdfSideMm && page.height <= kMaxPdfSideMm)) {
    throw fish::EFishError(
        QStringLiteral("Развертка не помещается на страницу PDF: сторона %1 мм, допускается до %2 мм. "
                       "Используйте печать в натуральную величину на листах или DXF")
            .arg(std::max(page.width, page.height), 0, 'f', 0)
            .arg(kMaxPdfSideMm, 0, 'f', 0)
            .toStdString());
  }
  page.map = {{box.MinX, box.MaxY}, QPointF(kPageMarginMm * dotsPerMm, kPageMarginMm * dotsPerMm), dotsPerMm};
  return page;
}

void paintFullPage(QPainter& painter, const fish::TFlatPattern& pattern, const FullPage& page, const Title& title) {
  const double dpm = page.map.dotsPerMm;
  paintPattern(painter, pattern, page.map);
  paintText(painter, QPointF(kPageMarginMm * dpm, (kPageMarginMm - 4) * dpm), kTitleHeightMm, titleLine(title));
  paintRuler(painter, QPointF(kPageMarginMm * dpm, (page.height - 3) * dpm), dpm);
}

}  // namespace

QByteArray patternPdf(const fish::TFlatPattern& pattern, const Title& title) {
  const FullPage page = fullPage(pattern, kPdfDpi / 25.4, 1000);
  return pdfBytes([&](QPdfWriter& pdf) {
    pdf.setPageLayout(pageOf(page.width, page.height));
    pdf.setTitle(title.project);
    QPainter painter(&pdf);
    paintFullPage(painter, pattern, page, title);
  });
}

QByteArray patternSvg(const fish::TFlatPattern& pattern, const Title& title) {
  // Device units are millimetres; the size is counted in tenths at 254 dots
  // per inch, so the declared width and height are exact millimetres too.
  const FullPage page = fullPage(pattern, 1, 10);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(254);
  svg.setSize(QSize(static_cast<int>(std::lround(page.width * 10)), static_cast<int>(std::lround(page.height * 10))));
  svg.setViewBox(QRectF(0, 0, page.width, page.height));
  svg.setTitle(title.project);
  svg.setDescription(titleLine(title));
  {
    QPainter painter(&svg);
    paintFullPage(painter, pattern, page, title);
  }
  return buffer.data();
}

void paintTiles(QPagedPaintDevice& device, const fish::TFlatPattern& pattern, const fish::TTileLayout& layout,
                const Title& title) {
  device.setPageLayout(paperOf(layout));
  QPainter painter(&device);
  paintOverview(painter, pattern, layout, title);
  for (const fish::TTile& tile : layout.Tiles) {
    device.newPage();
    paintTile(painter, pattern, layout, tile, title);
  }
}

QByteArray tilesPdf(const fish::TFlatPattern& pattern, const fish::TTileLayout& layout, const Title& title) {
  return pdfBytes([&](QPdfWriter& pdf) {
    pdf.setTitle(title.project);
    paintTiles(pdf, pattern, layout, title);
  });
}

}  // namespace vintaler::paint
