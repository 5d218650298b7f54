// The project window's exports driven through the dialog seam: the file
// chosen is written whole, in its format; a cancel or a failure writes
// nothing; the full-size print shows every sheet in a preview that says
// 100 %.
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "fishApi/shop/FlatPattern.h"
#include "fishApi/shop/TileLayout.h"
#include "patternExport/PatternExport.h"
#include "support/GuiTestSupport.h"
#include "worksheet/ProjectExport.h"
#include "worksheet/TWorkForm.h"
#include "worksheet/TestHost.h"

using vintaler::exporting::Format;

Q_DECLARE_METATYPE(fish::TPatternKind)

namespace {

vintaler::exporting::Source source(std::array<fish::ByteBool, 4> quadrants, std::int32_t divisions = 10) {
  fish::TProParams pro = fish::defaultProParams();
  pro.Quadrants = quadrants;
  pro.Divisions = divisions;
  return {fish::defaultSystemParams(), pro, QStringLiteral("/somewhere/Воздуховод 3.raz"), fish::TPlateParams{},
          fish::TCuttingParams{fish::TPatternKind::Table}};
}

QByteArray contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class PatternExportTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;
  QTemporaryDir dir_;

 private slots:
  void init() {
    recorder_.Reset();
    QSettings().remove(QStringLiteral("Export"));
  }

