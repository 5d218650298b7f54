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
    QT_TRANSLATE_NOOP("TWorkFormUi", "Сторона А прямоугольного сечения"),
    QT_TRANSLATE_NOOP("TWorkFormUi", "Сторона B прямоугольного сечения"),
    QT_TRANSLATE_NOOP("TWorkFormUi", "Радиус R круглого сечения"),
    QT_TRANSLATE_NOOP("TWorkFormUi", "Расстояние L между сечениями"),
    QT_TRANSLATE_NOOP("TWorkFormUi", "Смещение X1 осей сечений"),
    QT_TRANSLATE_NOOP("TWorkFormUi", "Смещение Y1 осей сечений"),
};

void setTexts(QAction* action, const QString& caption, const QString& hint) {
  action->setText(caption);
  action->setStatusTip(hint);
  action->setToolTip(hint);
}

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
  retranslateUi();
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

QAction* TWorkFormUi::makeAction(QWidget* form, const QKeySequence& shortcut, int icon) {
  auto* action = new QAction(form);
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
  Show3D = makeAction(form, S("Ctrl+F3"), 11);
  ShowRazvertka = makeAction(form, S("Ctrl+F2"), 12);
  ShowResult = makeAction(form, S("Ctrl+F5"), 13);
  ShowFigures = makeAction(form, S("Ctrl+F7"), 21);
  ShowSystemParams = makeAction(form, S("F10"), -1);
  SetupDrawAction = makeAction(form, S("F11"), -1);
  ShowProParamsAction = makeAction(form, S("F12"), -1);
  ShowCuttingAction = makeAction(form, S("Shift+F12"), -1);
  DrawAction = makeAction(form, S(), -1);
  PrintAction = makeAction(form, S("Ctrl+P"), 10);
  ScrollLeft = makeAction(form, S("Ctrl+L"), 2);
  ScrollRight = makeAction(form, S("Ctrl+R"), 3);
  ScrollUp = makeAction(form, S("Ctrl+U"), 5);
  ScrollDown = makeAction(form, S("Ctrl+D"), 4);
  ZoomIn = makeAction(form, S("Ctrl+I"), 0);
  ZoomOut = makeAction(form, S("Ctrl+O"), 1);
  AutoScale = makeAction(form, S(), 19);
  Save = makeAction(form, S(), 8);
  ShowShema = makeAction(form, S(), -1);
  SelectAll = makeAction(form, S("Ctrl+A"), -1);
  Copy = makeAction(form, S("Ctrl+C"), 20);
  SetFont = makeAction(form, S(), -1);
  ExportDxf = makeAction(form, S(), -1);
  ExportSvg = makeAction(form, S(), -1);
  ExportPdf = makeAction(form, S(), -1);
  PrintFullSize = makeAction(form, S(), 10);

  for (QAction* a : {Show3D, ShowRazvertka, ShowResult, ShowFigures, ShowSystemParams}) a->setCheckable(true);
  ShowSystemParams->setChecked(true);
}

