// Keystroke to picture: one digit typed into the radius field of a project
// with 100000 (or 10000) divisions, all four quadrants and the grid, until
// every event it caused has run (the repaint included), on each page.
// The floor, in the same run, is one pass of that page's engine work on its
// own: the drawing of the view on a surface of the same size, or the results
// or figures page. A window that computes once per keystroke stays near a
// ratio of 1. On a drawing page a repaint of a view whose buffer was dropped
// draws the view's kept segments, with no engine work; a zoom step, a scroll
// step and a resize map the points the view kept of its last walk (within
// its memory budget), or walk the engine's quadrants once, two at a time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdint>
#include <map>

#include "fishApi/view/FishDraw.h"
#include "fishApi/texts/FiguresText.h"
#include "fishApi/texts/FishTexts.h"
#include "worksheet/TWorkForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

// One window per division count, made when first measured.
TWorkForm& Window(std::int64_t divisions) {
  static std::map<std::int64_t, TWorkForm*> windows;
  TWorkForm*& form = windows[divisions];
  if (!form) {
    form = new TWorkForm(nullptr);
    form->resize(1000, 700);
    form->ProParams.Divisions = static_cast<std::int32_t>(divisions);
    form->ProParams.Quadrants = {1, 1, 1, 1};
    form->ProParams.ShowGrid = 1;
    form->show();
    QApplication::processEvents();
  }
  for (const auto& [n, other] : windows) other->setVisible(other == form);
  return *form;
}

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void BM_KeystrokeToPicture(benchmark::State& state) {
  TWorkForm& form = Window(state.range(1));
  form.setActivePage(static_cast<vintaler::Page>(state.range(0)));
  Settle();
  QLineEdit* radius = form.Edits[2];
  radius->setFocus();
  for (auto _ : state) {
    // Alternately add and remove a digit: 50 -> 505 -> 50.
    radius->end(false);
    QTest::keyClick(radius, radius->text().size() == 2 ? Qt::Key_5 : Qt::Key_Backspace);
    Settle();
  }
}

void BM_ViewChangeToPicture(benchmark::State& state) {
  TWorkForm& form = Window(state.range(2));
  form.setActivePage(static_cast<vintaler::Page>(state.range(0)));
  Settle();
  const QSize size = form.size();
  bool forth = true;
  for (auto _ : state) {
    switch (state.range(1)) {
      case 0: (forth ? form.ZoomIn : form.ZoomOut)->trigger(); break;
      case 1: (forth ? form.ScrollLeft : form.ScrollRight)->trigger(); break;
      case 2: form.resize(forth ? size + QSize(20, 10) : size); break;
      default: form.ActiveBox->invalidate(); break;
    }
    forth = !forth;
    Settle();
  }
  form.resize(size);
  Settle();
}

void BM_OneEnginePass(benchmark::State& state) {
  TWorkForm& form = Window(state.range(1));
  TxPaintBox box;
  box.resize(form.xPaintBox1->size());
  box.setBounds(form.xPaintBox1->bounds());
  for (auto _ : state) {
    switch (state.range(0)) {
      case 0: fish::DrawSurf(box, form.SystemParams, form.ProParams); break;
      case 1: fish::DrawRazvertka(box, form.SystemParams, form.ProParams); break;
      case 2: benchmark::DoNotOptimize(fish::resultsPage(form.SystemParams, form.ProParams).Lines.size()); break;
      default:
        benchmark::DoNotOptimize(
            fish::figuresPage(form.SystemParams, form.ProParams, form.Plate, form.Cutting).Lines.size());
        break;
    }
  }
}

}  // namespace

// Arguments: the page shown (0 model, 1 development, 2 results, 3 figures for
// marking out); the divisions. Goals: 400 ms (results page 1 s) at 100000,
// 50 ms at 10000.
BENCHMARK(BM_KeystrokeToPicture)
    ->ArgsProduct({{0, 1, 2, 3}, {100000, 10000}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6);
// Arguments: the drawing page (0 model, 1 development); the change (0 zoom,
// 1 scroll, 2 resize, 3 repaint); the divisions. Goals: 150 ms at 100000,
// 50 ms at 10000.
BENCHMARK(BM_ViewChangeToPicture)
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3}, {100000, 10000}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);
// Arguments: the page whose engine work is timed alone (as above); the divisions.
BENCHMARK(BM_OneEnginePass)->ArgsProduct({{0, 1, 2, 3}, {100000, 10000}})->Unit(benchmark::kMillisecond)->Iterations(6);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
