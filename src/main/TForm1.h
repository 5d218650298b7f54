// The main window: a multi-document frame for the project windows, with the
// commands that exist without a project, Save for the active one, the status
// bar (coordinate read-out on the left, hints on the right) and the stored
// window placement.
#pragma once

#include <QMainWindow>

#include "worksheet/IProjectHost.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class TWorkForm;

class TForm1 : public QMainWindow, public vintaler::IProjectHost {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // vintaler::IProjectHost
  int OpenProjectCount() const override;
  void SetSaveEnabled(bool enabled) override;
  void SetCoordinateText(const QString& text) override;
  void ShowHint(const QString& text) override;

  QMdiArea* MdiArea() const { return mdiArea_; }
  QList<TWorkForm*> ProjectWindows() const;
  TWorkForm* ActiveProject() const;

  // The project commands.
  TWorkForm* NewProjectActionExecute();
  void LoadActionExecute();
  void SaveActionExecute();
  // A new project window for the file; a file that cannot be read leaves no
  // window behind and is reported. Returns the window, or null.
  TWorkForm* OpenProject(const QString& fileName);

  // Arranging the project windows.
  void TileHorizontal();  // one above the other, full width
  void TileVertical();    // side by side, full height
  void MinimizeAll();

  QLabel* StatusPanel0() const { return panel0_; }
  QLabel* HintPanel() const { return hintPanel_; }

  QAction* ExitAction = nullptr;
  QAction* NewProjectAction = nullptr;
  QAction* LoadAction = nullptr;
  QAction* SaveAction = nullptr;
  QAction* ShowAbout = nullptr;
  QAction* WindowCascade = nullptr;
  QAction* WindowTileHorizontal = nullptr;
  QAction* WindowTileVertical = nullptr;
  QAction* WindowMinimizeAll = nullptr;

  QMenu* FileMenu = nullptr;
  QMenu* WindowMenu = nullptr;
  QMenu* HelpMenu = nullptr;
  QToolBar* ToolBar1 = nullptr;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  QAction* MakeAction(const QString& caption, const QString& hint, const QKeySequence& shortcut, int icon);
  void RebuildMenuBar();
  void Tile(Qt::Orientation orientation);
  QMdiSubWindow* AddProjectWindow(TWorkForm* project);
  void FillWindowMenu();
  void ShowAboutExecute();
  void StorePlacement(bool visible);
  void RestorePlacement();
  void Maximize();

  QMdiArea* mdiArea_ = nullptr;
  QLabel* panel0_ = nullptr;
  QLabel* hintPanel_ = nullptr;
  bool placementRestored_ = false;
  bool placementWritten_ = false;
};
