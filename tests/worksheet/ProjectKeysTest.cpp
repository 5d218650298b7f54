// The keyboard of a project window, with real key events sent to the widget
// that has the focus: they go through Qt's shortcut handling as typed keys
// do. Runs headless and, through tests/xvfb/run-x11-tests.sh, on an X server.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

#include "support/GuiTestSupport.h"
#include "worksheet/TWorkForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

using vintaler::Page;

struct Window {
  double minX, maxX, minY, maxY;
};

bool SameWindow(const TxPaintBox* box, Window w) {
  auto near = [](fish::Extended a, double b) { return std::fabs(double(a) - b) < 1e-9; };
  return near(box->MinX(), w.minX) && near(box->MaxX(), w.maxX) && near(box->MinY(), w.minY) &&
         near(box->MaxY(), w.maxY);
}

// A key as typed: to whichever widget has the keyboard focus.
void Type(const QKeySequence& keys) {
  QWidget* target = QApplication::focusWidget();
  QVERIFY2(target, "no widget has the focus");
  QTest::keyClick(target, keys[0].key(), keys[0].keyboardModifiers());
}

void TypeText(const QString& text) {
  QWidget* target = QApplication::focusWidget();
  QVERIFY2(target, "no widget has the focus");
  QTest::keyClicks(target, text);
}

}  // namespace

class ProjectKeysTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;

  // The window on screen and active, showing `page`, the caret at the end of
  // field `field`.
  static bool ShowWithFocusIn(TWorkForm& form, int field, Page page = Page::Model) {
    form.resize(700, 500);
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) return false;
    form.setActivePage(page);
    QLineEdit* edit = form.Edits[static_cast<std::size_t>(field)];
    edit->setFocus(Qt::OtherFocusReason);
    edit->end(false);
    return QTest::qWaitFor([edit] { return edit->hasFocus(); });
  }

 private slots:
  void init() { recorder_.Reset(); }
  void cleanup() { QVERIFY2(recorder_.messages.isEmpty(), qPrintable(recorder_.messages.join('\n'))); }

  void commandKeysRunFromAField_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<double>("minX");
    QTest::addColumn<double>("maxX");
    QTest::addColumn<double>("minY");
    QTest::addColumn<double>("maxY");
    // Each a line edit would otherwise keep (Ctrl+U erases the line there).
    QTest::newRow("Ctrl+U scrolls up") << QKeySequence("Ctrl+U") << -100.0 << 100.0 << -110.0 << 90.0;
    QTest::newRow("Ctrl+D scrolls down") << QKeySequence("Ctrl+D") << -100.0 << 100.0 << -90.0 << 110.0;
    QTest::newRow("Ctrl+L scrolls left") << QKeySequence("Ctrl+L") << -90.0 << 110.0 << -100.0 << 100.0;
    QTest::newRow("Ctrl+R scrolls right") << QKeySequence("Ctrl+R") << -110.0 << 90.0 << -100.0 << 100.0;
    QTest::newRow("Ctrl+I zooms in") << QKeySequence("Ctrl+I") << -95.0 << 95.0 << -95.0 << 95.0;
    QTest::newRow("Ctrl+O zooms out") << QKeySequence("Ctrl+O") << -105.0 << 105.0 << -105.0 << 105.0;
  }

  void commandKeysRunFromAField() {
    QFETCH(QKeySequence, keys);
    QFETCH(double, minX);
    QFETCH(double, maxX);
    QFETCH(double, minY);
    QFETCH(double, maxY);
    TWorkForm form(nullptr);
    QVERIFY(ShowWithFocusIn(form, 0));
    Type(keys);
    QCOMPARE(form.Edits[0]->text(), QStringLiteral("100"));
    QVERIFY(form.Edits[0]->hasFocus());
    QVERIFY(SameWindow(form.xPaintBox1, {minX, maxX, minY, maxY}));
  }

  void editingKeysStayInTheField_data() {
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<bool>("selectedFirst");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("Ctrl+A selects the field") << Page::Model << "" << false << QKeySequence("Ctrl+A") << "100"
                                              << "100"
                                              << "clip";
    QTest::newRow("Ctrl+A on the results page") << Page::Results << "" << false << QKeySequence("Ctrl+A") << "100"
                                                << "100"
                                                << "clip";
    QTest::newRow("Ctrl+C copies the field") << Page::Development << "" << true << QKeySequence("Ctrl+C") << "100"
                                             << "100"
                                             << "100";
    QTest::newRow("Ctrl+C on the results page") << Page::Results << "" << true << QKeySequence("Ctrl+C") << "100"
                                                << "100"
                                                << "100";
    QTest::newRow("Ctrl+X cuts") << Page::Model << "" << true << QKeySequence("Ctrl+X") << ""
                                 << ""
                                 << "100";
    QTest::newRow("Ctrl+V pastes") << Page::Model << "" << true << QKeySequence("Ctrl+V") << "clip"
                                   << ""
                                   << "clip";
    QTest::newRow("Ctrl+Z undoes") << Page::Model << "5" << false << QKeySequence("Ctrl+Z") << "100"
                                   << ""
                                   << "clip";
  }

  void editingKeysStayInTheField() {
    QFETCH(Page, page);
    QFETCH(QString, typedFirst);
    QFETCH(bool, selectedFirst);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, text);
    QFETCH(QString, selection);
    QFETCH(QString, clipboard);
    TWorkForm form(nullptr);
    QVERIFY(ShowWithFocusIn(form, 1, page));
    QGuiApplication::clipboard()->setText("clip");
    if (!typedFirst.isEmpty()) TypeText(typedFirst);
    if (selectedFirst) form.Edits[1]->selectAll();
    const fish::TViewBounds bounds = form.xPaintBox1->bounds();
    Type(keys);
    QCOMPARE(form.Edits[1]->text(), text);
    QCOMPARE(form.Edits[1]->selectedText(), selection);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QCOMPARE(form.activePage(), page);
    QVERIFY(form.xPaintBox1->bounds() == bounds);
  }

  // A page shown by its command takes the focus; the editing commands then
  // act on it as the menus say.
  void showingAPageFocusesIt_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<Page>("page");
    QTest::newRow("Ctrl+F3, model") << "Ctrl+F3" << Page::Model;
    QTest::newRow("Ctrl+F2, development") << "Ctrl+F2" << Page::Development;
    QTest::newRow("Ctrl+F5, results") << "Ctrl+F5" << Page::Results;
    QTest::newRow("tool button, development") << "button" << Page::Development;
    QTest::newRow("tool button, results") << "button" << Page::Results;
  }

  void showingAPageFocusesIt() {
    QFETCH(QString, how);
    QFETCH(Page, page);
    TWorkForm form(nullptr);
    // Showing the page is a change.
    QVERIFY(ShowWithFocusIn(form, 2, page == Page::Model ? Page::Results : Page::Model));
    if (how == "button") {
      QAction* command = page == Page::Development ? form.ShowRazvertka : form.ShowResult;
      QTest::mouseClick(form.ToolBar1->widgetForAction(command), Qt::LeftButton);
    } else {
      Type(QKeySequence(how));
    }
    QWidget* shown = form.PageControl1->widget(static_cast<int>(page));
    QCOMPARE(form.activePage(), page);
    QTRY_VERIFY(shown->hasFocus());  // the page, or the part of it that takes its keys

    QGuiApplication::clipboard()->setText("old");
    Type(QKeySequence("Ctrl+A"));
    Type(QKeySequence("Ctrl+C"));
    if (page == Page::Results) {
      QVERIFY(QGuiApplication::clipboard()->text().startsWith("Параметры перехода:"));
    } else {
      QCOMPARE(QGuiApplication::clipboard()->image().size(), shown->size());
    }
    QCOMPARE(form.Edits[2]->text(), QStringLiteral("50"));
  }

  void theResultsOfATypedValueAreCopiedWithKeys() {
    TWorkForm form(nullptr);
    QVERIFY(ShowWithFocusIn(form, 0));
    form.Edits[0]->selectAll();
    TypeText("1005");
    QCOMPARE(form.SystemParams.A, 1005.0L);
    Type(QKeySequence("Ctrl+F5"));
    Type(QKeySequence("Ctrl+A"));
    Type(QKeySequence("Ctrl+C"));
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY2(copied.startsWith("Параметры перехода:"), qPrintable(copied.left(80)));
    QVERIFY(copied.contains("1005"));
    QCOMPARE(form.Edits[0]->text(), QStringLiteral("1005"));
  }

  void clickingADrawingFocusesIt() {
    TWorkForm form(nullptr);
    QVERIFY(ShowWithFocusIn(form, 3));
    QTest::mouseClick(form.xPaintBox1, Qt::LeftButton, {}, QPoint(20, 20));
    QTRY_VERIFY(form.xPaintBox1->hasFocus());
    QGuiApplication::clipboard()->setText("old");
    Type(QKeySequence("Ctrl+C"));
    QCOMPARE(QGuiApplication::clipboard()->image().size(), form.xPaintBox1->size());
  }

  // Keys typed after the panel is hidden never reach its fields.
  void aHiddenPanelTakesNoKeys_data() {
    QTest::addColumn<Page>("page");
    QTest::addColumn<bool>("byKey");
    QTest::newRow("F10, model") << Page::Model << true;
    QTest::newRow("F10, development") << Page::Development << true;
    QTest::newRow("F10, results") << Page::Results << true;
    QTest::newRow("menu command, development") << Page::Development << false;
  }

  void aHiddenPanelTakesNoKeys() {
    QFETCH(Page, page);
    QFETCH(bool, byKey);
    TWorkForm form(nullptr);
    QVERIFY(ShowWithFocusIn(form, 0, page));
    const fish::TSystemParams before = form.SystemParams;
    if (byKey) {
      Type(QKeySequence("F10"));
    } else {
      form.ShowSystemParams->trigger();
    }
    QVERIFY(form.Panel1->isHidden());
    QTRY_VERIFY(form.PageControl1->widget(static_cast<int>(page))->hasFocus());
    TypeText("77");
    Type(QKeySequence(Qt::Key_Backspace));
    QCOMPARE(form.Edits[0]->text(), QStringLiteral("100"));
    QCOMPARE(form.SystemParams.A, before.A);
    QCOMPARE(form.activePage(), page);

    Type(QKeySequence("F10"));  // the shortcut still works from the page
    QVERIFY(form.Panel1->isVisible());
  }

  // A new window types into side B; Tab goes round the fields as they stand,
  // the panel's tabs and the page shown, and Shift+Tab back. Squeezed as
  // tiling does it, the panel scrolls each field into full view.
  void tabGoesRoundTheWindow() {
    QWidget frame;  // it stands in a window, as in the frame's sub-windows
    frame.resize(700, 150);
    TWorkForm form(nullptr, &frame);
    form.setGeometry(frame.rect());
    frame.show();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTRY_COMPARE(QApplication::focusWidget(), form.Edits[1]);
    form.setActivePage(Page::Results);  // a text page: its view or editor takes the focus
    QWidget* shown = form.PageControl1->currentWidget();
    for (QWidget* next : QWidgetList{form.Edits[2], form.Edits[3], form.Edits[4], form.Edits[5], form.Panel1->tabBar(),
                                     shown, form.Edits[0]}) {
      Type(QKeySequence(Qt::Key_Tab));
      QVERIFY(next == QApplication::focusWidget() || next->isAncestorOf(QApplication::focusWidget()));
      if (qobject_cast<QLineEdit*>(next)) QCOMPARE(next->visibleRegion(), QRegion(next->rect()));
    }
    Type(QKeySequence(Qt::ShiftModifier | Qt::Key_Backtab));
    QVERIFY(shown->isAncestorOf(QApplication::focusWidget()) || shown->hasFocus());
  }
};

QTEST_MAIN(ProjectKeysTest)
#include "ProjectKeysTest.moc"
