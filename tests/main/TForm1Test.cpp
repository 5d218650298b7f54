#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <algorithm>

#include "about/TAboutForm.h"
#include "appcore/ProjectFileDialogs.h"
#include "appcore/Questions.h"
#include "fishApi/files/ProjectFile.h"
#include "main/LanguageChoice.h"
#include "main/TForm1.h"
#include "shema/TShemaForm.h"
#include "support/GuiTestSupport.h"
#include "worksheet/ProParams/TProParamsForm.h"
#include "worksheet/ProParams/TSpinEdit.h"
#include "worksheet/TWorkForm.h"
#include "worksheet/setupDraw/TSetupDrawForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

QStringList MenuTitles(QMainWindow& w) {
  QStringList titles;
  for (QAction* a : w.menuBar()->actions()) titles << a->text().remove('&');
  return titles;
}

// The store the program keeps its window placement in.
QSettings Stored() { return QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName()); }

QStringList Captions(const QList<QAction*>& actions) {
  QStringList texts;
  for (QAction* a : actions) texts << (a->isSeparator() ? QStringLiteral("-") : a->text().remove('&'));
  return texts;
}

}  // namespace

class TForm1Test : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;
  QStringList& errors_ = recorder_.messages;
  QTemporaryDir dir_;

  QString Path(const QString& name) const { return dir_.filePath(name); }

  void Choose(const QString& file) {
    vintaler::setModalRunner([file](QDialog& d) {
      if (qobject_cast<QMessageBox*>(&d)) return int(QMessageBox::Yes);  // replace it
      dynamic_cast<QFileDialog&>(d).selectFile(file);
      return int(QDialog::Accepted);
    });
  }

 private slots:
  void initTestCase() { vintaler::setApplicationNames(); }
  void init() { recorder_.Reset(); }
  void cleanup() { QVERIFY2(errors_.isEmpty() || QTest::currentTestFailed(), qPrintable(errors_.join('\n'))); }

  void openingFilesMakesOneWindowEach() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    fish::TProjectData p = fish::newProjectData();
    p.SystemParams.R = 42;
    p.ProParams.Quadrants = {0, 0, 1, 1};
    const fish::TProjectImage img = fish::encodeProject(p);
    QFile f(Path("one.raz"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(img.data()), 240);
    f.close();

    Choose(Path("one.raz"));
    form.LoadAction->trigger();
    form.LoadAction->trigger();
    const QList<TWorkForm*> projects = form.projectWindows();
    QCOMPARE(projects.size(), 2);
    QCOMPARE(projects[0]->ProjectFileName, Path("one.raz"));
    QCOMPARE(form.mdiArea()->subWindowList()[1]->windowTitle(), "Проект (" + Path("one.raz") + ")[*]");
    QCOMPARE(projects[1]->SystemParams.R, 42.0L);
    QCOMPARE(projects[1]->Edits[2]->text(), QStringLiteral("42"));
    QVERIFY(form.SaveAction->isEnabled());

    // Saving one of the two leaves the other as it was.
    projects[1]->Edits[2]->setText("7");
    form.mdiArea()->setActiveSubWindow(form.mdiArea()->subWindowList()[1]);
    Choose(Path("one.raz"));
    QTest::keyClick(&form, Qt::Key_F2);
    QCOMPARE(fish::readProjectFile(Path("one.raz").toStdString()).SystemParams.R, 7.0L);
    QCOMPARE(projects[0]->SystemParams.R, 42.0L);

    vintaler::setModalRunner([](QDialog&) { return int(QDialog::Rejected); });
    form.LoadAction->trigger();
    QCOMPARE(form.projectWindows().size(), 2);
  }

  void unreadableFilesLeaveNoWindow() {
    TForm1 form;
    QFile f(Path("short.raz"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(239, '\0'));
    f.close();
    for (const QString& name : {Path("short.raz"), Path("missing.raz"), dir_.path()}) {
      errors_.clear();
      QCOMPARE(form.openProject(name), nullptr);
      QCOMPARE(errors_.size(), 1);
      QVERIFY2(errors_[0].contains(name), qPrintable(errors_[0]));
      QCOMPARE(form.projectWindows().size(), 0);
      QVERIFY(!form.SaveAction->isEnabled());
    }
    errors_.clear();
    form.NewProjectActionExecute();
    QCOMPARE(form.openProject(Path("missing.raz")), nullptr);
    QVERIFY(form.SaveAction->isEnabled());
    errors_.clear();
  }

  void startsWithoutProjects() {
    TForm1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Винталер 1.0"));
    QCOMPARE(MenuTitles(form), (QStringList{"Файл", "Окно", "?"}));
    QVERIFY(!form.SaveAction->isEnabled());
    QCOMPARE(Captions(form.FileMenu->actions()), (QStringList{"Открыть", "Сохранить", "Новый", "Выход"}));
    QCOMPARE(form.ExitAction->shortcut(), QKeySequence("Ctrl+X"));
    QCOMPARE(form.LoadAction->shortcut(), QKeySequence("F3"));
    QCOMPARE(form.SaveAction->shortcut(), QKeySequence("F2"));
    QCOMPARE(Captions(form.ToolBar1->actions()), (QStringList{"Выход", "-", "Новый", "Открыть", "Сохранить", "-",
                                                              "Каскадом", "Горизонтально", "Вертикально"}));
    QCOMPARE(form.statusPanel0()->width(), 150);
  }

  void newProjectsAreNumberedByTheOpenWindows() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(form.projectWindows().size(), 1);
    QCOMPARE(form.projectWindows()[0]->ProjectFileName, QStringLiteral("Nonename1"));
    QCOMPARE(form.mdiArea()->subWindowList()[0]->windowTitle(), QStringLiteral("Проект (Nonename1)[*]"));
    QVERIFY(form.SaveAction->isEnabled());
    QCOMPARE(MenuTitles(form), (QStringList{"Файл", "Редактирование", "Вид", "Окно", "?"}));

    form.NewProjectActionExecute();
    form.NewProjectActionExecute();
    QCOMPARE(form.projectWindows()[2]->ProjectFileName, QStringLiteral("Nonename3"));
    form.mdiArea()->subWindowList()[0]->close();
    QApplication::processEvents();
    QCOMPARE(form.projectWindows().size(), 2);
    QCOMPARE(form.NewProjectActionExecute()->ProjectFileName,
             QStringLiteral("Nonename3"));  // two windows may carry the same default name
  }

  void closingTheLastProjectGreysSave() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.NewProjectActionExecute();
    form.NewProjectActionExecute();
    form.mdiArea()->subWindowList()[0]->close();
    QApplication::processEvents();
    QVERIFY(form.SaveAction->isEnabled());
    form.mdiArea()->subWindowList()[0]->close();
    QApplication::processEvents();
    QVERIFY(!form.SaveAction->isEnabled());
    QCOMPARE(MenuTitles(form), (QStringList{"Файл", "Окно", "?"}));
    form.SaveAction->trigger();  // nothing to save: nothing happens
  }

  // "Файл" carries the export menu of the active project, and only while
  // there is one.
  void fileMenuExportsTheActiveProject() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TWorkForm* first = form.NewProjectActionExecute();
    TWorkForm* second = form.NewProjectActionExecute();
    QCOMPARE(Captions(form.FileMenu->actions()), (QStringList{"Открыть", "Сохранить", "Экспорт", "Новый", "Выход"}));
    QVERIFY(form.FileMenu->actions().contains(second->ExportMenu->menuAction()));
    form.mdiArea()->setActiveSubWindow(form.mdiArea()->subWindowList()[0]);
    QVERIFY(form.FileMenu->actions().contains(first->ExportMenu->menuAction()));
    QVERIFY(!form.FileMenu->actions().contains(second->ExportMenu->menuAction()));
    for (QMdiSubWindow* w : form.mdiArea()->subWindowList()) w->close();
    QApplication::processEvents();
    QCOMPARE(Captions(form.FileMenu->actions()), (QStringList{"Открыть", "Сохранить", "Новый", "Выход"}));
  }

  void hintsGoToTheLastPanel() {
    TForm1 form;
    form.statusPanel0()->setText("12.3: -4.6");
    QStatusTipEvent tip(QStringLiteral("Создает новый проект"));
    QApplication::sendEvent(&form, &tip);
    QCOMPARE(form.hintPanel()->text(), QStringLiteral("Создает новый проект"));
    QCOMPARE(form.statusPanel0()->text(), QStringLiteral("12.3: -4.6"));
    TWorkForm* project = form.NewProjectActionExecute();
    emit project->PopupMenu2->hovered(project->SetFont);
    QCOMPARE(form.hintPanel()->text(), QStringLiteral("Выбор шрифта"));
  }

  void windowArrangement() {
    TForm1 form;
    form.resize(800, 600);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.NewProjectActionExecute();
    form.NewProjectActionExecute();
    const QList<QMdiSubWindow*> w = form.mdiArea()->subWindowList();
    const QRect area = form.mdiArea()->viewport()->rect();
    form.WindowTileHorizontal->trigger();
    QCOMPARE(w[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    QCOMPARE(w[1]->geometry().top(), area.height() / 2);
    form.WindowTileVertical->trigger();
    QCOMPARE(w[1]->geometry(), QRect(area.width() / 2, 0, area.width() / 2, area.height()));
    form.WindowMinimizeAll->trigger();
    QVERIFY(w[0]->isMinimized() && w[1]->isMinimized());
    w[0]->showNormal();
    w[1]->showNormal();
    form.WindowCascade->trigger();
    QVERIFY(w[1]->geometry().topLeft().x() > w[0]->geometry().topLeft().x());
    QVERIFY(w[1]->geometry().topLeft().y() > w[0]->geometry().topLeft().y());
  }

  // Only the window worked in keeps its views' canvases. Another one, shown
  // again, draws the same picture afresh from its kept arrays.
  void onlyTheActiveProjectKeepsItsCanvases() {
    TForm1 form;
    form.resize(900, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TWorkForm* first = form.NewProjectActionExecute();
    first->ProParams.Divisions = 40;
    first->ProParams.ShowGrid = 1;
    TWorkForm* second = form.NewProjectActionExecute();
    form.WindowTileVertical->trigger();  // both in full view
    const QList<QMdiSubWindow*> windows = form.mdiArea()->subWindowList();
    form.mdiArea()->setActiveSubWindow(windows[0]);
    first->redraw(false);
    QTest::qWait(20);
    const QImage picture = first->xPaintBox1->canvasImage().copy();
    QVERIFY(CountColour(picture, qRgb(0, 0, 255)) > 0);

    form.mdiArea()->setActiveSubWindow(windows[1]);
    QTest::qWait(20);
    QVERIFY(!first->xPaintBox1->holdsCanvas());  // nor drawn again by the change of window
    QVERIFY(!first->xPaintBox2->holdsCanvas());
    QVERIFY(second->xPaintBox1->holdsCanvas());
    first->xPaintBox1->repaint();
    QVERIFY(first->xPaintBox1->holdsCanvas());
    QCOMPARE(first->xPaintBox1->canvasImage(), picture);
  }

  void placementIsStoredAndRestored() {
    {
      QSettings settings = Stored();
      settings.clear();
    }
    {
      TForm1 form;
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      form.setWindowState(Qt::WindowNoState);
      form.setGeometry(40, 50, 600, 400);
      QApplication::processEvents();
      form.close();
      QSettings settings = Stored();
      QCOMPARE(settings.value("TForm1/Visible").toBool(), false);
      QCOMPARE(settings.value("TForm1/ShowCmd").toInt(), 1);
    }
    QSettings settings = Stored();
    QCOMPARE(settings.value("TForm1/Visible").toBool(), true);  // written again when destroyed
    const QStringList norm = settings.value("TForm1/NormPos").toString().split(',');
    QCOMPARE(norm.size(), 4);
    QCOMPARE(norm[2].toInt() - norm[0].toInt(), 600);
    QCOMPARE(norm[3].toInt() - norm[1].toInt(), 400);
    for (const char* key : {"Flags", "PixelsPerInch", "MinMaxPos"})
      QVERIFY(settings.contains(QString("TForm1/") + key));

    TForm1 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QVERIFY(!again.isMaximized());
    QCOMPARE(again.normalGeometry().size(), QSize(600, 400));
  }

  void withoutStoredPlacementTheWindowIsMaximised() {
    {
      QSettings settings = Stored();
      settings.clear();
    }
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.isMaximized());
  }

  void settingsLiveUnderTheProgramsName() {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY2(!config.isEmpty(), "run with a private XDG_CONFIG_HOME");
    {
      TForm1 form;
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    QSettings file(config + "/Vintaler/vintaler.conf", QSettings::IniFormat);
    for (const char* key : {"Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos", "Visible"})
      QVERIFY2(file.contains(QString("TForm1/") + key), key);
    QVERIFY(!QDir(config + "/Unknown Organization").exists());
  }

  // A stored position is used as it stands when it is whole and shows on the
  // screen at the resolution it was stored at; any other gives the design
  // size in the middle of the screen.
  void storedPositionThatCannotBeUsed_data() {
    QTest::addColumn<QString>("normPos");
    QTest::addColumn<bool>("sameResolution");
    QTest::addColumn<QRect>("expected");  // null: the design size, centred
    QTest::newRow("usable") << "100,80,700,480" << true << QRect(100, 80, 600, 400);
    QTest::newRow("partly off the screen") << "500,300,1100,700" << true << QRect(500, 300, 600, 400);
    QTest::newRow("other resolution") << "100,80,700,480" << false << QRect();
    QTest::newRow("right of every screen") << "5000,80,5600,480" << true << QRect();
    QTest::newRow("above every screen") << "100,-3000,700,-2600" << true << QRect();
    QTest::newRow("a sliver on the screen") << "-598,80,2,480" << true << QRect();
    QTest::newRow("empty") << "0,0,0,0" << true << QRect();
    QTest::newRow("inverted") << "700,480,100,80" << true << QRect();
    QTest::newRow("not numbers") << "a,b,c,d" << true << QRect();
    QTest::newRow("three numbers") << "100,80,700" << true << QRect();
    QTest::newRow("missing") << "" << true << QRect();
    QTest::newRow("wider than any int") << "-2147483648,0,2147483647,400" << true << QRect();
  }

  void storedPositionThatCannotBeUsed() {
    QFETCH(QString, normPos);
    QFETCH(bool, sameResolution);
    QFETCH(QRect, expected);
    TForm1 form;
    {
      QSettings settings = Stored();
      settings.clear();
      settings.setValue("TForm1/ShowCmd", 1);
      settings.setValue("TForm1/PixelsPerInch", form.logicalDpiY() + (sameResolution ? 0 : 24));
      if (!normPos.isEmpty()) settings.setValue("TForm1/NormPos", normPos);
    }
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.isMaximized() && !form.isMinimized());
    if (!expected.isNull()) {
      QCOMPARE(form.geometry(), expected);
      return;
    }
    const QRect g = form.geometry();
    const QRect screen = form.screen()->availableGeometry();
    QCOMPARE(g.size(), QSize(541, 376));
    QVERIFY2(screen.contains(g), qPrintable(QString("%1,%2").arg(g.left()).arg(g.top())));
    QVERIFY(qAbs((g.left() - screen.left()) - (screen.right() - g.right())) <= 1);
    QVERIFY(qAbs((g.top() - screen.top()) - (screen.bottom() - g.bottom())) <= 1);
  }

  // Choosing a window from the "Окно" list works in it: a minimised one is
  // restored as it was before (maximised or normal) and made active.
  void windowListRestoresTheChosenWindow_data() {
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<int>("minimise");  // 0 not, 1 itself, 2 with "Минимизировать все"
    QTest::newRow("not minimised") << false << 0;
    QTest::newRow("minimised from normal") << false << 1;
    QTest::newRow("minimised from maximised") << true << 1;
    QTest::newRow("all minimised, it maximised") << true << 2;
    QTest::newRow("all minimised, it normal") << false << 2;
  }

  void windowListRestoresTheChosenWindow() {
    QFETCH(bool, maximised);
    QFETCH(int, minimise);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.setWindowState(Qt::WindowNoState);
    form.setGeometry(20, 20, 800, 600);
    form.NewProjectActionExecute();
    form.NewProjectActionExecute();
    const QList<QMdiSubWindow*> w = form.mdiArea()->subWindowList();
    const QRect normal(10, 10, 420, 360);
    w[0]->setGeometry(normal);
    QCOMPARE(w[0]->geometry(), normal);
    if (maximised) w[0]->showMaximized();
    if (minimise == 1) w[0]->showMinimized();
    if (minimise == 2) form.WindowMinimizeAll->trigger();
    QCOMPARE(w[0]->isMinimized(), minimise != 0);
    w[1]->showNormal();
    form.mdiArea()->setActiveSubWindow(w[1]);
    QCOMPARE(form.mdiArea()->activeSubWindow(), w[1]);

    emit form.WindowMenu->aboutToShow();
    const QList<QAction*> items = form.WindowMenu->actions();
    const auto item =
        std::find_if(items.begin(), items.end(), [&](QAction* a) { return a->text() == "&1 Проект (Nonename1)"; });
    QVERIFY(item != items.end());
    (*item)->trigger();
    QVERIFY(!w[0]->isMinimized());
    QCOMPARE(w[0]->isMaximized(), maximised);
    QCOMPARE(form.mdiArea()->activeSubWindow(), w[0]);
    if (!maximised) QCOMPARE(w[0]->geometry(), normal);
  }

  // Changes of the records mark the window "*"; zooming does not.
  void modifiedStateFollowsTheRecords() {
    TForm1 form;
    form.show();
    TWorkForm* p = form.NewProjectActionExecute();
    std::function<void(QDialog&)> edit;
    vintaler::setModalRunner([&](QDialog& d) { return edit(d), d.accept(), d.result(); });
    const auto pro = [](QDialog& d) -> TProParamsForm& { return dynamic_cast<TProParamsForm&>(d); };
    const std::tuple<QAction*, std::function<void(QDialog&)>, bool> rows[] = {
        {p->ZoomIn, {}, false},
        {p->ShowProParamsAction, [](QDialog&) {}, false},
        {p->ShowProParamsAction, [&](QDialog& d) { pro(d).RxSpinEdit1->setValue(9); }, true},
        {p->ShowProParamsAction, [&](QDialog& d) { pro(d).ThicknessEdit->setText("2"); }, true},
        {p->SetupDrawAction, [](QDialog& d) { dynamic_cast<TSetupDrawForm&>(d).Edits[0]->setText("-50"); }, true},
        {nullptr, {}, true}};  // field L typed
    for (const auto& [command, change, modifies] : rows) {
      p->SaveProject(Path("marks.raz"));
      edit = change;
      command ? command->trigger() : p->Edits[3]->setText("60");
      QCOMPARE(form.mdiArea()->subWindowList()[0]->isWindowModified(), modifies);
    }
  }

  // Closing a modified project asks; Exit asks once about all of them.
  void closingModifiedProjectsAsks_data() {
    QTest::addColumn<int>("key");  // with Ctrl; 0: the close button
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");  // the Save dialog's answer; empty: cancelled
    QTest::newRow("close button, Отмена") << 0 << int(QMessageBox::Cancel) << "";
    QTest::newRow("Ctrl+W, Не сохранять") << int(Qt::Key_W) << int(QMessageBox::Discard) << "";
    QTest::newRow("Ctrl+F4, Сохранить as") << int(Qt::Key_F4) << int(QMessageBox::Save) << "new.raz";
    QTest::newRow("Ctrl+F4, Save As cancelled") << int(Qt::Key_F4) << int(QMessageBox::Save) << "";
    QTest::newRow("Exit, Отмена") << int(Qt::Key_X) << int(QMessageBox::Cancel) << "";
    QTest::newRow("Exit, Сохранить all") << int(Qt::Key_X) << int(QMessageBox::Save) << "new.raz";
    QTest::newRow("Exit, Save As cancelled") << int(Qt::Key_X) << int(QMessageBox::Save) << "";
  }

  void closingModifiedProjectsAsks() {
    QFETCH(int, key);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    TForm1 form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    fish::writeProjectFile(Path("one.raz").toStdString(), fish::newProjectData());
    form.openProject(Path("one.raz"))->Edits[0]->setText("70");  // saved to its own file
    TWorkForm* fresh = form.NewProjectActionExecute();           // never saved
    fresh->Edits[0]->setText("80");
    QStringList asked;
    vintaler::setModalRunner([&](QDialog& d) {
      if (auto* box = qobject_cast<QMessageBox*>(&d)) return asked << box->text(), answer;
      if (!saveAs.isEmpty()) dynamic_cast<QFileDialog&>(d).selectFile(Path(saveAs));
      return int(saveAs.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
    });
    const QPointer<QMdiSubWindow> shown = form.mdiArea()->activeSubWindow();
    if (key == Qt::Key_X) fresh->xPaintBox1->setFocus();  // in a field Ctrl+X cuts
    key ? QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier) : void(shown->close());
    const bool closes = answer == QMessageBox::Discard || (answer == QMessageBox::Save && !saveAs.isEmpty());
    QTRY_COMPARE(shown.isNull() || !form.isVisible(), closes);
    QCOMPARE(asked, QStringList{key == Qt::Key_X ? "Сохранить изменения в «one.raz» и «Nonename2»?"
                                                 : "Сохранить изменения в «Nonename2»?"});
    const bool savedAll = key == Qt::Key_X && answer == QMessageBox::Save;
    QCOMPARE(fish::readProjectFile(Path("one.raz").toStdString()).SystemParams.A, savedAll ? 70.0L : 100.0L);
    QCOMPARE(QFile::exists(Path("new.raz")), closes && answer == QMessageBox::Save);
    QFile::remove(Path("new.raz"));
  }

  // Every menu and item has an access letter of its own; Alt+Ф in a field
  // opens "Файл" rather than typing.
  void accessLetters() {
    TForm1 form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    TWorkForm* p = form.NewProjectActionExecute();
    emit form.WindowMenu->aboutToShow();
    QList<QList<QAction*>> menus{form.menuBar()->actions()};
    for (QMenu* m : {form.FileMenu, form.WindowMenu, form.HelpMenu, p->EditMenu, p->ViewMenu, p->PopupMenu1,
                     p->PopupMenu2, p->ExportMenu, p->ScrollMenu, p->ScaleMenu})
      menus << m->actions();
    for (const QList<QAction*>& items : menus) {
      QSet<QKeySequence> letters{QKeySequence()};
      for (QAction* a : items) {
        QVERIFY2(a->isSeparator() || !letters.contains(QKeySequence::mnemonic(a->text())), qPrintable(a->text()));
        letters << QKeySequence::mnemonic(a->text());
      }
    }
    for (const char* key : {"Ctrl+F4", "Ctrl+W"}) QVERIFY(form.WindowClose->text().contains(key));
    QTest::sendKeyEvent(QTest::Click, p->Edits[1], Qt::Key(0x0424), QStringLiteral("ф"), Qt::AltModifier);
    QTRY_VERIFY(form.FileMenu->isVisible());
    QCOMPARE(p->Edits[1]->text(), QStringLiteral("100"));
  }

  void aboutBoxLayout() {
    TAboutForm about;
    QCOMPARE(about.windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(about.size(), QSize(314, 130));
    QCOMPARE(about.OKButton->geometry(), QRect(123, 99, 75, 25));
    QTimer::singleShot(0, &about, [&about] { about.OKButton->click(); });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
  }

  // The language menu switches every window at once, the dialogs opened
  // before included, and keeps the choice; Russian again gives back each text.
  void switchingTheLanguage() {
    TForm1 form;
    form.show();
    TWorkForm* p = form.NewProjectActionExecute();
    TProParamsForm dialog(p);
    TShemaForm* scheme = vintaler::shemaFormInstance(&form);
    const auto asked = [](const std::function<void()>& ask) {
      QString seen;
      vintaler::setModalRunner([&seen](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        seen = box ? box->text() + box->button(QMessageBox::Discard)->text()
                   : d.windowTitle() + dynamic_cast<QFileDialog&>(d).nameFilters().join(';');
        return int(QDialog::Rejected);
      });
      return ask(), seen;
    };
    const std::pair<const char*, std::function<QString()>> rows[] = {
        {"main menu", [&] { return form.FileMenu->title(); }},
        {"project menu", [&] { return p->ViewMenu->title(); }},
        {"action caption", [&] { return form.NewProjectAction->text(); }},
        {"action hint", [&] { return p->ZoomIn->statusTip(); }},
        {"title bars", [&] { return form.windowTitle() + p->windowTitle(); }},
        {"field label", [&] { return p->Labels[2]->text(); }},
        {"page tab", [&] { return p->PageControl1->tabText(1); }},
        {"dialog opened before", [&] { return dialog.windowTitle() + dialog.Label2->text(); }},
        {"scheme window", [&] { return scheme->windowTitle() + scheme->BitBtn1->text(); }},
        {"question and button", [&] { return asked([&] { vintaler::askToSaveChanges(&form, {"a", "b"}); }); }},
        {"file dialog", [&] { return asked([&] { vintaler::chooseProjectToOpen(&form); }); }},
        {"refusal", [&] { return dialog.RxSpinEdit1->setValue(0), dialog.accept(), errors_.takeLast(); }}};
    QStringList russian;
    for (const auto& row : rows) russian << row.second();
    form.showHint(p->ZoomIn->statusTip());

    form.EnglishAction->trigger();
    QApplication::processEvents();
    QCOMPARE(QSettings().value("language").toString(), QStringLiteral("en"));
    QVERIFY(form.EnglishAction->isChecked() && !form.RussianAction->isChecked());
    const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
      const QString english = rows[i].second();
      QVERIFY2(english != russian[qsizetype(i)] && !english.contains(cyrillic), rows[i].first);
    }
    QCOMPARE(form.hintPanel()->text(), QString());  // no hint left in Russian

    form.RussianAction->trigger();
    QApplication::processEvents();
    for (std::size_t i = 0; i < std::size(rows); ++i) QCOMPARE(rows[i].second(), russian[qsizetype(i)]);
    QCOMPARE(vintaler::startLanguage(), vintaler::TLanguage::Russian);
  }
};

QTEST_MAIN(TForm1Test)
#include "TForm1Test.moc"