  void exportsWriteTheChosenFile_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("typed");      // the name typed into the dialog ("" cancels)
    QTest::addColumn<QString>("written");    // the file expected afterwards ("" none)
    QTest::addColumn<QByteArray>("starts");  // how a sound file of the format begins
    QTest::addRow("dxf") << int(Format::Dxf) << "pattern"
                         << "pattern.dxf" << QByteArray("999\ndxflib");
    QTest::addRow("svg") << int(Format::Svg) << "pattern.svg"
                         << "pattern.svg" << QByteArray("<?xml");
    QTest::addRow("pdf") << int(Format::Pdf) << "full"
                         << "full.pdf" << QByteArray("%PDF");
    QTest::addRow("cancelled") << int(Format::Dxf) << ""
                               << "" << QByteArray();
  }

  void exportsWriteTheChosenFile() {
    QFETCH(int, format);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, starts);
    QString proposed;
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<QFileDialog&>(d);
      proposed = dialog.selectedFiles().value(0);
      if (typed.isEmpty()) return int(QDialog::Rejected);
      dialog.setDirectory(dir_.path());
      dialog.selectFile(typed);
      return int(QDialog::Accepted);
    });
    bool crossing = true;
    const bool done = vintaler::exporting::exportPattern(nullptr, source({1, 1, 0, 0}), Format(format), crossing);
    QCOMPARE(done, !typed.isEmpty());
    QVERIFY2(QFileInfo(proposed).fileName().startsWith(QStringLiteral("Воздуховод 3.")), qPrintable(proposed));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
             written.isEmpty() ? QStringList() : QStringList{written});
    if (!written.isEmpty()) {
      QVERIFY(contents(dir_.filePath(written)).startsWith(starts));
      QVERIFY(!crossing);
      QCOMPARE(vintaler::exporting::exportFolder(), dir_.path());
      QCOMPARE(vintaler::exporting::proposedFileName(source({1, 0, 0, 0}), Format::Svg),
               dir_.filePath(QStringLiteral("Воздуховод 3.svg")));
      QFile::remove(dir_.filePath(written));
    }
  }

  void failuresWriteNothing_data() {
    QTest::addColumn<int>("divisions");
    QTest::addColumn<bool>("anyQuadrant");
    QTest::addColumn<QString>("message");
    QTest::addRow("no quadrant") << 10 << false << "Не выбран ни один квадрант";
    QTest::addRow("engine failure") << 0 << true << "Floating point division by zero";
  }

  void failuresWriteNothing() {
    QFETCH(int, divisions);
    QFETCH(bool, anyQuadrant);
    QFETCH(QString, message);
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<QFileDialog&>(d);
      dialog.setDirectory(dir_.path());
      dialog.selectFile(QStringLiteral("never.dxf"));
      return int(QDialog::Accepted);
    });
    bool crossing = false;
    const std::array<fish::ByteBool, 4> quadrants =
        anyQuadrant ? std::array<fish::ByteBool, 4>{1, 0, 0, 0} : std::array<fish::ByteBool, 4>{0, 0, 0, 0};
    try {
      vintaler::exporting::exportPattern(nullptr, source(quadrants, divisions), Format::Dxf, crossing);
      QFAIL("the export went through");
    } catch (const fish::EFishError& e) {
      QVERIFY2(QString::fromUtf8(e.what()).contains(message), e.what());
    }
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("never.dxf"))));
  }

  void fullSizePrintPreviewsEverySheetAtOneHundredPercent_data() {
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("divisions");
    QTest::addRow("A4") << "A4" << 10;
    QTest::addRow("A3") << "A3" << 40;
    QTest::addRow("Letter") << "Letter" << 10;
  }

  void fullSizePrintPreviewsEverySheetAtOneHundredPercent() {
    QFETCH(QString, paper);
    QFETCH(int, divisions);
    const vintaler::exporting::Source s = source({1, 1, 1, 1}, divisions);
    fish::TPaper expectedPaper = fish::TPaper::A4;
    QVERIFY(fish::paperFromName(paper.toStdString(), expectedPaper));
    const fish::TTileLayout layout = fish::tileLayout(fish::flatPattern(s.sp, s.pro, fish::TPatternKind::Table), expectedPaper);
    QString title;
    int pages = -1;
    vintaler::setModalRunner([&](QDialog& d) {
      if (auto* ask = qobject_cast<QInputDialog*>(&d)) {
        ask->setTextValue(paper);
        return int(QDialog::Accepted);
      }
      title = d.windowTitle();
      if (auto* view = d.findChild<QPrintPreviewWidget*>()) {
        view->updatePreview();
        pages = view->pageCount();
      }
      return int(QDialog::Rejected);
    });
    bool crossing = true;
    QVERIFY(vintaler::exporting::printFullSize(nullptr, s, crossing));
    QVERIFY2(title.contains(QStringLiteral("100 %")), qPrintable(title));
    QCOMPARE(pages, static_cast<int>(layout.Tiles.size()) + 1);
    QVERIFY(!crossing);
  }

  // A job of more than 50 sheets asks first, naming the count in the right
  // form; "No" ends it before the preview.
  void longJobsAskFirst() {
    vintaler::exporting::Source s = source({1, 1, 1, 1});
    s.sp.B = s.sp.A = 2000;
    const std::size_t sheets = fish::tileLayout(fish::flatPattern(s.sp, s.pro, fish::TPatternKind::Table), fish::TPaper::A4).Tiles.size();
    QVERIFY(sheets > 50);
    for (const bool yes : {true, false}) {
      QStringList asked;
      vintaler::setModalRunner([&](QDialog& d) {
        if (auto* box = qobject_cast<QMessageBox*>(&d)) asked << box->text();
        if (auto* paper = qobject_cast<QInputDialog*>(&d)) paper->setTextValue(QStringLiteral("A4"));
        return qobject_cast<QMessageBox*>(&d) ? int(yes ? QMessageBox::Yes : QMessageBox::No) : int(QDialog::Accepted);
      });
      bool crossing = true;
      QCOMPARE(vintaler::exporting::printFullSize(nullptr, s, crossing), yes);
      QCOMPARE(asked, QStringList{QString::fromStdString(fish::sheetCountText(static_cast<long long>(sheets))) +
                                  QStringLiteral(" A4 — печатать?")});
    }
  }

  // The project window's commands export its own records, in the pattern
  // the window chose for cutting; a sheet whose outline crosses itself is
  // still written, and the status bar says so. The crossing piece's outline
  // crosses only as the tables round it: developed precisely it is sound.
  void projectWindowCommands_data() {
    QTest::addColumn<bool>("skewed");
    QTest::addColumn<fish::TPatternKind>("pattern");
    QTest::addColumn<bool>("crossing");
    QTest::addRow("sound pattern") << false << fish::TPatternKind::Precise << false;
    QTest::addRow("tables' outline crosses itself") << true << fish::TPatternKind::Table << true;
    QTest::addRow("the same piece precisely") << true << fish::TPatternKind::Precise << false;
  }

  void projectWindowCommands() {
    QFETCH(bool, skewed);
    QFETCH(fish::TPatternKind, pattern);
    QFETCH(bool, crossing);
    TestHost host;
    TWorkForm form(&host);
    form.ProParams.Quadrants = {1, 1, 1, 1};
    form.Cutting.Pattern = pattern;
    if (skewed) {
      // A small rectangle far from a tiny, very close circle.
      form.SystemParams.B = 11.811842356989597;
      form.SystemParams.A = 105.04024313951854;
      form.SystemParams.L = 2.4762392587574928;
      form.SystemParams.R = 2.9250672711731642;
      form.SystemParams.X1 = 2261.4047741697946;
      form.SystemParams.Y1 = -53.759098106117342;
    }
    QVERIFY(form.PopupMenu1->actions().contains(form.ExportMenu->menuAction()));
    QVERIFY(form.ExportMenu->actions().contains(form.PrintFullSize));
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<QFileDialog&>(d);
      dialog.setDirectory(dir_.path());
      dialog.selectFile(QStringLiteral("from-window"));
      return int(QDialog::Accepted);
    });
    form.ExportDxf->trigger();
    QVERIFY(recorder_.messages.isEmpty());
    QVERIFY(contents(dir_.filePath(QStringLiteral("from-window.dxf"))).contains("LABELS"));
    QCOMPARE(host.hint == QString::fromUtf8(vintaler::kCrossingWarning), crossing);
    QFile::remove(dir_.filePath(QStringLiteral("from-window.dxf")));

    form.ProParams.Divisions = 0;  // an engine failure is reported, nothing written
    form.ExportSvg->trigger();
    QCOMPARE(recorder_.messages, QStringList{"Floating point division by zero"});
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("from-window.svg"))));
  }
};

QTEST_MAIN(PatternExportTest)
#include "PatternExportTest.moc"
