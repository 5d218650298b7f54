#include "TWorkForm.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "DimensionSketch.h"
#include "IProjectHost.h"
#include "appcore/ErrorReport.h"
#include "appcore/ImageLists.h"
#include "appcore/LocaleNumbers.h"
#include "appcore/ModalDialogs.h"
#include "fishApi/FishDraw.h"
#include "fishApi/FishExtents.h"
#include "fishApi/FishMath.h"
#include "fishApi/FishTexts.h"
#include "report2d/TQuickReport1.h"
#include "shema/TShemaForm.h"
#include "worksheet/ProParams/TProParamsForm.h"
#include "worksheet/setupDraw/TSetupDrawForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

const QColor kFieldWhite(Qt::white);
const QColor kFieldRed(255, 0, 0);

void setFieldColour(QLineEdit* edit, const QColor& colour) {
  QPalette pal = edit->palette();
  pal.setColor(QPalette::Base, colour);
  edit->setPalette(pal);
}

// Record field of each edit, in the fields' order on screen: A, B, R, L, X1, Y1.
fish::Extended fish::TSystemParams::*const kFieldOf[6] = {
    &fish::TSystemParams::A, &fish::TSystemParams::B,  &fish::TSystemParams::R,
    &fish::TSystemParams::L, &fish::TSystemParams::X1, &fish::TSystemParams::Y1,
};

const QString kProjectFilter = QStringLiteral("Файлы разверток (*.raz);;Все файлы (*.*)");

std::string nativePath(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

const char* const kLabelOf[6] = {
    "Сторона А прямоугольного сечения", "Сторона B прямоугольного сечения", "Радиус R круглого сечения",
    "Расстояние L между сечениями",     "Смещение X1 осей сечений",         "Смещение Y1 осей сечений",
};

}  // namespace

TWorkForm::TWorkForm(vintaler::IProjectHost* host, QWidget* parent) : QWidget(parent), host_(host) {
  setAttribute(Qt::WA_DeleteOnClose);
  resize(567, 392);

  // A new project is numbered after the project windows open, itself included.
  ProjectFileName = QStringLiteral("Nonename%1").arg((host_ ? host_->openProjectCount() : 0) + 1);

  createActions();
  createMenus();
  createLayout();

  SystemParams = fish::defaultSystemParams();
  ProParams = fish::defaultProParams();
  setSysInfo();
  setActivePage(0);
  updateCaption();
  if (host_) host_->setSaveEnabled(true);
}

QAction* TWorkForm::makeAction(const QString& caption, const QString& hint, const QKeySequence& shortcut, int icon) {
  auto* action = new QAction(caption, this);
  action->setStatusTip(hint);
  action->setToolTip(hint);
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    // Each project window answers its own keys only while it has the focus.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  }
  if (icon >= 0) action->setIcon(vintaler::ImageList2(icon));
  addAction(action);
  return action;
}

