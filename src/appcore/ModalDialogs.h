// Every modal dialog of the program runs through here, so that it can be
// driven without a person: tests install a runner that fills the dialog's
// controls and answers with a result instead of waiting for input.
#pragma once

#include <functional>

class QDialog;
class QSize;
class QString;

namespace vintaler {

// Runs `dialog` modally and returns its result (QDialog::Accepted or Rejected).
int runModal(QDialog& dialog);

// Shows `dialog` without blocking the other windows and waits, handling the
// application's events, until it is finished, deleted (Rejected) or the
// application quits.
int runModeless(QDialog& dialog);

// Makes `dialog` a small fixed tool window with `title` and a client area of
// `size`. Its controls stand at fixed places, so it gets a small font, 11
// pixels high, that keeps every caption inside them.
void setUpToolDialog(QDialog& dialog, const QString& title, const QSize& size);

// Replaces the runner of both; an empty function restores the real dialogs.
void setModalRunner(std::function<int(QDialog&)> runner);

}  // namespace vintaler
