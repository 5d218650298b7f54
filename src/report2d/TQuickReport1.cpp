#include "TQuickReport1.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <memory>

#include "appcore/ModalDialogs.h"

TQuickReport1* QuickReport1 = nullptr;

QPageLayout TQuickReport1::pageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

QImage& TQuickReport1::picture() {
  if (picture_.isNull()) {
    picture_ = QImage(kImageWidth, kImageHeight, QImage::Format_RGB32);
    picture_.fill(Qt::white);
  }
  return picture_;
}

void TQuickReport1::stretchOnto(const QImage& source) {
  QPainter p(&picture());
  p.drawImage(QRect(0, 0, kImageWidth, kImageHeight), source, source.rect());
}

void TQuickReport1::render(QPrinter& printer) {
  printer.setPageLayout(pageLayout());
  QPainter p(&printer);
  // The painter starts at the top left of the printable area (inside the
  // margins); the image is 275.83 x 196.45 mm, so its last 6.45 mm fall
  // below the bottom margin and are cut off there.
  const double dotsPerMm = printer.resolution() / 25.4;
  const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
  p.setClipRect(QRect(0, 0, printable.width(), printable.height()));
  const QRectF target(0, 0, kImageWidthMm * dotsPerMm, kImageHeightMm * dotsPerMm);
  p.drawImage(target, picture());
}

void TQuickReport1::preview(QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(pageLayout());
  QPrintPreviewDialog dialog(&printer, parent);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [this](QPrinter* target) { render(*target); });
  if (auto* view = dialog.findChild<QPrintPreviewWidget*>()) view->setZoomFactor(kZoom);
  vintaler::runModeless(dialog);
}

namespace vintaler {

void printPictureReport(QWidget* parent, const std::function<QImage()>& picture) {
  if (QuickReport1) return;  // one report at a time: its preview is open
  auto report = std::make_unique<TQuickReport1>();
  QuickReport1 = report.get();
  struct Release {
    ~Release() { QuickReport1 = nullptr; }
  } release;
  report->stretchOnto(picture());
  report->preview(parent);
}

}  // namespace vintaler
