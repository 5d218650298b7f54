// One project: its two records, the six parameter fields, and three pages
// (the 3-D wire model, the development, the numeric results). Every change
// ends in the one redraw, DrawAction, which recomputes everything from the
// records; nothing computed is kept.
#pragma once

#include <QAction>
#include <QWidget>
#include <array>

#include "fishApi/FishTypes.h"
#include "fishApi/ProjectFile.h"

class QFrame;
class QPrinter;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTabWidget;
class QTextEdit;
class QToolBar;
class TxPaintBox;

namespace vintaler {
class IProjectHost;
}

class TWorkForm : public QWidget {
  Q_OBJECT

 public:
  explicit TWorkForm(vintaler::IProjectHost* host, QWidget* parent = nullptr);

  // Project state.
  fish::TSystemParams SystemParams;
  fish::TProParams ProParams;
  QString ProjectFileName;
  TxPaintBox* ActiveBox = nullptr;

  // Reads the six fields into SystemParams and redraws. An invalid field turns
  // red and the whole record keeps its previous values. True if all were valid.
  bool GetSystemInfo();
  // Writes SystemParams into the six fields, then redraws once.
  void setSysInfo();

  // The redraw: the surface in ActiveBox, and the results page while it is
  // shown. A failure is drawn on the view itself; with `report` (a command the
  // user ran) it is also shown once in a message box.
  void redraw(bool report);

  // The view in ActiveBox drawn afresh; an engine failure is thrown.
  void drawView();

  // The view drawn once more into the surface's off-screen bitmap (black
  // 1-pixel lines on white, the view's pixel size). The surface draws on
  // screen again afterwards, also when the drawing fails.
  QImage renderViewBitmap();

  // Page index of PageControl1: 0 model, 1 development, 2 results.
  int activePage() const;
  void setActivePage(int index);

  // Sets the caption "Проект (<name>)".
  void updateCaption();

  // The project file: both records and both views' world windows. Saving
  // names the window after the file; a failure throws fish::EProjectFileError
  // and changes nothing. Loading reads the whole file first: a file that
  // cannot be read changes nothing either.
  void SaveProject(const QString& fileName);
  void LoadProject(const QString& fileName);
  fish::TProjectData projectData() const;
  void applyProject(const fish::TProjectData& project, const QString& fileName);

  // View navigation on ActiveBox: steps of 5 % of the current spans.
  fish::Extended DScrollX = 0;
  fish::Extended DScrollY = 0;
  void GetDScroll();
  void ScrollX(fish::Extended d);
  void ScrollY(fish::Extended d);
  void Zoom(fish::Extended d);

  // The command handlers.
  void ScrollLeftExecute();
  void ScrollRightExecute();
  void ScrollUpExecute();
  void ScrollDownExecute();
  void ZoomInExecute();
  void ZoomOutExecute();
  void AutoScaleExecute();
  void SetupDrawActionExecute();
  void ShowProParamsActionExecute();
  void SaveExecute();
  void SelectAllExecute();
  void CopyExecute();
  void SetFontExecute();
  void PrintActionExecute();
  void ShowShemaExecute();

  // The results text, laid out over as many pages of `printer` as it needs.
  void printResultsText(QPrinter& printer);

  // The pointer's world position over the development, "x: y" in tenths.
  void xPaintBox2MouseMove(int x, int y);
  void xPaintBox2MouseLeave();

  // The window's own menus, shown in the main menu bar while it is active.
  QMenu* EditMenu = nullptr;  // "Редактирование"
  QMenu* ViewMenu = nullptr;  // "Вид"
  QMenu* PopupMenu1 = nullptr;
  QMenu* PopupMenu2 = nullptr;

  // Components.
  QTabWidget* Panel1 = nullptr;
  std::array<QLineEdit*, 6> Edits{};  // Edit1..Edit6: A, B, R, L, X1, Y1
  QLabel* Image1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QFrame* Panel2 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  TxPaintBox* xPaintBox1 = nullptr;
  TxPaintBox* xPaintBox2 = nullptr;
  QTextEdit* Memo1 = nullptr;
  QToolBar* ToolBar1 = nullptr;

  // Actions.
  QAction* Show3D = nullptr;
  QAction* ShowRazvertka = nullptr;
  QAction* ShowResult = nullptr;
  QAction* ShowSystemParams = nullptr;
  QAction* SetupDrawAction = nullptr;
  QAction* ShowProParamsAction = nullptr;
  QAction* DrawAction = nullptr;
  QAction* PrintAction = nullptr;
  QAction* ScrollLeft = nullptr;
  QAction* ScrollRight = nullptr;
  QAction* ScrollUp = nullptr;
  QAction* ScrollDown = nullptr;
  QAction* ZoomIn = nullptr;
  QAction* ZoomOut = nullptr;
  QAction* AutoScale = nullptr;
  QAction* Save = nullptr;
  QAction* ShowShema = nullptr;
  QAction* SelectAll = nullptr;
  QAction* Copy = nullptr;
  QAction* SetFont = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createLayout();
  QAction* makeAction(const QString& caption, const QString& hint, const QKeySequence& shortcut, int icon);
  void addToolButton(QAction* action, int icon);

  void Edit1Change();
  void Image1DblClick();
  void TabSheet1Show();
  void TabSheet2Show();
  void TabSheet3Show();
  void checkPage(QAction* checked);
  void ShowSystemParamsExecute();
  void DrawActionExecute();
  void showPopup(QMenu* menu, QWidget* from, const QPoint& pos);

  vintaler::IProjectHost* host_ = nullptr;
  bool filling_ = false;
  bool shownOnce_ = false;
};
