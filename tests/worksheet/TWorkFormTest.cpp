#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <cmath>
#include <cstring>
#include <functional>

#include "TestHost.h"
#include "fishApi/view/FishDraw.h"
#include "fishApi/core/FishSurface.h"
#include "fishApi/precise/PreciseAccuracy.h"
#include "fishApi/texts/FishTexts.h"
#include "fishApi/view/FishView.h"
#include "support/GuiTestSupport.h"
#include "support/SameBits.h"
#include "textPage/TTextPage.h"
#include "worksheet/IProjectHost.h"
#include "worksheet/ProjectDrawing.h"
#include "worksheet/TWorkForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

using FakeHost = TestHost;

using vintaler::Page;
using vintaler::test::sameBits;

bool SameRecord(const fish::TSystemParams& a, const fish::TSystemParams& b) {
  return sameBits(a.A, b.A) && sameBits(a.B, b.B) && sameBits(a.L, b.L) && sameBits(a.R, b.R) && sameBits(a.X1, b.X1) &&
         sameBits(a.Y1, b.Y1);
}

bool IsRed(QLineEdit* e) { return e->palette().color(QPalette::Base) == QColor(255, 0, 0); }

// The pixel where the box's current window puts a world point.
QPoint pixelOf(const TxPaintBox& box, fish::Extended x, fish::Extended y, fish::Extended z = 0) {
  const fish::TViewMapping& m = box.mapping();
  const fish::TPixel p = box.SpaceMode() == fish::TSpaceMode::_3D ? m.project3D(x, y, z) : m.project2D(x, y);
  return {p.X, p.Y};
}

const QRgb kBlue = qRgb(0, 0, 255);

}  // namespace

class TWorkFormTest : public QObject {
  Q_OBJECT

  // Lets every posted event (repaints included) run.
  static void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  MessageRecorder recorder_;
  QStringList& errors_ = recorder_.messages;

 private slots:
  void init() { recorder_.Reset(); }
  void cleanup() { QLocale::setDefault(QLocale::c()); }

