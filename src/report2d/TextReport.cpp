#include "TextReport.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <memory>

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
    throw ECommandError(QStringLiteral("Принтер не установлен: напечатать текст нельзя"));
  }
  QPrinter printer(QPrinterInfo::defaultPrinter());
  printText(printer, text, font);
}

}  // namespace vintaler
