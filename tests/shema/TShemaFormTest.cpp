#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QtTest>

#include "report2d/TQuickReport1.h"
#include "shema/TShemaForm.h"
#include "support/GuiTestSupport.h"

class TShemaFormTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;

 private slots:
  void init() { recorder_.Reset(); }

  void pictureIsTheKeyInSixteenColours() {
    const QImage picture = TShemaForm::picture();
    QCOMPARE(picture.size(), QSize(422, 351));
    QVERIFY(picture.colorCount() <= 16);
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QVERIFY(CountColour(rgb, qRgb(192, 192, 192)) > 10000);  // grey pieces
    QVERIFY(CountColour(rgb, qRgb(255, 0, 0)) > 200);        // red labels
    QVERIFY(CountColour(rgb, qRgb(0, 0, 255)) > 600);        // blue axes
    QCOMPARE(rgb.pixel(211, 3), qRgb(255, 255, 255));
    // The pieces lie round the origin on both sides of both axes.
    QCOMPARE(rgb.pixel(211 + 30, 175 - 30), qRgb(192, 192, 192));
    QCOMPARE(rgb.pixel(211 - 30, 175 + 30), qRgb(192, 192, 192));
  }

  // Every name's box holds red ink and no black line or blue axis, and meets
  // no other name's: T4 and T5 stand clear of the fans that meet at them.
  void namesStandOffTheLines() {
    const QImage rgb = TShemaForm::picture().convertToFormat(QImage::Format_RGB32);
    const QList<TShemaForm::Label> labels = TShemaForm::labels();
    QCOMPARE(labels.size(), 2 + 4 * 7);
    for (const TShemaForm::Label& l : labels) {
      const QRect box = l.box.toAlignedRect();
      QVERIFY2(rgb.rect().contains(box), qPrintable(l.text));
      const QImage ink = rgb.copy(box);
      QVERIFY2(CountColour(ink, qRgb(255, 0, 0)) > 0 && CountColour(ink, qRgb(0, 0, 0)) == 0 &&
                   CountColour(ink, qRgb(0, 0, 255)) == 0,
               qPrintable(l.text));
      for (const TShemaForm::Label& other : labels) QVERIFY(&other == &l || !other.box.intersects(l.box));
    }
  }

  void windowLayout() {
    TShemaForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Схема размеров развертки"));
    QCOMPARE(form.BitBtn1->text(), QStringLiteral("Закрыть"));
    QCOMPARE(form.BitBtn2->text(), QStringLiteral("Печатать"));
    QCOMPARE(form.BitBtn1->size(), QSize(90, 25));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.Image1->size(), QSize(422, 351));
    QCOMPARE(form.Panel1->height(), 25);
    QCOMPARE(form.BitBtn2->geometry().right(), form.Panel1->width() - 1);  // at the right end
    QTest::mouseClick(form.Image1, Qt::LeftButton);
    QVERIFY(form.isHidden());
    QCOMPARE(form.result(), int(QDialog::Rejected));
  }

  void oneWindowForTheProgram() {
    QWidget owner;
    TShemaForm* first = vintaler::shemaFormInstance(&owner);
    QCOMPARE(vintaler::shemaFormInstance(&owner), first);
  }

  void printingStretchesThePictureOntoTheReport() {
    TShemaForm form;
    bool previewed = false;
    vintaler::setModalRunner([&](QDialog& d) {
      previewed = qobject_cast<QPrintPreviewDialog*>(&d) != nullptr;
      if (!QuickReport1) return int(QDialog::Rejected);
      const QImage& p = QuickReport1->picture();
      const QImage source = TShemaForm::picture().convertToFormat(QImage::Format_RGB32);
      // Every sampled pixel of the report comes from the matching source pixel.
      int same = 0;
      int total = 0;
      for (int y = 5; y < 594; y += 37) {
        for (int x = 5; x < 834; x += 41) {
          ++total;
          same += p.pixel(x, y) == source.pixel(x * 422 / 834, y * 351 / 594);
        }
      }
      previewed = previewed && p.size() == QSize(834, 594) && same * 10 >= total * 9;
      // A second print while this preview is open does nothing.
      form.PrintShema();
      return int(QDialog::Accepted);
    });
    form.BitBtn2->click();
    QVERIFY(previewed);
    QCOMPARE(QuickReport1, nullptr);
    QVERIFY(recorder_.messages.isEmpty());
  }
};

QTEST_MAIN(TShemaFormTest)
#include "TShemaFormTest.moc"
