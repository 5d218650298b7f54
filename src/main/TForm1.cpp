#include "TForm1.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "about/TAboutForm.h"
#include "appcore/ErrorReport.h"
#include "appcore/ImageLists.h"
#include "appcore/ModalDialogs.h"
#include "appcore/ProjectFileDialogs.h"
#include "appcore/Questions.h"
#include "fishApi/core/FishErrors.h"
#include "main/CommandLine.h"
#include "main/LanguageChoice.h"
#include "main/RecentProjects.h"
#include "worksheet/TWorkForm.h"

namespace {

// The property of a project window minimised from the maximised state.
constexpr char kRestoreMaximized[] = "vintalerRestoreMaximized";

// A window's title as shown: the "[*]" placeholder is a "*" while the
// project is modified; an "&" of a file name is no access key.
QString shownTitle(const QMdiSubWindow* w) {
  const QWidget* shown = w->widget() ? w->widget() : w;
  QString title = shown->windowTitle();
  title.replace(QStringLiteral("[*]"), shown->isWindowModified() ? QStringLiteral("*") : QString());
  return title.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  resize(kDesignSize);

  mdiArea_ = new QMdiArea;
  mdiArea_->setBackground(palette().color(QPalette::Dark));
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);

  createActions();
  createMenus();
  createToolBar();
  createStatusBar();
  retranslateUi();
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
    rebuildMenuBar();
    TWorkForm* project = activeProject();
    for (TWorkForm* other : projectWindows()) {
      if (other != project) other->releaseViewBuffers();
    }
    showWarning(project, project ? project->accuracyWarning() : QString());
  });
  rebuildMenuBar();
  showRecentProjects(vintaler::recentProjects());
  setAcceptDrops(true);
}

TForm1::~TForm1() {
  // The project windows close while the frame is taken down; the menu bar
  // must not be rebuilt for them any more.
  disconnect(mdiArea_, nullptr, this, nullptr);
  storePlacement(true);
}

QAction* TForm1::makeAction(const QKeySequence& shortcut, int icon) {
  auto* action = new QAction(this);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  if (icon >= 0) action->setIcon(vintaler::ImageList2(icon));
  addAction(action);
  return action;
}

