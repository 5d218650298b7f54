// The project window's text pages (the results and the figures for marking
// out), the commands that act on the text shown, and the accuracy warning.
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include "IProjectHost.h"
#include "TWorkForm.h"
#include "TextPages.h"
#include "appcore/ErrorReport.h"
#include "appcore/LocaleNumbers.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/InputExplain.h"
#include "xPaintBox/TxPaintBox.h"

// The accuracy needs every quadrant developed: worked out after the picture
// is on screen, once for any number of redraws in between.
void TWorkForm::scheduleAccuracyCheck() {
  if (accuracyPending_) return;
  accuracyPending_ = true;
  QTimer::singleShot(0, this, [this] { vintaler::runCommand(this, [this] { checkAccuracy(); }); });
}

void TWorkForm::checkAccuracy() {
  accuracyPending_ = false;
  QString warning;
  std::vector<fish::TInput> blamed;
  try {
    warning = drawing_.accuracyWarning(developedParams(), ProParams, Cutting.Pattern, vintaler::localeDecimalSeparator(),
                                       Cutting.Units);
  } catch (const fish::EFishError&) {
    // No pattern at all: the pages and pictures say why, the status bar and
    // the parameter panel which input to change.
    const fish::TExplanation why =
        fish::explainParams(developedParams(), ProParams, vintaler::localeDecimalSeparator());
    warning = QString::fromStdString(why.Message.text());
    blamed = why.Inputs;
  }
  if (!blamed.empty()) markBlamedFields(blamed);
  if (warning.isEmpty()) warning = explanation_;  // the picture failed where the pattern's accuracy did not
  if (warning == accuracyWarning_) return;
  accuracyWarning_ = warning;
  if (host_) host_->showWarning(this, accuracyWarning_);
}

void TWorkForm::TabSheet3Show() {
  checkPage(ShowResult);
  texts_->fill(vintaler::Page::Results,
               drawing_.resultsText(SystemParams, ProParams, Plate, Cutting.Units, vintaler::localeDecimalSeparator()));
}

void TWorkForm::TabSheet4Show() {
  checkPage(ShowFigures);
  texts_->fill(vintaler::Page::Figures,
               drawing_.figuresText(SystemParams, ProParams, Plate, Cutting, vintaler::localeDecimalSeparator()));
}

// Select All and the font act on the results page while a drawing is shown.
void TWorkForm::SelectAllExecute() { texts_->selectAll(activePage()); }

void TWorkForm::CopyExecute() {
  if (textPageShown()) {
    texts_->copy(activePage());
  } else if (ActiveBox) {
    // setImage replaces whatever the clipboard held.
    QGuiApplication::clipboard()->setImage(renderViewBitmap());
  }
}

void TWorkForm::SetFontExecute() { texts_->chooseFont(this, activePage()); }
