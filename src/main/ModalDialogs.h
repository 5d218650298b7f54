// Every modal dialog of the program runs through here, so that it can be
// driven without a person: tests install a runner that fills the dialog's
// controls and answers with a result instead of waiting for input.
#pragma once

#include <functional>

class QDialog;

namespace vintaler {

// Runs `dialog` modally and returns its result (QDialog::Accepted or Rejected).
int RunModal(QDialog& dialog);

// Replaces the runner; an empty function restores QDialog::exec.
void SetModalRunner(std::function<int(QDialog&)> runner);

}  // namespace vintaler
