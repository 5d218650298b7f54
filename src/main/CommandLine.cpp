#include "CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <cstring>

namespace vintaler {

void describeCommandLine(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("Computes and draws the flat pattern of a sheet-metal transition piece that joins a\n"
                     "rectangular duct section to a round one. Each project file named is opened in a\n"
                     "window of its own."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE.raz"), QStringLiteral("Project files to open."),
                               QStringLiteral("[FILE.raz...]"));
}

bool asksOnlyForInformation(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--") == 0) return false;  // file names follow
    for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
      if (std::strcmp(a, option) == 0) return true;
    }
  }
  return false;
}

QStringList commandLineProjects(const QStringList& arguments) {
  QCommandLineParser parser;
  describeCommandLine(parser);
  parser.parse(arguments);
  QStringList files;
  for (const QString& name : parser.positionalArguments()) files << QFileInfo(name).absoluteFilePath();
  return files;
}

QStringList droppedProjects(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString name = url.toLocalFile();
    if (name.endsWith(QStringLiteral(".raz"), Qt::CaseInsensitive)) files << name;
  }
  return files;
}

}  // namespace vintaler
