// The program's general error handler: a failed command ends there, and its
// message is shown to the user once, in a message box.
#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

class QWidget;

namespace vintaler {

// A command that cannot be done as the user asked it (no printer, a bound
// that is not a number). Its message is shown as it stands.
class ECommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  explicit ECommandError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Shows `message` in a modal message box over `parent` (or passes it to the
// handler installed below).
void reportError(QWidget* parent, const QString& message);

// Replaces the message box, e.g. by a recorder in tests; an empty function
// restores the box.
void setErrorHandler(std::function<void(QWidget*, const QString&)> handler);

// Runs a user command. The failures a command may meet (the engine's, the
// project file's, a command refused) are reported with their own message.
// Running out of memory and a fault of the program itself are reported too,
// saying what they are: the command ends, the program and its other projects
// go on.
void runCommand(QWidget* parent, const std::function<void()>& command);

// The message shown for an exception that ends a command.
QString errorMessage(const std::exception& e);

}  // namespace vintaler
