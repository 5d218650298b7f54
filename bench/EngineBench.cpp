// Engine speed. Compare the per-element time of BM_QuadrantDevelopment with
// BM_TranscendentalBaseline: the baseline runs only the library calls that one
// development element needs, so the ratio is the engine's own overhead
// (rounding, checks, array traffic).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "fishApi/FishMath.h"
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

// The floor: only the library calls one development element needs, replayed
// on the engine's own arguments (recorded from a development outside the
// timing): the circle point's cosine and sine, the square roots of the
// chord and of the side from the corner, the arc cosine of the angle at the
// corner (its square root and arc tangent), and the cosine and sine that lay
// the point flat.
struct ElementArguments {
  long double t, chord2, side2, ratio, turn;
};

static std::vector<ElementArguments> RecordArguments(std::int32_t n) {
  const TSystemParams sp = defaultSystemParams();
  TProParams pp = defaultProParams();
  pp.Divisions = n;
  TSurf2PointArray surf;
  TExtents3D box;
  CalcSurfQuadrant(sp, pp, 1, box, surf);
  const auto rounded = [](TPoint3D p) {
    Round2(p.X);
    Round2(p.Y);
    Round2(p.Z);
    return p;
  };
  const auto square = [](const TPoint3D& a, const TPoint3D& b) {
    const long double dx = a.X - b.X, dy = a.Y - b.Y, dz = a.Z - b.Z;
    return dx * dx + dy * dy + dz * dz;
  };
  const TPoint3D corner = rounded(surf[1].P1);
  std::vector<ElementArguments> args;
  long double theta = 0;
  for (std::size_t j = 2; j + 1 < surf.size(); ++j) {
    const TPoint3D prev = rounded(surf[j - 1].P2), cur = rounded(surf[j].P2);
    const long double a = std::sqrt(square(cur, corner)), b = std::sqrt(square(corner, prev));
    const long double c = std::sqrt(square(prev, cur));
    const long double ratio = (a * a + b * b - c * c) / (2 * a * b);
    theta += std::atan2(std::sqrt(1 - ratio * ratio), ratio);
    const long double t = static_cast<long double>(j - 1) * (-kPi_2 / n) + kPi_2;
    args.push_back({t, square(prev, cur), square(cur, corner), ratio, kPi - theta});
  }
  return args;
}

static void BM_TranscendentalBaseline(benchmark::State& state) {
  const std::vector<ElementArguments> args = RecordArguments(static_cast<std::int32_t>(state.range(0)));
  long double acc = 0;
  for (auto _ : state) {
    for (const ElementArguments& e : args) {
      acc += std::cos(e.t) + std::sin(e.t) + std::sqrt(e.chord2) + std::sqrt(e.side2) +
             std::atan2(std::sqrt(1 - e.ratio * e.ratio), e.ratio) + std::cos(e.turn) + std::sin(e.turn);
    }
    benchmark::DoNotOptimize(acc);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(args.size() + 4));
}
BENCHMARK(BM_TranscendentalBaseline)->Arg(10)->Arg(1000)->Arg(100000);

static void BM_ResultsTextDefault(benchmark::State& state) {
  const TSystemParams sp = defaultSystemParams();
  const TProParams pp = defaultProParams();
  for (auto _ : state) {
    TStringList lines = getResultsText(sp, pp);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_ResultsTextDefault);
