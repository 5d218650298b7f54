// The project window's text pages (the results and the figures for marking
// out), the commands that act on the text shown, and the accuracy warning.
#include <QClipboard>
#include <QFontDialog>
#include <QGuiApplication>
#include <QTimer>

#include "IProjectHost.h"
#include "TWorkForm.h"
#include "appcore/ErrorReport.h"
#include "appcore/LocaleNumbers.h"
#include "appcore/ModalDialogs.h"
#include "fishApi/core/FishErrors.h"
#include "textPage/TTextPage.h"
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
  try {
    warning = drawing_.accuracyWarning(developedParams(), ProParams, vintaler::localeDecimalSeparator());
  } catch (const fish::EFishError&) {
    // No pattern at all: the pages and pictures say why.
  }
  if (warning == accuracyWarning_) return;
  accuracyWarning_ = warning;
  if (host_) host_->showWarning(this, accuracyWarning_);
}

// Filled again only when its text is not that one: 400,000 lines cost the
// widget more than their computation.
template <typename Box>
void TWorkForm::fillTextPage(Box* box, const QString& text, QString& shown) {
  if (!shown.isNull() && text == shown) return;
  box->setUpdatesEnabled(false);
  box->setPlainText(text);
  box->setUpdatesEnabled(true);
  shown = text;
}

void TWorkForm::TabSheet3Show() {
  checkPage(ShowResult);
  fillTextPage(Memo1, drawing_.resultsText(SystemParams, ProParams, Plate, vintaler::localeDecimalSeparator()),
               memoText_);
}

void TWorkForm::TabSheet4Show() {
  checkPage(ShowFigures);
  fillTextPage(Memo2, drawing_.figuresText(SystemParams, ProParams, Plate, vintaler::localeDecimalSeparator()),
               figuresText_);
}

void TWorkForm::SelectAllExecute() {
  if (activePage() == 3) {
    Memo2->selectAll();
  } else {
    Memo1->selectAll();
  }
}

void TWorkForm::CopyExecute() {
  if (activePage() == 2) {
    Memo1->copy();
  } else if (activePage() == 3) {
    Memo2->copy();
  } else if (ActiveBox) {
    // setImage replaces whatever the clipboard held.
    QGuiApplication::clipboard()->setImage(renderViewBitmap());
  }
}

// The font of the text page shown (the results page's on a drawing page).
// The pages' font is set in pixels, the dialog's sizes are points: it is
// given the face really shown, in points, so that it opens on what the page
// shows, and OK with nothing changed leaves the page's font as it was.
void TWorkForm::SetFontExecute() {
  QWidget* text = activePage() == 3 ? static_cast<QWidget*>(Memo2) : static_cast<QWidget*>(Memo1);
  const QFontInfo shown(text->font());
  QFont offered(shown.family());
  offered.setStyleName(shown.styleName());
  offered.setPointSizeF(shown.pointSizeF());
  QFontDialog dialog(offered, this);
  const QFont opened = dialog.currentFont();
  if (vintaler::runModal(dialog) == QDialog::Accepted && dialog.currentFont() != opened) {
    text->setFont(dialog.currentFont());
  }
}
