#include "TQuickReport1.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>
#include <memory>

#include "ReportSurface.h"
#include "appcore/ModalDialogs.h"

TQuickReport1* QuickReport1 = nullptr;

namespace {

// While a preview is open, a close of its owner closes the preview first and
// is refused; the owner is closed again once the preview's command has
// returned. A window inside the multi-document frame is closed through its
// sub-window, which is what the user closed.
class OwnerCloseGuard : public QObject {
 public:
  OwnerCloseGuard(QWidget* owner, QDialog* preview) : owner_(owner), preview_(preview) {
    if (owner) owner->installEventFilter(this);
  }
  OwnerCloseGuard(const OwnerCloseGuard&) = delete;
  OwnerCloseGuard& operator=(const OwnerCloseGuard&) = delete;

  ~OwnerCloseGuard() override {
    if (!closeAsked_ || !owner_) return;
    QWidget* target = owner_;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(owner_->parentWidget())) target = sub;
    // Queued: the command's frames still on the stack unwind first.
    QTimer::singleShot(0, target, [target] { target->close(); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == owner_ && event->type() == QEvent::Close && preview_) {
      closeAsked_ = true;
      event->ignore();
      preview_->reject();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QPointer<QWidget> owner_;
  QPointer<QDialog> preview_;
  bool closeAsked_ = false;
};

}  // namespace

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

void TQuickReport1::setLines(std::vector<QLineF> lines) {
  lines_ = std::move(lines);
  showsLines_ = true;
}

void TQuickReport1::render(QPrinter& printer) {
  printer.setPageLayout(pageLayout());
  QPainter p(&printer);
  // The painter starts at the top left of the printable area (inside the
  // margins); the frame is 275.83 x 196.45 mm, so its last 6.45 mm fall
  // below the bottom margin and are cut off there.
  const double dotsPerMm = printer.resolution() / 25.4;
  const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
  p.setClipRect(QRect(0, 0, printable.width(), printable.height()));
  const QRectF target(0, 0, kImageWidthMm * dotsPerMm, kImageHeightMm * dotsPerMm);
  if (!showsLines_) {
    p.setRenderHint(QPainter::LosslessImageRendering);
    p.drawImage(target, picture());
    return;
  }
  p.setRenderHint(QPainter::Antialiasing, false);
  p.scale(target.width() / kImageWidth, target.height() / kImageHeight);
  QPen pen(Qt::black);
  pen.setWidth(1);
  pen.setCosmetic(true);  // one printer pixel, whatever the scale
  p.setPen(pen);
  p.drawLines(lines_.data(), static_cast<int>(lines_.size()));
}

void TQuickReport1::preview(QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(pageLayout());
  const auto paint = [this](QPrinter& target) { render(target); };
  vintaler::showPrintPreview(parent, printer, paint, kZoom);
}

namespace vintaler {

void showPrintPreview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& paint, double zoom) {
  // Not a stack object: a child of `parent`, deleted here once done, or with
  // `parent` should that go first; never twice.
  const QPointer<QPrintPreviewDialog> dialog = new QPrintPreviewDialog(&printer, parent);
  struct Release {
    const QPointer<QPrintPreviewDialog>& dialog;
    ~Release() { delete dialog.data(); }
  } release{dialog};
  QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                   [&paint](QPrinter* target) { paint(*target); });
  if (zoom > 0) {
    if (auto* view = dialog->findChild<QPrintPreviewWidget*>()) view->setZoomFactor(zoom);
  }
  const OwnerCloseGuard guard(parent, dialog);
  runModeless(*dialog);
}

namespace {

// One report at a time: while its preview is open, another print does nothing.
void runReport(QWidget* parent, const std::function<void(TQuickReport1&)>& fill) {
  if (QuickReport1) return;
  auto report = std::make_unique<TQuickReport1>();
  QuickReport1 = report.get();
  struct Release {
    ~Release() { QuickReport1 = nullptr; }
  } release;
  fill(*report);
  report->preview(parent);
}

}  // namespace

void printPictureReport(QWidget* parent, const std::function<QImage()>& picture) {
  runReport(parent, [&](TQuickReport1& report) { report.stretchOnto(picture()); });
}

void printViewReport(QWidget* parent, const fish::TViewMapping& view,
                     const std::function<void(fish::TDrawSurface&)>& draw) {
  runReport(parent, [&](TQuickReport1& report) {
    ReportSurface surface(view, QSizeF(TQuickReport1::kImageWidth, TQuickReport1::kImageHeight));
    draw(surface);
    report.setLines(surface.lines());
  });
}

}  // namespace vintaler
