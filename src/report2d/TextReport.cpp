#include "TextReport.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <memory>

#include "TQuickReport1.h"
#include "appcore/ErrorReport.h"

namespace vintaler {

void printText(QPrinter& printer, const QTextDocument& text, const QFont& font) {
  printer.setDocName(QString());
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));
  const std::unique_ptr<QTextDocument> document(text.clone());
  document->setDefaultFont(font);
  document->print(&printer);
}

void printTextOnDefaultPrinter(const QTextDocument& text, const QFont& font) {
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    throw ECommandError(QCoreApplication::translate("TextReport", "Принтер не установлен: напечатать текст нельзя"));
  }
  QPrinter printer(QPrinterInfo::defaultPrinter());
  printText(printer, text, font);
}

void previewText(QWidget* parent, const QTextDocument& text, const QFont& font) {
  static bool open = false;
  if (open) return;
  open = true;
  struct Release {
    ~Release() { open = false; }
  } release;
  // The page may be given a new text while its preview is open.
  const std::unique_ptr<QTextDocument> shown(text.clone());
  // At the screen's resolution, as on the default printer: the pages' font
  // is set in pixels.
  QPrinter printer;
  showPrintPreview(parent, printer, [&](QPrinter& target) { printText(target, *shown, font); });
}

}  // namespace vintaler
