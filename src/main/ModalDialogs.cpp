#include "ModalDialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>

namespace vintaler {

namespace {
std::function<int(QDialog&)>& Runner() {
  static std::function<int(QDialog&)> runner;
  return runner;
}
}  // namespace

int RunModal(QDialog& dialog) { return Runner() ? Runner()(dialog) : dialog.exec(); }

int RunModeless(QDialog& dialog) {
  if (Runner()) return Runner()(dialog);
  dialog.setModal(false);
  dialog.show();
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
  loop.exec();
  return dialog.result();
}

void SetModalRunner(std::function<int(QDialog&)> runner) { Runner() = std::move(runner); }

}  // namespace vintaler
