// Engine speed. Compare the per-element time of BM_QuadrantDevelopment with
// BM_TranscendentalBaseline: the baseline runs only the library calls that one
// development element needs, so the ratio is the engine's own overhead
// (rounding, checks, array traffic).
#include <benchmark/benchmark.h>

#include <cmath>

#include "fishApi/FishRazvertka.h"
#include "fishApi/FishSurface.h"
#include "fishApi/FishTexts.h"

using namespace fish;

static void BM_QuadrantDevelopment(benchmark::State& state) {
  const TSystemParams sp = defaultSystemParams();
  TProParams pp = defaultProParams();
  pp.Divisions = static_cast<std::int32_t>(state.range(0));
  TSurf2PointArray surf;
  TRazvertka2PointArray razv;
  for (auto _ : state) {
    TExtents3D box;
    TPoint2D mn, mx;
    CalcSurfQuadrant(sp, pp, 1, box, surf);
    CalcRazvertkaQuadrant(surf, 1, sp, mn, mx, razv);
    benchmark::DoNotOptimize(razv.data());
  }
  state.SetItemsProcessed(state.iterations() * (state.range(0) + 3));
}
BENCHMARK(BM_QuadrantDevelopment)->Arg(10)->Arg(1000)->Arg(100000);

// Per element: the circle point's cosine and sine, the three side lengths and
// three angles of its triangle (a square root each, an arc tangent with its
// square root each), and the cosine and sine that lay it flat.
static void BM_TranscendentalBaseline(benchmark::State& state) {
  const long n = static_cast<long>(state.range(0));
  long double acc = 0;
  for (auto _ : state) {
    for (long i = 0; i < n; ++i) {
      const long double t = 1.5L - static_cast<long double>(i) * 1e-5L;
      long double v = std::cos(t) + std::sin(t);
      for (int k = 0; k < 3; ++k) {
        const long double c = 0.25L + k * 0.1L + v * 1e-3L;
        v += std::sqrt(2.0L + c) + std::atan2(std::sqrt(1 - c * c), c);
      }
      v += std::cos(3.0L - v * 1e-3L) + std::sin(3.0L - v * 1e-3L);
      acc += v;
    }
    benchmark::DoNotOptimize(acc);
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_TranscendentalBaseline)->Arg(1000);

static void BM_ResultsTextDefault(benchmark::State& state) {
  const TSystemParams sp = defaultSystemParams();
  const TProParams pp = defaultProParams();
  for (auto _ : state) {
    TStringList lines = getResultsText(sp, pp);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_ResultsTextDefault);
