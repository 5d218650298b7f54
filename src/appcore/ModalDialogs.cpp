#include "ModalDialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFont>
#include <QSize>
#include <QString>

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

void SetUpToolDialog(QDialog& dialog, const QString& title, const QSize& size) {
  dialog.setWindowTitle(title);
  dialog.setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  dialog.setFixedSize(size);
  QFont small = dialog.font();
  small.setPixelSize(11);
  dialog.setFont(small);
}

void SetModalRunner(std::function<int(QDialog&)> runner) { Runner() = std::move(runner); }

}  // namespace vintaler
