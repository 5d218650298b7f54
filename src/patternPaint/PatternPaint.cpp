#include "PatternPaint.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <utility>

#include "PaintText.h"
#include "SafeFileDevice.h"
#include "SvgStream.h"
#include "fishApi/core/NumText.h"
#include "fishApi/shop/BendAngleTexts.h"

namespace vintaler::paint {

namespace {

constexpr double kCutWidthMm = 0.3;
constexpr double kBendWidthMm = 0.2;
constexpr double kLabelHeightMm = 2.5;
constexpr double kAngleHeightMm = 1.8;
constexpr double kTitleHeightMm = 3.5;
constexpr double kRulerMm = 100;
constexpr double kPdfDpi = 1200;

double dotsPerMmOf(const QPainter& painter) { return painter.device()->logicalDpiY() / 25.4; }


// Dashes 3 mm long with 1.5 mm gaps. Qt counts a dash pattern in pen widths,
// but its SVG writer copies the numbers as they are into the file, where
// they are user units: there they are given in device units instead.
QPen penOf(const QPainter& painter, double widthMm, double dotsPerMm, bool dashed, double minDots = 0) {
  QPen pen(Qt::black, std::max(widthMm * dotsPerMm, minDots), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
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

using AngleTexts = std::vector<fish::TBendAngleText>;

// The pattern as a drawing reads it, held or walked, in millimetres: its
// elements handed over one at a time in the order of TFlatPattern's arrays.
template <class T>
using Walk = std::function<void(const std::function<void(const T&)>&)>;
struct Elements {
  fish::TPatternKind kind = fish::TPatternKind::Table;
  fish::TExtents2D box;
  Walk<fish::TPatternPiece> pieces;
  Walk<fish::TPatternLine> bendLines;
  Walk<fish::TPatternLabel> labels;
};

Elements elementsOf(const fish::TFlatPattern& pattern) {
  return {pattern.Kind, pattern.Box,
          [&pattern](const auto& each) {
            for (const fish::TPatternPiece& piece : pattern.Pieces) each(piece);
          },
          [&pattern](const auto& each) {
            for (const fish::TPatternLine& l : pattern.BendLines) each(l);
          },
          [&pattern](const auto& each) {
            for (const fish::TPatternLabel& l : pattern.Labels) each(l);
          }};
}

// A walked pattern's elements scaled to millimetres by `k` as
// fish::inMillimetres scales a held one (as they are when k is 1).
Elements elementsOf(const fish::TPatternWalk& walk, fish::Extended k) {
  const fish::TExtents2D box = walk.box();
  const auto scale = [k](fish::TPoint2D& p) {
    p.X *= k;
    p.Y *= k;
  };
  if (k == 1) {
    return {walk.kind(), box, [&walk](const auto& each) { walk.pieces(each); },
            [&walk](const auto& each) { walk.bendLines(each); }, [&walk](const auto& each) { walk.labels(each); }};
  }
  return {walk.kind(), {box.MinX * k, box.MaxX * k, box.MinY * k, box.MaxY * k},
          [&walk, scale](const auto& each) {
            walk.pieces([&](const fish::TPatternPiece& given) {
              fish::TPatternPiece piece = given;
              for (fish::TPoint2D& p : piece.Outline) scale(p);
              for (fish::TPoint2D& p : piece.Net) scale(p);
              scale(piece.NameAt);
              each(piece);
            });
          },
          [&walk, scale](const auto& each) {
            walk.bendLines([&](fish::TPatternLine l) {
              scale(l.From);
              scale(l.To);
              each(l);
            });
          },
          [&walk, scale](const auto& each) {
            walk.labels([&](fish::TPatternLabel l) {
              scale(l.At);
              each(l);
            });
          }};
}

// The pattern, or a sheet's part of it, with the bend angles `angles` where
// they are written (none for a reduced picture).
void paintWhole(QPainter& painter, const Elements& pattern, const MmMap& map, const AngleTexts& angles);
void paintPart(QPainter& painter, const fish::TFlatPattern& pattern, const MmMap& map,
               const std::vector<fish::TLineRef>& lines, const std::vector<std::uint32_t>& labels,
               const AngleTexts& angles);

// The angle texts of the pattern's bend lines that carry an angle.
AngleTexts angleTextsOf(const fish::TFlatPattern& pattern) {
  const TextMeasure& m = TextMeasure::get();
  return fish::bendAngleTexts(pattern, kAngleHeightMm, [&m](const std::string& text) {
    return static_cast<fish::Extended>(m.width(QString::fromStdString(text), kAngleHeightMm));
  });
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


// The sheet of the tiled print: the printable area at 100 %, the sheet's name
// and the title at the top left, the name of the sheet above at the top
// right, the other neighbours' names at the middle of their edges, the
// registration marks in the overlaps and the ruler along the bottom. Only the
// lines that cross the sheet are drawn, clipped to its area.
// `part` paints the sheet's part of the pattern through the sheet's map.
void paintTile(QPainter& painter, fish::TPatternKind kind, const fish::TTileLayout& layout, const fish::TTile& tile,
               const Title& title, const std::function<void(const MmMap&)>& part) {
  const double dpm = dotsPerMmOf(painter);
  const double m = fish::kSheetMargin;
  const double w = static_cast<double>(layout.SheetWidth);
  const double h = static_cast<double>(layout.SheetHeight);
  const MmMap map{{tile.Area.MinX, tile.Area.MaxY}, QPointF(m * dpm, m * dpm), dpm};

  painter.save();
  painter.setClipRect(QRectF(m * dpm, m * dpm, (w - 2 * m) * dpm, (h - 2 * m) * dpm));
  part(map);
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

  const TextMeasure& measure = TextMeasure::get();
  const double text = 3;
  const double nameHeight = 5;
  const double baseline = m - 3;
  const QString name = QString::fromStdString(tile.Name);
  paintText(painter, QPointF(m * dpm, baseline * dpm), nameHeight, dpm, name);
  const auto arrowed = [](const std::string& neighbour, const QString& arrow) {
    return neighbour.empty() ? QString() : arrow + QStringLiteral(" ") + QString::fromStdString(neighbour);
  };
  // The title between the sheet's name and the name of the sheet above.
  const QString above = arrowed(tile.Above, QStringLiteral("↑"));
  const double aboveWidth = above.isEmpty() ? 0 : measure.width(above, text) + 4;
  const double titleLeft = m + measure.width(name, nameHeight) + 3;
  const Fitted fitted = fitText(titleLine(title, kind), w - m - aboveWidth - titleLeft, m - 1, kTitleHeightMm);
  paintFitted(painter, fitted, titleLeft, 0.5, baseline, kTitleHeightMm, dpm);
  if (!above.isEmpty()) {
    paintText(painter, QPointF((w - m - measure.width(above, text)) * dpm, baseline * dpm), text, dpm, above);
  }
  painter.setFont(fontOf(painter, text, dpm));
  const auto centred = [&](const std::string& neighbour, QPointF at, const QString& arrow) {
    if (neighbour.empty()) return;
    const QString label = arrowed(neighbour, arrow);
    painter.drawText(at - QPointF(measure.width(label, text) * dpm / 2, 0), label);
  };
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
// sheet named where its cell leaves room for a name of at least 1.2 mm.
void paintOverview(QPainter& painter, const Elements& pattern, const fish::TTileLayout& layout, const Title& title) {
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

  const TextMeasure& measure = TextMeasure::get();
  const Fitted head = fitText(titleLine(title, pattern.kind), w, m + 5.5 - 1, kTitleHeightMm);
  paintFitted(painter, head, m, 1, m + 4, kTitleHeightMm, dpm);
  const QString count = QString::fromStdString(
      fish::say(FISH_TR("shop", "Печать в натуральную величину (100 %): листов %1, схема раскладки"),
                {std::to_string(layout.Tiles.size())}));
  paintText(painter, QPointF(m * dpm, (m + 9) * dpm),
            std::min(kTitleHeightMm, kTitleHeightMm * w / measure.width(count, kTitleHeightMm)), dpm, count);
  paintWhole(painter, pattern, map, {});

  // One size for every name, the largest up to 4 mm that the longest name
  // fits in a cell.
  const double cellW = static_cast<double>(layout.SheetWidth - 2 * fish::kSheetMargin) * scale;
  const double cellH = static_cast<double>(layout.SheetHeight - 2 * fish::kSheetMargin) * scale;
  double widest = 0;
  for (const fish::TTile& tile : layout.Tiles)
    widest = std::max(widest, measure.width(QString::fromStdString(tile.Name), 1));
  const double nameHeight = std::min({4.0, 0.8 * cellW / std::max(widest, 1e-9), 0.6 * cellH});
  painter.setFont(fontOf(painter, nameHeight, dpm));
  for (const fish::TTile& tile : layout.Tiles) {
    const QPointF a = map({tile.Area.MinX, tile.Area.MaxY});
    const QPointF b = map({tile.Area.MaxX, tile.Area.MinY});
    painter.setPen(penOf(painter, 0.2, dpm, false));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(a, b));
    if (nameHeight >= 1.2) painter.drawText(QRectF(a, b), Qt::AlignCenter, QString::fromStdString(tile.Name));
  }
}

// A PDF painted by `paint` straight into `out`. Qt's PDF writer keeps each
// page's whole content in memory until the page ends, and only then
// compresses it into `out`; nothing it offers (resolution, version, the
// device) changes that without changing the file. A page's peak memory is
// therefore at least its content: about 120 MB for 100,000 divisions in
// four quadrants with every generator drawn.
void writePdf(QIODevice& out, const std::function<void(QPdfWriter&)>& paint) {
  QPdfWriter pdf(&out);
  pdf.setResolution(static_cast<int>(kPdfDpi));
  pdf.setCreator(QStringLiteral("Винталер"));
  paint(pdf);
}

// A drawing written by `write` into a QBuffer, for the callers that want
// its bytes.
QByteArray bytesOf(const std::function<void(QIODevice&)>& write) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  write(buffer);
  return buffer.data();
}

// A drawing written by `write` into the file `path` as it is painted.
void saveAs(const std::string& path, const std::function<void(QIODevice&)>& write) {
  SafeFileDevice file(path);
  write(file);
  file.commit();
}

}  // namespace

QPointF MmMap::operator()(const fish::TPoint2D& p) const {
  return {at.x() + static_cast<double>(p.X - corner.X) * dotsPerMm,
          at.y() + static_cast<double>(corner.Y - p.Y) * dotsPerMm};
}

namespace {

// The widths of point names, which differ mostly in their digits. Where the
// face sets every digit as wide as any other, and sets none of them closer
// to or further from what stands beside it, a name is as wide as any other
// name that has digits in the same places and the same other characters;
// the first of each such shape is measured, the others take its width.
class NameWidths {
 public:
  explicit NameWidths(const TextMeasure& m) : M(m) {
    const double zero = advance(QStringLiteral("0"));
    for (char16_t d = u'0'; d <= u'9' && Even; ++d) Even = advance(QString(QChar(d))) == zero;
    for (char16_t a = u'0'; a <= u'9' && Even; ++a) {
      for (char16_t b = u'0'; b <= u'9' && Even; ++b) Even = advance(QString(QChar(a)) + QChar(b)) == 2 * zero;
    }
    Digit = zero;
  }

  double operator()(const QString& text, double heightMm) {
    if (!Even) return M.width(text, heightMm);
    QString shape = text;
    for (qsizetype i = 0; i < shape.size(); ++i) {
      if (!isDigit(shape[i])) continue;
      shape[i] = QLatin1Char('0');
      if (i > 0 && !isDigit(text[i - 1]) && !plain(text[i - 1])) return M.width(text, heightMm);
      if (i + 1 < text.size() && !isDigit(text[i + 1]) && !plain(text[i + 1])) return M.width(text, heightMm);
    }
    if (shape == text) return M.width(text, heightMm);
    const auto known = Widths.find({shape, heightMm});
    if (known != Widths.end()) return known->second;
    const double width = M.width(text, heightMm);
    Widths.emplace(std::pair(shape, heightMm), width);
    return width;
  }

 private:
  static bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
  // The text's advance in the measuring face's own units, exact.
  double advance(const QString& text) const { return M.width(text, 1000); }

  // Whether `c` stands beside every digit at its own width and the digit's.
  bool plain(QChar c) {
    const auto known = Plain.find(c.unicode());
    if (known != Plain.end()) return known->second;
    const double own = advance(QString(c));
    bool even = true;
    for (char16_t d = u'0'; d <= u'9' && even; ++d) {
      even = advance(QString(c) + QChar(d)) == own + Digit && advance(QString(QChar(d)) + c) == own + Digit;
    }
    Plain.emplace(c.unicode(), even);
    return even;
  }

  const TextMeasure& M;
  bool Even = true;
  double Digit = 0;
  std::map<char16_t, bool> Plain;
  std::map<std::pair<QString, double>, double> Widths;
};

// The point names, each centred off the lines at its point.
template <class Labels>
void paintLabels(QPainter& painter, const MmMap& map, const Labels& which) {
  const double labelHeight = kLabelHeightMm * map.dotsPerMm;
  if (labelHeight < 1) return;
  const TextMeasure& m = TextMeasure::get();
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(labelHeight * 72.0 / painter.device()->logicalDpiY());
  painter.setFont(font);
  painter.setPen(Qt::black);
  NameWidths widths(m);
  which([&](const fish::TPatternLabel& l) {
    const QString text = QString::fromStdString(l.Text);
    const double width = widths(text, kLabelHeightMm);
    const QPointF centre = map(fish::labelCentre(l, width, kLabelHeightMm));
    painter.drawText(centre + QPointF(-width / 2, m.capHeight(kLabelHeightMm) / 2) * map.dotsPerMm, text);
  });
}

void beginLines(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
}

// A piece cut with allowances shows its net outline inside the cut line,
// dashed longer than the bend lines (8 mm dashes), and a piece of seams
// other than today's its name in the middle, 5 mm high. Drawn whole: the
// painter clips what falls off a sheet.
void paintNets(QPainter& painter, const Elements& pattern, const MmMap& map, bool nets, bool names) {
  QPen pen = penOf(painter, kBendWidthMm, map.dotsPerMm, true, map.minPenDots);
  const bool svg = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::SVG;
  const double unit = svg ? 1 / map.dotsPerMm : kBendWidthMm;
  pen.setDashPattern({8 / unit, 2 / unit});
  painter.setPen(pen);
  if (nets) {
    pattern.pieces([&](const fish::TPatternPiece& piece) {
      if (piece.Net.empty()) return;
      QPolygonF net;
      net.reserve(static_cast<qsizetype>(piece.Net.size()));
      for (const fish::TPoint2D& p : piece.Net) net << map(p);
      painter.drawPolygon(net);
    });
  }
  const double nameHeight = 5;
  if (nameHeight * map.dotsPerMm < 1) return;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(nameHeight * map.dotsPerMm * 72.0 / painter.device()->logicalDpiY());
  painter.setFont(font);
  painter.setPen(Qt::black);
  if (!names) return;
  const TextMeasure& m = TextMeasure::get();
  pattern.pieces([&](const fish::TPatternPiece& piece) {
    if (piece.Name.empty()) return;
    const QString text = QString::fromStdString(piece.Name);
    const double width = m.width(text, nameHeight);
    painter.drawText(map(piece.NameAt) + QPointF(-width / 2, m.capHeight(nameHeight) / 2) * map.dotsPerMm, text);
  });
}

// Whether any piece of a held pattern has a net outline, a name.
bool anyNet(const fish::TFlatPattern& pattern) {
  return std::any_of(pattern.Pieces.begin(), pattern.Pieces.end(), [](const auto& p) { return !p.Net.empty(); });
}
bool anyName(const fish::TFlatPattern& pattern) {
  return std::any_of(pattern.Pieces.begin(), pattern.Pieces.end(), [](const auto& p) { return !p.Name.empty(); });
}

// The angle texts of the bend lines for which `drawn` holds, each along its
// line: too small to read on the device, none.
template <class Drawn>
void paintAngles(QPainter& painter, const MmMap& map, const AngleTexts& angles, Drawn drawn) {
  if (angles.empty() || kAngleHeightMm * map.dotsPerMm < 1) return;
  const TextMeasure& m = TextMeasure::get();
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(kAngleHeightMm * map.dotsPerMm * 72.0 / painter.device()->logicalDpiY());
  painter.setFont(font);
  painter.setPen(Qt::black);
  for (const fish::TBendAngleText& a : angles) {
    if (!drawn(a.Line)) continue;
    const QString text = QString::fromStdString(a.Text);
    painter.save();
    painter.translate(map(a.Centre));
    painter.rotate(-static_cast<double>(a.Direction) * 180 / 3.14159265358979323846);
    painter.drawText(QPointF(-m.width(text, kAngleHeightMm) / 2, m.capHeight(kAngleHeightMm) / 2) * map.dotsPerMm,
                     text);
    painter.restore();
  }
}

}  // namespace

void paintPattern(QPainter& painter, const fish::TFlatPattern& pattern, const MmMap& map) {
  const bool anyAngle = std::any_of(pattern.BendLines.begin(), pattern.BendLines.end(),
                                    [](const fish::TPatternLine& l) { return l.Angle.has_value(); });
  paintWhole(painter, elementsOf(pattern), map,
             anyAngle && kAngleHeightMm * map.dotsPerMm >= 1 ? angleTextsOf(pattern) : AngleTexts{});
}

void paintPatternPart(QPainter& painter, const fish::TFlatPattern& pattern, const MmMap& map,
                      const std::vector<fish::TLineRef>& lines, const std::vector<std::uint32_t>& labels) {
  paintPart(painter, pattern, map, lines, labels, angleTextsOf(pattern));
}

namespace {

void paintWhole(QPainter& painter, const Elements& pattern, const MmMap& map, const AngleTexts& angles) {
  painter.save();
  beginLines(painter);
  // The bend lines lie inside the sheets: drawn first, under the outline.
  painter.setPen(penOf(painter, kBendWidthMm, map.dotsPerMm, true, map.minPenDots));
  pattern.bendLines([&](const fish::TPatternLine& l) { painter.drawLine(map(l.From), map(l.To)); });
  painter.setPen(penOf(painter, kCutWidthMm, map.dotsPerMm, false, map.minPenDots));
  bool nets = false, names = false;
  pattern.pieces([&](const fish::TPatternPiece& piece) {
    QPolygonF outline;
    outline.reserve(static_cast<qsizetype>(piece.Outline.size()));
    for (const fish::TPoint2D& p : piece.Outline) outline << map(p);
    painter.drawPolygon(outline);
    nets = nets || !piece.Net.empty();
    names = names || !piece.Name.empty();
  });
  paintNets(painter, pattern, map, nets, names);
  paintLabels(painter, map, [&pattern](const auto& paint) { pattern.labels(paint); });
  paintAngles(painter, map, angles, [](std::size_t) { return true; });
  painter.restore();
}

void paintPart(QPainter& painter, const fish::TFlatPattern& pattern, const MmMap& map,
               const std::vector<fish::TLineRef>& lines, const std::vector<std::uint32_t>& labels,
               const AngleTexts& angles) {
  painter.save();
  beginLines(painter);
  painter.setPen(penOf(painter, kBendWidthMm, map.dotsPerMm, true, map.minPenDots));
  for (const fish::TLineRef& r : lines) {
    if (r.Piece != fish::TLineRef::kBendLine) continue;
    const fish::TPatternLine& l = pattern.BendLines[r.Index];
    painter.drawLine(map(l.From), map(l.To));
  }
  // Runs of edges that follow each other in an outline as one line each.
  painter.setPen(penOf(painter, kCutWidthMm, map.dotsPerMm, false, map.minPenDots));
  QPolygonF run;
  const auto flush = [&] {
    if (run.size() > 1) painter.drawPolyline(run);
    run.clear();
  };
  std::int32_t piece = fish::TLineRef::kBendLine;
  std::uint32_t next = 0;
  for (const fish::TLineRef& r : lines) {
    if (r.Piece == fish::TLineRef::kBendLine) continue;
    const std::vector<fish::TPoint2D>& outline = pattern.Pieces[static_cast<std::size_t>(r.Piece)].Outline;
    if (r.Piece != piece || r.Index != next || run.isEmpty()) {
      flush();
      run << map(outline[r.Index]);
    }
    run << map(outline[(r.Index + 1) % outline.size()]);
    piece = r.Piece;
    next = r.Index + 1;
  }
  flush();
  paintNets(painter, elementsOf(pattern), map, anyNet(pattern), anyName(pattern));
  paintLabels(painter, map, [&](const auto& paint) {
    for (std::uint32_t i : labels) paint(pattern.Labels[i]);
  });
  // The angles of the bend lines that cross the sheet.
  if (!angles.empty()) {
    std::vector<bool> crossing(pattern.BendLines.size());
    for (const fish::TLineRef& r : lines) {
      if (r.Piece == fish::TLineRef::kBendLine) crossing[r.Index] = true;
    }
    paintAngles(painter, map, angles, [&crossing](std::size_t line) { return bool(crossing[line]); });
  }
  painter.restore();
}

}  // namespace

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
  paintText(painter, at + QPointF((kRulerMm + 2) * dotsPerMm, 0), 2.5, dotsPerMm, QString::fromStdString(fish::say(FISH_TR("shop", "100 мм"))));
}

QString titleLine(const Title& t, fish::TPatternKind kind) {
  // One sentence for each of: with a plate or without, the exact pattern or the tables'.
  static constexpr fish::TMsgId kLines[2][2] = {
      {FISH_TR("shop", "%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8"),
       FISH_TR("shop", "%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8, точная развертка")},
      {FISH_TR("shop", "%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8, t = %9 (по средней "
                       "поверхности)"),
       FISH_TR("shop", "%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8, t = %9 (по средней "
                       "поверхности), точная развертка")}};
  const bool plate = t.plate.Thickness > 0, precise = kind == fish::TPatternKind::Precise;
  const std::string thickness = plate ? fish::decimalText(t.plate.Thickness, 2) : std::string();
  return QString::fromStdString(fish::say(kLines[plate][precise],
                                          {t.project.toStdString(), numberText(t.sp.B), numberText(t.sp.A),
                                           numberText(t.sp.R), numberText(t.sp.L), numberText(t.sp.X1),
                                           numberText(t.sp.Y1), std::to_string(t.divisions), thickness}));
}

namespace {

struct FullPage {
  double width = 0, height = 0;  // mm
  MmMap map;
};

// The page round the pattern's box. Only a PDF page is limited in size.
FullPage fullPage(const fish::TExtents2D& box, double dotsPerMm, double roundTo, bool pdf) {
  const double w = std::max(static_cast<double>(box.MaxX - box.MinX), kRulerMm + 20);
  const double h = static_cast<double>(box.MaxY - box.MinY);
  FullPage page;
  page.width = std::ceil((w + 2 * kPageMarginMm) * roundTo) / roundTo;
  page.height = std::ceil((h + 2 * kPageMarginMm) * roundTo) / roundTo;
  if (pdf && !(page.width <= kMaxPdfSideMm && page.height <= kMaxPdfSideMm)) {
    throw fish::EFishError(fish::TMessage(
        FISH_TR("shop", "Развертка не помещается на страницу PDF: сторона %1 мм, допускается до %2 мм. "
                        "Используйте печать в натуральную величину на листах или DXF"),
        {QString::number(std::max(page.width, page.height), 'f', 0).toStdString(),
         QString::number(kMaxPdfSideMm, 'f', 0).toStdString()}));
  }
  page.map = {{box.MinX, box.MaxY}, QPointF(kPageMarginMm * dotsPerMm, kPageMarginMm * dotsPerMm), dotsPerMm};
  return page;
}

// The pattern, the title in the top margin (in as many lines and as small
// as it takes to fit there) and the ruler in the bottom one. The title keeps
// to the margin's upper 6 mm: the names of the pattern's topmost points
// stand in the rest.
void paintFullPage(QPainter& painter, const Elements& pattern, const AngleTexts& angles, const FullPage& page,
                   const Title& title) {
  const double dpm = page.map.dotsPerMm;
  paintWhole(painter, pattern, page.map, kAngleHeightMm * dpm >= 1 ? angles : AngleTexts{});
  const Fitted fitted = fitText(titleLine(title, pattern.kind), page.width - 2 * kPageMarginMm, 5, kTitleHeightMm);
  paintFitted(painter, fitted, kPageMarginMm, 0.5, kPageMarginMm - 5, kTitleHeightMm, dpm);
  paintRuler(painter, QPointF(kPageMarginMm * dpm, (page.height - 3) * dpm), dpm);
}

void writePdfPage(QIODevice& out, const Elements& pattern, const AngleTexts& angles, const Title& title) {
  const FullPage page = fullPage(pattern.box, kPdfDpi / 25.4, 1000, true);
  writePdf(out, [&](QPdfWriter& pdf) {
    pdf.setPageLayout(pageOf(page.width, page.height));
    pdf.setTitle(title.project);
    QPainter painter(&pdf);
    paintFullPage(painter, pattern, angles, page, title);
  });
}

void writeSvgPage(QIODevice& out, const Elements& pattern, const AngleTexts& angles, const Title& title) {
  // Device units are millimetres; the size is counted in tenths at 254 dots
  // per inch, so the declared width and height are exact millimetres too.
  const FullPage page = fullPage(pattern.box, 1, 10, false);
  SvgStream svg(out, [&](QSvgGenerator& generator) {
    generator.setResolution(254);
    generator.setSize(
        QSize(static_cast<int>(std::lround(page.width * 10)), static_cast<int>(std::lround(page.height * 10))));
    generator.setViewBox(QRectF(0, 0, page.width, page.height));
    generator.setTitle(title.project);
    generator.setDescription(titleLine(title, pattern.kind));
  });
  QPainter painter(&svg);
  paintFullPage(painter, pattern, angles, page, title);
}

// The angle texts of a held pattern in millimetres, if any line has an angle.
AngleTexts anglesOf(const fish::TFlatPattern& pattern) {
  const bool any = std::any_of(pattern.BendLines.begin(), pattern.BendLines.end(),
                               [](const fish::TPatternLine& l) { return l.Angle.has_value(); });
  return any ? angleTextsOf(pattern) : AngleTexts{};
}

// The angle texts of a walked pattern in millimetres, kept: there are few.
AngleTexts walkedAngles(const fish::TPatternWalk& walk) {
  AngleTexts angles;
  if (!walk.angles()) return angles;
  const TextMeasure& m = TextMeasure::get();
  fish::bendAngleTexts(
      walk, kAngleHeightMm,
      [&m](const std::string& text) {
        return static_cast<fish::Extended>(m.width(QString::fromStdString(text), kAngleHeightMm));
      },
      [&angles](const fish::TBendAngleText& a) { angles.push_back(a); });
  return angles;
}

// A walked pattern's page: its elements walked as they are painted, the
// few angle texts kept. A pattern in another unit that carries angles is
// held in millimetres instead, its angle texts laid out there.
void writeWalkedPage(QIODevice& out, const fish::TPatternWalk& walk, const Title& title, bool svg) {
  const fish::Extended k = fish::mmPerUnit(walk.units());
  if (k != 1 && walk.angles()) {
    const fish::TFlatPattern mm = fish::inMillimetres(fish::collectPattern(walk));
    return (svg ? writeSvgPage : writePdfPage)(out, elementsOf(mm), anglesOf(mm), title);
  }
  (svg ? writeSvgPage : writePdfPage)(out, elementsOf(walk, k), walkedAngles(walk), title);
}

}  // namespace

void writePatternPdf(QIODevice& out, const fish::TFlatPattern& given, const Title& title) {
  if (given.Units != fish::TUnits::Millimetres) return writePatternPdf(out, fish::inMillimetres(given), title);
  writePdfPage(out, elementsOf(given), anglesOf(given), title);
}

void writePatternSvg(QIODevice& out, const fish::TFlatPattern& given, const Title& title) {
  if (given.Units != fish::TUnits::Millimetres) return writePatternSvg(out, fish::inMillimetres(given), title);
  writeSvgPage(out, elementsOf(given), anglesOf(given), title);
}

void writePatternPdf(QIODevice& out, const fish::TPatternWalk& walk, const Title& title) {
  writeWalkedPage(out, walk, title, false);
}

void writePatternSvg(QIODevice& out, const fish::TPatternWalk& walk, const Title& title) {
  writeWalkedPage(out, walk, title, true);
}

namespace {

// What one sheet prints of a walked pattern, in the sheet's device points,
// found in one walk for all the sheets: its bend lines (pairs of points),
// its runs of outline edges that follow each other, its point names where
// they are written (their texts one after the other, each ending where
// `nameEnds` says), and the bend lines that cross it when some carry an
// angle text. The lists that grow with the divisions grow in blocks, never
// copied whole, while the page they are gathered under grows too, and are
// let go as they are painted.
struct SheetPart {
  MmMap map;
  std::deque<QPointF> bends;
  std::vector<QPointF> runs;
  std::vector<std::size_t> runEnds;
  std::size_t piece = 0, next = 0;  // the edge that continues the last run
  std::deque<QPointF> nameAt;
  std::deque<std::uint32_t> nameEnds;
  std::string nameTexts;
  std::vector<std::size_t> crossing;
};

// Hands each element of the pattern to the parts of the sheets it reaches.
class SheetRouter {
 public:
  SheetRouter(const fish::TTileLayout& layout, double dpm, bool withCrossing)
      : Parts(layout.Tiles.size()), Router(layout), Dpm(dpm), WithCrossing(withCrossing) {
    const double m = static_cast<double>(fish::kSheetMargin);
    for (std::size_t t = 0; t < Parts.size(); ++t) {
      const fish::TExtents2D& a = layout.Tiles[t].Area;
      Parts[t].map = MmMap{{a.MinX, a.MaxY}, QPointF(m * dpm, m * dpm), dpm};
    }
  }