void TWorkForm::createActions() {
  using S = QKeySequence;
  Show3D = makeAction("3-мерный вид", "Показывает 3-мерный вид системы", S("Ctrl+F3"), 11);
  ShowRazvertka = makeAction("Развертка", "Показывает развертку поверхности перехода", S("Ctrl+F2"), 12);
  ShowResult =
      makeAction("Численные результаты", "Показывает численные результаты расчета развертки", S("Ctrl+F5"), 13);
  ShowSystemParams = makeAction("Параметры системы", "Панель параметров системы", S("F10"), -1);
  SetupDrawAction = makeAction("Параметры области рисования", "Настройка параметров области рисования", S("F11"), -1);
  ShowProParamsAction = makeAction("Параметры построения", "Параметры построения развертки", S("F12"), -1);
  DrawAction = makeAction("Обновить", "Обновляет изображение", S(), -1);
  PrintAction = makeAction("Печатать", "Печатает содержимое окна", S("Ctrl+P"), 10);
  ScrollLeft = makeAction("Сдвинуть влево", "Сдвигает область рисования влево", S("Ctrl+L"), 2);
  ScrollRight = makeAction("Сдвинуть вправо", "Сдвигает область рисования вправо", S("Ctrl+R"), 3);
  ScrollUp = makeAction("Сдвинуть вверх", "Сдвигает область рисования вверх", S("Ctrl+U"), 5);
  ScrollDown = makeAction("Сдвинуть вниз", "Сдвигает область рисования вниз", S("Ctrl+D"), 4);
  ZoomIn = makeAction("Приблизить", "Приближает область рисования", S("Ctrl+I"), 0);
  ZoomOut = makeAction("Отдалить", "Отдаляет область рисования", S("Ctrl+O"), 1);
  AutoScale = makeAction("Автоматическое масштабирование", "Автоматическое масштабирование области рисования", S(), 19);
  Save = makeAction("Сохранить", "Сохраняет файл проекта", S(), 8);
  ShowShema = makeAction("Схема нанесения размеров", "Показывает схему нанесения размеров", S(), -1);
  SelectAll = makeAction("Выделить все", "Выделить все", S("Ctrl+A"), -1);
  Copy = makeAction("Копировать", "Копирует", S("Ctrl+C"), 20);
  SetFont = makeAction("Шрифт", "Выбор шрифта", S(), -1);

  for (QAction* a : {Show3D, ShowRazvertka, ShowResult, ShowSystemParams}) a->setCheckable(true);
  ShowSystemParams->setChecked(true);

  connect(Show3D, &QAction::triggered, this, [this] { setActivePage(0); });
  connect(ShowRazvertka, &QAction::triggered, this, [this] { setActivePage(1); });
  connect(ShowResult, &QAction::triggered, this, [this] { setActivePage(2); });
  connect(ShowSystemParams, &QAction::triggered, this, [this] { ShowSystemParamsExecute(); });
  connect(DrawAction, &QAction::triggered, this, [this] { DrawActionExecute(); });
  const std::pair<QAction*, void (TWorkForm::*)()> commands[] = {
      {ScrollLeft, &TWorkForm::ScrollLeftExecute},
      {ScrollRight, &TWorkForm::ScrollRightExecute},
      {ScrollUp, &TWorkForm::ScrollUpExecute},
      {ScrollDown, &TWorkForm::ScrollDownExecute},
      {ZoomIn, &TWorkForm::ZoomInExecute},
      {ZoomOut, &TWorkForm::ZoomOutExecute},
      {AutoScale, &TWorkForm::AutoScaleExecute},
      {SetupDrawAction, &TWorkForm::SetupDrawActionExecute},
      {ShowProParamsAction, &TWorkForm::ShowProParamsActionExecute},
      {Save, &TWorkForm::SaveExecute},
      {SelectAll, &TWorkForm::SelectAllExecute},
      {Copy, &TWorkForm::CopyExecute},
      {SetFont, &TWorkForm::SetFontExecute},
      {PrintAction, &TWorkForm::PrintActionExecute},
      {ShowShema, &TWorkForm::ShowShemaExecute},
  };
  for (const auto& [action, handler] : commands) {
    connect(action, &QAction::triggered, this,
            [this, h = handler] { vintaler::runCommand(this, [this, h] { (this->*h)(); }); });
  }
}

