#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QVector3D>
#include <QtTest>
#include <cmath>

#include "fishApi/view/FishView.h"
#include "report2d/ReportSurface.h"
#include "report2d/TQuickReport1.h"
#include "shema/TShemaForm.h"

namespace {
// The PDF renderer may move a colour by a unit or two.
bool IsRed(QRgb p) { return qRed(p) > 240 && qGreen(p) < 16 && qBlue(p) < 16; }
bool IsWhite(QRgb p) { return qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) > 240; }

QString Output(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(60000)) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The encoding of every image in the PDF, as pdfimages lists it ("jpeg" for
// the lossy DCT, "image" for lossless Flate).
QStringList ImageEncodings(const QString& pdf) {
  const QStringList lines = Output("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
  QStringList encodings;
  for (qsizetype i = 2; i < lines.size(); ++i) {  // after the heading and its rule
    const QStringList fields = lines[i].simplified().split(' ');
    if (fields.size() > 8) encodings << fields[8];
  }
  return encodings;
}

// The report's page in a PDF made at `dpi`, rasterised in grey at the same
// resolution: one printer pixel is one image pixel. Only `area` of the page
// (in printer pixels) is rasterised; the image's (0, 0) is its top left.
QImage PrintedPage(TQuickReport1& report, const QTemporaryDir& dir, int dpi, QStringList* encodings,
                   const QRect& area) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(dpi);
  printer.setOutputFileName(dir.filePath("page.pdf"));
  report.render(printer);
  *encodings = ImageEncodings(dir.filePath("page.pdf"));
  QProcess raster;
  raster.start("pdftoppm", {"-r", QString::number(dpi), "-gray", "-png", "-singlefile", "-x", QString::number(area.x()),
                            "-y", QString::number(area.y()), "-W", QString::number(area.width()), "-H",
                            QString::number(area.height()), dir.filePath("page.pdf"), dir.filePath("page")});
  if (!raster.waitForFinished(60000)) return {};
  return QImage(dir.filePath("page.png"));
}
}  // namespace

class TQuickReport1Test : public QObject {
  Q_OBJECT

