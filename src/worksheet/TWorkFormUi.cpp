#include "TWorkFormUi.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "DimensionSketch.h"
#include "appcore/ImageLists.h"
#include "textPage/TTextPage.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

const char* const kLabelOf[6] = {
    "Сторона А прямоугольного сечения", "Сторона B прямоугольного сечения", "Радиус R круглого сечения",
    "Расстояние L между сечениями",     "Смещение X1 осей сечений",         "Смещение Y1 осей сечений",
};

}  // namespace

void TWorkFormUi::setFieldColour(QLineEdit* edit, const QColor& colour) {
  QPalette pal = edit->palette();
  pal.setColor(QPalette::Base, colour);
  edit->setPalette(pal);
}

void TWorkFormUi::setupUi(QWidget* form) {
  form->resize(567, 392);
  createActions(form);
  createMenus(form);
  createLayout(form);
  attachPopup(PopupMenu1, xPaintBox1);
  attachPopup(PopupMenu1, xPaintBox2);
  attachPopup(PopupMenu2, Memo1);
  attachPopup(PopupMenu2, Memo2);
}

void TWorkFormUi::attachPopup(QMenu* menu, QWidget* to) {
  to->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(to, &QWidget::customContextMenuRequested, menu,
                   [menu, to](const QPoint& pos) { menu->popup(to->mapToGlobal(pos)); });
}

QAction* TWorkFormUi::makeAction(QWidget* form, const QString& caption, const QString& hint,
                                 const QKeySequence& shortcut, int icon) {
  auto* action = new QAction(caption, form);
  action->setStatusTip(hint);
  action->setToolTip(hint);
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    // Each project window answers its own keys only while it has the focus.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  }
  if (icon >= 0) action->setIcon(vintaler::ImageList2(icon));
  form->addAction(action);
  return action;
}

void TWorkFormUi::createActions(QWidget* form) {
  using S = QKeySequence;
  Show3D = makeAction(form, "&3-мерный вид", "Показывает 3-мерный вид системы", S("Ctrl+F3"), 11);
  ShowRazvertka = makeAction(form, "&Развертка", "Показывает развертку поверхности перехода", S("Ctrl+F2"), 12);
  ShowResult =
      makeAction(form, "&Численные результаты", "Показывает численные результаты расчета развертки", S("Ctrl+F5"), 13);
  ShowFigures = makeAction(form, "Ра&змеры для разметки",
                           "Показывает истинные длины, площади и массу развертки для разметки", S("Ctrl+F7"), 21);
  ShowSystemParams = makeAction(form, "Параметры &системы", "Панель параметров системы", S("F10"), -1);
  SetupDrawAction =
      makeAction(form, "Параметры области р&исования", "Настройка параметров области рисования", S("F11"), -1);
  ShowProParamsAction = makeAction(form, "Параметры &построения", "Параметры построения развертки", S("F12"), -1);
  ShowCuttingAction =
      makeAction(form, "Р&аскрой…", "Развертка для раскроя, швы и припуски", S("Shift+F12"), -1);
  DrawAction = makeAction(form, "&Обновить", "Обновляет изображение", S(), -1);
  PrintAction = makeAction(form, "П&ечатать", "Печатает содержимое окна", S("Ctrl+P"), 10);
  ScrollLeft = makeAction(form, "Сдвинуть в&лево", "Сдвигает область рисования влево", S("Ctrl+L"), 2);
  ScrollRight = makeAction(form, "Сдвинуть впр&аво", "Сдвигает область рисования вправо", S("Ctrl+R"), 3);
  ScrollUp = makeAction(form, "Сдвинуть вв&ерх", "Сдвигает область рисования вверх", S("Ctrl+U"), 5);
  ScrollDown = makeAction(form, "Сдвинуть вн&из", "Сдвигает область рисования вниз", S("Ctrl+D"), 4);
  ZoomIn = makeAction(form, "&Приблизить", "Приближает область рисования", S("Ctrl+I"), 0);
  ZoomOut = makeAction(form, "&Отдалить", "Отдаляет область рисования", S("Ctrl+O"), 1);
  AutoScale =
      makeAction(form, "Автоматическое &масштабирование", "Автоматическое масштабирование области рисования", S(), 19);
  Save = makeAction(form, "&Сохранить", "Сохраняет файл проекта", S(), 8);
  ShowShema = makeAction(form, "С&хема нанесения размеров", "Показывает схему нанесения размеров", S(), -1);
  SelectAll = makeAction(form, "&Выделить все", "Выделить все", S("Ctrl+A"), -1);
  Copy = makeAction(form, "&Копировать", "Копирует", S("Ctrl+C"), 20);
  SetFont = makeAction(form, "&Шрифт", "Выбор шрифта", S(), -1);
  ExportDxf = makeAction(form, "&DXF…", "Записывает развертку в файл DXF для станков раскроя", S(), -1);
  ExportSvg = makeAction(form, "&SVG…", "Записывает развертку в рисунок SVG в миллиметрах", S(), -1);
  ExportPdf =
      makeAction(form, "&PDF в натуральную величину…", "Записывает развертку в PDF в натуральную величину", S(), -1);
  PrintFullSize = makeAction(form, "&Печать в натуральную величину…",
                             "Печатает развертку в натуральную величину на нескольких листах", S(), 10);

  for (QAction* a : {Show3D, ShowRazvertka, ShowResult, ShowFigures, ShowSystemParams}) a->setCheckable(true);
  ShowSystemParams->setChecked(true);
}

