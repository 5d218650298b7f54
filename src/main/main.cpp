#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "TForm1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vintaler::setApplicationNames();
  // The program speaks Russian: so do Qt's own dialogs (file, font, buttons).
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  TForm1 form;
  form.show();
  return app.exec();
}
