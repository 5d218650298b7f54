#include <QApplication>
#include <QCommandLineParser>

#include "TForm1.h"
#include "main/CommandLine.h"
#include "main/LanguageChoice.h"

int main(int argc, char** argv) {
  // The help text and the version are printed on the terminal, and need no
  // display: the parser prints them and ends the program.
  if (vintaler::asksOnlyForInformation(argc, argv)) {
    QCoreApplication app(argc, argv);
    vintaler::setApplicationNames();
    QCommandLineParser parser;
    vintaler::describeCommandLine(parser);
    parser.process(app);
    return 0;
  }
  QApplication app(argc, argv);
  vintaler::setApplicationNames();
  QCommandLineParser parser;
  vintaler::describeCommandLine(parser);
  parser.process(app);
  // The language chosen last, or the system's: Qt's own dialogs (file,
  // print, font, message-box buttons) speak it too.
  vintaler::applyLanguage(vintaler::startLanguage());
  TForm1 form;
  form.show();
  form.openProjects(vintaler::commandLineProjects(QCoreApplication::arguments()));
  return app.exec();
}
