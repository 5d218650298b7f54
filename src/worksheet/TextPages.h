// The project window's two text pages, the results and the figures for
// marking out: filled, selected, copied, printed and given a font here. The
// commands act on the page named; on a drawing page the text commands that
// are not the drawing's own (Select All, the font) act on the results page.
#pragma once

#include <QByteArray>
#include <QObject>
#include <array>

#include "ProjectPage.h"

class TTextPage;

namespace vintaler {

class TextPages : public QObject {
 public:
  // The pages as the window's UI made them; `owner` keeps this object.
  TextPages(TTextPage* results, TTextPage* figures, QObject* owner);

  // The text page that commands given on `page` act on.
  TTextPage* page(Page page) const;

  // Shows `text` on the page unless it shows it already: 400,000 lines cost
  // the widget more than their computation. Text put into a page by anyone
  // else is replaced on its next fill.
  void fill(Page page, const QByteArray& utf8);
  void selectAll(Page page);
  // The page's selection to the clipboard.
  void copy(Page page);
  // The page's text previewed in its font; from the preview it goes to a
  // printer or to a PDF file.
  void print(QWidget* parent, Page page);
  // The font dialog for the page; OK with nothing changed leaves its font.
  void chooseFont(QWidget* parent, Page page);

 private:
  struct Shown {
    TTextPage* box = nullptr;
    QByteArray text;  // what it was last filled with (UTF-8); null once anything else changed it
  };
  Shown& shown(Page page);

  std::array<Shown, 2> pages_;  // the results, the figures
};

}  // namespace vintaler
