// The pictures drawn from the kept arrays against the engine's own drawing,
// both through the painting box: the same pixels, the same failures.
#include <QtTest>
#include <functional>
#include <list>

#include "fishApi/texts/FiguresText.h"
#include "fishApi/view/FishDraw.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/shop/PlateParams.h"
#include "fishApi/shop/ShopFigures.h"
#include "support/GuiTestSupport.h"
#include "worksheet/ProjectDrawing.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

const QRgb kBlue = qRgb(0, 0, 255);

struct Records {
  fish::TSystemParams sp = fish::defaultSystemParams();
  fish::TProParams pro = fish::defaultProParams();
};

// The engine's message, or an empty text when the drawing succeeded.
QString failureOf(const std::function<void()>& draw) {
  try {
    draw();
  } catch (const fish::EFishError& e) {
    return QString::fromUtf8(e.what());
  }
  return QString();
}

void setUp(TxPaintBox& box, int page, QSize view, const fish::TViewBounds& bounds) {
  box.resize(view);
  box.setSpaceMode(page == 0 ? fish::TSpaceMode::_3D : fish::TSpaceMode::_2D);
  box.setBounds(bounds);
  box.setPenColor(QColor(kBlue));
}

// The same window made `factor` times narrower about its centre.
fish::TViewBounds zoomed(fish::TViewBounds b, fish::Extended factor) {
  for (std::size_t i = 0; i < 6; i += 2) {
    const fish::Extended mid = (b[i] + b[i + 1]) / 2, half = (b[i + 1] - b[i]) / (2 * factor);
    b[i] = mid - half;
    b[i + 1] = mid + half;
  }
  return b;
}

// A page as the window shows it: its lines, then after a failure an empty
// line and the reason.
QString shown(const fish::TResultsPage& page) {
  QStringList lines;
  for (const std::string& line : page.Lines) lines << QString::fromStdString(line);
  if (page.Error) lines << QString() << QString::fromStdString(page.failureMessage());
  return lines.join('\n');
}

}  // namespace

Q_DECLARE_METATYPE(fish::TViewBounds)

class ProjectDrawingTest : public QObject {
  Q_OBJECT

