// Drawing speed: the redraw of a development on an 800 x 600 surface, against
// the engine's computation alone and against QPainter drawing the same
// segments from ready-made pixels. The redraw should stay within 1.3 times
// the engine's time plus the bare QPainter time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <vector>

#include "fishApi/view/FishDraw.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "xPaintBox/TxPaintBox.h"

using namespace fish;

namespace {

struct Project {
  TSystemParams sp = defaultSystemParams();
  TProParams pp = defaultProParams();
};

Project ForArg(int64_t which) {
  Project p;
  if (which == 1) {
    p.pp.Divisions = 10000;
    p.pp.Quadrants = {1, 1, 1, 1};
    p.pp.ShowGrid = 1;
  }
  return p;
}

// Records the pixels of every segment, so QPainter can draw them again alone.
class SegmentCollector : public TDrawSurface {
 public:
  explicit SegmentCollector(TxPaintBox& box) : box_(box) {}
  std::vector<QLine> lines;
  void UpdateScale() override { box_.UpdateScale(); }
  void ClearView() override {}
  void MoveTo2D(Extended x, Extended y) override { pen_ = Pixel(x, y); }
  void LineTo2D(Extended x, Extended y) override {
    const QPoint to = Pixel(x, y);
    lines.emplace_back(pen_, to);
    pen_ = to;
  }
  void MoveTo3D(Extended, Extended, Extended) override {}
  void LineTo3D(Extended, Extended, Extended) override {}

 private:
  QPoint Pixel(Extended x, Extended y) {
    const TPixel p = box_.mapping().project2D(x, y);
    return {p.X, p.Y};
  }
  TxPaintBox& box_;
  QPoint pen_;
};

TxPaintBox& Surface() {
  static TxPaintBox* box = [] {
    auto* b = new TxPaintBox;
    b->resize(800, 600);
    b->setBounds({-100, 100, -100, 100, -100, 100});
    b->setPenColor(Qt::blue);
    return b;
  }();
  return *box;
}

void BM_DrawRazvertka(benchmark::State& state) {
  const Project p = ForArg(state.range(0));
  TxPaintBox& box = Surface();
  for (auto _ : state) {
    DrawRazvertka(box, p.sp, p.pp);
    benchmark::DoNotOptimize(box.canvasImage().constBits());
  }
}

void BM_EngineOnly(benchmark::State& state) {
  const Project p = ForArg(state.range(0));
  for (auto _ : state) {
    for (std::uint16_t q = 1; q <= 4; ++q) {
      if (!quadrantSelected(p.pp, q)) continue;
      TExtents3D box;
      TPoint2D mn, mx;
      CalcSurfQuadrant(p.sp, p.pp, q, box, LastSurf);
      CalcRazvertkaQuadrant(LastSurf, q, p.sp, mn, mx, LastRazvertka);
    }
    benchmark::DoNotOptimize(LastRazvertka.data());
  }
}

void BM_QPainterBaseline(benchmark::State& state) {
  const Project p = ForArg(state.range(0));
  SegmentCollector collector(Surface());
  DrawRazvertka(collector, p.sp, p.pp);
  QImage image(800, 600, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    QPen pen(Qt::blue);
    pen.setCosmetic(true);
    painter.setPen(pen);
    for (const QLine& l : collector.lines) painter.drawLine(l);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["segments"] = static_cast<double>(collector.lines.size());
}

}  // namespace

// Argument 0: the default project; 1: four quadrants, 10000 divisions, grid.
BENCHMARK(BM_DrawRazvertka)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QPainterBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