void TWorkForm::createMenus() {
  EditMenu = new QMenu(QStringLiteral("Редактирование"), this);
  EditMenu->addActions({SelectAll, Copy, DrawAction});
  EditMenu->addSeparator();
  EditMenu->addActions({ShowSystemParams, SetupDrawAction, ShowProParamsAction});
  EditMenu->addSeparator();
  EditMenu->addAction(PrintAction);

  ViewMenu = new QMenu(QStringLiteral("Вид"), this);
  ViewMenu->addActions({Show3D, ShowRazvertka, ShowResult, ShowShema});
  ViewMenu->addSeparator();
  ViewMenu->addActions({ScrollLeft, ScrollRight, ScrollUp, ScrollDown, ZoomIn, ZoomOut, AutoScale});

  PopupMenu1 = new QMenu(this);
  PopupMenu1->addActions({ShowSystemParams, SetupDrawAction, ShowProParamsAction});
  PopupMenu1->addSeparator();
  QMenu* scroll = PopupMenu1->addMenu(vintaler::ImageList2(17), QStringLiteral("Сдвинуть"));
  scroll->addActions({ScrollLeft, ScrollRight, ScrollDown, ScrollUp});
  QMenu* scale = PopupMenu1->addMenu(vintaler::ImageList2(18), QStringLiteral("Масштаб"));
  scale->menuAction()->setStatusTip(QStringLiteral("Приближает область рисования"));
  scale->addActions({ZoomIn, ZoomOut});
  PopupMenu1->addSeparator();
  PopupMenu1->addActions({Show3D, ShowRazvertka, ShowResult});
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(Copy);
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(PrintAction);

  PopupMenu2 = new QMenu(this);
  PopupMenu2->addAction(ShowSystemParams);
  PopupMenu2->addSeparator();
  PopupMenu2->addActions({Show3D, ShowRazvertka, ShowResult});
  PopupMenu2->addSeparator();
  PopupMenu2->addActions({SelectAll, Copy});
  PopupMenu2->addSeparator();
  PopupMenu2->addActions({SetFont, ShowShema});
  PopupMenu2->addSeparator();
  PopupMenu2->addAction(PrintAction);

  // Pop-up menus are windows of their own: their hints reach the status bar
  // through the hovered signal, not through status-tip events.
  for (QMenu* menu : {PopupMenu1, PopupMenu2, scroll, scale}) {
    connect(menu, &QMenu::hovered, this, [this](QAction* a) {
      if (host_) host_->showHint(a->statusTip());
    });
  }
}

void TWorkForm::addToolButton(QAction* action, int icon) {
  ToolBar1->addAction(action);
  // The tool bar shows the grey icon at rest and the coloured one under the
  // mouse; the button takes the action's icon again whenever the action
  // changes, so it is put back after each change.
  if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action))) {
    button->setIcon(vintaler::toolBarIcon(icon));
    connect(action, &QAction::changed, button, [button, icon] { button->setIcon(vintaler::toolBarIcon(icon)); });
  }
}

void TWorkForm::createLayout() {
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
    setFieldColour(edit, kFieldWhite);
    label->setBuddy(edit);
    paramsLayout->addWidget(label);
    paramsLayout->addWidget(edit);
    connect(edit, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    Edits[i] = edit;
  }
  paramsLayout->addStretch(1);
  Panel1->addTab(params, QStringLiteral("Параметры"));

  Image1 = new QLabel;
  Image1->setPixmap(vintaler::dimensionSketch());
  Image1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Image1->installEventFilter(this);
  Panel1->addTab(Image1, QStringLiteral("Схема"));

  // Right: the three pages (tabs hidden: pages change only through the
  // commands) and the tool bar along the right edge.
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
  xPaintBox1->setBounds(-100, 100, -100, 100, -100, 100);
  xPaintBox2 = new TxPaintBox;
  xPaintBox2->setObjectName(QStringLiteral("xPaintBox2"));
  xPaintBox2->setSpaceMode(fish::TSpaceMode::_2D);
  xPaintBox2->setBounds(-100, 100, -100, 100, -100, 100);
  for (TxPaintBox* box : {xPaintBox1, xPaintBox2}) {
    box->setCursor(Qt::CrossCursor);
    box->setPenColor(QColor(0, 0, 255));
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this,
            [this, box](const QPoint& pos) { showPopup(PopupMenu1, box, pos); });
    box->OnPaint = [this](TxPaintBox*) { redraw(false); };
    box->OnDblClick = [this](TxPaintBox*) { redraw(true); };
  }
  xPaintBox2->OnMouseMove = [this](TxPaintBox*, int x, int y) { xPaintBox2MouseMove(x, y); };
  xPaintBox2->OnMouseLeave = [this](TxPaintBox*) { xPaintBox2MouseLeave(); };

  Memo1 = new QTextEdit;
  Memo1->setFrameStyle(QFrame::NoFrame);
  Memo1->setAcceptRichText(false);
  Memo1->setLineWrapMode(QTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setFixedPitch(true);
  courier.setPixelSize(13);
  Memo1->setFont(courier);
  Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Memo1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { showPopup(PopupMenu2, Memo1, pos); });

  PageControl1->addTab(xPaintBox1, QStringLiteral("3M"));
  PageControl1->addTab(xPaintBox2, QStringLiteral("Развертка"));
  PageControl1->addTab(Memo1, QStringLiteral("Результаты"));

  ToolBar1 = new QToolBar;
  ToolBar1->setOrientation(Qt::Vertical);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setIconSize(QSize(16, 16));
  addToolButton(Show3D, 11);
  addToolButton(ShowRazvertka, 12);
  addToolButton(ShowResult, 13);
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

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Splitter1);
}

