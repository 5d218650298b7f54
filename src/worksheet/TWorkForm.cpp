#include "TWorkForm.h"

#include <QCloseEvent>
#include <algorithm>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>

#include "IProjectHost.h"
#include "ProjectExport.h"
#include "ProjectKeys.h"
#include "ProjectPrint.h"
#include "TextPages.h"
#include "appcore/ErrorReport.h"
#include "cutting/TCuttingDialog.h"
#include "appcore/LocaleNumbers.h"
#include "appcore/ModalDialogs.h"
#include "appcore/ProjectFileDialogs.h"
#include "appcore/Questions.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishExtents.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/texts/FishTexts.h"
#include "patternExport/PatternExport.h"
#include "shema/TShemaForm.h"
#include "worksheet/ProParams/TProParamsForm.h"
#include "worksheet/setupDraw/TSetupDrawForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

// Record field of each edit, in the fields' order on screen: A, B, R, L, X1, Y1.
fish::Extended fish::TSystemParams::*const kFieldOf[6] = {
    &fish::TSystemParams::A, &fish::TSystemParams::B,  &fish::TSystemParams::R,
    &fish::TSystemParams::L, &fish::TSystemParams::X1, &fish::TSystemParams::Y1,
};

// A field whose value makes the computation fail, as the panel tints it.
const QColor kBlamedFieldColour(255, 200, 120);

// The field a new window gives the focus to: side B.
constexpr std::size_t kFirstFocusedField = 1;

std::string nativePath(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

}  // namespace

TWorkForm::TWorkForm(vintaler::IProjectHost* host, QWidget* parent) : QWidget(parent), host_(host) {
  setAttribute(Qt::WA_DeleteOnClose);
  // A new project is numbered after the project windows open, itself included.
  ProjectFileName = QStringLiteral("Nonename%1").arg((host_ ? host_->openProjectCount() : 0) + 1);

  setupUi(this);
  texts_ = new vintaler::TextPages(Memo1, Memo2, this);
  connectCommands();
  connectComponents();
  vintaler::setUpProjectKeys(*this, this);
  vintaler::setUpProjectExport(*this, *this, host_);

  SystemParams = fish::defaultSystemParams();
  ProParams = fish::defaultProParams();
  setSysInfo();
  setActivePage(vintaler::Page::Model);
  updateCaption();
  if (host_) host_->setSaveEnabled(true);
}

void TWorkForm::connectCommands() {
  using vintaler::Page;
  connect(Show3D, &QAction::triggered, this, [this] { setActivePage(Page::Model); });
  connect(ShowRazvertka, &QAction::triggered, this, [this] { setActivePage(Page::Development); });
  connect(ShowResult, &QAction::triggered, this, [this] { setActivePage(Page::Results); });
  connect(ShowFigures, &QAction::triggered, this,
          [this] { vintaler::runCommand(this, [this] { setActivePage(Page::Figures); }); });
  const std::pair<QAction*, void (TWorkForm::*)()> commands[] = {
      {ShowSystemParams, &TWorkForm::ShowSystemParamsExecute},
      {DrawAction, &TWorkForm::DrawActionExecute},
      {ScrollLeft, &TWorkForm::ScrollLeftExecute},
      {ScrollRight, &TWorkForm::ScrollRightExecute},
      {ScrollUp, &TWorkForm::ScrollUpExecute},
      {ScrollDown, &TWorkForm::ScrollDownExecute},
      {ZoomIn, &TWorkForm::ZoomInExecute},
      {ZoomOut, &TWorkForm::ZoomOutExecute},
      {AutoScale, &TWorkForm::AutoScaleExecute},
      {SetupDrawAction, &TWorkForm::SetupDrawActionExecute},
      {ShowProParamsAction, &TWorkForm::ShowProParamsActionExecute},
      {ShowCuttingAction, &TWorkForm::ShowCuttingExecute},
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

void TWorkForm::connectComponents() {
  // Typing and clicking run like commands: what the redraw cannot show on the
  // view (memory running out) is reported, not lost in Qt's event loop.
  for (QLineEdit* edit : Edits) {
    connect(edit, &QLineEdit::textChanged, this, [this] { vintaler::runCommand(this, [this] { Edit1Change(); }); });
  }
  Image1->installEventFilter(this);

  for (TxPaintBox* box : {xPaintBox1, xPaintBox2}) {
    // The surface asks for a picture only when its buffer is stale.
    box->OnPaint = [this](TxPaintBox*) { redraw(false); };
    box->OnDblClick = [this](TxPaintBox*) { vintaler::runCommand(this, [this] { redraw(true); }); };
  }
  xPaintBox2->OnMouseMove = [this](TxPaintBox*, int x, int y) { xPaintBox2MouseMove(x, y); };
  xPaintBox2->OnMouseLeave = [this](TxPaintBox*) { xPaintBox2MouseLeave(); };

  // Pop-up menus are windows of their own: their hints reach the status bar
  // through the hovered signal, not through status-tip events.
  for (QMenu* menu : {PopupMenu1, PopupMenu2, ScrollMenu, ScaleMenu, ExportMenu}) {
    connect(menu, &QMenu::hovered, this, [this](QAction* a) {
      if (host_) host_->showHint(a->statusTip());
    });
  }
}

// ---- Records and fields ----------------------------------------------------

bool TWorkForm::GetSystemInfo() {
  const fish::TSystemParams before = SystemParams;
  bool allValid = true;
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    if (const auto v = vintaler::textToNumber(Edits[i]->text())) {
      SystemParams.*kFieldOf[i] = *v;
      setFieldColour(Edits[i], Qt::white);
    } else {
      setFieldColour(Edits[i], Qt::red);
      allValid = false;
    }
  }
  // One bad field keeps the whole record: a half-taken set of values would
  // draw a piece nobody typed.
  if (!allValid) SystemParams = before;
  if (fish::systemParamsToBytes(SystemParams) != fish::systemParamsToBytes(before)) setWindowModified(true);
  redraw(false);
  return allValid;
}

void TWorkForm::markBlamedFields(const std::vector<fish::TInput>& inputs) {
  // Input of each field, in the order of kFieldOf.
  constexpr fish::TInput kInputOf[6] = {fish::TInput::A, fish::TInput::B,  fish::TInput::R,
                                        fish::TInput::L, fish::TInput::X1, fish::TInput::Y1};
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    if (Edits[i]->palette().color(QPalette::Base) == QColor(Qt::red)) continue;
    const bool blamed = std::find(inputs.begin(), inputs.end(), kInputOf[i]) != inputs.end();
    setFieldColour(Edits[i], blamed ? kBlamedFieldColour : QColor(Qt::white));
  }
}

