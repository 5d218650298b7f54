// The questions the program asks before it does something that cannot be
// undone: closing work that was never saved, writing over a file. They run
// through the modal-dialog runner, so a test answers them by the button's
// value (QMessageBox::StandardButton).
#pragma once

#include <QStringList>

class QWidget;

namespace vintaler {

enum class SaveAnswer { Save, Discard, Cancel };

// "Сохранить изменения в «a»?" (or «a», «b» и «c» for several projects at
// once) with Сохранить / Не сохранять / Отмена; Сохранить is the default,
// Esc answers Отмена.
SaveAnswer askToSaveChanges(QWidget* parent, const QStringList& names);

// The question of the file dialogs when the file chosen to write exists:
// the same words and buttons, Нет by default. True to replace it.
bool askToReplace(QWidget* parent, const QString& title, const QString& fileName);

}  // namespace vintaler