void TWorkForm::showPopup(QMenu* menu, QWidget* from, const QPoint& pos) { menu->popup(from->mapToGlobal(pos)); }

bool TWorkForm::GetSystemInfo() {
  const fish::TSystemParams before = SystemParams;
  bool allValid = true;
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    if (const auto v = vintaler::textToNumber(Edits[i]->text())) {
      SystemParams.*kFieldOf[i] = *v;
      setFieldColour(Edits[i], kFieldWhite);
    } else {
      setFieldColour(Edits[i], kFieldRed);
      allValid = false;
    }
  }
  // One bad field keeps the whole record: a half-taken set of values would
  // draw a piece nobody typed.
  if (!allValid) SystemParams = before;
  redraw(false);
  return allValid;
}

void TWorkForm::setSysInfo() {
  // The texts' change notifications must not read the fields back while they
  // are being filled: every field shows its own record value.
  filling_ = true;
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    try {
      Edits[i]->setText(vintaler::numberToText(SystemParams.*kFieldOf[i]));
    } catch (...) {
      // Only a damaged project file can hold a value that has no text.
      Edits[i]->setText(QString());
    }
  }
  filling_ = false;
  redraw(false);
}

void TWorkForm::Edit1Change() {
  if (filling_ || !isVisible()) return;
  GetSystemInfo();
}

void TWorkForm::Image1DblClick() { GetSystemInfo(); }

bool TWorkForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick) {
    Image1DblClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TWorkForm::drawView() {
  if (ActiveBox == xPaintBox1) fish::DrawSurf(*xPaintBox1, SystemParams, ProParams);
  if (ActiveBox == xPaintBox2) fish::DrawRazvertka(*xPaintBox2, SystemParams, ProParams);
}

void TWorkForm::redraw(bool report) {
  if (ActiveBox) {
    try {
      drawView();
    } catch (...) {
      // A failed picture says why on the view itself: a message box on every
      // paint or keystroke would lock the window up.
      const QString message = vintaler::currentExceptionMessage();
      ActiveBox->ClearView();
      ActiveBox->showMessage(message);
      if (report) vintaler::reportError(this, message);
    }
  }
  if (activePage() == 2) TabSheet3Show();
}

void TWorkForm::DrawActionExecute() { redraw(true); }

int TWorkForm::activePage() const { return PageControl1->currentIndex(); }

void TWorkForm::setActivePage(int index) {
  PageControl1->setCurrentIndex(index);
  switch (index) {
    case 0: TabSheet1Show(); break;
    case 1: TabSheet2Show(); break;
    case 2: TabSheet3Show(); break;
    default: break;
  }
}

void TWorkForm::checkPage(QAction* checked) {
  for (QAction* a : {Show3D, ShowRazvertka, ShowResult}) a->setChecked(a == checked);
}

void TWorkForm::TabSheet1Show() {
  checkPage(Show3D);
  ActiveBox = xPaintBox1;
}

void TWorkForm::TabSheet2Show() {
  checkPage(ShowRazvertka);
  ActiveBox = xPaintBox2;
}

void TWorkForm::TabSheet3Show() {
  checkPage(ShowResult);
  Memo1->setUpdatesEnabled(false);
  QStringList lines;
  try {
    lines << QStringLiteral("Параметры перехода:") << QString();
    const std::string sep = vintaler::localeDecimalSeparator();
    const fish::TStringList params = fish::GetParamsText(SystemParams, sep);
    for (const auto& l : params) lines << QString::fromStdString(l);
    lines << QString() << QStringLiteral("Результаты расчета развертки:") << QString();
    for (const auto& l : fish::GetGabaritText(SystemParams, ProParams, sep)) lines << QString::fromStdString(l);
    lines << QString() << QStringLiteral("Координаты точек контура развертки (по квадрантам прямоугольного сечения):");
    for (std::uint8_t q = 1; q <= 4; ++q) {
      for (const auto& l : fish::GetRazvertkaTable(SystemParams, ProParams, q, sep)) {
        lines << QString::fromStdString(l);
      }
    }
  } catch (...) {
    // The text ends where the computation failed, with the reason.
    lines << QString() << vintaler::currentExceptionMessage();
  }
  Memo1->setPlainText(lines.join(QLatin1Char('\n')));
  Memo1->setUpdatesEnabled(true);
}

void TWorkForm::ShowSystemParamsExecute() {
  // The action's own toggle has already inverted the check mark.
  Panel1->setVisible(ShowSystemParams->isChecked());
}

void TWorkForm::updateCaption() { setWindowTitle(QStringLiteral("Проект (%1)").arg(ProjectFileName)); }

void TWorkForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    setActivePage(0);
  }
}

