#include <QtTest>

#include "fishApi/core/FishErrors.h"
#include "support/GuiTestSupport.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kBlack = qRgb(0, 0, 0);

}  // namespace

Q_DECLARE_METATYPE(fish::TViewBounds)

// A 100 x 100 surface showing the world 0..100 one unit per pixel, cleared.
static void prepareUnitWindow(TxPaintBox& box) {
  box.resize(100, 100);
  box.setBounds({0, 100, 0, 100, 0, 100});
  box.UpdateScale();
  box.ClearView();
}

class TxPaintBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void newSurfaceMapsEverythingToTheBottomLeft() {
    TxPaintBox box;
    box.resize(200, 100);
    QCOMPARE(box.ScaleX(), 0.0L);
    QCOMPARE(box.ScreenToWorldX(10), 0.0L);
    QCOMPARE(box.MaxX(), 100.0L);
    QCOMPARE(box.CanvasMode(), TxPaintBox::cmCanvas);
    QVERIFY(box.Bitmap().isNull());
  }

  void obliqueMappingOnA400By300Control() {
    TxPaintBox box;
    box.resize(400, 300);
    box.setSpaceMode(fish::TSpaceMode::_3D);
    box.setBounds({-100, 100, -100, 100, -100, 100});
    box.UpdateScale();
    QCOMPARE(box.ScaleX(), 1.125L);
    QCOMPARE(box.ScaleZ(), 1.125L);
    box.setPenColor(QColor(kBlue));
    box.ClearView();
    // The origin lands on (168, 132); a line along +X from there is drawn blue.
    box.MoveTo3D(0, 0, 0);
    box.LineTo3D(40, 0, 0);
    const QImage image = box.canvasImage();
    QCOMPARE(image.pixel(168, 132), kBlue);
    QCOMPARE(image.pixel(190, 132), kBlue);
    QCOMPARE(image.pixel(190, 133), kWhite);
    QCOMPARE(image.pixel(160, 132), kWhite);
  }

  // Lines drawn over again are skipped only where that changes no pixel: a
  // translucent pen darkens what it crosses twice.
  void aTranslucentPenDrawsARepeatedLineAgain() {
    const QColor translucent(0, 0, 255, 128);
    QImage pictures[2];
    for (int times = 1; times <= 2; ++times) {
      TxPaintBox box;
      box.setPenColor(translucent);
      prepareUnitWindow(box);
      for (int i = 0; i < times; ++i) {
        box.MoveTo2D(10, 50);
        box.LineTo2D(60, 50);
      }
      pictures[times - 1] = box.canvasImage();
    }
    QVERIFY(pictures[0].pixel(30, 50) != kWhite);
    QVERIFY(pictures[1].pixel(30, 50) != pictures[0].pixel(30, 50));
  }

  // A line collapsed to one pixel sets that pixel, also after other lines,
  // also where one was set before; off the image it draws nothing.
  void aLineCollapsedToAPixelSetsIt() {
    TxPaintBox box;
    prepareUnitWindow(box);
    box.MoveTo2D(10, 50);
    box.LineTo2D(60, 50);
    for (const auto& [x, y] : {std::pair{80, 20}, {80, 20}, {60, 50}, {-5, 20}, {80, 120}}) {
      box.MoveTo2D(x, y);
      box.LineTo2D(x, y);
    }
    const QImage image = box.canvasImage();
    QCOMPARE(image.pixel(80, 80), kBlack);
    QCOMPARE(CountColour(image, kBlack), 51 + 1);
  }

  // A point is mapped once per mapping: a window moved between two lines
  // puts the same world point on another pixel.
  void aWindowMovedBetweenLinesMapsThePointAfresh() {
    TxPaintBox box;
    prepareUnitWindow(box);
    box.MoveTo2D(10, 50);
    box.LineTo2D(10, 50);
    box.setMinX(-20);  // the scale stays: the picture moves 20 pixels right
    box.MoveTo2D(10, 50);
    box.LineTo2D(10, 50);
    const QImage image = box.canvasImage();
    QCOMPARE(image.pixel(10, 50), kBlack);
    QCOMPARE(image.pixel(30, 50), kBlack);
    QCOMPARE(CountColour(image, kBlack), 2);
  }

  void planeLinesLandOnTheirPixels() {
    TxPaintBox box;
    box.resize(200, 100);
    box.setBounds({0, 100, 0, 100, 0, 100});
    box.UpdateScale();
    box.ClearView();
    box.MoveTo2D(10, 50);
    box.LineTo2D(60, 50);  // row 100 - 50
    box.LineTo2D(60, 90);  // the pen stayed at (60, 50): up to row 10
    const QImage image = box.canvasImage();
    QCOMPARE(image.pixel(10, 50), kBlack);
    QCOMPARE(image.pixel(35, 50), kBlack);
    QCOMPARE(image.pixel(60, 30), kBlack);
    QCOMPARE(image.pixel(60, 10), kBlack);
    QCOMPARE(image.pixel(61, 30), kWhite);
    QCOMPARE(CountColour(image, kBlack), 51 + 40);
    QCOMPARE(box.ScreenToWorldX(25), 25.0L);
    QCOMPARE(box.ScreenToWorldY(100), 0.0L);
  }

  void bitmapModeDrawsBlackIntoTheBitmapOnly() {
    TxPaintBox box;
    box.resize(120, 80);
    box.setBounds({0, 100, 0, 100, 0, 100});
    box.setPenColor(QColor(kBlue));
    box.UpdateScale();
    box.ClearView();
    box.MoveTo2D(0, 40);
    box.LineTo2D(80, 40);
    QVERIFY(CountColour(box.canvasImage(), kBlue) > 0);

    box.setCanvasMode(TxPaintBox::cmBitMap);
    box.ResetBitmap();
    QCOMPARE(box.Bitmap().size(), QSize(120, 80));
    QCOMPARE(CountColour(box.Bitmap(), kWhite), 120 * 80);
    box.ClearView();  // clears the screen's canvas, not the bitmap
    box.MoveTo2D(0, 20);
    box.LineTo2D(50, 20);
    QCOMPARE(CountColour(box.canvasImage(), kBlue), 0);
    QCOMPARE(CountColour(box.Bitmap(), kBlack), 41);
    QCOMPARE(box.Bitmap().pixel(20, 64), kBlack);  // scale 0.8: (50, 20) -> (40, 64)

    box.setCanvasMode(TxPaintBox::cmCanvas);
    box.LineTo2D(0, 0);  // the canvas pen is where the canvas left it
    QCOMPARE(CountColour(box.Bitmap(), kBlack), 41);
    QVERIFY(CountColour(box.canvasImage(), kBlue) > 0);
  }

  void farPointsAreRangeErrorsAndDrawNothing() {
    TxPaintBox box;
    prepareUnitWindow(box);
    box.MoveTo2D(10, 10);
    QVERIFY_THROWS_EXCEPTION(fish::ERangeError, box.LineTo2D(3e9L, 10));
    QVERIFY_THROWS_EXCEPTION(fish::EInvalidOp, box.LineTo2D(1e30L, 10));
    QCOMPARE(CountColour(box.canvasImage(), kBlack), 0);

    box.setMaxY(0);
    box.setMinY(0);
    try {
      box.UpdateScale();
      QFAIL("a zero Y span must fail");
    } catch (const fish::EZeroDivide& e) {
      QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Floating point division by zero"));
    }
  }

  // A window whose span is too wide for the extended format fails as an
  // overflow instead of squeezing the picture into column 0; huge windows
  // that fit still draw in place.
  void hugeWindows_data() {
    QTest::addColumn<bool>("oblique");
    QTest::addColumn<fish::TViewBounds>("bounds");  // MinX, MaxX, MinY, MaxY, MinZ, MaxZ
    QTest::addColumn<bool>("overflows");
    QTest::newRow("X span fits") << false << fish::TViewBounds{-1e4931L, 1e4931L, 0, 100, 0, 100} << false;
    QTest::newRow("X span overflows") << false << fish::TViewBounds{-1e4932L, 1e4932L, 0, 100, 0, 100} << true;
    QTest::newRow("Y span overflows") << false << fish::TViewBounds{-100, 100, -1e4932L, 1e4932L, 0, 100} << true;
    QTest::newRow("Z span overflows in 3-D") << true << fish::TViewBounds{-100, 100, 0, 100, -1e4932L, 1e4932L} << true;
    QTest::newRow("Z span unused in the plane")
        << false << fish::TViewBounds{-100, 100, 0, 100, -1e4932L, 1e4932L} << false;
  }

  void hugeWindows() {
    QFETCH(bool, oblique);
    QFETCH(fish::TViewBounds, bounds);
    QFETCH(bool, overflows);
    TxPaintBox box;
    box.resize(300, 200);
    box.setSpaceMode(oblique ? fish::TSpaceMode::_3D : fish::TSpaceMode::_2D);
    box.setBounds(bounds);
    QCOMPARE(box.tryUpdateScale(), !overflows);
    if (overflows) {
      try {
        box.UpdateScale();
        QFAIL("the span must overflow");
      } catch (const fish::EOverflow& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Floating point overflow"));
      }
      return;
    }
    // World x = 0 is the middle of the X window: column 100 of the 200-pixel square.
    box.ClearView();
    box.MoveTo2D(0, 10);
    box.LineTo2D(0, 90);
    const QImage image = box.canvasImage();
    QCOMPARE(image.pixel(100, 100), kBlack);
    QCOMPARE(image.pixel(0, 100), kWhite);
  }

  void messagesAreWrittenOnTheView() {
    TxPaintBox box;
    box.resize(300, 100);
    box.ClearView();
    box.showMessage(QStringLiteral("Floating point division by zero"));
    const QImage image = box.canvasImage();
    QVERIFY(CountColour(image, kWhite) < 300 * 100);
    QCOMPARE(image.pixel(299, 99), kWhite);
  }

  void eventsReachTheirHandlers() {
    TxPaintBox box;
    box.resize(100, 100);
    int paints = 0, dbl = 0, enter = 0, leave = 0, moves = 0;
    QPoint last;
    box.OnPaint = [&](TxPaintBox* b) {
      ++paints;
      b->setBounds({0, 100, 0, 100, 0, 100});
      b->UpdateScale();
      b->ClearView();
      b->MoveTo2D(0, 50);
      b->LineTo2D(100, 50);
    };
    box.OnDblClick = [&](TxPaintBox*) { ++dbl; };
    box.OnMouseEnter = [&](TxPaintBox*) { ++enter; };
    box.OnMouseLeave = [&](TxPaintBox*) { ++leave; };
    box.OnMouseMove = [&](TxPaintBox*, int x, int y) {
      ++moves;
      last = QPoint(x, y);
    };
    // Painting raises OnPaint and shows what it drew.
    const QImage shown = box.grab().toImage();
    QVERIFY(paints >= 1);
    QCOMPARE(shown.pixel(30, 50), kBlack);

    QTest::mouseDClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(dbl, 1);
    QTest::mouseMove(&box, QPoint(12, 34));
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 34), QPointF(12, 34), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    QVERIFY(moves >= 1);
    QCOMPARE(last, QPoint(12, 34));
    QEnterEvent in(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&box, &in);
    QEvent out(QEvent::Leave);
    QApplication::sendEvent(&box, &out);
    QCOMPARE(enter, 1);
    QCOMPARE(leave, 1);
  }
};

QTEST_MAIN(TxPaintBoxTest)
#include "TxPaintBoxTest.moc"
