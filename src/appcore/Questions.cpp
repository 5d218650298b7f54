#include "Questions.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

#include "ModalDialogs.h"

namespace vintaler {

namespace {

// The frame's title: the question is about the program's work, not about
// the window it was asked from.
QString titleOver(const QWidget* parent) { return parent ? parent->window()->windowTitle() : QString(); }

QString quotedList(const QStringList& names) {
  QStringList quoted;
  for (const QString& name : names) quoted << QCoreApplication::translate("Questions", "«%1»").arg(name);
  if (quoted.size() < 2) return quoted.value(0);
  const QString last = quoted.takeLast();
  return quoted.join(QStringLiteral(", ")) + QCoreApplication::translate("Questions", " и ") + last;
}

}  // namespace

SaveAnswer askToSaveChanges(QWidget* parent, const QStringList& names) {
  QMessageBox box(QMessageBox::Warning, titleOver(parent),
                  QCoreApplication::translate("Questions", "Сохранить изменения в %1?").arg(quotedList(names)),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box.button(QMessageBox::Save)->setText(QCoreApplication::translate("Questions", "Сохранить"));
  box.button(QMessageBox::Discard)->setText(QCoreApplication::translate("Questions", "Не сохранять"));
  box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("Questions", "Отмена"));
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (runModal(box)) {
    case QMessageBox::Save: return SaveAnswer::Save;
    case QMessageBox::Discard: return SaveAnswer::Discard;
    default: return SaveAnswer::Cancel;
  }
}

bool askToReplace(QWidget* parent, const QString& title, const QString& fileName) {
  // The file dialog's own words, in the language its translation gives them.
  const QString text = QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?");
  QMessageBox box(QMessageBox::Warning, title, text.arg(QDir::toNativeSeparators(fileName)),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return runModal(box) == QMessageBox::Yes;
}

}  // namespace vintaler