  void piece(const fish::TPatternPiece& p) {
    const std::vector<fish::TPoint2D>& o = p.Outline;
    ++Piece;
    Nets = Nets || !p.Net.empty();
    Names = Names || !p.Name.empty();
    // The edge handed to the sheets, seen through one reference: the
    // router's callback then stays small enough to need no allocation.
    struct {
      const fish::TPoint2D *a, *b;
      std::size_t i;
    } edge{};
    for (std::size_t i = 0; i < o.size(); ++i) {
      edge = {&o[i], &o[(i + 1) % o.size()], i};
      Router.segment(*edge.a, *edge.b, [this, &edge](std::size_t t) {
        SheetPart& part = Parts[t];
        if (part.piece != Piece || part.next != edge.i || part.runs.empty()) {
          if (!part.runs.empty()) part.runEnds.push_back(part.runs.size());
          part.runs.push_back(part.map(*edge.a));
        }
        part.runs.push_back(part.map(*edge.b));
        part.piece = Piece;
        part.next = edge.i + 1;
      });
    }
  }

  void line(const fish::TPatternLine& l) {
    Router.segment(l.From, l.To, [&](std::size_t t) {
      SheetPart& part = Parts[t];
      part.bends.push_back(part.map(l.From));
      part.bends.push_back(part.map(l.To));
      if (WithCrossing) part.crossing.push_back(Line);
    });
    ++Line;
  }

