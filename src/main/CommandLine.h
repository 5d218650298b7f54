// The command line of the program: project files to open, --help and
// --version.
#pragma once

#include <QStringList>

class QCommandLineParser;
class QMimeData;

namespace vintaler {

// The options and arguments the program takes, with its description.
void describeCommandLine(QCommandLineParser& parser);

// Whether the arguments (program name first) ask only for the help text or
// the version: those are answered on the terminal, without a display.
bool asksOnlyForInformation(int argc, const char* const* argv);

// The project files named on the command line (arguments with the program's
// name first), made absolute against the current folder, in their order.
QStringList commandLineProjects(const QStringList& arguments);

// The project files (*.raz) among dropped data: local files only, in their
// order; anything else is left out.
QStringList droppedProjects(const QMimeData* data);

}  // namespace vintaler