void TWorkForm::setSysInfo() {
  // The texts' change notifications must not read the fields back while they
  // are being filled: every field shows its own record value.
  filling_ = true;
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    try {
      Edits[i]->setText(vintaler::numberToText(SystemParams.*kFieldOf[i]));
    } catch (const fish::EFishError&) {
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
    vintaler::runCommand(this, [this] { Image1DblClick(); });
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// ---- Redraw and pages ------------------------------------------------------

void TWorkForm::releaseViewBuffers() {
  for (TxPaintBox* box : {xPaintBox1, xPaintBox2}) box->releaseCanvas();
}

fish::TSystemParams TWorkForm::developedParams() const {
  return fish::developedParams(SystemParams, Plate, Cutting.Units);
}

void TWorkForm::drawView(fish::TDrawSurface* surface) {
  fish::TDrawSurface& target = surface ? *surface : *ActiveBox;
  if (ActiveBox == xPaintBox1) drawing_.drawModel(target, developedParams(), ProParams);
  if (ActiveBox == xPaintBox2) drawing_.drawDevelopment(target, developedParams(), ProParams);
}

void TWorkForm::redraw(bool report) {
  if (ActiveBox && textPageShown()) {
    // The view is hidden behind the results: it is drawn when shown again.
    ActiveBox->invalidate();
  } else if (ActiveBox) {
    try {
      drawView();
      explanation_.clear();
      markBlamedFields({});
    } catch (const fish::EFishError& e) {
      // A failed picture says why on the view itself: a message box on every
      // paint or keystroke would lock the window up.
      const QString message = QString::fromUtf8(e.what());
      ActiveBox->ClearView();
      ActiveBox->showMessage(message);
      // Which input to change, where one can be told: its field is tinted,
      // the status bar and the box say why.
      const fish::TExplanation why =
          fish::explainParams(developedParams(), ProParams, vintaler::localeDecimalSeparator());
      explanation_ = QString::fromStdString(why.Message.text());
      markBlamedFields(why.Inputs);
      if (report) vintaler::reportError(this, why.empty() ? message : message + "\n\n" + explanation_);
    }
  }
  if (activePage() == vintaler::Page::Results) TabSheet3Show();
  if (activePage() == vintaler::Page::Figures) TabSheet4Show();
  scheduleAccuracyCheck();
}

void TWorkForm::DrawActionExecute() { redraw(true); }

// PageControl1 holds the pages in vintaler::Page's order.
vintaler::Page TWorkForm::activePage() const { return static_cast<vintaler::Page>(PageControl1->currentIndex()); }

void TWorkForm::setActivePage(vintaler::Page page) {
  PageControl1->setCurrentIndex(static_cast<int>(page));
  switch (page) {
    case vintaler::Page::Model: TabSheet1Show(); break;
    case vintaler::Page::Development: TabSheet2Show(); break;
    case vintaler::Page::Results: TabSheet3Show(); break;
    case vintaler::Page::Figures: TabSheet4Show(); break;
  }
}

void TWorkForm::checkPage(QAction* checked) {
  for (QAction* a : {Show3D, ShowRazvertka, ShowResult, ShowFigures}) a->setChecked(a == checked);
}

// A drawing page shown again may show a project that changed meanwhile.
void TWorkForm::TabSheet1Show() {
  checkPage(Show3D);
  ActiveBox = xPaintBox1;
  ActiveBox->invalidate();
}

void TWorkForm::TabSheet2Show() {
  checkPage(ShowRazvertka);
  ActiveBox = xPaintBox2;
  ActiveBox->invalidate();
}

void TWorkForm::ShowSystemParamsExecute() {
  // The action's own toggle has already inverted the check mark.
  vintaler::setParameterPanelVisible(*this, ShowSystemParams->isChecked());
}

void TWorkForm::updateCaption() { setWindowTitle(tr("Проект (%1)[*]").arg(ProjectFileName)); }

QString TWorkForm::displayName() const { return QFileInfo(ProjectFileName).fileName(); }

bool TWorkForm::focusNextPrevChild(bool next) { return vintaler::focusNextInProject(*this, next); }

void TWorkForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    setActivePage(vintaler::Page::Model);
    // The first key typed goes into a field.
    Edits[kFirstFocusedField]->setFocus(Qt::OtherFocusReason);
  }
}

void TWorkForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::LanguageChange) return;
  retranslateUi();
  updateCaption();
  // The pages, a failure shown on the view and the warning come from the
  // engine in the language it speaks now.
  drawing_.languageChanged();
  redraw(false);
}

void TWorkForm::closeEvent(QCloseEvent* event) {
  if (isWindowModified()) {
    const vintaler::SaveAnswer answer = vintaler::askToSaveChanges(this, {displayName()});
    if (answer == vintaler::SaveAnswer::Cancel || (answer == vintaler::SaveAnswer::Save && !saveChanges())) {
      event->ignore();
      return;
    }
  }
  // The last project window takes the main window's Save with it.
  if (host_ && host_->openProjectCount() <= 1) host_->setSaveEnabled(false);
  event->accept();
}

// ---- Project file ----------------------------------------------------------

fish::TProjectData TWorkForm::projectData() const {
  return {SystemParams, ProParams, xPaintBox1->bounds(), xPaintBox2->bounds(), Plate, Cutting};
}

void TWorkForm::SaveProject(const QString& fileName) {
  fish::writeProjectFile(nativePath(fileName), projectData());
  ProjectFileName = fileName;
  hasFile_ = true;
  setWindowModified(false);
  updateCaption();
  if (host_) host_->projectSaved(fileName);
}

bool TWorkForm::saveChanges() {
  bool saved = false;
  vintaler::runCommand(this, [&] {
    const QString target = hasFile_ ? ProjectFileName : vintaler::chooseProjectToSave(this, ProjectFileName);
    if (target.isEmpty()) return;
    SaveProject(target);
    saved = true;
  });
  return saved;
}

void TWorkForm::LoadProject(const QString& fileName) {
  std::string notice;
  applyProject(fish::readProjectFile(nativePath(fileName), &notice), fileName);
  if (!notice.empty() && host_) host_->showHint(QString::fromStdString(notice));
}

void TWorkForm::applyProject(const fish::TProjectData& project, const QString& fileName) {
  SystemParams = project.SystemParams;
  ProParams = project.ProParams;
  Plate = project.Plate;
  Cutting = project.Cutting;
  xPaintBox1->setBounds(project.Bounds3D);
  xPaintBox2->setBounds(project.Bounds2D);
  // Bounds that cannot be scaled (a zero span, a damaged value) are the
  // views' business: each shows the reason instead of a picture.
  xPaintBox1->tryUpdateScale();
  xPaintBox2->tryUpdateScale();
  setSysInfo();
  ProjectFileName = fileName;
  hasFile_ = true;
  setWindowModified(false);
  updateCaption();
}

void TWorkForm::SaveExecute() {
  const QString chosen = vintaler::chooseProjectToSave(this, ProjectFileName);
  if (!chosen.isEmpty()) SaveProject(chosen);
}

// ---- Printing and the scheme ---------------------------------------------------

QImage TWorkForm::renderViewBitmap() {
  return ActiveBox->renderBitmap([this] { drawView(); });
}

void TWorkForm::ShowShemaExecute() { vintaler::runModal(*vintaler::shemaFormInstance(window())); }

void TWorkForm::PrintActionExecute() { vintaler::printProjectPage(*this); }

vintaler::exporting::Source TWorkForm::exportSource() const { return {SystemParams, ProParams, ProjectFileName, Plate, Cutting};
}

// ---- View navigation -------------------------------------------------------

