// The program's general error handler: a failed command ends there, and its
// message is shown to the user once, in a message box.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vintaler {

// Shows `message` in a modal message box over `parent` (or passes it to the
// handler installed below).
void reportError(QWidget* parent, const QString& message);

// Replaces the message box, e.g. by a recorder in tests; an empty function
// restores the box.
void setErrorHandler(std::function<void(QWidget*, const QString&)> handler);

// Runs a user command; an exception it throws is reported with reportError
// and goes no further.
void runCommand(QWidget* parent, const std::function<void()>& command);

// The text of the exception being handled (call inside a catch block).
QString currentExceptionMessage();

}  // namespace vintaler