void TWorkFormUi::createMenus(QWidget* form) {
  EditMenu = new QMenu(QStringLiteral("&Редактирование"), form);
  EditMenu->addActions({SelectAll, Copy, DrawAction});
  EditMenu->addSeparator();
  EditMenu->addActions({ShowSystemParams, SetupDrawAction, ShowProParamsAction, ShowCuttingAction});
  EditMenu->addSeparator();
  EditMenu->addAction(PrintAction);

  ViewMenu = new QMenu(QStringLiteral("&Вид"), form);
  ViewMenu->addActions({Show3D, ShowRazvertka, ShowResult, ShowFigures, ShowShema});
  ViewMenu->addSeparator();
  ViewMenu->addActions({ScrollLeft, ScrollRight, ScrollUp, ScrollDown, ZoomIn, ZoomOut, AutoScale});

  // The pattern onto metal: shown in the main window's "Файл" while the
  // window is active, and in the drawings' pop-up menu.
  ExportMenu = new QMenu(QStringLiteral("&Экспорт"), form);
  ExportMenu->addActions({ExportDxf, ExportSvg, ExportPdf});
  ExportMenu->addSeparator();
  ExportMenu->addAction(PrintFullSize);

  PopupMenu1 = new QMenu(form);
  PopupMenu1->addActions({ShowSystemParams, SetupDrawAction, ShowProParamsAction, ShowCuttingAction});
  PopupMenu1->addSeparator();
  ScrollMenu = PopupMenu1->addMenu(vintaler::ImageList2(17), QStringLiteral("С&двинуть"));
  ScrollMenu->addActions({ScrollLeft, ScrollRight, ScrollDown, ScrollUp});
  ScaleMenu = PopupMenu1->addMenu(vintaler::ImageList2(18), QStringLiteral("&Масштаб"));
  ScaleMenu->menuAction()->setStatusTip(QStringLiteral("Приближает область рисования"));
  ScaleMenu->addActions({ZoomIn, ZoomOut});
  PopupMenu1->addSeparator();
  PopupMenu1->addActions({Show3D, ShowRazvertka, ShowResult, ShowFigures});
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(Copy);
  PopupMenu1->addMenu(ExportMenu);
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(PrintAction);

  PopupMenu2 = new QMenu(form);
  PopupMenu2->addAction(ShowSystemParams);
  PopupMenu2->addSeparator();
  PopupMenu2->addActions({Show3D, ShowRazvertka, ShowResult, ShowFigures});
  PopupMenu2->addSeparator();
  PopupMenu2->addActions({SelectAll, Copy});
  PopupMenu2->addSeparator();
  PopupMenu2->addActions({SetFont, ShowShema});
  PopupMenu2->addSeparator();
  PopupMenu2->addAction(PrintAction);
}

void TWorkFormUi::addToolButton(QAction* action, int icon) {
  ToolBar1->addAction(action);
  // The tool bar shows the grey icon at rest and the coloured one under the
  // mouse; the button takes the action's icon again whenever the action
  // changes, so it is put back after each change.
  if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action))) {
    button->setIcon(vintaler::toolBarIcon(icon));
    QObject::connect(action, &QAction::changed, button,
                     [button, icon] { button->setIcon(vintaler::toolBarIcon(icon)); });
  }
}