void TWorkForm::closeEvent(QCloseEvent* event) {
  // The last project window takes the main window's Save with it.
  if (host_ && host_->openProjectCount() <= 1) host_->setSaveEnabled(false);
  event->accept();
}

// ---- Project file ---------------------------------------------------------

fish::TProjectData TWorkForm::projectData() const {
  fish::TProjectData project;
  project.SystemParams = SystemParams;
  project.ProParams = ProParams;
  project.Bounds3D = {xPaintBox1->MinX(), xPaintBox1->MaxX(), xPaintBox1->MinY(),
                      xPaintBox1->MaxY(), xPaintBox1->MinZ(), xPaintBox1->MaxZ()};
  project.Bounds2D = {xPaintBox2->MinX(), xPaintBox2->MaxX(), xPaintBox2->MinY(),
                      xPaintBox2->MaxY(), xPaintBox2->MinZ(), xPaintBox2->MaxZ()};
  return project;
}

void TWorkForm::SaveProject(const QString& fileName) {
  fish::writeProjectFile(nativePath(fileName), projectData());
  ProjectFileName = fileName;
  updateCaption();
}

void TWorkForm::LoadProject(const QString& fileName) {
  applyProject(fish::readProjectFile(nativePath(fileName)), fileName);
}

void TWorkForm::applyProject(const fish::TProjectData& project, const QString& fileName) {
  SystemParams = project.SystemParams;
  ProParams = project.ProParams;
  const auto& b = project.Bounds3D;
  xPaintBox1->setBounds(b[0], b[1], b[2], b[3], b[4], b[5]);
  const auto& f = project.Bounds2D;
  xPaintBox2->setBounds(f[0], f[1], f[2], f[3], f[4], f[5]);
  setSysInfo();
  // Bounds that cannot be scaled (a zero span, a damaged value) are the
  // views' business: each shows the reason instead of a picture.
  for (TxPaintBox* box : {xPaintBox1, xPaintBox2}) {
    try {
      box->UpdateScale();
    } catch (...) {
    }
  }
  redraw(false);
  ProjectFileName = fileName;
  updateCaption();
}

