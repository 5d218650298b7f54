#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <bit>

#include "cutting/TCuttingDialog.h"
#include "appcore/LocaleNumbers.h"
#include "cutting/TPatternPicture.h"
#include "fishApi/files/ProjectFile.h"
#include "patternExport/PatternExport.h"
#include "support/GuiTestSupport.h"
#include "worksheet/TWorkForm.h"

namespace {

// The seams `seams` ticked in the dialog, and nothing else.
void tickSeams(vintaler::TCuttingDialog& dialog, unsigned seams) {
  for (std::size_t i = 0; i < dialog.SeamBoxes.size(); ++i) dialog.SeamBoxes[i]->setChecked(seams & (1u << i));
}

bool sameCutting(const fish::TCuttingParams& a, const fish::TCuttingParams& b) {
  return a.Pattern == b.Pattern && a.Seams == b.Seams && a.SeamFirst == b.SeamFirst && a.SeamSecond == b.SeamSecond &&
         a.RectAllowance == b.RectAllowance && a.RoundAllowance == b.RoundAllowance && a.BendMarks == b.BendMarks &&
         a.TickLength == b.TickLength && a.BendAngles == b.BendAngles && a.Units == b.Units;
}

}  // namespace

class CuttingDialogTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;

  // A project window with all four quadrants, whose seams give the pieces.
  static void allQuadrants(TWorkForm& form) { form.ProParams.Quadrants = {1, 1, 1, 1}; }

 private slots:
  void init() { recorder_.Reset(); }

  // Every seam set of the whole transition: the picture holds one piece a
  // seam, or says that a piece overlaps itself.
  void pictureHasAPieceASeam() {
    fish::TProParams pro = fish::defaultProParams();
    pro.Quadrants = {1, 1, 1, 1};
    vintaler::TCuttingDialog dialog([] { return vintaler::TCuttingDialog::Sizes{fish::defaultSystemParams(), {}}; }, pro);
    int laid = 0;
    for (unsigned seams = 1; seams < 256; ++seams) {
      tickSeams(dialog, seams);
      const auto& pattern = dialog.Picture->pattern();
      if (!pattern) {
        QVERIFY2(dialog.Picture->message().contains("накладывается сама на себя"), qPrintable(dialog.Picture->message()));
        continue;
      }
      ++laid;
      QCOMPARE(pattern->Pieces.size(), std::size_t(std::popcount(seams)));
    }
    QVERIFY(laid > 100);
    dialog.RectEdit->setText("x");
    QVERIFY(!dialog.Picture->pattern() && dialog.Picture->message().contains("прямоугольного"));
  }

  // OK: the window takes the values, marks itself modified, and they come
  // back from the saved project into another window and into the dialog.
  void valuesReachTheWindowAndTheProjectFile() {
    QTemporaryDir dir;
    TWorkForm form(nullptr);
    allQuadrants(form);
    vintaler::setModalRunner([](QDialog& d) {
      auto& dialog = dynamic_cast<vintaler::TCuttingDialog&>(d);
      dialog.TableRadio->setChecked(true);
      tickSeams(dialog, 0b00100010);  // c1, c3
      dialog.SeamFirstEdit->setText("3");
      dialog.SeamSecondEdit->setText("2.5");
      dialog.RectEdit->setText("10");
      dialog.RoundEdit->setText("0.5");
      dialog.OkButton->click();
      return dialog.result();
    });
    form.ShowCuttingAction->trigger();
    const fish::TCuttingParams expected{fish::TPatternKind::Table, 0b00100010, 3, 2.5L, 10, 0.5L};
    QVERIFY(sameCutting(form.Cutting, expected));
    QVERIFY(sameCutting(form.exportSource().cutting, expected));
    QVERIFY(form.isWindowModified());
    QVERIFY(recorder_.messages.isEmpty());

    const QString path = dir.filePath("cut.raz");
    form.SaveProject(path);
    TWorkForm reopened(nullptr);
    reopened.LoadProject(path);
    QVERIFY(sameCutting(reopened.Cutting, expected));
    bool shown = false;
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<vintaler::TCuttingDialog&>(d);
      dialog.OkButton->click();  // the values as loaded: accepted unchanged
      shown = dialog.TableRadio->isChecked() && dialog.SeamBoxes[1]->isChecked() && dialog.SeamBoxes[5]->isChecked() &&
              dialog.RoundEdit->text() == "0.5" && dialog.Picture->pattern()->Pieces.size() == 2;
      return dialog.result();
    });
    const auto bytes = fish::encodeProjectFile(reopened.projectData());
    reopened.ShowCuttingAction->trigger();
    QVERIFY(shown);
    QVERIFY(!reopened.isWindowModified());
    QCOMPARE(fish::encodeProjectFile(reopened.projectData()), bytes);
  }

  // Ticks 15 mm long and the angles: the length is typed only for ticks, the
  // picture shows two ticks a bend line, and the window takes both choices.
  void bendMarksAndAnglesReachTheWindow() {
    TWorkForm form(nullptr);
    allQuadrants(form);
    vintaler::setModalRunner([](QDialog& d) {
      auto& dialog = dynamic_cast<vintaler::TCuttingDialog&>(d);
      const std::size_t full = dialog.Picture->pattern()->BendLines.size();
      const bool enabledForFull = dialog.TickEdit->isEnabled();
      dialog.TicksRadio->setChecked(true);
      dialog.TickEdit->setText("15");
      dialog.AnglesBox->setChecked(true);
      if (enabledForFull || !dialog.TickEdit->isEnabled() || dialog.Picture->pattern()->BendLines.size() != 2 * full)
        return int(QDialog::Rejected);
      dialog.OkButton->click();
      return dialog.result();
    });
    form.ShowCuttingAction->trigger();
    QVERIFY(sameCutting(form.Cutting, {fish::TPatternKind::Precise, fish::kDefaultSeams, 0, 0, 0, 0,
                                       fish::TBendMarks::Ticks, 15, true}));
  }

  // Inches: the tick length at its default follows the unit, the captions
  // name it, and the window takes it; back to mm the project is the new
  // one's, byte for byte.
  void unitsFollowTheRadioPair() {
    TWorkForm form(nullptr);
    const auto plain = fish::encodeProjectFile(form.projectData());
    for (const bool inches : {true, false}) {
      vintaler::setModalRunner([inches](QDialog& d) {
        auto& dialog = dynamic_cast<vintaler::TCuttingDialog&>(d);
        (inches ? dialog.InchRadio : dialog.MmRadio)->setChecked(true);
        const QString tick = vintaler::numberToText(fish::defaultTickLength(inches ? fish::TUnits::Inches
                                                                                   : fish::TUnits::Millimetres));
        const auto boxes = dialog.findChildren<QGroupBox*>();
        const bool named = std::any_of(boxes.begin(), boxes.end(), [inches](const QGroupBox* box) {
          return box->title() == (inches ? "Припуски, дюймы" : "Припуски, мм");
        });
        if (dialog.TickEdit->text() != tick || !named) return 0;
        dialog.OkButton->click();
        return dialog.result();
      });
      form.ShowCuttingAction->trigger();
      fish::TCuttingParams expected;
      fish::setUnits(expected, inches ? fish::TUnits::Inches : fish::TUnits::Millimetres);
      QVERIFY(sameCutting(form.Cutting, expected));
      QCOMPARE(form.isWindowModified(), true);
    }
    QCOMPARE(fish::encodeProjectFile(form.projectData()), plain);
  }

  // A refused value keeps the dialog open with the focus on its control, and
  // the window's values as they were.
  void refusedValuesKeepTheDialogOpen() {
    TWorkForm form(nullptr);
    allQuadrants(form);
    using Dialog = vintaler::TCuttingDialog;
    const struct {
      const char* name;
      std::function<QWidget*(Dialog&)> edit;  // returns the control to correct
    } rows[] = {
        {"not a number", [](Dialog& d) { return d.RectEdit->setText("1..2"), d.RectEdit; }},
        {"negative", [](Dialog& d) { return d.RoundEdit->setText("-1"), d.RoundEdit; }},
        {"wider than the piece", [](Dialog& d) { return d.SeamSecondEdit->setText("1e5"), d.SeamSecondEdit; }},
        {"no seam", [](Dialog& d) { return tickSeams(d, 0), d.SeamBoxes[0]; }},
        {"tick length 0", [](Dialog& d) { return d.TicksRadio->setChecked(true), d.TickEdit->setText("0"), d.TickEdit; }},
    };
    for (const auto& row : rows) {
      recorder_.messages.clear();
      QWidget* expected = nullptr;
      QWidget* focused = nullptr;
      vintaler::setModalRunner([&](QDialog& d) {
        auto& dialog = dynamic_cast<Dialog&>(d);
        dialog.show();
        dialog.SeamFirstEdit->setText("4");  // taken only with the rest
        expected = row.edit(dialog);
        dialog.OkButton->click();
        focused = dialog.focusWidget();
        return dialog.isVisible() ? int(QDialog::Rejected) : dialog.result();
      });
      form.ShowCuttingAction->trigger();
      QVERIFY2(recorder_.messages.size() == 1, row.name);
      QVERIFY2(focused == expected, row.name);
      QVERIFY2(sameCutting(form.Cutting, fish::TCuttingParams{}), row.name);
      QVERIFY2(!form.isWindowModified(), row.name);
    }
  }
};

QTEST_MAIN(CuttingDialogTest)
#include "CuttingDialogTest.moc"
