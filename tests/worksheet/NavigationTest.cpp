#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "TestHost.h"
#include "fishApi/core/FishExtents.h"
#include "support/GuiTestSupport.h"
#include "worksheet/TWorkForm.h"
#include "worksheet/setupDraw/TSetupDrawForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

struct Window {
  double minX, maxX, minY, maxY;
};

void expectWindow(const TxPaintBox* box, Window w) {
  QVERIFY2(std::fabs(double(box->MinX()) - w.minX) < 1e-12, qPrintable(QString::number(double(box->MinX()))));
  QVERIFY2(std::fabs(double(box->MaxX()) - w.maxX) < 1e-12, qPrintable(QString::number(double(box->MaxX()))));
  QVERIFY2(std::fabs(double(box->MinY()) - w.minY) < 1e-12, qPrintable(QString::number(double(box->MinY()))));
  QVERIFY2(std::fabs(double(box->MaxY()) - w.maxY) < 1e-12, qPrintable(QString::number(double(box->MaxY()))));
}

}  // namespace

class NavigationTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;
  QStringList& errors_ = recorder_.messages;

 private slots:
  void init() { recorder_.Reset(); }

  void scrollingMovesTheWindowByFivePercent() {
    TWorkForm form(nullptr);
    form.ScrollLeft->trigger();
    expectWindow(form.xPaintBox1, {-90, 110, -100, 100});
    form.ScrollUp->trigger();
    expectWindow(form.xPaintBox1, {-90, 110, -110, 90});
    form.ScrollRight->trigger();
    form.ScrollDown->trigger();
    expectWindow(form.xPaintBox1, {-100, 100, -100, 100});
    QCOMPARE(form.xPaintBox1->MinZ(), -100.0L);
    expectWindow(form.xPaintBox2, {-100, 100, -100, 100});
  }

  void zoomStepsComeFromTheYSpan() {
    TWorkForm form(nullptr);
    form.ZoomIn->trigger();
    expectWindow(form.xPaintBox1, {-95, 95, -95, 95});
    form.ZoomOut->trigger();
    expectWindow(form.xPaintBox1, {-99.75, 99.75, -99.75, 99.75});

    form.ShowRazvertka->trigger();
    form.xPaintBox2->setBounds({0, 10, 0, 200, -100, 100});
    form.ZoomIn->trigger();
    expectWindow(form.xPaintBox2, {5, 5, 5, 195});
    QCOMPARE(form.xPaintBox2->ScaleX(), 0.0L);  // a zero X span scales nothing
    form.ZoomIn->trigger();
    expectWindow(form.xPaintBox2, {9.75, 0.25, 9.75, 190.25});

    form.xPaintBox2->setBounds({3, 3, 4, 4, 0, 0});
    form.ScrollLeft->trigger();
    form.ZoomOut->trigger();
    expectWindow(form.xPaintBox2, {3, 3, 4, 4});
    QVERIFY(errors_.isEmpty());
  }

  void theResultsPageMovesTheViewShownLast() {
    TWorkForm form(nullptr);
    form.ShowRazvertka->trigger();
    form.ShowResult->trigger();
    form.ZoomIn->trigger();
    expectWindow(form.xPaintBox2, {-95, 95, -95, 95});
    expectWindow(form.xPaintBox1, {-100, 100, -100, 100});
    form.AutoScale->trigger();  // nothing on the results page
    expectWindow(form.xPaintBox2, {-95, 95, -95, 95});
  }

  void autoScaleFramesTheWholeTransition() {
    TWorkForm form(nullptr);
    form.AutoScale->trigger();
    fish::TExtents3D e3;
    fish::GetSurfExtents(form.SystemParams, form.ProParams, e3);
    expectWindow(form.xPaintBox1, {double(e3.MinX), double(e3.MaxX), double(e3.MinY), double(e3.MaxY)});
    QCOMPARE(form.xPaintBox1->MaxZ(), e3.MaxZ);

    // A development wider than tall gets a square window from its extremes.
    form.Edits[1]->setText("300");  // B
    form.SystemParams.B = 300;
    form.SystemParams.Y1 = 40;
    form.ShowRazvertka->trigger();
    form.AutoScale->trigger();
    fish::TExtents2D e2;
    fish::GetRazvertkaExtents(form.SystemParams, form.ProParams, e2);
    const double lo = double(std::min(e2.MinX, e2.MinY));
    const double hi = double(std::max(e2.MaxX, e2.MaxY));
    expectWindow(form.xPaintBox2, {lo, hi, lo, hi});
    QCOMPARE(form.xPaintBox2->MinZ(), -100.0L);
    QCOMPARE(form.xPaintBox2->ScaleX(), form.xPaintBox2->ScaleY());
  }

  void readOutShowsTenths() {
    TestHost host;
    TWorkForm form(&host);
    form.ShowRazvertka->trigger();
    TxPaintBox* box = form.xPaintBox2;
    box->resize(400, 400);
    box->setBounds({12.34L, 112.34L, -4.56L, 95.44L, 0, 0});
    box->UpdateScale();
    form.xPaintBox2MouseMove(0, 400);
    QCOMPARE(host.coordinates, QStringLiteral("12.3: -4.6"));

    box->setBounds({0, 100, 0, 100, 0, 0});  // ScaleX = 4
    box->UpdateScale();
    form.xPaintBox2MouseMove(1, 400);
    QCOMPARE(host.coordinates, QStringLiteral("0.2: 0"));
    form.xPaintBox2MouseMove(3, 398);
    QCOMPARE(host.coordinates, QStringLiteral("0.8: 0.5"));

    // Beyond 32 bits in tenths: the read-out keeps its text, no message.
    box->setBounds({1e12L, 1e12L + 100, 0, 100, 0, 0});
    box->UpdateScale();
    form.xPaintBox2MouseMove(5, 5);
    QCOMPARE(host.coordinates, QStringLiteral("0.8: 0.5"));
    QVERIFY(errors_.isEmpty());

    box->setBounds({7, 7, 0, 100, 0, 0});  // zero X span: every factor 0
    box->UpdateScale();
    form.xPaintBox2MouseMove(50, 50);
    QCOMPARE(host.coordinates, QStringLiteral("0: 0"));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(box, &leave);
    QCOMPARE(host.coordinates, QString());
  }

  void drawingAreaDialog() {
    TWorkForm form(nullptr);
    form.ShowRazvertka->trigger();
    form.xPaintBox2->setBounds({-10.5L, 20, -30, 40, -7, 8});
    bool zHidden = false;
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<TSetupDrawForm&>(d);
      zHidden = dialog.Edits[4]->isHidden() && dialog.Labels[5]->isHidden();
      return int(QDialog::Accepted);
    });
    form.SetupDrawAction->trigger();
    QVERIFY(zHidden);
    QCOMPARE(form.xPaintBox2->MinX(), -10.5L);
    QCOMPARE(form.xPaintBox2->MaxZ(), 8.0L);

    // Cancel keeps everything whatever was typed.
    vintaler::setModalRunner([](QDialog& d) {
      dynamic_cast<TSetupDrawForm&>(d).Edits[0]->setText("1");
      return int(QDialog::Rejected);
    });
    form.SetupDrawAction->trigger();
    QCOMPARE(form.xPaintBox2->MinX(), -10.5L);

    // OK on a bad field or on equal Y bounds keeps the dialog open, naming
    // the field; the bounds are taken once all of them are usable.
    QStringList shown;
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<TSetupDrawForm&>(d);
      dialog.Edits[0]->setText("1");
      dialog.Edits[1]->setText("2");
      for (const char* minY : {"abc", "99", "5"}) {
        dialog.Edits[2]->setText(minY);
        dialog.Edits[3]->setText("99");
        dialog.OKButton->click();
        shown << (dialog.result() == QDialog::Accepted ? QStringLiteral("closed") : errors_.last());
      }
      return dialog.result();
    });
    form.SetupDrawAction->trigger();
    QCOMPARE(shown.size(), 3);
    QVERIFY2(shown[0].contains("Y min") && shown[0].contains("abc"), qPrintable(shown[0]));
    QVERIFY2(shown[1].contains("Y min") && shown[1].contains("Y max"), qPrintable(shown[1]));
    QCOMPARE(shown[2], QStringLiteral("closed"));
    QCOMPARE(form.xPaintBox2->MinY(), 5.0L);
    errors_.clear();

    // Bounds that reach the window past the dialog (a test runner answering
    // OK itself) are still taken all together or not at all.
    vintaler::setModalRunner([](QDialog& d) {
      dynamic_cast<TSetupDrawForm&>(d).Edits[2]->setText("abc");
      return int(QDialog::Accepted);
    });
    form.SetupDrawAction->trigger();
    QCOMPARE(errors_, QStringList{"'abc' is not a valid floating point value"});
    QCOMPARE(form.xPaintBox2->MinX(), 1.0L);
    QCOMPARE(form.xPaintBox2->MinY(), 5.0L);

    // The 3-D view shows its Z row; a zero Y span is reported once.
    errors_.clear();
    form.Show3D->trigger();
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<TSetupDrawForm&>(d);
      zHidden = dialog.Edits[4]->isHidden();
      dialog.Edits[3]->setText(dialog.Edits[2]->text());
      return int(QDialog::Accepted);
    });
    form.SetupDrawAction->trigger();
    QVERIFY(!zHidden);
    QCOMPARE(errors_, QStringList{"Floating point division by zero"});
  }
};

QTEST_MAIN(NavigationTest)
#include "NavigationTest.moc"
