#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "report2d/TQuickReport1.h"

namespace {
// The PDF renderer may move a colour by a unit or two.
bool IsRed(QRgb p) { return qRed(p) > 240 && qGreen(p) < 16 && qBlue(p) < 16; }
bool IsWhite(QRgb p) { return qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) > 240; }
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
};

QTEST_MAIN(TQuickReport1Test)
#include "TQuickReport1Test.moc"
