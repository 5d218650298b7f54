#include "ErrorReport.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <new>

#include "fishApi/core/FishErrors.h"

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
  QMessageBox::critical(parent, QCoreApplication::translate("ErrorReport", "Ошибка"), message);
}

void setErrorHandler(std::function<void(QWidget*, const QString&)> h) { handler() = std::move(h); }

QString errorMessage(const std::exception& e) {
  const QString what = QString::fromUtf8(e.what());
  if (dynamic_cast<const fish::EFishError*>(&e) || dynamic_cast<const ECommandError*>(&e)) return what;
  if (dynamic_cast<const std::bad_alloc*>(&e)) {
    return QCoreApplication::translate("ErrorReport", "Недостаточно памяти для выполнения команды");
  }
  return QCoreApplication::translate("ErrorReport", "Внутренняя ошибка программы: ") + what;
}

void runCommand(QWidget* parent, const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    reportError(parent, errorMessage(e));
  }
}

}  // namespace vintaler
