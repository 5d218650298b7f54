#include "ModalDialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFont>
#include <QPointer>
#include <QSize>
#include <QString>

namespace vintaler {

namespace {
std::function<int(QDialog&)>& runner() {
  static std::function<int(QDialog&)> runner;
  return runner;
}
}  // namespace

int runModal(QDialog& dialog) { return runner() ? runner()(dialog) : dialog.exec(); }

int runModeless(QDialog& dialog) {
  if (runner()) return runner()(dialog);
  dialog.setModal(false);
  dialog.show();
  // A dialog deleted with its parent meanwhile ends the wait as well, and
  // is not touched again.
  const QPointer<QDialog> alive(&dialog);
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  QObject::connect(&dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
  loop.exec();
  return alive ? alive->result() : int(QDialog::Rejected);
}

void setUpToolDialog(QDialog& dialog, const QString& title, const QSize& size) {
  dialog.setWindowTitle(title);
  dialog.setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  dialog.setFixedSize(size);
  QFont small = dialog.font();
  small.setPixelSize(11);
  dialog.setFont(small);
}

void setModalRunner(std::function<int(QDialog&)> r) { runner() = std::move(r); }

}  // namespace vintaler