void TForm1::createActions() {
  ExitAction = makeAction(QKeySequence("Ctrl+X"), 6);
  NewProjectAction = makeAction(QKeySequence("Ctrl+N"), 7);
  LoadAction = makeAction(QKeySequence("F3"), 9);
  SaveAction = makeAction(QKeySequence("F2"), 8);
  ShowAbout = makeAction(QKeySequence(), -1);
  WindowCascade = makeAction(QKeySequence(), 14);
  WindowTileHorizontal = makeAction(QKeySequence(), 15);
  WindowTileVertical = makeAction(QKeySequence(), 16);
  WindowMinimizeAll = makeAction(QKeySequence(), -1);
  // Closes the active project window, with the keys of every multi-document
  // program; the menu shows both.
  WindowClose = makeAction(QKeySequence(), -1);
  WindowClose->setShortcuts({QKeySequence("Ctrl+F4"), QKeySequence("Ctrl+W")});
  SaveAction->setEnabled(false);

  // Each language is named in itself, whichever the program speaks.
  auto* languages = new QActionGroup(this);
  RussianAction = languages->addAction(QStringLiteral("&Русский"));
  EnglishAction = languages->addAction(QStringLiteral("&English"));
  for (QAction* a : languages->actions()) a->setCheckable(true);
  connect(RussianAction, &QAction::triggered, this, [] { vintaler::chooseLanguage(vintaler::TLanguage::Russian); });
  connect(EnglishAction, &QAction::triggered, this, [] { vintaler::chooseLanguage(vintaler::TLanguage::English); });

  connect(ExitAction, &QAction::triggered, this, &QWidget::close);
  connect(NewProjectAction, &QAction::triggered, this, [this] { NewProjectActionExecute(); });
  connect(SaveAction, &QAction::triggered, this, [this] { SaveActionExecute(); });
  connect(LoadAction, &QAction::triggered, this, [this] { LoadActionExecute(); });
  connect(ShowAbout, &QAction::triggered, this, [this] { ShowAboutExecute(); });
  connect(WindowCascade, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
  connect(WindowTileHorizontal, &QAction::triggered, this, [this] { tileHorizontal(); });
  connect(WindowTileVertical, &QAction::triggered, this, [this] { tileVertical(); });
  connect(WindowMinimizeAll, &QAction::triggered, this, [this] { minimizeAll(); });
  connect(WindowClose, &QAction::triggered, mdiArea_, &QMdiArea::closeActiveSubWindow);
}

void TForm1::createMenus() {
  FileMenu = new QMenu(this);
  FileMenu->addActions({LoadAction, SaveAction, NewProjectAction, ExitAction});

  WindowMenu = new QMenu(this);
  connect(WindowMenu, &QMenu::aboutToShow, this, [this] { fillWindowMenu(); });
  fillWindowMenu();

  // The language menu's title is in both languages: found by whoever reads
  // either.
  HelpMenu = new QMenu(QStringLiteral("&?"), this);
  LanguageMenu = HelpMenu->addMenu(QStringLiteral("Язык / &Language"));
  LanguageMenu->addActions({RussianAction, EnglishAction});
  HelpMenu->addSeparator();
  HelpMenu->addAction(ShowAbout);
}

void TForm1::retranslateUi() {
  setWindowTitle(tr("Винталер 1.0"));
  const auto texts = [](QAction* action, const QString& caption, const QString& hint) {
    action->setText(caption);
    action->setStatusTip(hint);
    action->setToolTip(hint);
  };
  texts(ExitAction, tr("В&ыход"), tr("Выход из программы"));
  texts(NewProjectAction, tr("&Новый"), tr("Создает новый проект"));
  texts(LoadAction, tr("&Открыть"), tr("Открывает файл проекта"));
  texts(SaveAction, tr("&Сохранить"), tr("Сохраняет файл проекта"));
  texts(ShowAbout, tr("&О программе"), tr("Информация о программе"));
  texts(WindowCascade, tr("&Каскадом"), tr("Располагает все окна каскадом"));
  texts(WindowTileHorizontal, tr("&Горизонтально"), tr("Располагает все окна горизонтально"));
  texts(WindowTileVertical, tr("&Вертикально"), tr("Располагает все окна вертикально"));
  texts(WindowMinimizeAll, tr("&Минимизировать все"), tr("Минимизирует все окна"));
  const QString closeKeys = QKeySequence::listToString(WindowClose->shortcuts(), QKeySequence::NativeText);
  texts(WindowClose, tr("&Закрыть") + QLatin1Char('\t') + closeKeys, tr("Закрывает окно проекта"));
  FileMenu->setTitle(tr("&Файл"));
  WindowMenu->setTitle(tr("&Окно"));
  (vintaler::currentLanguage() == vintaler::TLanguage::English ? EnglishAction : RussianAction)->setChecked(true);
}

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::LanguageChange) return;
  retranslateUi();
  // A hint stays until the mouse moves on: one in the other language goes now.
  hintPanel_->clear();
}

void TForm1::rebuildMenuBar() {
  // The active project window's own menus stand between "Файл" and "Окно".
  WindowClose->setEnabled(activeProject() != nullptr);
  QMenuBar* bar = menuBar();
  bar->clear();
  // "Экспорт" of the active project stands in "Файл" after "Сохранить".
  if (exportMenuAction_) FileMenu->removeAction(exportMenuAction_);
  exportMenuAction_ = nullptr;
  if (TWorkForm* project = activeProject()) {
    exportMenuAction_ = project->ExportMenu->menuAction();
    FileMenu->insertAction(NewProjectAction, exportMenuAction_);
  }
  bar->addMenu(FileMenu);
  if (TWorkForm* project = activeProject()) {
    bar->addMenu(project->EditMenu);
    bar->addMenu(project->ViewMenu);
  }
  bar->addMenu(WindowMenu);
  bar->addMenu(HelpMenu);
}

void TForm1::fillWindowMenu() {
  WindowMenu->clear();
  WindowMenu->addActions({WindowCascade, WindowTileHorizontal, WindowTileVertical, WindowMinimizeAll});
  WindowMenu->addSeparator();
  WindowMenu->addAction(WindowClose);
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  if (!windows.isEmpty()) WindowMenu->addSeparator();
  int number = 0;
  for (QMdiSubWindow* w : windows) {
    ++number;
    QAction* item = WindowMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(shownTitle(w)));
    item->setCheckable(true);
    item->setChecked(w == mdiArea_->activeSubWindow());
    connect(item, &QAction::triggered, this, [this, w] { showProjectWindow(w); });
  }
}

void TForm1::showProjectWindow(QMdiSubWindow* w) {
  // A minimised window is chosen to work in: it comes back the way it was
  // before it was minimised.
  if (w->isMinimized()) {
    if (w->property(kRestoreMaximized).toBool()) {
      w->showMaximized();
    } else {
      w->showNormal();
    }
  }
  mdiArea_->setActiveSubWindow(w);
}

