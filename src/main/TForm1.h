// The main window: a multi-document frame for the project windows, with the
// commands that exist without a project, Save for the active one, the status
// bar (coordinate read-out on the left, hints on the right) and the stored
// window placement.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include "worksheet/IProjectHost.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class TWorkForm;

namespace vintaler {

// The organisation and application names the program runs under; its
// settings (the window placement, the last projects) are stored under them.
// Also the version and the desktop entry the program is known by.
void setApplicationNames();

}  // namespace vintaler

class TForm1 : public QMainWindow, public vintaler::IProjectHost {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // vintaler::IProjectHost
  int openProjectCount() const override;
  void setSaveEnabled(bool enabled) override;
  void setCoordinateText(const QString& text) override;
  void showHint(const QString& text) override;
  void showWarning(const QWidget* from, const QString& text) override;
  void projectSaved(const QString& fileName) override;

  QMdiArea* mdiArea() const { return mdiArea_; }
  QList<TWorkForm*> projectWindows() const;
  TWorkForm* activeProject() const;

  // The project commands.
  TWorkForm* NewProjectActionExecute();
  void LoadActionExecute();
  void SaveActionExecute();
  // A new project window for the file; a file that cannot be read leaves no
  // window behind and is reported. Returns the window, or null.
  TWorkForm* openProject(const QString& fileName);
  // Each file in a window of its own, as openProject does, in their order
  // (the files named on the command line, the files dropped on the window).
  void openProjects(const QStringList& fileNames);
  // The entry of the last projects list: a file that no longer exists is
  // reported and taken off the list.
  void openRecentProject(const QString& fileName);
  // The entries of the last projects list in "Файл", newest first.
  QList<QAction*> recentProjectActions() const { return recentActions_; }

  // Arranging the project windows.
  void tileHorizontal();  // one above the other, full width
  void tileVertical();    // side by side, full height
  void minimizeAll();

  QLabel* statusPanel0() const { return panel0_; }
  QLabel* hintPanel() const { return hintPanel_; }
  // The active project's standing warning (its pattern's accuracy).
  QLabel* warningPanel() const { return warningPanel_; }

  QAction* ExitAction = nullptr;
  QAction* NewProjectAction = nullptr;
  QAction* LoadAction = nullptr;
  QAction* SaveAction = nullptr;
  QAction* ShowAbout = nullptr;
  QAction* WindowCascade = nullptr;
  QAction* WindowTileHorizontal = nullptr;
  QAction* WindowTileVertical = nullptr;
  QAction* WindowMinimizeAll = nullptr;
  QAction* WindowClose = nullptr;  // the active project window: Ctrl+F4, Ctrl+W
  // The program's language, in "?": each item names its language in itself.
  QAction* RussianAction = nullptr;
  QAction* EnglishAction = nullptr;

  QMenu* FileMenu = nullptr;
  QMenu* WindowMenu = nullptr;
  QMenu* HelpMenu = nullptr;
  QMenu* LanguageMenu = nullptr;  // "Язык / Language", in both languages
  QToolBar* ToolBar1 = nullptr;

 protected:
  bool event(QEvent* event) override;
  // Another language: every text of the window is set again.
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Project files dropped on the window open as with "Открыть".
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  QAction* makeAction(const QKeySequence& shortcut, int icon);
  // The window's texts in the language applied; called once when it is made.
  void retranslateUi();
  void rebuildMenuBar();
  void tile(Qt::Orientation orientation);
  QMdiSubWindow* addProjectWindow(TWorkForm* project);
  void fillWindowMenu();
  // The window chosen in the window list: restored if minimised, and active.
  void showProjectWindow(QMdiSubWindow* w);
  void ShowAboutExecute();
  // Exit asks once about every modified project; false keeps them all open.
  bool mayCloseProjects();
  void storePlacement(bool visible);
  void restorePlacement();
  void maximize();
  // Shows `list` as the last projects, just above "Выход".
  void showRecentProjects(const QStringList& list);

  // The design size of the window, which it takes when no stored position fits.
  static constexpr QSize kDesignSize{541, 376};

  QMdiArea* mdiArea_ = nullptr;
  QLabel* panel0_ = nullptr;
  QLabel* hintPanel_ = nullptr;
  QLabel* warningPanel_ = nullptr;
  bool placementRestored_ = false;
  bool placementWritten_ = false;
  QList<QAction*> recentActions_;
  QPointer<QAction> exportMenuAction_;  // the active project's, while it is shown in "Файл"
  QList<QAction*> recentSeparators_;
};
