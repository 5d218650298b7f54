#include "ErrorReport.h"

#include <QMessageBox>
#include <exception>

namespace vintaler {

namespace {
std::function<void(QWidget*, const QString&)>& Handler() {
  static std::function<void(QWidget*, const QString&)> handler;
  return handler;
}
}  // namespace

void ReportError(QWidget* parent, const QString& message) {
  if (Handler()) {
    Handler()(parent, message);
    return;
  }
  QMessageBox::critical(parent, QStringLiteral("Ошибка"), message);
}

void SetErrorHandler(std::function<void(QWidget*, const QString&)> handler) { Handler() = std::move(handler); }

QString CurrentExceptionMessage() {
  try {
    throw;
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QStringLiteral("Неизвестная ошибка");
  }
}

void RunCommand(QWidget* parent, const std::function<void()>& command) {
  try {
    command();
  } catch (...) {
    ReportError(parent, CurrentExceptionMessage());
  }
}

}  // namespace vintaler
