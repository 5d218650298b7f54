#include <QCheckBox>
#include <QClipboard>
#include <QFontDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include "fishApi/FishTexts.h"
#include "report2d/TextReport.h"
#include "support/GuiTestSupport.h"
#include "worksheet/ProParams/TProParamsForm.h"
#include "worksheet/ProParams/TSpinEdit.h"
#include "worksheet/TWorkForm.h"

class DialogsTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;
  QStringList& errors_ = recorder_.messages;

 private slots:
  void init() { recorder_.Reset(); }

  void constructionDialogShowsTheRecord() {
    TWorkForm form(nullptr);
    bool seen = false;
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<TProParamsForm&>(d);
      seen = dialog.CheckBox1->isChecked() && dialog.CheckBox2->isChecked() && !dialog.CheckBox3->isChecked() &&
             !dialog.CheckBox4->isChecked() && !dialog.CheckBox5->isChecked() && dialog.RxSpinEdit1->Value() == 10;
      return int(QDialog::Rejected);
    });
    form.ShowProParamsAction->trigger();
    QVERIFY(seen);
  }

  void cancelKeepsOkTakes() {
    TWorkForm form(nullptr);
    form.ProParams.Reserved2 = 7;
    auto edit = [](TProParamsForm& dialog) {
      dialog.CheckBox1->setChecked(false);
      dialog.CheckBox3->setChecked(true);
      dialog.CheckBox5->setChecked(true);
      dialog.RxSpinEdit1->setValue(20);
    };
    vintaler::setModalRunner([&](QDialog& d) {
      edit(dynamic_cast<TProParamsForm&>(d));
      return int(QDialog::Rejected);
    });
    form.ShowProParamsAction->trigger();
    QCOMPARE(form.ProParams.Divisions, 10);
    QCOMPARE(form.ProParams.Quadrants, (std::array<fish::ByteBool, 4>{1, 1, 0, 0}));

    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<TProParamsForm&>(d);
      edit(dialog);
      dialog.BitBtn1->click();
      return dialog.result();
    });
    form.ShowProParamsAction->trigger();
    QCOMPARE(form.ProParams.Divisions, 20);
    QCOMPARE(form.ProParams.Quadrants, (std::array<fish::ByteBool, 4>{0, 1, 1, 0}));
    QCOMPARE(form.ProParams.ShowGrid, fish::ByteBool(1));
    QCOMPARE(form.ProParams.Reserved2, fish::ByteBool(7));

    // No quadrant at all is accepted.
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<TProParamsForm&>(d);
      for (QCheckBox* b : {dialog.CheckBox1, dialog.CheckBox2, dialog.CheckBox3, dialog.CheckBox4})
        b->setChecked(false);
      dialog.BitBtn1->click();
      return dialog.result();
    });
    form.ShowProParamsAction->trigger();
    QCOMPARE(form.ProParams.Quadrants, (std::array<fish::ByteBool, 4>{0, 0, 0, 0}));
    QVERIFY(errors_.isEmpty());
  }

  void unusableDivisionsAreRefused() {
    TWorkForm form(nullptr);
    for (int n : {0, -3, 100001}) {
      errors_.clear();
      vintaler::setModalRunner([&](QDialog& d) {
        auto& dialog = dynamic_cast<TProParamsForm&>(d);
        dialog.RxSpinEdit1->setValue(n);
        dialog.CheckBox4->setChecked(true);
        dialog.BitBtn1->click();  // refused: the dialog stays open
        return dialog.result();
      });
      form.ShowProParamsAction->trigger();
      QCOMPARE(errors_.size(), 1);
      QCOMPARE(form.ProParams.Divisions, 10);
      QCOMPARE(form.ProParams.Quadrants[3], fish::ByteBool(0));
    }
  }

  void spinEditTakesOnlyWholeNumbers() {
    TSpinEdit spin;
    spin.setValue(10);
    QLineEdit* line = spin.findChild<QLineEdit*>();
    line->selectAll();
    QTest::keyClicks(&spin, "1a2b");
    QCOMPARE(line->text(), QStringLiteral("12"));
    QTest::keyClick(&spin, Qt::Key_Up);
    QCOMPARE(spin.Value(), 13);
    QTest::keyClick(&spin, Qt::Key_Down);
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(spin.Value(), 11);
    line->setText("-");
    QCOMPARE(spin.Value(), 0);
    line->setText("");
    QCOMPARE(spin.Value(), 0);
    line->setText("99999999999");
    QCOMPARE(spin.Value(), 0);
    line->setText("-2147483648");
    QCOMPARE(spin.Value(), -2147483647 - 1);
  }

  void enterIsOkAndEscapeIsCancel() {
    TProParamsForm dialog;
    dialog.load(fish::defaultProParams());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.RxSpinEdit1->setFocus();
    QTest::keyClick(dialog.RxSpinEdit1, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    TProParamsForm other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    other.RxSpinEdit1->setFocus();
    QTest::keyClick(other.RxSpinEdit1, Qt::Key_Escape);
    QCOMPARE(other.result(), int(QDialog::Rejected));
    QVERIFY(other.isHidden());
  }

  void resultsTextIsTheEnginesText() {
    TWorkForm form(nullptr);
    form.ShowResult->trigger();
    QStringList expected;
    for (const auto& l : fish::getResultsText(form.SystemParams, form.ProParams)) expected << QString::fromStdString(l);
    QCOMPARE(form.Memo1->toPlainText(), expected.join('\n'));

    form.Memo1->setPlainText("typed by hand");
    form.DrawAction->trigger();
    QCOMPARE(form.Memo1->toPlainText(), expected.join('\n'));

    form.SelectAll->trigger();
    form.Copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), expected.join('\n'));
  }

  void fontChoiceLastsForTheWindow() {
    TWorkForm form(nullptr);
    form.ShowResult->trigger();
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSize(17);
    vintaler::setModalRunner([&](QDialog& d) {
      dynamic_cast<QFontDialog&>(d).setCurrentFont(chosen);
      return int(QDialog::Accepted);
    });
    form.SetFont->trigger();
    QCOMPARE(form.Memo1->font().pointSize(), 17);
    form.Show3D->trigger();
    form.ShowResult->trigger();
    QCOMPARE(form.Memo1->font().pointSize(), 17);

    vintaler::setModalRunner([](QDialog&) { return int(QDialog::Rejected); });
    form.SetFont->trigger();
    QCOMPARE(form.Memo1->font().pointSize(), 17);

    TWorkForm fresh(nullptr);
    QCOMPARE(fresh.Memo1->font().family(), QStringLiteral("Courier New"));
  }

  void printingTheText() {
    TWorkForm form(nullptr);
    form.ProParams.Divisions = 200;  // several pages
    form.ShowResult->trigger();
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("text.pdf"));
    vintaler::printText(printer, *form.Memo1->document(), form.Memo1->font());
    QFile pdf(dir.filePath("text.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY2(bytes.count("/Type /Page\n") >= 2, "200 divisions take more than one page");

    // The machine has no printer: the command says so instead of printing nothing.
    form.PrintAction->trigger();
    QCOMPARE(errors_.size(), 1);
    QVERIFY(errors_[0].contains(QStringLiteral("Принтер")));
  }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