 private slots:
  void keptPicturesMatchTheEnginesPixelForPixel_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QList<double>>("offset");  // X1, Y1
    QTest::addColumn<int>("divisions");
    QTest::addColumn<int>("quadrants");  // bit q-1 for quadrant q
    QTest::addColumn<bool>("grid");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<fish::TViewBounds>("bounds");
    QTest::addColumn<bool>("fails");
    const fish::TViewBounds whole{-100, 100, -100, 100, -100, 100};
    const char* const pages[] = {"model", "development"};
    for (int page = 0; page < 2; ++page) {
      const auto row = [&](const char* name) -> QTestData& {
        return QTest::addRow("%s, %s", pages[page], name) << page;
      };
      row("default project") << QList<double>{0, 0} << 10 << 0b0011 << false << QSize(800, 600) << whole << false;
      row("one division, four quadrants, grid")
          << QList<double>{0, 0} << 1 << 0b1111 << true << QSize(400, 300) << whole << false;
      row("offset up right, 360 divisions, grid")
          << QList<double>{30, 20} << 360 << 0b1111 << true << QSize(640, 480) << whole << false;
      row("offset down left, quadrants 3 and 4")
          << QList<double>{-40, -25} << 1000 << 0b1100 << false << QSize(500, 700) << whole << false;
      // The largest count once, on the development, where every division
      // lays two elements; the model's many points go on a tiny view.
      if (page == 1)
        row("100000 divisions, four quadrants, grid")
            << QList<double>{10, -5} << 100000 << 0b1111 << true << QSize(1000, 700) << whole << false;
      row("30000 divisions on a 40 x 30 view")
          << QList<double>{0, 0} << 30000 << 0b1111 << false << QSize(40, 30) << whole << false;
      row("20000 divisions on a 3 x 2 view")
          << QList<double>{5, 5} << 20000 << 0b0101 << true << QSize(3, 2) << whole << false;
      row("window far out on a corner") << QList<double>{0, 0} << 5000 << 0b1111 << true << QSize(600, 400)
                                        << fish::TViewBounds{40, 60, 40, 60, -10, 10} << false;
      row("zoomed out until the piece is a pixel") << QList<double>{0, 0} << 100 << 0b1111 << true << QSize(100, 80)
                                                   << fish::TViewBounds{-1e5, 1e5, -1e5, 1e5, -1e5, 1e5} << false;
      row("no divisions") << QList<double>{0, 0} << 0 << 0b1111 << true << QSize(300, 200) << whole << true;
      row("window too narrow to map") << QList<double>{0, 0} << 50 << 0b1111 << false << QSize(300, 200)
                                      << fish::TViewBounds{-1e-12L, 1e-12L, -1e-12L, 1e-12L, -1e-12L, 1e-12L} << true;
    }
  }

  // Drawn twice from the same records at two windows: the arrays computed
  // for the first are kept for the second. Both pictures go through the same
  // painting box, so what differs is only where the lines come from: the
  // kept arrays or the engine's own pass.
  void keptPicturesMatchTheEnginesPixelForPixel() {
    QFETCH(int, page);
    QFETCH(QList<double>, offset);
    QFETCH(int, divisions);
    QFETCH(int, quadrants);
    QFETCH(bool, grid);
    QFETCH(QSize, view);
    QFETCH(fish::TViewBounds, bounds);
    QFETCH(bool, fails);
    Records r;
    r.sp.X1 = offset[0];
    r.sp.Y1 = offset[1];
    r.pro.Divisions = divisions;
    for (int q = 0; q < 4; ++q) r.pro.Quadrants[static_cast<std::size_t>(q)] = (quadrants >> q) & 1;
    r.pro.ShowGrid = grid;

    vintaler::ProjectDrawing drawing;
    std::list<fish::TSystemParams> handed;
    for (const fish::TViewBounds& window : {bounds, zoomed(bounds, 3)}) {
      TxPaintBox plain, kept;
      setUp(plain, page, view, window);
      setUp(kept, page, view, window);
      const QString plainFailure = failureOf([&] {
        if (page == 0) fish::DrawSurf(plain, r.sp, r.pro);
        if (page == 1) fish::DrawRazvertka(plain, r.sp, r.pro);
      });
      // The records as a window hands them over: a copy that is gone (here
      // spoilt) once drawn.
      fish::TSystemParams& sp = handed.emplace_back(r.sp);
      const QString keptFailure = failureOf([&] {
        if (page == 0) drawing.drawModel(kept, sp, r.pro);
        if (page == 1) drawing.drawDevelopment(kept, sp, r.pro);
      });
      sp.R = sp.X1 = sp.Y1 = 7;
      QCOMPARE(keptFailure, plainFailure);
      QCOMPARE(!plainFailure.isEmpty(), fails);
      if (!fails && window == bounds) QVERIFY(CountColour(plain.canvasImage(), kBlue) > 0);
      QVERIFY(kept.canvasImage() == plain.canvasImage());
    }
  }

  // The figures page and the accuracy warning from the kept arrays (computed
  // two quadrants at a time from 2000 divisions on, after a picture or for
  // the page itself) against the engine's own pass.
  void keptTextsMatchTheEngines_data() {
    QTest::addColumn<int>("divisions");
    QTest::addColumn<int>("quadrants");
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("thickness");
    QTest::addColumn<bool>("drawnFirst");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("warns");
    QTest::newRow("default project") << 10 << 0b0011 << 50.0 << 0.0 << true << false << false;
    QTest::newRow("5000 divisions, after the picture") << 5000 << 0b1111 << 50.0 << 0.0 << true << false << true;
    QTest::newRow("5000 divisions, the page alone") << 5000 << 0b1111 << 50.0 << 0.0 << false << false << true;
    QTest::newRow("one quadrant drawn, four measured") << 3000 << 0b0100 << 40.0 << 1.5 << true << false << true;
    QTest::newRow("30000 divisions of a large circle") << 30000 << 0b1111 << 900.0 << 0.0 << true << false << true;
    QTest::newRow("1500 divisions, one thread") << 1500 << 0b1111 << 50.0 << 0.0 << true << false << true;
    QTest::newRow("no divisions") << 0 << 0b1111 << 50.0 << 0.0 << true << true << false;
    QTest::newRow("a radius beyond the reals' range") << 4000 << 0b1111 << 1e308 << 0.0 << true << true << false;
    QTest::newRow("a thickness the section cannot take") << 10 << 0b1111 << 50.0 << 500.0 << false << true << false;
  }

  void keptTextsMatchTheEngines() {
    QFETCH(int, divisions);
    QFETCH(int, quadrants);
    QFETCH(double, radius);
    QFETCH(double, thickness);
    QFETCH(bool, drawnFirst);
    QFETCH(bool, fails);
    QFETCH(bool, warns);
    Records r;
    r.sp.R = radius;
    if (radius > 1e300) r.sp.R *= 1e300L;  // the squares overflow
    r.pro.Divisions = divisions;
    for (int q = 0; q < 4; ++q) r.pro.Quadrants[static_cast<std::size_t>(q)] = (quadrants >> q) & 1;
    fish::TPlateParams plate;
    plate.Thickness = thickness;
    plate.RectFaces = fish::TFaces::Outside;

    vintaler::ProjectDrawing drawing;
    fish::TSystemParams developed = r.sp;
    try {
      developed = fish::developedParams(r.sp, plate);
    } catch (const fish::EFishError&) {
      QVERIFY(fails);
    }
    if (drawnFirst) {
      TxPaintBox box;
      setUp(box, 1, QSize(300, 200), {-100, 100, -100, 100, -100, 100});
      failureOf([&] { drawing.drawDevelopment(box, developed, r.pro); });
    }
    const fish::TResultsPage engine = fish::figuresPage(r.sp, r.pro, plate, fish::TPatternKind::Table, ",");
    QCOMPARE(QString::fromUtf8(drawing.figuresText(r.sp, r.pro, plate, fish::TPatternKind::Table, ",")), shown(engine));
    QCOMPARE(bool(engine.Error), fails);
    std::string warning;
    if (!fails) {
      warning = fish::tableAccuracyWarning(
          fish::shopFigures(r.sp, r.pro, plate, fish::TPatternKind::Table).PatternAccuracy, ",");
    }
    QCOMPARE(drawing.accuracyWarning(developed, r.pro, fish::TPatternKind::Table, ","), QString::fromStdString(warning));
    QCOMPARE(!warning.empty(), warns);
  }
};

QTEST_MAIN(ProjectDrawingTest)
#include "ProjectDrawingTest.moc"
