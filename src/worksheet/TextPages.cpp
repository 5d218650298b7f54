#include "TextPages.h"

#include <QFontDialog>
#include <QFontInfo>

#include "appcore/ModalDialogs.h"
#include "report2d/TextReport.h"
#include "textPage/TTextPage.h"

namespace vintaler {

TextPages::TextPages(TTextPage* results, TTextPage* figures, QObject* owner) : QObject(owner) {
  pages_[0].box = results;
  pages_[1].box = figures;
  for (Shown& p : pages_) {
    connect(p.box, &TTextPage::textChanged, this, [&p] { p.text.clear(); });
  }
}

TextPages::Shown& TextPages::shown(Page page) { return pages_[page == Page::Figures ? 1 : 0]; }

TTextPage* TextPages::page(Page page) const { return pages_[page == Page::Figures ? 1 : 0].box; }

void TextPages::fill(Page page, const QByteArray& text) {
  Shown& p = shown(page);
  // The page shares the window's text: the same string is not compared.
  const bool same = text.constData() == p.text.constData() && text.size() == p.text.size();
  if (!p.text.isNull() && (same || text == p.text)) return;
  p.box->setUpdatesEnabled(false);
  p.box->setUtf8Text(text);
  p.box->setUpdatesEnabled(true);
  p.text = text;
}

void TextPages::selectAll(Page page) { shown(page).box->selectAll(); }

void TextPages::copy(Page page) { shown(page).box->copy(); }

void TextPages::print(QWidget* parent, Page page) {
  TTextPage* box = shown(page).box;
  previewText(parent, *box->document(), box->font());
}

// The pages' font is set in pixels, the dialog's sizes are points: it is
// given the face really shown, in points, so that it opens on what the page
// shows.
void TextPages::chooseFont(QWidget* parent, Page page) {
  TTextPage* box = shown(page).box;
  const QFontInfo current(box->font());
  QFont offered(current.family());
  offered.setStyleName(current.styleName());
  offered.setPointSizeF(current.pointSizeF());
  QFontDialog dialog(offered, parent);
  const QFont opened = dialog.currentFont();
  if (runModal(dialog) == QDialog::Accepted && dialog.currentFont() != opened) box->setFont(dialog.currentFont());
}

}  // namespace vintaler
