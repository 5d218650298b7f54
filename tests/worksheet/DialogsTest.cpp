#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

#include "fishApi/texts/FishTexts.h"
#include "report2d/TextReport.h"
#include "support/GuiTestSupport.h"
#include "textPage/TTextPage.h"
#include "worksheet/ProParams/TProParamsForm.h"
#include "worksheet/ProParams/TSpinEdit.h"
#include "worksheet/TWorkForm.h"
#include "worksheet/setupDraw/TSetupDrawForm.h"
#include "xPaintBox/TxPaintBox.h"

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
             !dialog.CheckBox4->isChecked() && !dialog.CheckBox5->isChecked() && dialog.RxSpinEdit1->value() == 10;
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
    QCOMPARE(spin.value(), 13);
    QTest::keyClick(&spin, Qt::Key_Down);
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(spin.value(), 11);
    line->setText("-");
    QCOMPARE(spin.value(), 0);
    line->setText("");
    QCOMPARE(spin.value(), 0);
    line->setText("99999999999");
    QCOMPARE(spin.value(), 0);
    line->setText("-2147483648");
    QCOMPARE(spin.value(), -2147483647 - 1);
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

  void drawingAreaShowsTheStartOfEachNumber_data() {
    QTest::addColumn<double>("bound");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wider");  // than the field: without care only its tail would show
    QTest::newRow("long negative") << -1234567.89012345 << "-1234567.89012345" << true;
    QTest::newRow("long positive") << 98765432109.8765 << "98765432109.8765" << true;
    QTest::newRow("exponent") << -1.23456789012345e300 << "-1.23456789012345E300" << true;
    QTest::newRow("short") << 5.0 << "5" << false;
    QTest::newRow("damaged") << std::numeric_limits<double>::quiet_NaN() << "" << false;
  }

  void drawingAreaShowsTheStartOfEachNumber() {
    QFETCH(double, bound);
    QFETCH(QString, text);
    QFETCH(bool, wider);
    TSetupDrawForm dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (QLineEdit* edit : dialog.Edits) edit->setText("typed, cursor at its end");
    fish::TViewBounds bounds;
    bounds.fill(bound);
    dialog.showBounds(bounds);
    for (QLineEdit* edit : dialog.Edits) {
      QCOMPARE(edit->text(), text);
      QCOMPARE(edit->fontMetrics().horizontalAdvance(text) > edit->contentsRect().width(), wider);
      QCOMPARE(edit->cursorPosition(), 0);
      // The text is scrolled to its first character: the cursor stands at the left edge.
      const int cursorX = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
      QVERIFY2(cursorX < edit->fontMetrics().averageCharWidth() + 4, qPrintable(QString::number(cursorX)));
    }
  }

  void drawingAreaTooWideIsAnOverflow() {
    TWorkForm form(nullptr);
    form.ShowRazvertka->trigger();
    vintaler::setModalRunner([](QDialog& d) {
      auto& dialog = dynamic_cast<TSetupDrawForm&>(d);
      dialog.Edits[0]->setText("-1e4932");
      dialog.Edits[1]->setText("1e4932");
      return int(QDialog::Accepted);
    });
    form.SetupDrawAction->trigger();
    QCOMPARE(errors_, QStringList{"Floating point overflow"});
    QCOMPARE(form.xPaintBox2->MaxX(), 1e4932L);
    errors_.clear();
  }

  // The font dialog starts from the face the text is really shown in (the
  // default family may not be installed and resolve to another one), so that
  // OK without a change keeps the text as it is: monospaced, the same size.
  void fontDialogStartsFromTheShownFont_data() {
    QTest::addColumn<QString>("family");  // chosen first; empty: the window's own font
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("window's own") << QString() << 0 << false;
    QTest::newRow("chosen bold monospaced") << "DejaVu Sans Mono" << 12 << true;
    QTest::newRow("chosen proportional") << "DejaVu Sans" << 11 << false;
  }

  void fontDialogStartsFromTheShownFont() {
    QFETCH(QString, family);
    QFETCH(int, pointSize);
    QFETCH(bool, bold);
    TWorkForm form(nullptr);
    form.ShowResult->trigger();
    if (!family.isEmpty()) {
      QFont chosen(family, pointSize, bold ? QFont::Bold : QFont::Normal);
      vintaler::setModalRunner([&](QDialog& d) {
        dynamic_cast<QFontDialog&>(d).setCurrentFont(chosen);
        return int(QDialog::Accepted);
      });
      form.SetFont->trigger();
    }
    const QFontInfo before(form.Memo1->font());
    QCOMPARE(before.fixedPitch(), family != "DejaVu Sans");
    const QFont font = form.Memo1->font();
    QFont offered;
    vintaler::setModalRunner([&](QDialog& d) {
      d.show();  // the lists settle on what they can show
      offered = dynamic_cast<QFontDialog&>(d).currentFont();
      return int(QDialog::Accepted);
    });
    for (int round = 0; round < 2; ++round) {
      form.SetFont->trigger();
      for (const QFontInfo& shown : {QFontInfo(offered), QFontInfo(form.Memo1->font())}) {
        QCOMPARE(shown.family(), before.family());
        QCOMPARE(shown.fixedPitch(), before.fixedPitch());
        QCOMPARE(shown.pixelSize(), before.pixelSize());
        QCOMPARE(shown.bold(), bold);
        QCOMPARE(shown.italic(), before.italic());
      }
      QCOMPARE(form.Memo1->font(), font);  // OK without a change
    }
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

    // Ctrl+P previews it, from where it goes to a PDF file with no printer
    // installed: the PDF reader finds the page's text.
    vintaler::setModalRunner([&](QDialog& d) {
      dynamic_cast<QPrintPreviewDialog&>(d).printer()->setOutputFileName(dir.filePath("preview.pdf"));
      return d.findChild<QPrintPreviewWidget*>()->print(), int(QDialog::Accepted);
    });
    form.PrintAction->trigger();
    QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
    QProcess reader;
    reader.start("pdftotext", {"-layout", dir.filePath("preview.pdf"), "-"});
    QVERIFY(reader.waitForFinished());
    const QString read = QString::fromUtf8(reader.readAllStandardOutput()).simplified();
    for (const QString& line : form.Memo1->toPlainText().split('\n')) QVERIFY(read.contains(line.simplified()));
  }

  // The plate's fields come before OK and Отмена in the construction dialog.
  void constructionDialogTabsThroughThePlateFirst() {
    TProParamsForm d;
    QWidgetList next{d.CheckBox5, d.ThicknessEdit, d.RectFacesBox, d.RoundFacesBox, d.MaterialBox, d.BitBtn1};
    for (QWidget* w = d.CheckBox1; w != d.BitBtn2 && !next.isEmpty(); w = w->nextInFocusChain())
      if (w == next.first()) next.removeFirst();
    QVERIFY(next.isEmpty());
  }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
