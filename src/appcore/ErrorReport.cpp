#include "ErrorReport.h"

#include <QMessageBox>
#include <exception>

namespace vintaler {

namespace {
std::function<void(QWidget*, const QString&)>& handler() {
  static std::function<void(QWidget*, const QString&)> handler;
  return handler;
}
}  // namespace

void reportError(QWidget* parent, const QString& message) {
  if (handler()) {
    handler()(parent, message);
    return;
  }
  QMessageBox::critical(parent, QStringLiteral("Ошибка"), message);
}

void setErrorHandler(std::function<void(QWidget*, const QString&)> h) { handler() = std::move(h); }

QString currentExceptionMessage() {
  try {
    throw;
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QStringLiteral("Неизвестная ошибка");
  }
}

void runCommand(QWidget* parent, const std::function<void()>& command) {
  try {
    command();
  } catch (...) {
    reportError(parent, currentExceptionMessage());
  }
}

}  // namespace vintaler
