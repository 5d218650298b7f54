// The pages of a project window, and what its print and export commands see
// of the window: the page shown, its text or its drawing, and the records.
#pragma once

class QWidget;
class TxPaintBox;

namespace fish {
class TDrawSurface;
}

namespace vintaler {

namespace exporting {
struct Source;
}
class TextPages;

// In the order the window holds them: the 3-D wire model, the development,
// the numeric results and the figures for marking out.
enum class Page { Model, Development, Results, Figures };

// The results and the figures are text; the others are drawings.
constexpr bool isTextPage(Page page) { return page == Page::Results || page == Page::Figures; }

class IProjectView {
 public:
  virtual ~IProjectView() = default;
  // The window the commands' dialogs and previews belong to.
  virtual QWidget* commandWindow() = 0;
  virtual Page shownPage() const = 0;
  virtual TextPages& textPages() = 0;
  // The view of the drawing page shown, or of the last one shown while a
  // text page is up; null before any was.
  virtual const TxPaintBox* drawingView() const = 0;
  // That view drawn once more on `surface` with the same engine pass; an
  // engine failure is thrown.
  virtual void drawViewOn(fish::TDrawSurface& surface) = 0;
  // The records the flat pattern is exported from.
  virtual exporting::Source exportSource() const = 0;
};

}  // namespace vintaler
