// Opening projects from outside the Open dialog: files named on the command
// line, files dropped on the main window, the list of the last projects in
// "Файл"; and what the program answers on the terminal.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <vector>

#include "fishApi/files/ProjectFile.h"
#include "main/CommandLine.h"
#include "main/RecentProjects.h"
#include "main/TForm1.h"
#include "support/GuiTestSupport.h"
#include "worksheet/TWorkForm.h"

namespace {

const QString kCyrillicName = QStringLiteral("Переход 1 вариант.raz");

QStringList OpenFileNames(const TForm1& form) {
  QStringList names;
  for (TWorkForm* p : form.projectWindows()) names << p->ProjectFileName;
  return names;
}

QStringList RecentCaptions(const TForm1& form) {
  QStringList captions;
  for (QAction* a : form.recentProjectActions()) captions << a->text();
  return captions;
}

}  // namespace

class OpeningProjectsTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;
  QStringList& errors_ = recorder_.messages;
  QTemporaryDir dir_;

  QString Path(const QString& name) const { return dir_.filePath(name); }

  // A project file whose radius tells it apart.
  void Write(const QString& name, int radius = 42) {
    fish::TProjectData p = fish::newProjectData();
    p.SystemParams.R = radius;
    const fish::TProjectImage img = fish::encodeProject(p);
    QFile f(Path(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(img.data()), static_cast<qint64>(img.size()));
  }

  QStringList Paths(const QStringList& names) const {
    QStringList paths;
    for (const QString& n : names) paths << Path(n);
    return paths;
  }

 private slots:
  void initTestCase() {
    vintaler::setApplicationNames();
    QVERIFY(dir_.isValid());
    Write(QStringLiteral("one.raz"), 11);
    Write(QStringLiteral("two.raz"), 22);
    Write(kCyrillicName, 33);
    Write(QStringLiteral("-v.raz"), 44);
    Write(QStringLiteral("UPPER.RAZ"), 55);
    QFile notes(Path("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    QVERIFY(QDir::setCurrent(dir_.path()));
  }
  void init() {
    recorder_.Reset();
    QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName()).remove("RecentProjects");
  }

  // Files named on the command line, relative to the current folder, each in
  // a window of its own in their order; one that cannot be read gives Open's
  // message and no window, and the others still open.
  void commandLineFilesOpen_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("messages");
    QTest::newRow("good") << QStringList{"one.raz"} << QStringList{"one.raz"} << 0;
    QTest::newRow("missing") << QStringList{"missing.raz"} << QStringList{} << 1;
    QTest::newRow("cyrillic with spaces") << QStringList{kCyrillicName} << QStringList{kCyrillicName} << 0;
    QTest::newRow("several, a missing one between")
        << QStringList{"two.raz", "missing.raz", kCyrillicName} << QStringList{"two.raz", kCyrillicName} << 1;
    QTest::newRow("path with a dot-dot") << QStringList{"../" + QDir(dir_.path()).dirName() + "/one.raz"}
                                         << QStringList{"one.raz"} << 0;
    QTest::newRow("after --, a name like an option") << QStringList{"--", "-v.raz"} << QStringList{"-v.raz"} << 0;
  }
  void commandLineFilesOpen() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, opened);
    QFETCH(int, messages);
    TForm1 form;
    form.openProjects(vintaler::commandLineProjects(QStringList{"vintaler"} + arguments));
    QCOMPARE(OpenFileNames(form), Paths(opened));
    QCOMPARE(errors_.size(), messages);
    if (messages > 0) QVERIFY2(errors_[0].contains(Path("missing.raz")), qPrintable(errors_[0]));
    if (!opened.isEmpty()) {
      QCOMPARE(form.mdiArea()->activeSubWindow()->windowTitle(), "Проект (" + Path(opened.last()) + ")[*]");
      QVERIFY(form.SaveAction->isEnabled());
    }
    errors_.clear();
  }

  void onlyHelpAndVersionNeedNoDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("onlyInformation");
    QTest::newRow("--version") << QStringList{"--version"} << true;
    QTest::newRow("-v") << QStringList{"-v"} << true;
    QTest::newRow("--help") << QStringList{"--help"} << true;
    QTest::newRow("-h") << QStringList{"-h"} << true;
    QTest::newRow("after a file") << QStringList{"one.raz", "--version"} << true;
    QTest::newRow("a file") << QStringList{"one.raz"} << false;
    QTest::newRow("nothing") << QStringList{} << false;
    QTest::newRow("a file named like the option") << QStringList{"--", "--version"} << false;
  }
  void onlyHelpAndVersionNeedNoDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, onlyInformation);
    std::vector<QByteArray> bytes{QByteArray("vintaler")};
    for (const QString& a : arguments) bytes.push_back(a.toLocal8Bit());
    std::vector<const char*> argv;
    for (const QByteArray& b : bytes) argv.push_back(b.constData());
    QCOMPARE(vintaler::asksOnlyForInformation(static_cast<int>(argv.size()), argv.data()), onlyInformation);
  }

  // Both programs print their name and the version of the build, and the
  // window program does so without a display.
  void programsPrintTheirVersion_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("exact");
    QTest::newRow("vintaler --version") << VINTALER_GUI_PATH << QStringList{"--version"}
                                        << "vintaler " VINTALER_VERSION "\n"
                                        << true;
    QTest::newRow("vintaler -v") << VINTALER_GUI_PATH << QStringList{"-v"} << "vintaler " VINTALER_VERSION "\n" << true;
    QTest::newRow("vintaler --help") << VINTALER_GUI_PATH << QStringList{"--help"} << "[FILE.raz...]" << false;
    QTest::newRow("vintaler-cli --version")
        << VINTALER_CLI_PATH << QStringList{"--version"} << "vintaler-cli " VINTALER_VERSION "\n"
        << true;
  }
  void programsPrintTheirVersion() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QFETCH(bool, exact);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    if (exact) {
      QCOMPARE(out, output);
    } else {
      QVERIFY2(out.contains(output), qPrintable(out));
    }
  }

  // Local *.raz files dropped on the window open in their order, as with
  // Open; a drop without one is refused.
  void droppedFilesOpen_data() {
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("messages");
    auto local = [this](const QString& name) { return QUrl::fromLocalFile(Path(name)); };
    QTest::newRow("one project") << QList<QUrl>{local("one.raz")} << true << QStringList{"one.raz"} << 0;
    QTest::newRow("two projects, in order")
        << QList<QUrl>{local(kCyrillicName), local("one.raz")} << true << QStringList{kCyrillicName, "one.raz"} << 0;
    QTest::newRow("upper-case suffix") << QList<QUrl>{local("UPPER.RAZ")} << true << QStringList{"UPPER.RAZ"} << 0;
    QTest::newRow("a project among other files")
        << QList<QUrl>{local("notes.txt"), local("two.raz")} << true << QStringList{"two.raz"} << 0;
    QTest::newRow("no project") << QList<QUrl>{local("notes.txt")} << false << QStringList{} << 0;
    QTest::newRow("not a local file") << QList<QUrl>{QUrl("https://example.org/one.raz")} << false << QStringList{}
                                      << 0;
    QTest::newRow("missing project") << QList<QUrl>{local("missing.raz"), local("one.raz")} << true
                                     << QStringList{"one.raz"} << 1;
  }
  void droppedFilesOpen() {
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, accepted);
    QFETCH(QStringList, opened);
    QFETCH(int, messages);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre = form.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    QCOMPARE(drop.isAccepted(), accepted);
    QTRY_COMPARE(OpenFileNames(form), Paths(opened));
    QCOMPARE(errors_.size(), messages);
    errors_.clear();
  }

  // "Файл" lists the last projects opened or saved, newest first, each once,
  // at most eight, as "&1 path" just above "Выход", and a new main window
  // shows the same list.
  void recentProjectsList_data() {
    QTest::addColumn<QStringList>("steps");  // files opened; "save:NAME" is a project saved as NAME
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("newest first") << QStringList{"one.raz", "two.raz", kCyrillicName}
                                  << QStringList{kCyrillicName, "two.raz", "one.raz"};
    QTest::newRow("no duplicates") << QStringList{"one.raz", "two.raz", "one.raz"} << QStringList{"one.raz", "two.raz"};
    QTest::newRow("saved projects too") << QStringList{"one.raz", "save:saved.raz", "save:one.raz"}
                                        << QStringList{"one.raz", "saved.raz"};
    QTest::newRow("unreadable files are not listed") << QStringList{"one.raz", "missing.raz"} << QStringList{"one.raz"};
    QStringList ten, eight;
    for (int i = 0; i < 10; ++i) ten << QStringLiteral("save:p%1.raz").arg(i);
    for (int i = 9; i >= 2; --i) eight << QStringLiteral("p%1.raz").arg(i);
    QTest::newRow("at most eight") << ten << eight;
  }
  void recentProjectsList() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, listed);
    QStringList captions;
    for (int i = 0; i < listed.size(); ++i) captions << QStringLiteral("&%1 %2").arg(i + 1).arg(Path(listed[i]));
    {
      TForm1 form;
      for (const QString& step : steps) {
        if (step.startsWith("save:")) {
          form.projectSaved(Path(step.mid(5)));
        } else {
          form.openProject(Path(step));
        }
      }
      QCOMPARE(RecentCaptions(form), captions);
      QCOMPARE(vintaler::recentProjects(), Paths(listed));
      // The entries stand between two separators just above "Выход".
      const QList<QAction*> items = form.FileMenu->actions();
      const qsizetype exit = items.indexOf(form.ExitAction);
      const qsizetype n = form.recentProjectActions().size();
      if (n == 0) {
        QVERIFY(!items[exit - 1]->isSeparator());
      } else {
        QVERIFY(items[exit - 1]->isSeparator());
        QVERIFY(items[exit - n - 2]->isSeparator());
        QCOMPARE(items.mid(exit - n - 1, n), form.recentProjectActions());
      }
      errors_.clear();
    }
    TForm1 next;
    QCOMPARE(RecentCaptions(next), captions);
  }

  // Choosing an entry opens the project and moves it to the top; one that no
  // longer exists is reported and taken off the list, for good.
  void choosingARecentProject_data() {
    QTest::addColumn<bool>("deletedSince");
    QTest::addColumn<int>("windows");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("still there") << false << 3 << QStringList{"gone.raz", "two.raz"};
    QTest::newRow("deleted since") << true << 2 << QStringList{"two.raz"};
  }
  void choosingARecentProject() {
    QFETCH(bool, deletedSince);
    QFETCH(int, windows);
    QFETCH(QStringList, listed);
    Write("gone.raz");
    {
      TForm1 form;
      QVERIFY(form.openProject(Path("gone.raz")));
      QVERIFY(form.openProject(Path("two.raz")));
      if (deletedSince) QVERIFY(QFile::remove(Path("gone.raz")));
      QCOMPARE(form.recentProjectActions().size(), 2);
      form.recentProjectActions()[1]->trigger();
      QCOMPARE(form.projectWindows().size(), windows);
      QCOMPARE(vintaler::recentProjects(), Paths(listed));
      QCOMPARE(form.recentProjectActions().size(), listed.size());
      if (deletedSince) {
        QCOMPARE(errors_.size(), 1);
        QVERIFY2(errors_[0].contains(Path("gone.raz")) && errors_[0].contains("не найден"), qPrintable(errors_[0]));
      } else {
        QCOMPARE(errors_, QStringList{});
        QCOMPARE(OpenFileNames(form).last(), Path("gone.raz"));
      }
      errors_.clear();
    }
    TForm1 next;
    QCOMPARE(next.recentProjectActions().size(), listed.size());
  }

  // A "&" in a path is shown, not taken for the accelerator.
  void recentCaptions_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::newRow("first") << 0 << "/a/b.raz"
                           << "&1 /a/b.raz";
    QTest::newRow("eighth") << 7 << "/a/b.raz"
                            << "&8 /a/b.raz";
    QTest::newRow("ampersand") << 1 << "/a/R&D.raz"
                               << "&2 /a/R&&D.raz";
  }
  void recentCaptions() {
    QFETCH(int, index);
    QFETCH(QString, file);
    QFETCH(QString, caption);
    QCOMPARE(vintaler::recentProjectCaption(index, file), caption);
  }
};

QTEST_MAIN(OpeningProjectsTest)
#include "OpeningProjectsTest.moc"
