// Shared set-up of the GUI tests: messages the program would show in message
// boxes are recorded instead, every modal dialog goes back to its own loop
// unless a test drives it, and every test starts with empty settings, so a
// program passes run whole as well as one function at a time. Run them with
// a private XDG_CONFIG_HOME, as ctest does.
#pragma once

#include <QImage>
#include <QLocale>
#include <QSettings>
#include <QStringList>

#include "appcore/ErrorReport.h"
#include "appcore/ModalDialogs.h"

class MessageRecorder {
 public:
  QStringList messages;

  MessageRecorder() {
    QLocale::setDefault(QLocale::c());
    vintaler::setErrorHandler([this](QWidget*, const QString& m) { messages << m; });
  }
  ~MessageRecorder() { vintaler::setErrorHandler({}); }

  // Before each test: no messages yet, no dialog driver, no settings (the
  // recent projects, the window's place, the export folder).
  void Reset() {
    messages.clear();
    vintaler::setModalRunner({});
    QSettings().clear();
  }
};

// How many pixels of `image` have exactly `colour`.
inline int CountColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  }
  return n;
}
