#include <QClipboard>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QtTest>

#include "report2d/TQuickReport1.h"
#include "shema/TShemaForm.h"
#include "support/GuiTestSupport.h"
#include "textPage/TTextPage.h"
#include "worksheet/TWorkForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

struct Colours {
  int black = 0, white = 0, other = 0;
};

Colours Count(const QImage& image) {
  Colours c;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y) | 0xFF000000u;
      if (p == qRgb(0, 0, 0)) {
        ++c.black;
      } else if (p == qRgb(255, 255, 255)) {
        ++c.white;
      } else {
        ++c.other;
      }
    }
  }
  return c;
}

}  // namespace

class PrintCopyTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;

 private slots:
  void init() { recorder_.Reset(); }

  void copyPutsTheViewOnTheClipboardInBlackAndWhite() {
    TWorkForm form(nullptr);
    form.xPaintBox1->setFixedSize(400, 300);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QGuiApplication::clipboard()->setText("old text");
    form.redraw(false);
    const QImage before = form.xPaintBox1->canvasImage().copy();
    form.Copy->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(400, 300));
    const Colours c = Count(copied);
    QVERIFY(c.black > 100);
    QCOMPARE(c.other, 0);
    QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    QCOMPARE(form.xPaintBox1->CanvasMode(), TxPaintBox::cmCanvas);
    QCOMPARE(form.xPaintBox1->canvasImage(), before);
  }

  // The report shows the view's lines where the screen shows them, stretched
  // onto its frame; the screen's picture stays as it was. (The print used to
  // go through the view's off-screen bitmap, which broke the printed lines.)
  void printShowsTheViewInAReportAndRestoresTheScreen() {
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowRazvertka->trigger();
    form.redraw(false);
    const QImage before = form.xPaintBox2->canvasImage().copy();
    QRectF onScreen;  // the blue pixels, carried onto the report's frame
    for (int y = 0; y < before.height(); ++y) {
      for (int x = 0; x < before.width(); ++x) {
        if (before.pixel(x, y) == qRgb(0, 0, 255)) onScreen |= QRectF(x, y, 1, 1);
      }
    }
    const double fx = 834.0 / before.width();
    const double fy = 594.0 / before.height();
    onScreen = QRectF(onScreen.x() * fx, onScreen.y() * fy, onScreen.width() * fx, onScreen.height() * fy);
    QRectF printed;
    bool checked = false;
    vintaler::setModalRunner([&](QDialog& d) {
      checked = qobject_cast<QPrintPreviewDialog*>(&d) && QuickReport1 && QuickReport1->showsLines() &&
                QuickReport1->lines().size() > 20 && form.xPaintBox2->CanvasMode() == TxPaintBox::cmCanvas;
      if (QuickReport1) {
        for (const QLineF& l : QuickReport1->lines()) printed |= QRectF(l.p1(), l.p2()).normalized();
      }
      return int(QDialog::Accepted);
    });
    form.PrintAction->trigger();
    QVERIFY(checked);
    QCOMPARE(QuickReport1, nullptr);
    QCOMPARE(form.xPaintBox2->canvasImage(), before);
    const double slack = 2 * std::max(fx, fy);  // a screen pixel, rounded either way
    for (const QPointF& corner :
         {printed.topLeft() - onScreen.topLeft(), printed.bottomRight() - onScreen.bottomRight()}) {
      QVERIFY(std::abs(corner.x()) < slack && std::abs(corner.y()) < slack);
    }
  }

  void aFailingRedrawLeavesTheSurfaceUsable() {
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowRazvertka->trigger();
    form.ProParams.Divisions = 0;
    bool previewed = false;
    vintaler::setModalRunner([&](QDialog&) {
      previewed = true;
      return int(QDialog::Accepted);
    });
    form.PrintAction->trigger();
    QVERIFY(!previewed);
    QCOMPARE(recorder_.messages, QStringList{"Floating point division by zero"});
    QCOMPARE(form.xPaintBox2->CanvasMode(), TxPaintBox::cmCanvas);
    QCOMPARE(QuickReport1, nullptr);
    form.Copy->trigger();
    QCOMPARE(recorder_.messages.size(), 2);
    QCOMPARE(form.xPaintBox2->CanvasMode(), TxPaintBox::cmCanvas);

    // Corrected, both work again.
    form.ProParams.Divisions = 10;
    form.PrintAction->trigger();
    QVERIFY(previewed);
    QCOMPARE(recorder_.messages.size(), 2);
  }

  void theResultsPageLeavesTheSurfacesAlone() {
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowResult->trigger();
    form.xPaintBox1->ResetBitmap();
    const QImage bitmap = form.xPaintBox1->Bitmap().copy();
    form.Memo1->selectAll();
    form.Copy->trigger();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith("Параметры перехода:"));
    vintaler::setModalRunner([](QDialog&) { return int(QDialog::Rejected); });
    form.PrintAction->trigger();  // previewed as text
    QCOMPARE(recorder_.messages.size(), 0);
    QCOMPARE(form.xPaintBox1->Bitmap(), bitmap);
  }

  void schemeWindowIsShownModally() {
    TWorkForm form(nullptr);
    QDialog* shown = nullptr;
    vintaler::setModalRunner([&](QDialog& d) {
      shown = &d;
      return int(QDialog::Rejected);
    });
    form.ShowShema->trigger();
    QVERIFY(qobject_cast<TShemaForm*>(shown));
    QDialog* first = shown;
    form.ShowShema->trigger();
    QCOMPARE(shown, first);
  }
};

QTEST_MAIN(PrintCopyTest)
#include "PrintCopyTest.moc"