  void label(const fish::TPatternLabel& l) {
    if (kLabelHeightMm * Dpm < 1) return;
    const TextMeasure& measure = TextMeasure::get();
    const double width = Widths(QString::fromStdString(l.Text), kLabelHeightMm);
    const struct {
      fish::TPoint2D centre;
      QPointF offset;  // from the centre to the start of the baseline
      const std::string* text;
    } name{fish::labelCentre(l, width, kLabelHeightMm),
           QPointF(-width / 2, measure.capHeight(kLabelHeightMm) / 2) * Dpm, &l.Text};
    Router.label(l.At, [this, &name](std::size_t t) {
      SheetPart& part = Parts[t];
      part.nameAt.push_back(part.map(name.centre) + name.offset);
      part.nameTexts += *name.text;
      part.nameEnds.push_back(static_cast<std::uint32_t>(part.nameTexts.size()));
    });
  }

  // The parts, their runs closed.
  std::vector<SheetPart>& parts() {
    for (SheetPart& part : Parts) {
      if (!part.runs.empty() && (part.runEnds.empty() || part.runEnds.back() != part.runs.size())) {
        part.runEnds.push_back(part.runs.size());
      }
    }
    return Parts;
  }
  bool nets() const { return Nets; }
  bool names() const { return Names; }

