// Windows closed while their print preview is open, with the real preview
// and its own event loop (no dialog driver): the print command is still
// waiting in the preview when the window is closed. Runs headless and,
// through tests/xvfb/run-x11-tests.sh, on an X server.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "main/TForm1.h"
#include "report2d/TQuickReport1.h"
#include "shema/TShemaForm.h"
#include "support/GuiTestSupport.h"
#include "worksheet/TWorkForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

using vintaler::Page;

// Calls `act` once a print preview of `owner` is on screen. After ten
// seconds every preview is closed, so that a fault fails the test instead
// of hanging it.
class PreviewWatch : public QObject {
 public:
  PreviewWatch(QWidget* owner, std::function<void(QPrintPreviewDialog*)> act) : owner_(owner), act_(std::move(act)) {
    connect(&poll_, &QTimer::timeout, this, [this] { check(); });
    poll_.start(20);
    QTimer::singleShot(10000, this, [] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QPrintPreviewDialog*>(w)) d->reject();
      }
    });
  }
  QPointer<QPrintPreviewDialog> preview;

 private:
  void check() {
    if (!owner_) return;
    for (auto* d : owner_->findChildren<QPrintPreviewDialog*>()) {
      if (!d->isVisible()) continue;
      poll_.stop();
      preview = d;
      act_(d);
      return;
    }
  }

  QPointer<QWidget> owner_;
  std::function<void(QPrintPreviewDialog*)> act_;
  QTimer poll_;
};

void Press(QWidget* target, Qt::Key key) { QTest::keyClick(target, key, Qt::ControlModifier); }

}  // namespace

class PreviewCloseTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;

 private slots:
  void init() { recorder_.Reset(); }

  void aProjectClosedUnderItsPreview_data() {
    QTest::addColumn<Page>("page");
    QTest::addColumn<bool>("closeAll");
    QTest::newRow("model, its sub-window closed") << Page::Model << false;
    QTest::newRow("development, its sub-window closed") << Page::Development << false;
    QTest::newRow("development, every window closed") << Page::Development << true;
  }

  // Ctrl+N, Ctrl+P, then the project's close button: the preview closes
  // first, then the window; the program and its other projects go on.
  void aProjectClosedUnderItsPreview() {
    QFETCH(Page, page);
    QFETCH(bool, closeAll);
    TForm1 main;
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    Press(&main, Qt::Key_N);
    Press(&main, Qt::Key_N);
    QCOMPARE(main.projectWindows().size(), 2);
    TWorkForm* other = main.projectWindows().first();
    TWorkForm* project = main.activeProject();
    QVERIFY(project && project != other);
    project->setActivePage(page);
    project->PageControl1->currentWidget()->setFocus();
    QTRY_VERIFY(project->PageControl1->currentWidget()->hasFocus());

    const QPointer<TWorkForm> projectAlive(project);
    const QPointer<TWorkForm> otherAlive(other);
    const QPointer<QMdiSubWindow> sub(qobject_cast<QMdiSubWindow*>(project->parentWidget()));
    QVERIFY(sub);
    bool previewClosedFirst = false;
    PreviewWatch watch(project, [&](QPrintPreviewDialog* preview) {
      if (closeAll) {
        main.mdiArea()->closeAllSubWindows();
      } else {
        sub->close();  // what the sub-window's close button does
      }
      previewClosedFirst = !preview->isVisible() && sub && sub->isVisible();
    });
    Press(QApplication::focusWidget(), Qt::Key_P);  // returns when the print command does

    QVERIFY(previewClosedFirst);
    QVERIFY(watch.preview.isNull());
    QCOMPARE(QuickReport1, nullptr);
    QTRY_VERIFY(projectAlive.isNull());
    QVERIFY(sub.isNull());
    QCOMPARE(main.projectWindows(), closeAll ? QList<TWorkForm*>() : QList<TWorkForm*>{other});
    QCOMPARE(otherAlive.isNull(), closeAll);

    // The program lives on: a new project draws.
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    Press(&main, Qt::Key_N);
    QCOMPARE(main.projectWindows().size(), closeAll ? 1 : 2);
    TWorkForm* fresh = main.projectWindows().last();
    QVERIFY(fresh != otherAlive);
    QTRY_VERIFY(CountColour(fresh->xPaintBox1->canvasImage(), qRgb(0, 0, 255)) > 100);
    QVERIFY2(recorder_.messages.isEmpty(), qPrintable(recorder_.messages.join('\n')));
  }

  void theSchemeClosedUnderItsPreview_data() {
    QTest::addColumn<bool>("ownerDeleted");
    QTest::newRow("the scheme window closed") << false;
    QTest::newRow("the window owning it deleted") << true;
  }

  void theSchemeClosedUnderItsPreview() {
    QFETCH(bool, ownerDeleted);
    auto* owner = new QWidget;
    owner->show();
    const QPointer<TShemaForm> scheme = new TShemaForm(owner);
    scheme->show();
    QVERIFY(QTest::qWaitForWindowExposed(scheme));
    bool previewClosedFirst = false;
    PreviewWatch watch(scheme, [&](QPrintPreviewDialog* preview) {
      if (ownerDeleted) {
        delete owner;
        owner = nullptr;
        previewClosedFirst = watch.preview.isNull();
      } else {
        scheme->close();
        previewClosedFirst = !preview->isVisible() && scheme->isVisible();
      }
    });
    scheme->BitBtn2->click();  // returns when the print command does

    QVERIFY(previewClosedFirst);
    QVERIFY(watch.preview.isNull());
    QCOMPARE(QuickReport1, nullptr);
    if (ownerDeleted) {
      QVERIFY(scheme.isNull());
    } else {
      QTRY_VERIFY(scheme->isHidden());
      delete owner;
    }
    QVERIFY(recorder_.messages.isEmpty());
  }
};

QTEST_MAIN(PreviewCloseTest)
#include "PreviewCloseTest.moc"
