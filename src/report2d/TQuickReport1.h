// The one-page picture report: A4 landscape, 10 mm margins, one image of
// 834 x 594 screen pixels at 80 % (275.83 mm x 196.45 mm) at the top left of
// the printable area, previewed on screen and printed from the preview.
#pragma once

#include <QImage>
#include <QPageLayout>

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

  // Lays the page out on `printer` (the preview's and the print's painter
  // alike). The image is clipped where it reaches below the bottom margin.
  void render(QPrinter& printer);

  // The print preview, from which the user prints; waits until it is closed
  // while the other windows go on working.
  void preview(QWidget* parent);

 private:
  QImage picture_;
};

// The report of the print command that is running, or null.
extern TQuickReport1* QuickReport1;

#include <functional>

// One print command: unless a report is open already, makes the report,
// stretches `picture()` onto its image, shows the preview and waits for it,
// then releases the report, also when `picture` throws.
namespace vintaler {
void printPictureReport(QWidget* parent, const std::function<QImage()>& picture);
}  // namespace vintaler
