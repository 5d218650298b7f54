// The project window's widgets, actions and menus, built in one place. The
// window inherits this class and does the wiring; everything here is only
// made and laid out (the Ui pattern of Qt's designer forms, written by hand).
#pragma once

#include <QColor>
#include <QCoreApplication>
#include <array>

class QAction;
class QFrame;
class QKeySequence;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QSplitter;
class QString;
class QTabWidget;
class TTextPage;
class QToolBar;
class QWidget;
class TxPaintBox;

class TWorkFormUi {
  Q_DECLARE_TR_FUNCTIONS(TWorkFormUi)

 public:
  // Makes every component as a child of `form`, its actions added to it.
  void setupUi(QWidget* form);
  // Every caption, hint and label in the language applied (the window's
  // title and its pages' texts are the window's own).
  void retranslateUi();

  // A parameter field's background: white while its text is a number, red
  // while it is not.
  static void setFieldColour(QLineEdit* edit, const QColor& colour);

  // The window's own menus, shown in the main menu bar while it is active.
  QMenu* EditMenu = nullptr;  // "Редактирование"
  QMenu* ViewMenu = nullptr;  // "Вид"
  QMenu* PopupMenu1 = nullptr;
  QMenu* PopupMenu2 = nullptr;
  QMenu* ScrollMenu = nullptr;  // "Сдвинуть", inside PopupMenu1
  QMenu* ScaleMenu = nullptr;   // "Масштаб", inside PopupMenu1
  QMenu* ExportMenu = nullptr;  // "Экспорт": the flat pattern as files and at full size

  // Components.
  QTabWidget* Panel1 = nullptr;
  QScrollArea* ParamsScroll = nullptr;  // the fields' page of Panel1, scrolled when the window is short
  std::array<QLineEdit*, 6> Edits{};    // Edit1..Edit6: A, B, R, L, X1, Y1
  std::array<QLabel*, 6> Labels{};      // their captions
  QLabel* Image1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QFrame* Panel2 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  TxPaintBox* xPaintBox1 = nullptr;
  TxPaintBox* xPaintBox2 = nullptr;
  TTextPage* Memo1 = nullptr;  // "Результаты"
  TTextPage* Memo2 = nullptr;  // "Размеры для разметки"
  QToolBar* ToolBar1 = nullptr;

  // Actions.
  QAction* Show3D = nullptr;
  QAction* ShowRazvertka = nullptr;
  QAction* ShowResult = nullptr;
  QAction* ShowFigures = nullptr;
  QAction* ShowSystemParams = nullptr;
  QAction* SetupDrawAction = nullptr;
  QAction* ShowProParamsAction = nullptr;
  QAction* ShowCuttingAction = nullptr;  // "Раскрой": the pattern, seams and allowances
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
  QAction* ExportDxf = nullptr;
  QAction* ExportSvg = nullptr;
  QAction* ExportPdf = nullptr;
  QAction* PrintFullSize = nullptr;

 private:
  static QAction* makeAction(QWidget* form, const QKeySequence& shortcut, int icon);
  void addToolButton(QAction* action, int icon);
  // `menu` pops up where `to` is right-clicked.
  static void attachPopup(QMenu* menu, QWidget* to);
  void createActions(QWidget* form);
  void createMenus(QWidget* form);
  void createLayout(QWidget* form);
};