void TWorkFormUi::createLayout(QWidget* form) {
  // Left: the parameter fields and the sketch.
  Panel1 = new QTabWidget;
  Panel1->setDocumentMode(true);
  Panel1->setMinimumWidth(120);
  auto* params = new QWidget;
  auto* paramsLayout = new QVBoxLayout(params);
  paramsLayout->setContentsMargins(4, 4, 4, 4);
  paramsLayout->setSpacing(2);
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    auto* label = new QLabel(QString::fromUtf8(kLabelOf[i]));
    label->setWordWrap(true);
    auto* edit = new QLineEdit;
    edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
    edit->setAutoFillBackground(true);
    setFieldColour(edit, Qt::white);
    label->setBuddy(edit);
    paramsLayout->addWidget(label);
    paramsLayout->addWidget(edit);
    Edits[i] = edit;
  }
  paramsLayout->addStretch(1);
  // A window squeezed by tiling scrolls its fields rather than cut them off.
  ParamsScroll = new QScrollArea;
  ParamsScroll->setObjectName(QStringLiteral("ParamsScroll"));
  ParamsScroll->setFrameStyle(QFrame::NoFrame);
  ParamsScroll->setFocusPolicy(Qt::NoFocus);
  ParamsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ParamsScroll->setWidgetResizable(true);
  ParamsScroll->setWidget(params);
  Panel1->addTab(ParamsScroll, QStringLiteral("Параметры"));

  Image1 = new QLabel;
  Image1->setPixmap(vintaler::dimensionSketch());
  Image1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Panel1->addTab(Image1, QStringLiteral("Схема"));

  // Right: the four pages, in vintaler::Page's order (tabs hidden: pages
  // change only through the commands), and the tool bar along the right edge.
  Panel2 = new QFrame;
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel2->setAutoFillBackground(true);
  QPalette white = Panel2->palette();
  white.setColor(QPalette::Window, Qt::white);
  Panel2->setPalette(white);

  PageControl1 = new QTabWidget;
  PageControl1->tabBar()->hide();
  PageControl1->setDocumentMode(true);

  xPaintBox1 = new TxPaintBox;
  xPaintBox1->setObjectName(QStringLiteral("xPaintBox1"));
  xPaintBox1->setSpaceMode(fish::TSpaceMode::_3D);
  xPaintBox1->setBounds({-100, 100, -100, 100, -100, 100});
  xPaintBox2 = new TxPaintBox;
  xPaintBox2->setObjectName(QStringLiteral("xPaintBox2"));
  xPaintBox2->setSpaceMode(fish::TSpaceMode::_2D);
  xPaintBox2->setBounds({-100, 100, -100, 100, -100, 100});
  for (TxPaintBox* box : {xPaintBox1, xPaintBox2}) {
    box->setCursor(Qt::CrossCursor);
    box->setPenColor(QColor(0, 0, 255));
  }

  // Both text pages run to hundreds of thousands of lines at large division
  // counts: pages that lay out only the lines shown.
  Memo1 = new TTextPage;
  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setFixedPitch(true);
  courier.setPixelSize(13);
  Memo1->setFont(courier);

  Memo2 = new TTextPage;
  Memo2->setFont(courier);

  PageControl1->addTab(xPaintBox1, QStringLiteral("3M"));
  PageControl1->addTab(xPaintBox2, QStringLiteral("Развертка"));
  PageControl1->addTab(Memo1, QStringLiteral("Результаты"));
  PageControl1->addTab(Memo2, QStringLiteral("Размеры для разметки"));

  ToolBar1 = new QToolBar;
  ToolBar1->setOrientation(Qt::Vertical);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setIconSize(QSize(16, 16));
  addToolButton(Show3D, 11);
  addToolButton(ShowRazvertka, 12);
  addToolButton(ShowResult, 13);
  addToolButton(ShowFigures, 21);
  ToolBar1->addSeparator();
  addToolButton(ScrollLeft, 2);
  addToolButton(ScrollRight, 3);
  addToolButton(ScrollUp, 5);
  addToolButton(ScrollDown, 4);
  addToolButton(ZoomIn, 0);
  addToolButton(ZoomOut, 1);
  addToolButton(AutoScale, 19);
  ToolBar1->addSeparator();
  addToolButton(PrintAction, 10);

  auto* right = new QHBoxLayout(Panel2);
  right->setContentsMargins(1, 1, 1, 1);
  right->setSpacing(0);
  right->addWidget(PageControl1, 1);
  right->addWidget(ToolBar1);

  Splitter1 = new QSplitter(Qt::Horizontal);
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->addWidget(Panel1);
  Splitter1->addWidget(Panel2);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({212, 355});

  auto* layout = new QHBoxLayout(form);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Splitter1);
}
