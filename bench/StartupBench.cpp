// Start-up and the memory of a window: the program against a bare Qt main
// window, in the same run (bench/startup.sh runs both and gives the ratios).
//
//   vintalerStartupBench program|bare [WINDOWS]
//
// Makes the main window as the program does (or a bare QMainWindow with a
// menu bar, a tool bar, a status bar and an empty MDI area, maximised as the
// program is on its first start), shows it and stops as soon as it has
// painted once. Prints "startup-ms resident-KiB":
// the time from main() to the end of the first paint, and the resident
// memory then. With WINDOWS, it then opens one window (a new project, or an
// empty MDI window) that pays for what all windows share, then WINDOWS more,
// each shown and painted, and prints "window-resident-KiB window-heap-KiB":
// the growth per window of the resident memory and of the heap in use.
// With DIVISIONS (and PAGE: 0 model, 1 development, 2 results, 3 figures),
// every project window holds that many divisions, all four quadrants and the
// grid, and shows that page.
//
//   vintalerStartupBench figures DIVISIONS
//
// Opens one such project window on its model, then shows its figures page,
// and prints "added-resident-KiB added-heap-KiB utf8-KiB utf16-KiB": what
// showing the page added, and the page's text as UTF-8 and as the page holds
// it.
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "main/TForm1.h"
#include "textPage/TTextPage.h"
#include "worksheet/TWorkForm.h"
#include "worksheet/TextPages.h"

namespace {

long residentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return -1;
}

// In use on the heap, the blocks malloc maps apart (pictures) included.
long heapKiB() {
  const struct mallinfo2 now = mallinfo2();
  return static_cast<long>((now.uordblks + now.hblkhd) / 1024);
}

// Notes the time once `window` has painted for the first time (when the
// events of that paint have run) and leaves the event loop, the window open.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget* window, const QElapsedTimer& clock) : clock_(clock) { window->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      QTimer::singleShot(0, qApp, [this] {
        milliseconds = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
        QCoreApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }
  double milliseconds = 0;

 private:
  const QElapsedTimer& clock_;
  bool painted_ = false;
};

void settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  const bool figures = argc == 3 && std::strcmp(argv[1], "figures") == 0;
  if (argc < 2 || (std::strcmp(argv[1], "program") != 0 && std::strcmp(argv[1], "bare") != 0 && !figures)) {
    std::fprintf(stderr, "usage: %s program|bare [WINDOWS [DIVISIONS [PAGE]]] | figures DIVISIONS\n", argv[0]);
    return 2;
  }
  const bool program = std::strcmp(argv[1], "bare") != 0;
  const int windows = argc > 2 && !figures ? std::atoi(argv[2]) : 0;
  const int divisions = figures ? std::atoi(argv[2]) : argc > 3 ? std::atoi(argv[3]) : 0;
  const int page = figures ? 0 : argc > 4 ? std::atoi(argv[4]) : 0;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  QMainWindow* window = nullptr;
  std::function<void()> openWindow;
  QTranslator qtTexts;
  if (program) {
    // As main() does: the names, Qt's own texts in Russian, the window.
    vintaler::setApplicationNames();
    if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QApplication::installTranslator(&qtTexts);
    }
    auto* form = new TForm1;
    window = form;
    openWindow = [form, divisions, page] {
      TWorkForm* project = form->NewProjectActionExecute();
      if (divisions > 0) {
        project->ProParams.Divisions = divisions;
        project->ProParams.Quadrants = {1, 1, 1, 1};
        project->ProParams.ShowGrid = 1;
        project->setActivePage(static_cast<vintaler::Page>(page));
        project->redraw(false);
      }
    };
  } else {
    window = new QMainWindow;
    for (const char* title : {"Файл", "Окно", "?"})
      window->menuBar()->addMenu(QString::fromUtf8(title))->addAction("…");
    QToolBar* tools = window->addToolBar(QStringLiteral("tools"));
    for (int i = 0; i < 7; ++i) tools->addAction(QStringLiteral("%1").arg(i));
    window->statusBar()->showMessage(QStringLiteral(" "));
    auto* area = new QMdiArea;
    window->setCentralWidget(area);
    openWindow = [area] { area->addSubWindow(new QWidget)->show(); };
  }
  FirstPaint watch(window, clock);
  if (program) {
    window->show();
  } else {
    window->showMaximized();  // as the program shows itself with no placement stored
  }
  app.exec();
  std::printf("%.2f %ld\n", watch.milliseconds, residentKiB());

  if (figures) {
    openWindow();
    settle();
    const long resident = residentKiB(), heap = heapKiB();
    TWorkForm* project = static_cast<TForm1*>(window)->activeProject();
    project->setActivePage(vintaler::Page::Figures);
    settle();
    const long addedResident = residentKiB() - resident, addedHeap = heapKiB() - heap;
    const QString text = project->textPages().page(vintaler::Page::Figures)->toPlainText();
    std::printf("%ld %ld %lld %lld\n", addedResident, addedHeap, static_cast<long long>(text.toUtf8().size() / 1024),
                static_cast<long long>(text.size() * 2 / 1024));
  }
  if (windows > 0) {
    openWindow();
    settle();
    const long resident = residentKiB(), heap = heapKiB();
    for (int i = 0; i < windows; ++i) {
      openWindow();
      settle();
    }
    std::printf("%.1f %.1f\n", static_cast<double>(residentKiB() - resident) / windows,
                static_cast<double>(heapKiB() - heap) / windows);
  }
  std::fflush(stdout);
  std::_Exit(0);  // the measure is taken: no settings written, no teardown timed
}