void TWorkFormUi::createMenus(QWidget* form) {
  EditMenu = new QMenu(form);
  EditMenu->addActions({SelectAll, Copy, DrawAction});
  EditMenu->addSeparator();
  EditMenu->addActions({ShowSystemParams, SetupDrawAction, ShowProParamsAction, ShowCuttingAction});
  EditMenu->addSeparator();
  EditMenu->addAction(PrintAction);

  ViewMenu = new QMenu(form);
  ViewMenu->addActions({Show3D, ShowRazvertka, ShowResult, ShowFigures, ShowShema});
  ViewMenu->addSeparator();
  ViewMenu->addActions({ScrollLeft, ScrollRight, ScrollUp, ScrollDown, ZoomIn, ZoomOut, AutoScale});

  // The pattern onto metal: shown in the main window's "Файл" while the
  // window is active, and in the drawings' pop-up menu.
  ExportMenu = new QMenu(form);
  ExportMenu->addActions({ExportDxf, ExportSvg, ExportPdf});
  ExportMenu->addSeparator();
  ExportMenu->addAction(PrintFullSize);

  PopupMenu1 = new QMenu(form);
  PopupMenu1->addActions({ShowSystemParams, SetupDrawAction, ShowProParamsAction, ShowCuttingAction});
  PopupMenu1->addSeparator();
  ScrollMenu = PopupMenu1->addMenu(vintaler::ImageList2(17), QString());
  ScrollMenu->addActions({ScrollLeft, ScrollRight, ScrollDown, ScrollUp});
  ScaleMenu = PopupMenu1->addMenu(vintaler::ImageList2(18), QString());
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
    auto* label = new QLabel;
    label->setWordWrap(true);
    Labels[i] = label;
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
  Panel1->addTab(ParamsScroll, QString());

  Image1 = new QLabel;
  Image1->setPixmap(vintaler::dimensionSketch());
  Image1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Panel1->addTab(Image1, QString());

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

  for (QWidget* page : {static_cast<QWidget*>(xPaintBox1), static_cast<QWidget*>(xPaintBox2),
                        static_cast<QWidget*>(Memo1), static_cast<QWidget*>(Memo2)}) {
    PageControl1->addTab(page, QString());
  }

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

void TWorkFormUi::retranslateUi() {
  setTexts(Show3D, tr("&3-мерный вид"), tr("Показывает 3-мерный вид системы"));
  setTexts(ShowRazvertka, tr("&Развертка"), tr("Показывает развертку поверхности перехода"));
  setTexts(ShowResult, tr("&Численные результаты"), tr("Показывает численные результаты расчета развертки"));
  setTexts(ShowFigures, tr("Ра&змеры для разметки"),
           tr("Показывает истинные длины, площади и массу развертки для разметки"));
  setTexts(ShowSystemParams, tr("Параметры &системы"), tr("Панель параметров системы"));
  setTexts(SetupDrawAction, tr("Параметры области р&исования"), tr("Настройка параметров области рисования"));
  setTexts(ShowProParamsAction, tr("Параметры &построения"), tr("Параметры построения развертки"));
  setTexts(ShowCuttingAction, tr("Р&аскрой…"), tr("Развертка для раскроя, швы и припуски"));
  setTexts(DrawAction, tr("&Обновить"), tr("Обновляет изображение"));
  setTexts(PrintAction, tr("П&ечатать"), tr("Печатает содержимое окна"));
  setTexts(ScrollLeft, tr("Сдвинуть в&лево"), tr("Сдвигает область рисования влево"));
  setTexts(ScrollRight, tr("Сдвинуть впр&аво"), tr("Сдвигает область рисования вправо"));
  setTexts(ScrollUp, tr("Сдвинуть вв&ерх"), tr("Сдвигает область рисования вверх"));
  setTexts(ScrollDown, tr("Сдвинуть вн&из"), tr("Сдвигает область рисования вниз"));
  setTexts(ZoomIn, tr("&Приблизить"), tr("Приближает область рисования"));
  setTexts(ZoomOut, tr("&Отдалить"), tr("Отдаляет область рисования"));
  setTexts(AutoScale, tr("Автоматическое &масштабирование"), tr("Автоматическое масштабирование области рисования"));
  setTexts(Save, tr("&Сохранить"), tr("Сохраняет файл проекта"));
  setTexts(ShowShema, tr("С&хема нанесения размеров"), tr("Показывает схему нанесения размеров"));
  setTexts(SelectAll, tr("&Выделить все"), tr("Выделить все"));
  setTexts(Copy, tr("&Копировать"), tr("Копирует"));
  setTexts(SetFont, tr("&Шрифт"), tr("Выбор шрифта"));
  setTexts(ExportDxf, tr("&DXF…"), tr("Записывает развертку в файл DXF для станков раскроя"));
  setTexts(ExportSvg, tr("&SVG…"), tr("Записывает развертку в рисунок SVG в миллиметрах"));
  setTexts(ExportPdf, tr("&PDF в натуральную величину…"), tr("Записывает развертку в PDF в натуральную величину"));
  setTexts(PrintFullSize, tr("&Печать в натуральную величину…"),
           tr("Печатает развертку в натуральную величину на нескольких листах"));

  EditMenu->setTitle(tr("&Редактирование"));
  ViewMenu->setTitle(tr("&Вид"));
  ExportMenu->setTitle(tr("&Экспорт"));
  ScrollMenu->setTitle(tr("С&двинуть"));
  ScaleMenu->setTitle(tr("&Масштаб"));
  ScaleMenu->menuAction()->setStatusTip(tr("Приближает область рисования"));

  for (std::size_t i = 0; i < Labels.size(); ++i) Labels[i]->setText(tr(kLabelOf[i]));
  Panel1->setTabText(0, tr("Параметры"));
  Panel1->setTabText(1, tr("Схема"));
  const char* const pages[] = {QT_TR_NOOP("3M"), QT_TR_NOOP("Развертка"), QT_TR_NOOP("Результаты"),
                               QT_TR_NOOP("Размеры для разметки")};
  for (int i = 0; i < 4; ++i) PageControl1->setTabText(i, tr(pages[i]));
}
