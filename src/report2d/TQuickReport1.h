// The one-page picture report: A4 landscape, 10 mm margins, one picture
// frame of 834 x 594 screen pixels at 80 % (275.83 mm x 196.45 mm) at the
// top left of the printable area, previewed on screen and printed from the
// preview. The frame holds either an image or a view's lines.
#pragma once

#include <QImage>
#include <QLineF>
#include <QPageLayout>
#include <vector>

class QPrinter;
class QWidget;

class TQuickReport1 {
 public:
  static constexpr int kImageWidth = 834;
  static constexpr int kImageHeight = 594;
  static constexpr double kImageWidthMm = 275.83;
  static constexpr double kImageHeightMm = 196.45;
  static constexpr double kZoom = 0.8;

  // A4 landscape with 10 mm margins on every side.
  static QPageLayout pageLayout();

  // The picture of QRImage1: white, 834 x 594, made on first request.
  QImage& picture();

  // Copies the whole of `source` onto the whole picture, stretched with
  // separate horizontal and vertical factors.
  void stretchOnto(const QImage& source);

  // The frame shows these lines (in the frame's units, 834 x 594) instead of
  // the image: black, one printer pixel wide.
  void setLines(std::vector<QLineF> lines);
  const std::vector<QLineF>& lines() const { return lines_; }
  bool showsLines() const { return showsLines_; }

  // Lays the page out on `printer` (the preview's and the print's painter
  // alike). The frame is clipped where it reaches below the bottom margin.
  // An image goes into a PDF losslessly: compressed as a photograph its
  // thin lines would get grey halos.
  void render(QPrinter& printer);

  // The print preview, from which the user prints; waits until it is closed
  // while the other windows go on working. The preview belongs to `parent`:
  // closing `parent` meanwhile closes the preview first and `parent` only
  // once the preview is gone, so that no window is deleted under the print
  // command still waiting for its preview.
  void preview(QWidget* parent);

 private:
  QImage picture_;
  std::vector<QLineF> lines_;
  bool showsLines_ = false;
};

// The report of the print command that is running, or null.
extern TQuickReport1* QuickReport1;

#include <functional>

namespace fish {
class TDrawSurface;
class TViewMapping;
}  // namespace fish

// One print command: unless a report is open already, makes the report,
// stretches `picture()` onto its image, shows the preview and waits for it,
// then releases the report, also when `picture` throws.
namespace vintaler {
void printPictureReport(QWidget* parent, const std::function<QImage()>& picture);

// The same for a view: `draw` draws the view (its world window, with the
// mapping `view` as shown on screen) once more, as lines stretched onto the
// report's frame. A drawing that fails throws before the preview shows.
void printViewReport(QWidget* parent, const fish::TViewMapping& view,
                     const std::function<void(fish::TDrawSurface&)>& draw);

// The print preview of a job `paint` lays out on the printer it is given;
// from the preview the job goes to a printer or to a PDF file. It waits, and
// belongs to `parent`, as the report's preview does. `zoom` above 0 is the
// preview's first zoom factor.
void showPrintPreview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& paint, double zoom = 0);
}  // namespace vintaler