 private slots:
  void pictureStartsWhiteAt834By594() {
    TQuickReport1 report;
    const QImage& picture = report.picture();
    QCOMPARE(picture.size(), QSize(834, 594));
    QCOMPARE(picture.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(picture.pixel(833, 593), qRgb(255, 255, 255));
  }

  void stretchingUsesSeparateFactors() {
    // 309 x 313: left half black, right half white; top row of the bottom
    // quarter red. Stretched by 834/309 across and 594/313 down.
    QImage source(309, 313, QImage::Format_RGB32);
    source.fill(Qt::white);
    for (int y = 0; y < 313; ++y) {
      for (int x = 0; x < 154; ++x) source.setPixel(x, y, qRgb(0, 0, 0));
    }
    for (int x = 0; x < 309; ++x) source.setPixel(x, 240, qRgb(255, 0, 0));
    TQuickReport1 report;
    report.stretchOnto(source);
    const QImage& p = report.picture();
    QCOMPARE(p.pixel(10, 10), qRgb(0, 0, 0));
    QCOMPARE(p.pixel(int(153 * 834.0 / 309), 10), qRgb(0, 0, 0));
    QCOMPARE(p.pixel(int(155 * 834.0 / 309) + 1, 10), qRgb(255, 255, 255));
    QCOMPARE(p.pixel(600, int(240.5 * 594.0 / 313)), qRgb(255, 0, 0));
    QCOMPARE(p.pixel(600, int(243 * 594.0 / 313)), qRgb(255, 255, 255));
  }

  void pageIsA4LandscapeWithThePictureInsideTheMargins() {
    QTemporaryDir dir;
    QImage red(20, 20, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    TQuickReport1 report;
    report.stretchOnto(red);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    report.render(printer);

    QProcess info;
    info.start("pdfinfo", {dir.filePath("page.pdf")});
    QVERIFY(info.waitForFinished(20000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(text.contains(QRegularExpression("Pages:\\s+1\n")), qPrintable(text));
    QVERIFY2(text.contains(QRegularExpression("Page size:\\s+842 x 595 pts")), qPrintable(text));

    // One point per pixel: the margins are 28.35 px, the picture 781.9 px
    // wide; its 556.9 px of height are cut at the bottom margin (566.9 px).
    QProcess raster;
    raster.start("pdftoppm", {"-r", "72", "-png", "-singlefile", dir.filePath("page.pdf"), dir.filePath("page")});
    QVERIFY(raster.waitForFinished(20000));
    const QImage page(dir.filePath("page.png"));
    QCOMPARE(page.size(), QSize(842, 595));
    QVERIFY(IsWhite(page.pixel(26, 100)));
    QVERIFY(IsRed(page.pixel(31, 31)));
    QVERIFY(IsWhite(page.pixel(100, 26)));
    QVERIFY(IsRed(page.pixel(807, 300)));
    QVERIFY(IsWhite(page.pixel(813, 300)));
    QVERIFY(IsRed(page.pixel(300, 564)));
    QVERIFY(IsWhite(page.pixel(300, 569)));
  }

  // A view drawn into the report: its lines are drawn again at the
  // printer's resolution, where the view shows them, one pixel wide and
  // without gaps, however much the view is shrunk or enlarged to fit the
  // frame; no picture is embedded at all.
  void viewLinesStayContinuousAtThePrinterResolution_data() {
    QTest::addColumn<bool>("depth");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QVector3D>("from");
    QTest::addColumn<QVector3D>("to");
    const QSize large(1600, 1200);
    const QSize small(200, 150);
    QTest::newRow("shrunk, horizontal") << false << large << QVector3D(5, 50, 0) << QVector3D(95, 50, 0);
    QTest::newRow("shrunk, vertical") << false << large << QVector3D(40, 5, 0) << QVector3D(40, 95, 0);
    QTest::newRow("shrunk, steep") << false << large << QVector3D(50, 5, 0) << QVector3D(60, 95, 0);
    QTest::newRow("shrunk, diagonal") << false << large << QVector3D(5, 5, 0) << QVector3D(95, 95, 0);
    QTest::newRow("enlarged, diagonal") << false << small << QVector3D(5, 5, 0) << QVector3D(95, 80, 0);
    QTest::newRow("shrunk 3-D, along the depth") << true << large << QVector3D(10, 10, 0) << QVector3D(10, 10, 90);
    QTest::newRow("enlarged 3-D, across") << true << small << QVector3D(5, 50, 20) << QVector3D(90, 60, 20);
  }

  void viewLinesStayContinuousAtThePrinterResolution() {
    QFETCH(bool, depth);
    QFETCH(QSize, view);
    QFETCH(QVector3D, from);
    QFETCH(QVector3D, to);
    fish::TViewMapping mapping;
    mapping.SpaceMode = depth ? fish::TSpaceMode::_3D : fish::TSpaceMode::_2D;
    mapping.setBounds({0, 100, 0, 100, 0, 100});
    mapping.Width = view.width();
    mapping.Height = view.height();
    vintaler::ReportSurface surface(mapping, QSizeF(834, 594));
    surface.UpdateScale();
    surface.ClearView();
    if (depth) {
      surface.MoveTo3D(from.x(), from.y(), from.z());
      surface.LineTo3D(to.x(), to.y(), to.z());
    } else {
      surface.MoveTo2D(from.x(), from.y());
      surface.LineTo2D(to.x(), to.y());
    }
    // Where the view shows the end points, carried onto the frame on paper.
    const int dpi = 300;
    mapping.UpdateScale();
    auto onPaper = [&](const QVector3D& p) {
      const fish::TPixel px = depth ? mapping.project3D(p.x(), p.y(), p.z()) : mapping.project2D(p.x(), p.y());
      const double margin = 10 / 25.4 * dpi;
      return QPointF(margin + px.X * (275.83 / 25.4 * dpi) / view.width(),
                     margin + px.Y * (196.45 / 25.4 * dpi) / view.height());
    };
    const QPointF a = onPaper(from);
    const QPointF b = onPaper(to);
    const double viewPixel = (275.83 / 25.4 * dpi) / view.width();
    const int slack = int(std::ceil(viewPixel)) + 2;

    // Only the strip around the line is rasterised.
    TQuickReport1 report;
    report.setLines(surface.lines());
    QTemporaryDir dir;
    QStringList encodings;
    const QRect strip = QRectF(a, b).normalized().toAlignedRect().adjusted(-slack - 2, -slack - 2, slack + 2, slack + 2);
    const QImage page = PrintedPage(report, dir, dpi, &encodings, strip);
    QVERIFY(!page.isNull());
    QVERIFY2(encodings.isEmpty(), qPrintable(encodings.join(' ')));
    const bool acrossColumns = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
    const int steps = int(std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
    // Across the line at every printer pixel along it: the ink met, times
    // the slant, is the line's width in pixels.
    const double slant = steps / std::hypot(b.x() - a.x(), b.y() - a.y());
    int gaps = 0;
    int thick = 0;
    for (int i = slack; i <= steps - slack; ++i) {
      const QPointF c = a + (b - a) * (double(i) / steps);
      double ink = 0;
      for (int d = -slack; d <= slack; ++d) {
        const QPoint p = acrossColumns ? QPoint(int(std::lround(c.x())), int(std::lround(c.y())) + d)
                                       : QPoint(int(std::lround(c.x())) + d, int(std::lround(c.y())));
        ink += (255 - qGray(page.pixel(p - strip.topLeft()))) / 255.0;
      }
      gaps += ink * slant < 0.5;
      thick += ink * slant > 1.6;
    }
    QVERIFY(steps > 500);
    QCOMPARE(gaps, 0);
    QCOMPARE(thick, 0);
  }

  // The scheme's picture stays an image on paper, compressed without loss.
  void aPictureIsEmbeddedLosslessly() {
    TQuickReport1 report;
    report.stretchOnto(TShemaForm::picture());
    QTemporaryDir dir;
    QStringList encodings;
    const QImage page = PrintedPage(report, dir, 300, &encodings, QRect(0, 0, 64, 64));
    QVERIFY(!page.isNull());
    QCOMPARE(encodings.size(), 1);
    QCOMPARE(encodings.first(), QStringLiteral("image"));
  }
};

QTEST_MAIN(TQuickReport1Test)
#include "TQuickReport1Test.moc"
