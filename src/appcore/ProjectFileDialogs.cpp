#include "ProjectFileDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "ModalDialogs.h"
#include "Questions.h"

namespace vintaler {

namespace {

QString runFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(QCoreApplication::translate("ProjectFileDialogs", "Файлы разверток (*.raz);;Все файлы (*.*)"));
  if (runModal(dialog) != QDialog::Accepted) return {};
  const QString chosen = dialog.selectedFiles().value(0);
  if (!chosen.isEmpty()) QDir::setCurrent(QFileInfo(chosen).absolutePath());
  return chosen;
}

}  // namespace

QString chooseProjectToOpen(QWidget* parent) {
  QFileDialog dialog(parent, QCoreApplication::translate("ProjectFileDialogs", "Открыть проект"), QDir::currentPath());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  return runFileDialog(dialog);
}

QString chooseProjectToSave(QWidget* parent, const QString& proposed) {
  QFileDialog dialog(parent, QCoreApplication::translate("ProjectFileDialogs", "Сохранить проект"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("raz"));
  const QFileInfo name(proposed);
  dialog.setDirectory(name.path() == QLatin1String(".") ? QDir::currentPath() : name.absolutePath());
  dialog.selectFile(name.fileName());
  // As the exports' dialogs do: a file that exists is replaced only when the
  // user says so; otherwise the dialog comes back for another name.
  for (;;) {
    const QString chosen = runFileDialog(dialog);
    const QFileInfo target(chosen);
    if (chosen.isEmpty() || !target.exists() || target.isDir()) return chosen;
    if (askToReplace(parent, dialog.windowTitle(), chosen)) return chosen;
    dialog.selectFile(target.fileName());
  }
}

}  // namespace vintaler