// Scrolling moves the picture the way the command says; zooming keeps the
// centre (the steps are the engine's).
void TWorkForm::navigate(fish::TViewMove move) {
  ActiveBox->setBounds(fish::moved(ActiveBox->bounds(), move));
  redraw(true);
  // Hidden behind the results page the view was not drawn: a window that
  // cannot be scaled is reported here instead.
  if (!ActiveBox->tryUpdateScale() && textPageShown()) ActiveBox->UpdateScale();
}

void TWorkForm::ScrollLeftExecute() { navigate(fish::TViewMove::Left); }
void TWorkForm::ScrollRightExecute() { navigate(fish::TViewMove::Right); }
void TWorkForm::ScrollUpExecute() { navigate(fish::TViewMove::Up); }
void TWorkForm::ScrollDownExecute() { navigate(fish::TViewMove::Down); }
void TWorkForm::ZoomInExecute() { navigate(fish::TViewMove::In); }
void TWorkForm::ZoomOutExecute() { navigate(fish::TViewMove::Out); }

// The model's window frames its box exactly; the development's is a square,
// so the pattern keeps its proportions. Nothing on the text pages.
void TWorkForm::AutoScaleExecute() {
  if (textPageShown()) return;
  TxPaintBox* box = activePage() == vintaler::Page::Model ? xPaintBox1 : xPaintBox2;
  fish::TExtents3D model;
  fish::TExtents2D pattern;
  if (box == xPaintBox1) fish::GetSurfExtents(developedParams(), ProParams, model);
  if (box == xPaintBox2) fish::GetRazvertkaExtents(developedParams(), ProParams, pattern);
  box->setBounds(box == xPaintBox1 ? fish::modelWindow(model) : fish::squareWindow(box->bounds(), pattern));
  box->UpdateScale();
  redraw(true);
}

void TWorkForm::SetupDrawActionExecute() {
  TxPaintBox* box = ActiveBox;
  if (!box) return;
  TSetupDrawForm dialog(this);
  if (box->SpaceMode() == fish::TSpaceMode::_2D) dialog.hideZRow();
  dialog.showBounds(box->bounds());
  dialog.Check = [box](const fish::TViewBounds& b) {
    return fish::explainView(b, box->SpaceMode() == fish::TSpaceMode::_3D, box->width(), box->height(), nullptr,
                             vintaler::localeDecimalSeparator());
  };
  if (vintaler::runModal(dialog) == QDialog::Accepted) {
    // The bounds are taken all together or not at all.
    fish::TViewBounds bounds = box->bounds();
    const QString failure = dialog.readBounds(bounds);
    if (!failure.isEmpty()) throw vintaler::ECommandError(failure);
    const auto before = fish::encodeProjectFile(projectData());
    box->setBounds(bounds);
    if (fish::encodeProjectFile(projectData()) != before) setWindowModified(true);
    try {
      box->UpdateScale();
    } catch (const fish::EFishError&) {
      redraw(false);  // the view shows why as well
      throw;
    }
  }
  redraw(true);
}

void TWorkForm::ShowProParamsActionExecute() {
  TProParamsForm dialog(this);
  dialog.load(ProParams);
  dialog.loadPlate(Plate, SystemParams);
  dialog.loadCutting(Cutting);
  if (vintaler::runModal(dialog) == QDialog::Accepted) {
    const auto before = fish::encodeProjectFile(projectData());
    dialog.store(ProParams);
    dialog.storePlate(Plate);
    dialog.storeCutting(Cutting);
    if (fish::encodeProjectFile(projectData()) != before) setWindowModified(true);
  }
  redraw(true);
}

void TWorkForm::ShowCuttingExecute() {
  vintaler::TCuttingDialog dialog([this] { return vintaler::TCuttingDialog::Sizes{SystemParams, Plate}; }, ProParams,
                                  this);
  dialog.load(Cutting);
  if (vintaler::runModal(dialog) == QDialog::Accepted) {
    const auto before = fish::encodeProjectFile(projectData());
    Cutting = dialog.cutting();
    if (fish::encodeProjectFile(projectData()) != before) setWindowModified(true);
  }
  redraw(true);
}

void TWorkForm::xPaintBox2MouseMove(int x, int y) {
  if (!ActiveBox || !host_) return;
  try {
    const fish::TTenths t = fish::readoutTenths(ActiveBox->ScreenToWorldX(x), ActiveBox->ScreenToWorldY(y));
    host_->setCoordinateText(vintaler::numberToText(t.X * fish::kTenth) + QStringLiteral(": ") +
                             vintaler::numberToText(t.Y * fish::kTenth));
  } catch (const fish::EFishError&) {
    // A read-out that cannot be formed keeps the previous one: a message on
    // every mouse move would make the window unusable.
  }
}

void TWorkForm::xPaintBox2MouseLeave() {
  if (host_) host_->setCoordinateText(QString());
}
