// The file dialogs of the Open and Save commands. Both show project files
// ("*.raz") first, and a confirmed choice makes its folder the current one,
// where the next dialog opens.
#pragma once

#include <QString>

class QWidget;

namespace vintaler {

// The file to open, or an empty text when the user cancels.
QString chooseProjectToOpen(QWidget* parent);

// The file to save to, proposing `proposed` (a name without a folder opens
// the dialog in the current folder). The extension ".raz" is added to a name
// typed without one. A file that exists is replaced only when the user
// confirms it (askToReplace); "No" shows the dialog again. Empty when the
// user cancels.
QString chooseProjectToSave(QWidget* parent, const QString& proposed);

}  // namespace vintaler
