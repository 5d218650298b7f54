// The plate in the project window: entered in the construction dialog,
// developed in every picture and page, kept in the project file; the page of
// figures for marking out, and the accuracy warning.
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "TestHost.h"
#include "fishApi/texts/FiguresText.h"
#include "fishApi/texts/FishTexts.h"
#include "fishApi/files/ProjectFile.h"
#include "support/GuiTestSupport.h"
#include "textPage/TTextPage.h"
#include "worksheet/ProParams/TProParamsForm.h"
#include "worksheet/ProParams/TSpinEdit.h"
#include "worksheet/TWorkForm.h"

namespace {

class WarningHost : public TestHost {
 public:
  QStringList warnings;
  void showWarning(const QWidget*, const QString& text) override { warnings << text; }
};

QString joined(const fish::TResultsPage& page) {
  QStringList lines;
  for (const std::string& l : page.Lines) lines << QString::fromStdString(l);
  return lines.join('\n');
}

// Runs the construction dialog with `edit` applied to it, then OK pressed.
// Returns whether OK closed it.
bool runDialog(TWorkForm& form, const std::function<void(TProParamsForm&)>& edit) {
  bool closed = false;
  vintaler::setModalRunner([&](QDialog& d) {
    auto& dialog = dynamic_cast<TProParamsForm&>(d);
    edit(dialog);
    dialog.BitBtn1->click();
    closed = dialog.result() == QDialog::Accepted;
    return dialog.result();
  });
  form.ShowProParamsAction->trigger();
  return closed;
}

void choose(QComboBox* box, int code) { box->setCurrentIndex(box->findData(code)); }

}  // namespace

class PlateFiguresTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;
  QStringList& errors_ = recorder_.messages;
  QTemporaryDir dir_;

 private slots:
  void init() { recorder_.Reset(); }

  void refusedPlatesKeepTheDialogOpenAndTheProject_data() {
    QTest::addColumn<QString>("thickness");
    QTest::addColumn<int>("rectFaces");
    QTest::addColumn<int>("material");
    QTest::addColumn<QString>("density");
    const int mean = int(fish::TFaces::Mean), outside = int(fish::TFaces::Outside);
    const int other = int(fish::TMaterial::Other);
    QTest::newRow("negative thickness") << "-1" << mean << other << "7850";
    QTest::newRow("thickness no number") << "2мм" << mean << other << "7850";
    QTest::newRow("no neutral surface") << "100" << outside << other << "7850";
    QTest::newRow("density of zero") << "2" << mean << other << "0";
    QTest::newRow("negative density") << "2" << mean << other << "-1";
  }

  void refusedPlatesKeepTheDialogOpenAndTheProject() {
    QFETCH(QString, thickness);
    QFETCH(int, rectFaces);
    QFETCH(int, material);
    QFETCH(QString, density);
    TWorkForm form(nullptr);
    const bool closed = runDialog(form, [&](TProParamsForm& dialog) {
      dialog.RxSpinEdit1->setValue(20);
      dialog.ThicknessEdit->setText(thickness);
      choose(dialog.RectFacesBox, rectFaces);
      choose(dialog.MaterialBox, material);
      dialog.DensityEdit->setText(density);
    });
    QVERIFY2(!closed, "the dialog stays open for a correction");
    QCOMPARE(errors_.size(), 1);
    QVERIFY(!errors_[0].isEmpty());
    QCOMPARE(form.ProParams.Divisions, 10);
    QVERIFY(fish::isDefaultPlate(form.Plate));
  }

  void anAcceptedPlateDevelopsEveryPageAndTravelsInTheFile() {
    WarningHost host;
    TWorkForm form(&host);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(runDialog(form, [](TProParamsForm& dialog) {
      QVERIFY(!dialog.DensityEdit->isEnabled());
      dialog.ThicknessEdit->setText("2");
      choose(dialog.RectFacesBox, int(fish::TFaces::Inside));
      choose(dialog.MaterialBox, int(fish::TMaterial::Aluminium));
      QCOMPARE(dialog.DensityEdit->text(), QStringLiteral("2700"));
    }));
    QCOMPARE(form.Plate.Thickness, 2.0L);
    QCOMPARE(form.Plate.RectFaces, fish::TFaces::Inside);
    QCOMPARE(form.Plate.Density, 2700.0L);

    form.ShowResult->trigger();
    QCOMPARE(form.Memo1->toPlainText(), joined(fish::resultsPage(form.SystemParams, form.ProParams, ".", form.Plate)));
    form.ShowFigures->trigger();
    QCOMPARE(form.activePage(), vintaler::Page::Figures);
    QVERIFY(form.ShowFigures->isChecked());
    QCOMPARE(form.Memo2->toPlainText(), joined(fish::figuresPage(form.SystemParams, form.ProParams, form.Plate, form.Cutting.Pattern, ".")));
    QVERIFY(form.Memo2->toPlainText().contains(QStringLiteral("(XxY)=102x102")));
    // Selected and copied like the results page.
    QGuiApplication::clipboard()->clear();
    form.SelectAll->trigger();
    form.Copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), form.Memo2->toPlainText());

    const QString file = dir_.filePath("plate.raz");
    form.SaveProject(file);
    QCOMPARE(QFileInfo(file).size(), 276);
    TWorkForm reopened(&host);
    reopened.LoadProject(file);
    QCOMPARE(reopened.Plate.Thickness, 2.0L);
    QCOMPARE(reopened.Plate.Material, fish::TMaterial::Aluminium);
    QVERIFY2(host.hint.isEmpty(), "a sound block says nothing");
  }

  void aDamagedBlockOpensWithTheDefaultPlateAndSaysSo() {
    const QString file = dir_.filePath("damaged.raz");
    fish::TProjectData p = fish::newProjectData();
    p.SystemParams.R = 40;
    p.Plate.Thickness = 3;
    fish::writeProjectFile(file.toStdString(), p);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(250);
    f.write("\x7f", 1);
    f.close();

    TestHost host;
    TWorkForm form(&host);
    form.LoadProject(file);
    QCOMPARE(form.SystemParams.R, 40.0L);
    QVERIFY(fish::isDefaultPlate(form.Plate));
    QVERIFY2(host.hint.contains(QStringLiteral("повреждены")), qPrintable(host.hint));
    QVERIFY(errors_.isEmpty());
  }

  // The warning is that of the pattern chosen for cutting: the precise one's
  // chords, then the tables' points once the dialog chooses them; taken back
  // at a count where the chosen pattern is accurate.
  void theStatusBarWarnsWhileThePatternIsInaccurate() {
    WarningHost host;
    TWorkForm form(&host);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(host.warnings.isEmpty());  // the default project is accurate: nothing said
    form.ProParams.Divisions = 2;
    form.redraw(false);
    QTRY_COMPARE(host.warnings.size(), 1);
    QVERIFY2(host.warnings.last().contains(QStringLiteral("хорды точной развертки")), qPrintable(host.warnings.last()));
    QCOMPARE(form.accuracyWarning(), host.warnings.last());
    QVERIFY(runDialog(form, [](TProParamsForm& dialog) { dialog.TableRadio->click(); }));
    QTRY_COMPARE(host.warnings.size(), 2);
    QVERIFY2(host.warnings.last().contains(QStringLiteral("развертка по таблицам")), qPrintable(host.warnings.last()));
    form.ProParams.Divisions = 10;
    form.redraw(false);
    QTRY_COMPARE(host.warnings.size(), 3);
    QVERIFY2(host.warnings.last().isEmpty(), "taken back once accurate again");
  }

  // The pattern for cutting chosen in the dialog: the window takes it, marks
  // the project modified, measures the figures on it, and the file brings it
  // back to the dialog of the reopened window.
  void theCuttingChoiceTravelsFromTheDialogToTheFileAndBack() {
    TWorkForm form(nullptr);
    const QString file = dir_.filePath("cutting.raz");
    form.SaveProject(file);
    form.ShowFigures->trigger();
    const QString line = QStringLiteral("Развертка для раскроя: ");
    QVERIFY(form.Memo2->toPlainText().contains(line + QStringLiteral("точная")));
    QVERIFY(runDialog(form, [](TProParamsForm& dialog) {
      QVERIFY(dialog.PreciseRadio->isChecked());
      dialog.TableRadio->click();
    }));
    QCOMPARE(form.Cutting.Pattern, fish::TPatternKind::Table);
    QVERIFY(form.isWindowModified());
    QVERIFY(form.Memo2->toPlainText().contains(line + QStringLiteral("по таблицам")));
    form.SaveProject(file);

    TWorkForm reopened(nullptr);
    reopened.LoadProject(file);
    bool shown = false;
    QVERIFY(runDialog(reopened, [&](TProParamsForm& dialog) { shown = dialog.TableRadio->isChecked(); }));
    QVERIFY(shown);
    QVERIFY2(!reopened.isWindowModified(), "the choice it opened with changes nothing");
    QCOMPARE(reopened.Cutting.Pattern, fish::TPatternKind::Table);
  }
};

QTEST_MAIN(PlateFiguresTest)
#include "PlateFiguresTest.moc"
