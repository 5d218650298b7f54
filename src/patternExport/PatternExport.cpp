#include "PatternExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>

#include "appcore/ModalDialogs.h"
#include "dxfExport/PatternDxf.h"
#include "fishApi/shop/PatternWalk.h"
#include "fishApi/files/SafeFile.h"
#include "fishApi/shop/TileLayout.h"
#include "patternPaint/PatternPaint.h"

namespace vintaler::exporting {

namespace {

const QString kFolderKey = QStringLiteral("Export/Folder");
const QString kPaperKey = QStringLiteral("Export/Paper");

// More sheets than this are printed only when the user confirms it.
constexpr std::size_t kAskAboveSheets = 50;

// The CUPS job options of a printer (Qt's key for them in the print engine).
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

struct FormatInfo {
  QString suffix;
  QString filter;
  QString caption;
};

FormatInfo infoOf(Format format) {
  switch (format) {
    case Format::Dxf:
      return {QStringLiteral("dxf"), QCoreApplication::translate("PatternExport", "Чертежи DXF (*.dxf);;Все файлы (*)"),
              QCoreApplication::translate("PatternExport", "Экспорт в DXF")};
    case Format::Svg:
      return {QStringLiteral("svg"), QCoreApplication::translate("PatternExport", "Рисунки SVG (*.svg);;Все файлы (*)"),
              QCoreApplication::translate("PatternExport", "Экспорт в SVG")};
    case Format::Pdf: break;
  }
  return {QStringLiteral("pdf"), QCoreApplication::translate("PatternExport", "Документы PDF (*.pdf);;Все файлы (*)"),
          QCoreApplication::translate("PatternExport", "PDF в натуральную величину")};
}

QString baseName(const Source& source) { return QFileInfo(source.projectFileName).completeBaseName(); }

paint::Title titleOf(const Source& source) { return {baseName(source), source.sp, source.pro.Divisions, source.plate}; }

std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Whatever the print dialog offered, the job prints one page per sheet and
// does not fit it to the paper.
void keepFullScale(QPrinter& printer) {
  printer.setFullPage(true);
  if (printer.outputFormat() != QPrinter::NativeFormat) return;
  QStringList options = printer.printEngine()->property(kCupsOptions).toStringList();
  QStringList kept;
  for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
    const QString& key = options[i];
    if (key == QLatin1String("number-up") || key == QLatin1String("fit-to-page") || key == QLatin1String("scaling") ||
        key == QLatin1String("print-scaling")) {
      continue;
    }
    kept << key << options[i + 1];
  }
  kept << QStringLiteral("number-up") << QStringLiteral("1") << QStringLiteral("fit-to-page") << QStringLiteral("false")
       << QStringLiteral("print-scaling") << QStringLiteral("none");
  printer.printEngine()->setProperty(kCupsOptions, kept);
}

// "492 листа A4 — печатать?": a long job is printed only when confirmed.
bool confirmSheets(QWidget* parent, const fish::TTileLayout& layout, const QString& paper) {
  QMessageBox ask(QMessageBox::Question, QCoreApplication::translate("PatternExport", "Печать в натуральную величину"),
                  QCoreApplication::translate("PatternExport", "%1 %2 — печатать?")
                      .arg(QString::fromStdString(fish::sheetCountText(static_cast<long long>(layout.Tiles.size()))),
                           paper),
                  QMessageBox::Yes | QMessageBox::No, parent);
  ask.setDefaultButton(QMessageBox::No);
  return runModal(ask) == QMessageBox::Yes;
}

}  // namespace

QString exportFolder() { return QSettings().value(kFolderKey, QDir::currentPath()).toString(); }

QString proposedFileName(const Source& source, Format format) {
  return QDir(exportFolder()).filePath(baseName(source) + QLatin1Char('.') + infoOf(format).suffix);
}

bool exportPattern(QWidget* parent, const Source& source, Format format, bool& crossing) {
  const FormatInfo info = infoOf(format);
  QFileDialog dialog(parent, info.caption);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(info.filter);
  dialog.setDefaultSuffix(info.suffix);
  dialog.setDirectory(exportFolder());
  dialog.selectFile(QFileInfo(proposedFileName(source, format)).fileName());
  if (runModal(dialog) != QDialog::Accepted) return false;
  const QString path = dialog.selectedFiles().value(0);
  if (path.isEmpty()) return false;
  QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());

  // Walked as it is written, never held whole.
  const fish::TPatternWalk walk(source.sp, source.plate, source.pro, source.cutting);
  crossing = walk.crossing();
  switch (format) {
    case Format::Dxf: dxf::writePatternDxf(nativePath(path), walk); break;
    case Format::Svg: paint::savePatternSvg(nativePath(path), walk, titleOf(source)); break;
    case Format::Pdf: paint::savePatternPdf(nativePath(path), walk, titleOf(source)); break;
  }
  return true;
}

bool printFullSize(QWidget* parent, const Source& source, bool& crossing) {
  QInputDialog ask(parent);
  ask.setWindowTitle(QCoreApplication::translate("PatternExport", "Печать в натуральную величину"));
  ask.setLabelText(QCoreApplication::translate("PatternExport", "Бумага:"));
  ask.setComboBoxItems({QStringLiteral("A4"), QStringLiteral("A3"), QStringLiteral("Letter")});
  ask.setComboBoxEditable(false);
  ask.setTextValue(QSettings().value(kPaperKey, QStringLiteral("A4")).toString());
  if (runModal(ask) != QDialog::Accepted) return false;
  fish::TPaper paper = fish::TPaper::A4;
  if (!fish::paperFromName(ask.textValue().toStdString(), paper)) return false;
  QSettings().setValue(kPaperKey, ask.textValue());

  const fish::TPatternWalk walk(source.sp, source.plate, source.pro, source.cutting);
  const fish::TTileLayout layout = fish::tileLayout(walk, paper);
  crossing = walk.crossing();
  if (layout.Tiles.size() > kAskAboveSheets && !confirmSheets(parent, layout, ask.textValue())) return false;
  const paint::Title title = titleOf(source);

  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(title.project);
  printer.setFullPage(true);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(
      QCoreApplication::translate("PatternExport", "Печать в натуральную величину — 100 %, листов %1 (+ схема)")
          .arg(layout.Tiles.size()));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
    keepFullScale(*target);
    paint::paintTiles(*target, walk, layout, title);
  });
  runModal(preview);
  return true;
}

}  // namespace vintaler::exporting