 private:
  std::vector<SheetPart> Parts;
  const fish::TTileRouter Router;
  NameWidths Widths{TextMeasure::get()};
  double Dpm;
  bool WithCrossing;
  std::size_t Piece = 0, Line = 0;
  bool Nets = false, Names = false;
};

// A sheet's part as paintPart draws it from a held pattern.
void paintSheetPart(QPainter& painter, const Elements& pattern, SheetPart& part, const AngleTexts& angles,
                    bool nets, bool names) {
  const MmMap& map = part.map;
  painter.save();
  beginLines(painter);
  painter.setPen(penOf(painter, kBendWidthMm, map.dotsPerMm, true, map.minPenDots));
  for (; part.bends.size() > 1; part.bends.pop_front()) {
    const QPointF from = part.bends.front();
    part.bends.pop_front();
    painter.drawLine(from, part.bends.front());
  }
  painter.setPen(penOf(painter, kCutWidthMm, map.dotsPerMm, false, map.minPenDots));
  std::size_t start = 0;
  for (std::size_t end : part.runEnds) {
    if (end - start > 1) painter.drawPolyline(part.runs.data() + start, static_cast<int>(end - start));
    start = end;
  }
  std::vector<QPointF>().swap(part.runs);
  paintNets(painter, pattern, map, nets, names);
  paintLabels(painter, map, [](const auto&) {});
  for (std::uint32_t text = 0; !part.nameAt.empty(); part.nameAt.pop_front(), part.nameEnds.pop_front()) {
    const std::uint32_t end = part.nameEnds.front();
    painter.drawText(part.nameAt.front(), QString::fromUtf8(part.nameTexts.data() + text, end - text));
    text = end;
  }
  if (!angles.empty()) {
    paintAngles(painter, map, angles, [&part](std::size_t line) {
      return std::binary_search(part.crossing.begin(), part.crossing.end(), line);
    });
  }
  painter.restore();
}

// The tiled print of a walked pattern: the elements are routed to the
// sheets as the overview's walks hand them over, and every sheet is painted
// from its part.
void paintWalkedTiles(QPagedPaintDevice& device, const Elements& pattern, const AngleTexts& angles,
                      const fish::TTileLayout& layout, const Title& title) {
  device.setPageLayout(paperOf(layout));
  QPainter painter(&device);
  SheetRouter router(layout, dotsPerMmOf(painter), !angles.empty());
  bool pieces = false, lines = false, labels = false;  // routed
  Elements teed = pattern;
  teed.pieces = [&](const auto& each) {
    const bool route = !std::exchange(pieces, true);
    pattern.pieces([&](const fish::TPatternPiece& p) {
      each(p);
      if (route) router.piece(p);
    });
  };
  teed.bendLines = [&](const auto& each) {
    const bool route = !std::exchange(lines, true);
    pattern.bendLines([&](const fish::TPatternLine& l) {
      each(l);
      if (route) router.line(l);
    });
  };
  teed.labels = [&](const auto& each) {
    const bool route = !std::exchange(labels, true);
    pattern.labels([&](const fish::TPatternLabel& l) {
      each(l);
      if (route) router.label(l);
    });
  };
  paintOverview(painter, teed, layout, title);
  // Names too small to write on the overview are still the sheets'.
  if (!labels) pattern.labels([&](const fish::TPatternLabel& l) { router.label(l); });
  std::vector<SheetPart>& parts = router.parts();
  for (std::size_t t = 0; t < layout.Tiles.size(); ++t) {
    device.newPage();
    paintTile(painter, pattern.kind, layout, layout.Tiles[t], title, [&](const MmMap&) {
      paintSheetPart(painter, pattern, parts[t], angles, router.nets(), router.names());
    });
    parts[t] = SheetPart();
  }
}

}  // namespace

void paintTiles(QPagedPaintDevice& device, const fish::TPatternWalk& walk, const fish::TTileLayout& layout,
                const Title& title) {
  const fish::Extended k = fish::mmPerUnit(walk.units());
  if (k != 1 && walk.angles()) {
    // Held, as the pages are: its sheets then list what they print.
    const fish::TFlatPattern held = fish::collectPattern(walk);
    return paintTiles(device, held, fish::tileLayout(held, layout.Paper), title);
  }
  paintWalkedTiles(device, elementsOf(walk, k), walkedAngles(walk), layout, title);
}

void writeTilesPdf(QIODevice& out, const fish::TPatternWalk& walk, const fish::TTileLayout& layout,
                   const Title& title) {
  writePdf(out, [&](QPdfWriter& pdf) {
    pdf.setTitle(title.project);
    paintTiles(pdf, walk, layout, title);
  });
}

void saveTilesPdf(const std::string& path, const fish::TPatternWalk& walk, const fish::TTileLayout& layout,
                  const Title& title) {
  saveAs(path, [&](QIODevice& out) { writeTilesPdf(out, walk, layout, title); });
}

void paintTiles(QPagedPaintDevice& device, const fish::TFlatPattern& given, const fish::TTileLayout& layout,
                const Title& title) {
  // The layout's areas are of the pattern in millimetres (fish::tileLayout).
  if (given.Units != fish::TUnits::Millimetres) return paintTiles(device, fish::inMillimetres(given), layout, title);
  const fish::TFlatPattern& pattern = given;
  device.setPageLayout(paperOf(layout));
  QPainter painter(&device);
  paintOverview(painter, elementsOf(pattern), layout, title);
  const AngleTexts angles = angleTextsOf(pattern);
  for (const fish::TTile& tile : layout.Tiles) {
    device.newPage();
    paintTile(painter, pattern.Kind, layout, tile, title,
              [&](const MmMap& map) { paintPart(painter, pattern, map, tile.Lines, tile.Labels, angles); });
  }
}

void writeTilesPdf(QIODevice& out, const fish::TFlatPattern& pattern, const fish::TTileLayout& layout,
                   const Title& title) {
  writePdf(out, [&](QPdfWriter& pdf) {
    pdf.setTitle(title.project);
    paintTiles(pdf, pattern, layout, title);
  });
}

QByteArray patternPdf(const fish::TFlatPattern& pattern, const Title& title) {
  return bytesOf([&](QIODevice& out) { writePatternPdf(out, pattern, title); });
}

QByteArray patternSvg(const fish::TFlatPattern& pattern, const Title& title) {
  return bytesOf([&](QIODevice& out) { writePatternSvg(out, pattern, title); });
}

QByteArray tilesPdf(const fish::TFlatPattern& pattern, const fish::TTileLayout& layout, const Title& title) {
  return bytesOf([&](QIODevice& out) { writeTilesPdf(out, pattern, layout, title); });
}

void savePatternPdf(const std::string& path, const fish::TFlatPattern& pattern, const Title& title) {
  saveAs(path, [&](QIODevice& out) { writePatternPdf(out, pattern, title); });
}

void savePatternSvg(const std::string& path, const fish::TFlatPattern& pattern, const Title& title) {
  saveAs(path, [&](QIODevice& out) { writePatternSvg(out, pattern, title); });
}

void savePatternPdf(const std::string& path, const fish::TPatternWalk& walk, const Title& title) {
  saveAs(path, [&](QIODevice& out) { writePatternPdf(out, walk, title); });
}

void savePatternSvg(const std::string& path, const fish::TPatternWalk& walk, const Title& title) {
  saveAs(path, [&](QIODevice& out) { writePatternSvg(out, walk, title); });
}

void saveTilesPdf(const std::string& path, const fish::TFlatPattern& pattern, const fish::TTileLayout& layout,
                  const Title& title) {
  saveAs(path, [&](QIODevice& out) { writeTilesPdf(out, pattern, layout, title); });
}

}  // namespace vintaler::paint
