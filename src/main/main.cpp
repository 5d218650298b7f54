#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

#include "TForm1.h"
#include "main/CommandLine.h"

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
  // The program speaks Russian: so do Qt's own dialogs (file, font, buttons).
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  TForm1 form;
  form.show();
  form.openProjects(vintaler::commandLineProjects(QCoreApplication::arguments()));
  return app.exec();
}
