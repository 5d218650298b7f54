#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "CliApp.h"

#ifdef VINTALER_PAINTED_EXPORTS
#include <QGuiApplication>
#include <optional>

#include "patternPaint/PatternPaint.h"

namespace {

// Painting needs Qt's fonts, so a GUI application object, but no display:
// off screen unless the user chose a platform. Made only when a drawing is
// asked for, and taken down before the program's static objects.
bool paintsSomething(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    for (const char* option : {"--svg", "--pdf", "--tiles"}) {
      if (a.rfind(option, 0) == 0) return true;
    }
  }
  return false;
}

vintaler::paint::Title titleOf(const vintaler::cli::PatternTitle& t) {
  return {QString::fromStdString(t.project), t.sp, t.divisions, t.plate};
}

std::string bytes(const QByteArray& data) { return data.toStdString(); }

vintaler::cli::PaintedExports paintedExports() {
  vintaler::cli::PaintedExports painted;
  painted.svg = [](const fish::TFlatPattern& p, const vintaler::cli::PatternTitle& t) {
    return bytes(vintaler::paint::patternSvg(p, titleOf(t)));
  };
  painted.pdf = [](const fish::TFlatPattern& p, const vintaler::cli::PatternTitle& t) {
    return bytes(vintaler::paint::patternPdf(p, titleOf(t)));
  };
  painted.tiles = [](const fish::TFlatPattern& p, const fish::TTileLayout& l, const vintaler::cli::PatternTitle& t) {
    return bytes(vintaler::paint::tilesPdf(p, l, titleOf(t)));
  };
  return painted;
}

}  // namespace
#else
namespace {
vintaler::cli::PaintedExports paintedExports() { return {}; }
}  // namespace
#endif

int main(int argc, char** argv) {
  // The user's locale decides the decimal separator of what is typed and printed.
  std::setlocale(LC_ALL, "");
  const std::string separator = std::localeconv()->decimal_point;
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef VINTALER_PAINTED_EXPORTS
  std::optional<QGuiApplication> app;
  int appArgc = 1;
  if (paintsSomething(args)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app.emplace(appArgc, argv);
  }
#endif
  return vintaler::cli::runCli(args, std::cout, std::cerr, separator, paintedExports());
}
