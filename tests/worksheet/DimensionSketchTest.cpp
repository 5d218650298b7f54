#include <QtTest>
#include <cmath>

#include "worksheet/DimensionSketch.h"

namespace {

enum class Ink { Dimension, Axis };

bool isInk(QRgb c, Ink ink) {
  if (qAlpha(c) < 96) return false;
  if (ink == Ink::Dimension) return qRed(c) > 120 && qGreen(c) < 90 && qBlue(c) < 90;
  return qBlue(c) > 150 && qRed(c) < 100;
}

// Pixels of `ink` beside the line near its end `end` (0 or 1): between 2 and
// 6 pixels from the end along it, 1.2 to 3 pixels to one side (+1 or -1).
// An arrow head puts its wings there; the line alone does not reach.
int inkBesideEnd(const QImage& image, const QLineF& line, int end, int side, Ink ink) {
  const QPointF from = end == 0 ? line.p1() : line.p2();
  const QPointF to = end == 0 ? line.p2() : line.p1();
  const QPointF d = (to - from) / line.length();
  const QPointF n(-d.y() * side, d.x() * side);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QPointF v = QPointF(x + 0.5, y + 0.5) - from;
      const double along = QPointF::dotProduct(v, d);
      const double beside = QPointF::dotProduct(v, n);
      if (along >= 2 && along <= 6 && beside >= 1.2 && beside <= 3) count += isInk(image.pixel(x, y), ink);
    }
  }
  return count;
}

bool crosses(const QRectF& box, const QLineF& line) {
  for (double t = 0; t <= 1; t += 0.5 / line.length()) {
    if (box.contains(line.pointAt(t))) return true;
  }
  return false;
}

}  // namespace

class DimensionSketchTest : public QObject {
  Q_OBJECT

  const vintaler::DimensionSketchLayout layout_ = vintaler::dimensionSketchLayout();
  const QImage image_ = vintaler::dimensionSketch().toImage();

 private slots:
  void pictureHasItsSizeAndNothingAtItsEdges() {
    QCOMPARE(image_.size(), QSize(204, 250));
    QCOMPARE(layout_.size, image_.size());
    // Two empty rows and columns all round: nothing is cut off.
    int drawn = 0;
    for (int y = 0; y < image_.height(); ++y) {
      for (int x = 0; x < image_.width(); ++x) {
        const bool edge = x < 2 || y < 2 || x >= image_.width() - 2 || y >= image_.height() - 2;
        if (qAlpha(image_.pixel(x, y)) == 0) continue;
        QVERIFY2(!edge, qPrintable(QString("drawn at %1, %2").arg(x).arg(y)));
        ++drawn;
      }
    }
    QVERIFY(drawn > 1000);
  }

  // Every window shows the one picture; a new application font draws it anew.
  void windowsShareThePictureUntilTheFontChanges() {
    const QPixmap first = vintaler::dimensionSketch();
    QCOMPARE(vintaler::dimensionSketch().cacheKey(), first.cacheKey());
    const QFont before = QGuiApplication::font();
    QFont serif = before;
    serif.setFamily(QStringLiteral("DejaVu Serif"));
    QGuiApplication::setFont(serif);
    const QPixmap redrawn = vintaler::dimensionSketch();
    QGuiApplication::setFont(before);
    QVERIFY(redrawn.cacheKey() != first.cacheKey());
    QVERIFY(redrawn.toImage() != first.toImage());
    QCOMPARE(vintaler::dimensionSketch().toImage(), first.toImage());
  }

  void labelsStandClearInsideThePicture_data() {
    QTest::addColumn<QString>("text");
    for (const char* text : {"X", "Y", "Z", "X0,Y0,Z0", "B", "A", "L", "R", "x1", "y1"})
      QTest::newRow(text) << QString::fromLatin1(text);
  }

  void labelsStandClearInsideThePicture() {
    QFETCH(QString, text);
    const auto found = std::find_if(layout_.labels.begin(), layout_.labels.end(),
                                    [&](const vintaler::DimensionSketchLayout::Label& l) { return l.text == text; });
    QVERIFY(found != layout_.labels.end());
    const QRectF box = found->box;
    QVERIFY(!box.isEmpty());
    QVERIFY2(QRectF(2, 2, image_.width() - 4, image_.height() - 4).contains(box),
             qPrintable(QString("%1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
    for (const QLineF& axis : layout_.axes) QVERIFY2(!crosses(box, axis), "an axis runs through the label");
    for (const auto& other : layout_.labels) {
      if (other.text != text) QVERIFY2(!box.intersects(other.box), qPrintable("overlaps " + other.text));
    }
    // The text is drawn where the layout says.
    int inked = 0;
    const QRect pixels = box.toAlignedRect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
      for (int x = pixels.left(); x <= pixels.right(); ++x)
        inked += isInk(image_.pixel(x, y), found->axis ? Ink::Axis : Ink::Dimension);
    }
    QVERIFY(inked >= 3);
  }

  // B, A and L are dimensions, with a head at both ends; an axis has one, at
  // its tip.
  void arrowHeads_data() {
    QTest::addColumn<QLineF>("line");
    QTest::addColumn<bool>("axis");
    QTest::addColumn<bool>("tailHead");
    QTest::newRow("B") << layout_.dimensions.value(0) << false << true;
    QTest::newRow("A") << layout_.dimensions.value(1) << false << true;
    QTest::newRow("L") << layout_.dimensions.value(2) << false << true;
    QTest::newRow("X axis") << layout_.axes.value(0) << true << false;
    QTest::newRow("Y axis") << layout_.axes.value(1) << true << false;
  }

  void arrowHeads() {
    QFETCH(QLineF, line);
    QFETCH(bool, axis);
    QFETCH(bool, tailHead);
    QCOMPARE(layout_.dimensions.size(), 3);
    QVERIFY(line.length() > 20);
    const Ink ink = axis ? Ink::Axis : Ink::Dimension;
    for (int side : {1, -1}) {
      QVERIFY2(inkBesideEnd(image_, line, 1, side, ink) > 0, "no head at the tip");
      QCOMPARE(inkBesideEnd(image_, line, 0, side, ink) > 0, tailHead);
    }
  }
};

QTEST_MAIN(DimensionSketchTest)
#include "DimensionSketchTest.moc"
