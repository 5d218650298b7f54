// The floor for vintaler-cli's painted drawings: a program that paints, with
// the same Qt writers, as many lines, outlines and point names as the tool
// paints for the default project, from plain arrays of doubles made by the
// same library calls per point as the engine (bench/BareCli.cpp's chain:
// the circle point's cosine and sine, the square roots, the arc tangent, the
// cosine and sine that lay the point flat). Each name is measured to centre
// it, as a drawing does. No engine, no checks, no safe writer.
//
//   vintalerBarePaint DIVISIONS svg|pdf|tiles FILE
//
// svg: one QSvgGenerator onto a QFile; pdf: one page of QPdfWriter at 1200
// dpi; tiles: the same on two A4 pages (the overview and the one sheet of the
// default project's pattern).
//
// The PDF floors' memory is Qt's: its writer holds a page's whole content
// (120 MB at 100,000 divisions) until the page ends and then reads it back
// in blocks of 16 MiB to compress it, so these floors peak at about 165-180
// MiB however the drawing is fed to it.
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BareDevelopment.h"

namespace {

struct Quadrant {
  std::vector<double> x, y;  // the round end's points laid flat
  double cornerX = 0, cornerY = 0;
};

// The flat points of one quadrant, as bench/BareCli.cpp makes them.
Quadrant develop(int q, long n) {
  Quadrant d;
  d.x.reserve(static_cast<std::size_t>(n + 1));
  d.y.reserve(static_cast<std::size_t>(n + 1));
  bare::develop(q, n, n, [&](long, long double x, long double y) {
    d.x.push_back(static_cast<double>(x * (q % 2 ? 1 : -1)));
    d.y.push_back(static_cast<double>(y * (q <= 2 ? 1 : -1)));
  });
  return d;
}

// The drawing: `dpm` device units per millimetre, the pattern's origin at
// `origin` (device).
void paint(QPainter& painter, const std::vector<Quadrant>& quadrants, double dpm, QPointF origin) {
  const auto at = [&](double x, double y) { return origin + QPointF(x * dpm, -y * dpm); };
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  QPen bend(Qt::black, 0.2 * dpm, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  bend.setDashPattern({15, 7.5});
  painter.setPen(bend);
  for (const Quadrant& d : quadrants) {
    for (std::size_t i = 0; i < d.x.size(); ++i) painter.drawLine(at(d.cornerX, d.cornerY), at(d.x[i], d.y[i]));
  }
  painter.setPen(QPen(Qt::black, 0.3 * dpm, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  for (std::size_t half = 0; half < 2; ++half) {
    QPolygonF outline;
    for (std::size_t k = 0; k < 2; ++k) {
      const Quadrant& d = quadrants[2 * half + k];
      outline << at(0, 0) << at(d.cornerX, d.cornerY);
      for (std::size_t i = 0; i < d.x.size(); ++i) outline << at(d.x[i], d.y[i]);
    }
    painter.drawPolygon(outline);
  }
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(2.5 * dpm * 72.0 / painter.device()->logicalDpiY());
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  for (std::size_t q = 0; q < quadrants.size(); ++q) {
    const Quadrant& d = quadrants[q];
    for (std::size_t i = 0; i < d.x.size(); ++i) {
      const QString name = (q % 3 == 0 ? QStringLiteral("R") : QStringLiteral("L")) + QString::number(i + 1);
      painter.drawText(at(d.x[i], d.y[i]) - QPointF(metrics.horizontalAdvance(name) / 2, 0), name);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const long n = std::strtol(argv[1], nullptr, 10);
  std::vector<Quadrant> quadrants;
  for (int q = 1; q <= 4; ++q) {
    quadrants.push_back(develop(q, n));
    quadrants.back().cornerX = q % 2 ? 50 : -50;
    quadrants.back().cornerY = q <= 2 ? 50 : -50;
  }
  const QString file = QString::fromLocal8Bit(argv[3]);
  if (std::strcmp(argv[2], "svg") == 0) {
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setResolution(254);
    svg.setSize(QSize(2119, 1514));
    svg.setViewBox(QRectF(0, 0, 211.9, 151.4));
    QPainter painter(&svg);
    paint(painter, quadrants, 1, QPointF(106, 76));
    return 0;
  }
  QPdfWriter pdf(file);
  pdf.setResolution(1200);
  const double dpm = 1200 / 25.4;
  if (std::strcmp(argv[2], "tiles") == 0) {
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    QPainter painter(&pdf);
    paint(painter, quadrants, dpm * 0.9, QPointF(140 * dpm, 95 * dpm));
    pdf.newPage();
    paint(painter, quadrants, dpm, QPointF(145 * dpm, 100 * dpm));
    return 0;
  }
  pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(601, 430), QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
  QPainter painter(&pdf);
  paint(painter, quadrants, dpm, QPointF(106 * dpm, 76 * dpm));
  return 0;
}