  void newWindowShowsTheDefaults() {
    FakeHost host;
    host.open = 2;
    TWorkForm form(&host);
    QCOMPARE(form.ProjectFileName, QStringLiteral("Nonename3"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Проект (Nonename3)[*]"));
    QVERIFY(host.saveEnabled);
    const QStringList expected = {"100", "100", "50", "50", "0", "0"};
    for (int i = 0; i < 6; ++i) QCOMPARE(form.Edits[static_cast<std::size_t>(i)]->text(), expected[i]);
    QCOMPARE(form.activePage(), Page::Model);
    QVERIFY(form.Show3D->isChecked());
    QVERIFY(!form.ShowRazvertka->isChecked());
    QVERIFY(!form.ShowResult->isChecked());
    QVERIFY(form.PageControl1->tabBar()->isHidden());
    QCOMPARE(form.ActiveBox, form.xPaintBox1);
    QCOMPARE(form.ProParams.Divisions, 10);
    QCOMPARE(form.xPaintBox1->SpaceMode(), fish::TSpaceMode::_3D);
    QCOMPARE(form.xPaintBox2->MinX(), -100.0L);
    QCOMPARE(form.Save->shortcut(), QKeySequence());
    QCOMPARE(form.ZoomIn->shortcut(), QKeySequence("Ctrl+I"));
    QCOMPARE(form.ShowRazvertka->statusTip(), QStringLiteral("Показывает развертку поверхности перехода"));
  }

  void invalidFieldTurnsRedAndKeepsTheRecord() {
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const fish::TSystemParams before = form.SystemParams;
    QLineEdit* r = form.Edits[2];
    r->setText("50a");
    QVERIFY(IsRed(r));
    QVERIFY(SameRecord(form.SystemParams, before));
    r->setText("45");
    QVERIFY(!IsRed(r));
    QCOMPARE(form.SystemParams.R, 45.0L);

    // One invalid field keeps every field's old value, the valid ones' too.
    form.Edits[0]->setText("");
    QVERIFY(IsRed(form.Edits[0]));
    form.Edits[1]->setText("120");
    QCOMPARE(form.SystemParams.B, 100.0L);
    QCOMPARE(form.SystemParams.A, 100.0L);
    form.Edits[0]->setText("80");
    QCOMPARE(form.SystemParams.A, 80.0L);
    QCOMPARE(form.SystemParams.B, 120.0L);
    QVERIFY(!IsRed(form.Edits[0]));
    QVERIFY2(errors_.isEmpty(), "an invalid field is never reported by a message");
  }

  void fillingTheFieldsDoesNotReadThemBack() {
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.SystemParams.A = 0.1L;  // its 15-digit text reads back as another value
    form.SystemParams.L = -12.25L;
    form.setSysInfo();
    QCOMPARE(form.Edits[0]->text(), QStringLiteral("0.1"));
    QCOMPARE(form.Edits[3]->text(), QStringLiteral("-12.25"));
    QVERIFY(sameBits(form.SystemParams.A, 0.1L));
  }

  void fieldsUseTheLocaleSeparator() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Edits[2]->setText("12,5");
    QCOMPARE(form.SystemParams.R, 12.5L);
    form.Edits[2]->setText("12.5");
    QVERIFY(IsRed(form.Edits[2]));
    QCOMPARE(form.SystemParams.R, 12.5L);
    form.SystemParams.X1 = -0.75L;
    form.setSysInfo();
    QCOMPARE(form.Edits[4]->text(), QStringLiteral("-0,75"));
  }

  void pagesChecksAndActiveBox() {
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowRazvertka->trigger();
    QCOMPARE(form.activePage(), Page::Development);
    QCOMPARE(form.ActiveBox, form.xPaintBox2);
    QVERIFY(form.ShowRazvertka->isChecked() && !form.Show3D->isChecked());
    form.ShowResult->trigger();
    QCOMPARE(form.activePage(), Page::Results);
    QCOMPARE(form.ActiveBox, form.xPaintBox2);  // the results page keeps the last drawing surface
    QVERIFY(form.ShowResult->isChecked() && !form.ShowRazvertka->isChecked());
    QVERIFY(form.Memo1->toPlainText().contains("Общие габариты (XxY)=191.8x131.5"));
    form.Edits[2]->setText("40");
    QVERIFY(form.Memo1->toPlainText().contains("Радиус круглого сечения: R=40"));
    form.Show3D->trigger();
    QCOMPARE(form.ActiveBox, form.xPaintBox1);
    form.ShowResult->trigger();
    form.ShowResult->trigger();  // triggering the checked page keeps it checked
    QVERIFY(form.ShowResult->isChecked());
  }

  void leftPanelToggleKeepsTheFields() {
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Edits[3]->setText("x");
    form.ShowSystemParams->trigger();
    QVERIFY(!form.Panel1->isVisible());
    QVERIFY(!form.ShowSystemParams->isChecked());
    form.ShowSystemParams->trigger();
    QVERIFY(form.Panel1->isVisible());
    QCOMPARE(form.Edits[3]->text(), QStringLiteral("x"));
    QVERIFY(IsRed(form.Edits[3]));
  }

  void viewsShowBlueLinesWhereTheGeometryIs() {
    TWorkForm form(nullptr);
    form.resize(700, 500);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The model: the corner of quadrant 1 (50, 50, 0) and the arc's top
    // (0, 50, 50) are on the wire; quadrant 4's corner is not drawn.
    form.redraw(false);
    QImage model = form.xPaintBox1->canvasImage();
    QCOMPARE(model.pixelColor(pixelOf(*form.xPaintBox1, 50, 50, 0)).rgb(), kBlue);
    QCOMPARE(model.pixelColor(pixelOf(*form.xPaintBox1, -50, 50, 0)).rgb(), kBlue);
    QCOMPARE(model.pixelColor(pixelOf(*form.xPaintBox1, 0, 50, 50)).rgb(), kBlue);
    QVERIFY(model.pixelColor(pixelOf(*form.xPaintBox1, 50, -50, 0)).rgb() != kBlue);

    form.ShowRazvertka->trigger();
    form.redraw(false);
    const QImage flat = form.xPaintBox2->canvasImage();
    QCOMPARE(flat.pixelColor(pixelOf(*form.xPaintBox2, 0, 0)).rgb(), kBlue);
    QCOMPARE(flat.pixelColor(pixelOf(*form.xPaintBox2, 50, 0)).rgb(), kBlue);
    QCOMPARE(flat.pixelColor(pixelOf(*form.xPaintBox2, -50, 0)).rgb(), kBlue);
    QCOMPARE(flat.pixelColor(pixelOf(*form.xPaintBox2, 25, 0)).rgb(), kBlue);  // the rectangle edge
    QVERIFY2(flat.pixelColor(pixelOf(*form.xPaintBox2, 25, -30)).rgb() != kBlue, "quadrant 4 is off");
  }

  // One change, one computation: a digit typed into a field costs what one
  // pass of the page's engine work costs (measured by running that pass
  // alone), however many repaints follow; a page shown for the first time
  // costs its pass; showing a page again, resizing and repainting cost
  // nothing while the records stay the same.
  void oneEngineComputationPerChange_data() {
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("tables");  // the tables' pattern chosen for cutting
    const std::pair<Page, const char*> pages[] = {
        {Page::Model, "model"}, {Page::Development, "development"}, {Page::Results, "results"}};
    for (const auto& [page, name] : pages) {
      for (const char* action : {"digit typed", "page left and shown again", "window resized", "repaint"}) {
        QTest::addRow("%s, %s", name, action) << page << QString(action) << false;
      }
      QTest::addRow("%s, digit typed, tables' pattern", name) << page << QStringLiteral("digit typed") << true;
    }
  }

  void oneEngineComputationPerChange() {
    QFETCH(Page, page);
    QFETCH(QString, action);
    QFETCH(bool, tables);
    TWorkForm form(nullptr);
    form.ProParams.Quadrants = {1, 1, 1, 0};
    if (tables) form.Cutting.Pattern = fish::TPatternKind::Table;
    form.resize(600, 400);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.setActivePage(page);
    settle();

    std::uint64_t pass[3] = {};
    TxPaintBox scratch;
    scratch.resize(100, 100);
    for (int p = 0; p < 3; ++p) {
      const std::uint64_t before = fish::surfaceComputations();
      if (p == 0) fish::DrawSurf(scratch, form.SystemParams, form.ProParams);
      if (p == 1) fish::DrawRazvertka(scratch, form.SystemParams, form.ProParams);
      if (p == 2) (void)fish::resultsPage(form.SystemParams, form.ProParams);
      pass[p] = fish::surfaceComputations() - before;
      QVERIFY(pass[p] > 0);
    }

    const Page other = page == Page::Results ? Page::Model : Page::Results;
    std::uint64_t expected = 0;
    const std::uint64_t start = fish::surfaceComputations();
    if (action == "digit typed") {
      form.Edits[2]->setFocus();
      form.Edits[2]->end(false);
      QTest::keyClick(form.Edits[2], Qt::Key_5);
      QCOMPARE(form.SystemParams.R, 505.0L);
      // The page's picture or text, once. The precise pattern's accuracy
      // check develops nothing; the tables' compares its own developments
      // with the precise ones, as a check of the new records alone costs
      // (counted below, after the window's work).
      expected = pass[static_cast<int>(page)];
    } else if (action == "page left and shown again") {
      form.setActivePage(other);
      settle();
      form.setActivePage(page);
      // The model was drawn when the window was shown.
      expected = page == Page::Results ? 0 : pass[static_cast<int>(other)];
    } else if (action == "window resized") {
      form.resize(640, 420);
    } else {
      form.ActiveBox->repaint();  // Qt's own repaint, with nothing changed
      form.Memo1->repaint();
    }
    settle();
    const std::uint64_t spent = fish::surfaceComputations() - start;
    if (tables) {
      const std::uint64_t before = fish::surfaceComputations();
      (void)fish::patternAccuracy(form.developedParams(), form.ProParams);
      QVERIFY(fish::surfaceComputations() > before);
      expected += fish::surfaceComputations() - before;
    }
    QCOMPARE(spent, expected);
  }

  void failedRedrawsSayWhyOnTheView() {
    TWorkForm form(nullptr);
    form.resize(700, 500);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowRazvertka->trigger();
    // Flat, with the circle touching the Y-side midpoints and a tiny offset:
    // the first seam is shorter than the offset once rounded.
    form.Edits[3]->setText("0");
    form.Edits[4]->setText("0.0149");
    QVERIFY2(errors_.isEmpty(), "typing never pops a message box");
    QImage shown = form.xPaintBox2->canvasImage();
    QCOMPARE(CountColour(shown, kBlue), 0);
    QVERIFY2(CountColour(shown, qRgb(255, 255, 255)) < shown.width() * shown.height(), "the message is drawn");
    QTest::qWait(50);  // paint events come and go without a box as well
    QVERIFY(errors_.isEmpty());

    form.DrawAction->trigger();  // an explicit command reports once
    QCOMPARE(errors_.size(), 1);
    QVERIFY2(errors_[0].startsWith("Invalid floating point operation\n\n") && errors_[0].contains("X1 = 0.0149"),
             qPrintable(errors_[0]));

    // The offset's field is tinted as the input to change, until corrected.
    const auto tinted = [&form] { return form.Edits[4]->palette().color(QPalette::Base) != QColor(Qt::white); };
    QVERIFY(tinted());
    form.Edits[4]->setText("0");
    QVERIFY2(CountColour(form.xPaintBox2->canvasImage(), kBlue) > 0, "usable again once corrected");
    QTest::qWait(50);
    QVERIFY(!tinted());
  }

  void popupHintsReachTheHost() {
    FakeHost host;
    TWorkForm form(&host);
    emit form.PopupMenu1->hovered(form.ZoomOut);
    QCOMPARE(host.hint, QStringLiteral("Отдаляет область рисования"));
    const QList<QAction*> items = form.PopupMenu1->actions();
    QCOMPARE(items.size(), 17);
    QCOMPARE(items[3], form.ShowCuttingAction);
    QCOMPARE(items[5]->text(), QStringLiteral("С&двинуть"));
    QCOMPARE(items[14]->menu(), form.ExportMenu);
    emit form.ExportMenu->hovered(form.ExportDxf);
    QCOMPARE(host.hint, form.ExportDxf->statusTip());
    QCOMPARE(items[6]->statusTip(), QStringLiteral("Приближает область рисования"));
    QCOMPARE(form.PopupMenu2->actions().size(), 14);
  }

  void closingTheLastWindowGreysSave() {
    FakeHost host;
    host.open = 1;  // the window itself, as the frame counts it while it closes
    auto* form = new TWorkForm(&host);
    QVERIFY(host.saveEnabled);
    form->close();
    QVERIFY(!host.saveEnabled);

    FakeHost two;
    two.open = 2;
    auto* other = new TWorkForm(&two);
    other->close();
    QVERIFY2(two.saveEnabled, "one of two closed: Save stays");
  }

  // The kept arrays answer to the records' values: the same values with other
  // bytes in a number's unused storage or the padding are the same records;
  // any field with other bits, even 0 made -0, is not.
  void keptArraysKeyOnTheRecordsValues() {
    struct Records {
      fish::TSystemParams sp = fish::defaultSystemParams();
      fish::TProParams pro = fish::defaultProParams();
    };
    using Change = std::function<void(Records&, fish::TPlateParams&)>;
    const std::pair<const char*, Change> changes[] = {
        {"A one step up", [](Records& r, auto&) { r.sp.A = std::nextafter(r.sp.A, r.sp.A + 1); }},
        {"X1 from 0 to -0", [](Records& r, auto&) { r.sp.X1 = -r.sp.X1; }},
        {"divisions", [](Records& r, auto&) { ++r.pro.Divisions; }},
        {"quadrant 4", [](Records& r, auto&) { r.pro.Quadrants[3] ^= 1; }},
        {"grid", [](Records& r, auto&) { r.pro.ShowGrid ^= 1; }},
        {"thickness", [](Records&, auto& p) { p.Thickness = 1; }},
        {"round faces", [](Records&, auto& p) { p.RoundFaces = fish::TFaces::Outside; }},
        {"material", [](Records&, auto& p) { p.Material = fish::TMaterial::Copper; }},
    };
    const Records base;
    Records padded = base;
    reinterpret_cast<unsigned char*>(&padded.sp.R)[12] = 0x5A;  // above the 80 bits of the value
    padded.sp.Padding = {1, 2, 3, 4};
    padded.pro.Padding3[0] = 7;
    const std::string key = vintaler::recordsKey(base.sp, base.pro, {});
    QCOMPARE(vintaler::recordsKey(padded.sp, padded.pro, {}), key);
    for (const auto& [name, change] : changes) {
      Records r = base;
      fish::TPlateParams plate;
      change(r, plate);
      QVERIFY2(vintaler::recordsKey(r.sp, r.pro, plate) != key, name);
    }

    // Drawn again for records of the same values, nothing is computed again.
    vintaler::ProjectDrawing drawing;
    TxPaintBox box;
    box.resize(200, 150);
    box.setSpaceMode(fish::TSpaceMode::_3D);
    box.setBounds({-100, 100, -100, 100, -100, 100});
    drawing.drawModel(box, base.sp, base.pro);
    const std::uint64_t before = fish::surfaceComputations();
    drawing.drawModel(box, padded.sp, padded.pro);
    QCOMPARE(fish::surfaceComputations(), before);
    Records negated = base;
    negated.sp.X1 = -negated.sp.X1;
    drawing.drawModel(box, negated.sp, negated.pro);
    QVERIFY(fish::surfaceComputations() > before);
  }
};

QTEST_MAIN(TWorkFormTest)
#include "TWorkFormTest.moc"