void TForm1::createToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->addAction(ExitAction);
  ToolBar1->addSeparator();
  ToolBar1->addActions({NewProjectAction, LoadAction, SaveAction});
  ToolBar1->addSeparator();
  ToolBar1->addActions({WindowCascade, WindowTileHorizontal, WindowTileVertical});
}

void TForm1::createStatusBar() {
  panel0_ = new QLabel;
  panel0_->setFixedWidth(150);
  panel0_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  hintPanel_ = new QLabel;
  hintPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  hintPanel_->setMinimumWidth(50);
  statusBar()->addWidget(panel0_);
  statusBar()->addWidget(hintPanel_, 1);
  // Hints come and go with the mouse; a warning about the active project
  // stays in a panel of its own while it holds.
  warningPanel_ = new QLabel;
  warningPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  warningPanel_->setStyleSheet(QStringLiteral("color: #b00000;"));
  warningPanel_->setWordWrap(false);
  warningPanel_->hide();
  statusBar()->addPermanentWidget(warningPanel_);
}

bool TForm1::event(QEvent* event) {
  // Hints go to the last panel; the default would cover both panels with a
  // temporary message.
  if (event->type() == QEvent::StatusTip) {
    showHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

int TForm1::openProjectCount() const { return static_cast<int>(projectWindows().size()); }

QList<TWorkForm*> TForm1::projectWindows() const {
  QList<TWorkForm*> projects;
  for (QMdiSubWindow* w : mdiArea_->subWindowList()) {
    if (auto* p = qobject_cast<TWorkForm*>(w->widget())) projects << p;
  }
  return projects;
}

TWorkForm* TForm1::activeProject() const {
  QMdiSubWindow* active = mdiArea_->activeSubWindow();
  return active ? qobject_cast<TWorkForm*>(active->widget()) : nullptr;
}

void TForm1::setSaveEnabled(bool enabled) { SaveAction->setEnabled(enabled); }

void TForm1::setCoordinateText(const QString& text) { panel0_->setText(text); }

void TForm1::showHint(const QString& text) { hintPanel_->setText(text); }

void TForm1::showWarning(const QWidget* from, const QString& text) {
  if (from != activeProject()) return;
  warningPanel_->setText(text);
  warningPanel_->setToolTip(text);
  warningPanel_->setVisible(!text.isEmpty());
}

void TForm1::projectSaved(const QString& fileName) { showRecentProjects(vintaler::rememberRecentProject(fileName)); }

void TForm1::showRecentProjects(const QStringList& list) {
  // The entries stand between separators above "Выход"; with no entries the
  // menu is as it always was. Old entries are deleted later: one of them may
  // be the command running now.
  for (QAction* a : recentActions_ + recentSeparators_) {
    FileMenu->removeAction(a);
    a->deleteLater();
  }
  recentActions_.clear();
  recentSeparators_.clear();
  if (list.isEmpty()) return;
  recentSeparators_ << new QAction(this) << new QAction(this);
  for (QAction* separator : recentSeparators_) separator->setSeparator(true);
  FileMenu->insertAction(ExitAction, recentSeparators_[0]);
  for (int i = 0; i < list.size(); ++i) {
    const QString fileName = list[i];
    auto* item = new QAction(vintaler::recentProjectCaption(i, fileName), this);
    item->setStatusTip(QDir::toNativeSeparators(fileName));
    connect(item, &QAction::triggered, this, [this, fileName] { openRecentProject(fileName); });
    FileMenu->insertAction(ExitAction, item);
    recentActions_ << item;
  }
  FileMenu->insertAction(ExitAction, recentSeparators_[1]);
}

void TForm1::openRecentProject(const QString& fileName) {
  if (!QFileInfo::exists(fileName)) {
    showRecentProjects(vintaler::forgetRecentProject(fileName));
    vintaler::reportError(this, tr("Файл \"%1\" не найден; он убран из списка последних проектов.")
                                    .arg(QDir::toNativeSeparators(fileName)));
    return;
  }
  openProject(fileName);
}

void TForm1::openProjects(const QStringList& fileNames) {
  for (const QString& name : fileNames) openProject(name);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!vintaler::droppedProjects(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
  if (!vintaler::droppedProjects(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QStringList files = vintaler::droppedProjects(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  // Opened once the drop is over: a file that cannot be read shows a message,
  // which must not hold up the program the files came from.
  QTimer::singleShot(0, this, [this, files] { openProjects(files); });
}

QMdiSubWindow* TForm1::addProjectWindow(TWorkForm* project) {
  QMdiSubWindow* sub = mdiArea_->addSubWindow(project);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(vintaler::ImageList2(11));
  // Ctrl+F4 and Ctrl+W are the frame's "Закрыть"; the sub-window's own menu
  // taking one of them too would leave the key to neither.
  if (QMenu* own = sub->systemMenu()) {
    for (QAction* a : own->actions()) {
      QList<QKeySequence> keys = a->shortcuts();
      keys.removeIf([this](const QKeySequence& k) { return WindowClose->shortcuts().contains(k); });
      a->setShortcuts(keys);
    }
  }
  // A sub-window forgets that it was maximised once it is minimised: note it
  // for the window list, which restores it.
  connect(sub, &QMdiSubWindow::windowStateChanged, sub, [sub](Qt::WindowStates before, Qt::WindowStates now) {
    if (now & Qt::WindowMinimized) {
      if (!(before & Qt::WindowMinimized)) sub->setProperty(kRestoreMaximized, bool(before & Qt::WindowMaximized));
    } else {
      sub->setProperty(kRestoreMaximized, false);
    }
  });
  sub->show();
  mdiArea_->setActiveSubWindow(sub);
  return sub;
}

TWorkForm* TForm1::NewProjectActionExecute() {
  auto* project = new TWorkForm(this);
  project->updateCaption();
  addProjectWindow(project);
  return project;
}

void TForm1::LoadActionExecute() {
  const QString chosen = vintaler::chooseProjectToOpen(this);
  if (!chosen.isEmpty()) openProject(chosen);
}

TWorkForm* TForm1::openProject(const QString& fileName) {
  auto* project = new TWorkForm(this);
  try {
    project->LoadProject(fileName);
  } catch (const fish::EFishError& e) {
    const QString message = QString::fromUtf8(e.what());
    delete project;
    setSaveEnabled(openProjectCount() > 0);
    vintaler::reportError(this, message);
    return nullptr;
  }
  addProjectWindow(project);
  showRecentProjects(vintaler::rememberRecentProject(fileName));
  return project;
}

void TForm1::SaveActionExecute() {
  if (TWorkForm* project = activeProject()) project->Save->trigger();
}

void TForm1::tile(Qt::Orientation orientation) {
  // Minimised windows stay where they are; the others share the area in equal
  // strips, stacked (vertical strips) or side by side.
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* w : mdiArea_->subWindowList()) {
    if (!w->isMinimized()) windows << w;
  }
  if (windows.isEmpty()) return;
  const QRect area = mdiArea_->viewport()->rect();
  const int n = static_cast<int>(windows.size());
  for (int i = 0; i < n; ++i) {
    windows[i]->showNormal();
    if (orientation == Qt::Vertical) {
      const int h = area.height() / n;
      windows[i]->setGeometry(0, i * h, area.width(), h);
    } else {
      const int w = area.width() / n;
      windows[i]->setGeometry(i * w, 0, w, area.height());
    }
  }
}

void TForm1::tileHorizontal() { tile(Qt::Vertical); }

void TForm1::tileVertical() { tile(Qt::Horizontal); }

void TForm1::minimizeAll() {
  for (QMdiSubWindow* w : mdiArea_->subWindowList()) w->showMinimized();
}

void TForm1::ShowAboutExecute() {
  TAboutForm about(this);
  about.exec();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!mayCloseProjects()) {
    event->ignore();
    return;
  }
  event->accept();
  storePlacement(false);
}

bool TForm1::mayCloseProjects() {
  // One question for all the modified projects; Сохранить saves each in
  // turn, and a save cancelled or failed keeps the program open.
  QList<TWorkForm*> modified;
  QStringList names;
  for (TWorkForm* project : projectWindows()) {
    if (!project->isWindowModified()) continue;
    modified << project;
    names << project->displayName();
  }
  if (modified.isEmpty()) return true;
  switch (vintaler::askToSaveChanges(this, names)) {
    case vintaler::SaveAnswer::Discard: return true;
    case vintaler::SaveAnswer::Cancel: return false;
    case vintaler::SaveAnswer::Save: break;
  }
  for (TWorkForm* project : modified) {
    // The project the Save dialog may ask about is the one shown.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(project->parentWidget())) showProjectWindow(sub);
    if (!project->saveChanges()) return false;
  }
  return true;
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!placementRestored_) {
    placementRestored_ = true;
    restorePlacement();
  }
}
