#include "PaintedModule.h"

#include <QGuiApplication>
#include <QtGlobal>
#include <cstdio>
#include <memory>

#include "language/Language.h"
#include "patternPaint/PatternPaint.h"

namespace {

std::unique_ptr<QGuiApplication> application;
int applicationArgc = 1;
char* applicationArgv[] = {nullptr, nullptr};

vintaler::paint::Title titleOf(const vintaler::cli::PatternTitle& t) {
  return {QString::fromStdString(t.project), t.sp, t.divisions, t.plate};
}

// Qt's notes on the machine it runs on (no XDG_RUNTIME_DIR, a font it had to
// replace) are not the tool's to report, and a script reading standard error
// would take them for failures. Only what ends the painting is said.
void qtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtCriticalMsg && type != QtFatalMsg) return;
  std::fprintf(stderr, "vintaler-cli: Qt: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void vintalerOpenPaintedExports(
    vintaler::cli::PaintedExports& painted, char* programName, const char* language) {
  // Painting needs Qt's fonts, so a GUI application object, but no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(qtMessage);
  applicationArgv[0] = programName;
  application = std::make_unique<QGuiApplication>(applicationArgc, applicationArgv);
  // The module holds its own engine and translations: it is told the
  // program's language rather than finding it again.
  vintaler::applyLanguage(vintaler::languageFromCode(language ? language : "").value_or(vintaler::TLanguage::Russian));
  painted.svg = [](const std::string& path, const fish::TPatternWalk& p, const vintaler::cli::PatternTitle& t) {
    vintaler::paint::savePatternSvg(path, p, titleOf(t));
  };
  painted.pdf = [](const std::string& path, const fish::TPatternWalk& p, const vintaler::cli::PatternTitle& t) {
    vintaler::paint::savePatternPdf(path, p, titleOf(t));
  };
  painted.tiles = [](const std::string& path, const fish::TPatternWalk& p, const fish::TTileLayout& l,
                     const vintaler::cli::PatternTitle& t) { vintaler::paint::saveTilesPdf(path, p, l, titleOf(t)); };
}

extern "C" __attribute__((visibility("default"))) void vintalerClosePaintedExports() { application.reset(); }