void TWorkForm::SaveExecute() {
  QFileDialog dialog(this, QStringLiteral("Сохранить проект"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(kProjectFilter);
  dialog.setDefaultSuffix(QStringLiteral("raz"));
  // A default name has no folder: the dialog opens in the current one.
  const QFileInfo proposed(ProjectFileName);
  dialog.setDirectory(proposed.path() == QLatin1String(".") ? QDir::currentPath() : proposed.absolutePath());
  dialog.selectFile(proposed.fileName());
  if (vintaler::runModal(dialog) != QDialog::Accepted) return;
  const QString chosen = dialog.selectedFiles().value(0);
  if (chosen.isEmpty()) return;
  QDir::setCurrent(QFileInfo(chosen).absolutePath());
  SaveProject(chosen);
}

// ---- Results page -----------------------------------------------------------

void TWorkForm::SelectAllExecute() { Memo1->selectAll(); }

QImage TWorkForm::renderViewBitmap() {
  TxPaintBox* box = ActiveBox;
  box->setCanvasMode(TxPaintBox::cmBitMap);
  box->ResetBitmap();
  try {
    drawView();
  } catch (...) {
    box->setCanvasMode(TxPaintBox::cmCanvas);
    redraw(false);
    throw;
  }
  QImage bitmap = box->Bitmap().copy();
  box->setCanvasMode(TxPaintBox::cmCanvas);
  redraw(false);
  return bitmap;
}

void TWorkForm::CopyExecute() {
  if (activePage() == 2) {
    Memo1->copy();
    return;
  }
  if (!ActiveBox) return;
  // setImage replaces whatever the clipboard held.
  QGuiApplication::clipboard()->setImage(renderViewBitmap());
}

void TWorkForm::ShowShemaExecute() { vintaler::runModal(*shemaFormInstance(window())); }

void TWorkForm::SetFontExecute() {
  QFontDialog dialog(Memo1->font(), this);
  if (vintaler::runModal(dialog) == QDialog::Accepted) Memo1->setFont(dialog.currentFont());
}

void TWorkForm::printResultsText(QPrinter& printer) {
  printer.setDocName(QString());
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QTextDocument* document = Memo1->document()->clone(this);
  document->setDefaultFont(Memo1->font());
  document->print(&printer);
  delete document;
}

void TWorkForm::PrintActionExecute() {
  if (activePage() != 2) {
    // The view is on screen again while the preview is open.
    if (ActiveBox) printPictureReport(this, [this] { return renderViewBitmap(); });
    return;
  }
  // Printing without a printer would silently produce nothing.
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    throw std::runtime_error("Принтер не установлен: напечатать текст нельзя");
  }
  QPrinter printer(QPrinterInfo::defaultPrinter());
  printResultsText(printer);
}

// ---- View navigation ----------------------------------------------------------

void TWorkForm::GetDScroll() {
  DScrollX = std::fabs((ActiveBox->MaxX() - ActiveBox->MinX()) * 0.05L);
  DScrollY = std::fabs((ActiveBox->MaxY() - ActiveBox->MinY()) * 0.05L);
}

void TWorkForm::ScrollX(fish::Extended d) {
  ActiveBox->setMinX(ActiveBox->MinX() + d);
  ActiveBox->setMaxX(ActiveBox->MaxX() + d);
  redraw(true);
}

void TWorkForm::ScrollY(fish::Extended d) {
  ActiveBox->setMinY(ActiveBox->MinY() + d);
  ActiveBox->setMaxY(ActiveBox->MaxY() + d);
  redraw(true);
}

void TWorkForm::Zoom(fish::Extended d) {
  ActiveBox->setMinX(ActiveBox->MinX() - d);
  ActiveBox->setMaxX(ActiveBox->MaxX() + d);
  ActiveBox->setMinY(ActiveBox->MinY() - d);
  ActiveBox->setMaxY(ActiveBox->MaxY() + d);
  redraw(true);
}

// The picture moves the way the command says: to move it left the window
// moves right, and world Y points up.
void TWorkForm::ScrollLeftExecute() {
  GetDScroll();
  ScrollX(DScrollX);
}

void TWorkForm::ScrollRightExecute() {
  GetDScroll();
  ScrollX(-DScrollX);
}

void TWorkForm::ScrollUpExecute() {
  GetDScroll();
  ScrollY(-DScrollY);
}

void TWorkForm::ScrollDownExecute() {
  GetDScroll();
  ScrollY(DScrollY);
}

namespace {
// The redraw inside Zoom has scaled the view already and reported a failure.
void rescaleQuietly(TxPaintBox* box) {
  try {
    box->UpdateScale();
  } catch (...) {
  }
}
}  // namespace

// Both zooms take their step from the Y span alone and apply it to X and Y.
void TWorkForm::ZoomInExecute() {
  GetDScroll();
  Zoom(-0.5L * DScrollY);
  rescaleQuietly(ActiveBox);
}

void TWorkForm::ZoomOutExecute() {
  GetDScroll();
  Zoom(0.5L * DScrollY);
  rescaleQuietly(ActiveBox);
}

void TWorkForm::AutoScaleExecute() {
  switch (activePage()) {
    case 0: {
      fish::TExtents3D e;
      fish::GetSurfExtents(SystemParams, ProParams, e);
      xPaintBox1->setBounds(e.MinX, e.MaxX, e.MinY, e.MaxY, e.MinZ, e.MaxZ);
      xPaintBox1->UpdateScale();
      redraw(true);
      break;
    }
    case 1: {
      // A square window: the development keeps its proportions.
      fish::TExtents2D e;
      fish::GetRazvertkaExtents(SystemParams, ProParams, e);
      const fish::Extended lo = e.MinY < e.MinX ? e.MinY : e.MinX;
      const fish::Extended hi = e.MaxY > e.MaxX ? e.MaxY : e.MaxX;
      xPaintBox2->setMinX(lo);
      xPaintBox2->setMinY(lo);
      xPaintBox2->setMaxX(hi);
      xPaintBox2->setMaxY(hi);
      xPaintBox2->UpdateScale();
      redraw(true);
      break;
    }
    default: break;
  }
}

void TWorkForm::SetupDrawActionExecute() {
  TxPaintBox* box = ActiveBox;
  if (!box) return;
  TSetupDrawForm dialog(this);
  if (box->SpaceMode() == fish::TSpaceMode::_2D) dialog.hideZRow();
  const fish::Extended bounds[6] = {box->MinX(), box->MaxX(), box->MinY(), box->MaxY(), box->MinZ(), box->MaxZ()};
  for (std::size_t i = 0; i < 6; ++i) {
    try {
      dialog.Edits[i]->setText(vintaler::numberToText(bounds[i]));
    } catch (...) {
      dialog.Edits[i]->clear();  // a damaged bound has no text
    }
  }
  if (vintaler::runModal(dialog) == QDialog::Accepted) {
    void (TxPaintBox::*const setters[6])(fish::Extended) = {&TxPaintBox::setMinX, &TxPaintBox::setMaxX,
                                                            &TxPaintBox::setMinY, &TxPaintBox::setMaxY,
                                                            &TxPaintBox::setMinZ, &TxPaintBox::setMaxZ};
    // Each bound is taken as soon as its text is read; a bad text stops there.
    for (std::size_t i = 0; i < 6; ++i) {
      const QString text = dialog.Edits[i]->text();
      const auto v = vintaler::textToNumber(text);
      if (!v)
        throw std::runtime_error(QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
      (box->*setters[i])(*v);
    }
    try {
      box->UpdateScale();
    } catch (...) {
      redraw(false);  // the view shows why as well
      throw;
    }
  }
  redraw(true);
}

void TWorkForm::ShowProParamsActionExecute() {
  TProParamsForm dialog(this);
  dialog.load(ProParams);
  if (vintaler::runModal(dialog) == QDialog::Accepted) dialog.store(ProParams);
  redraw(true);
}

void TWorkForm::xPaintBox2MouseMove(int x, int y) {
  if (!ActiveBox || !host_) return;
  try {
    const std::int32_t wx = fish::pixelOf(fish::roundToInt64(ActiveBox->ScreenToWorldX(x) * 10));
    const std::int32_t wy = fish::pixelOf(fish::roundToInt64(ActiveBox->ScreenToWorldY(y) * 10));
    host_->setCoordinateText(vintaler::numberToText(wx * fish::kTenth) + QStringLiteral(": ") +
                             vintaler::numberToText(wy * fish::kTenth));
  } catch (...) {
    // A read-out that cannot be formed keeps the previous one: a message on
    // every mouse move would make the window unusable.
  }
}

void TWorkForm::xPaintBox2MouseLeave() {
  if (host_) host_->setCoordinateText(QString());
}
