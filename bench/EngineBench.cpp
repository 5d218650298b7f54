// Engine speed. Compare the per-element time of BM_QuadrantDevelopment with
// BM_TranscendentalBaseline: the baseline runs only the library calls that a
// quadrant's development needs, so the ratio is the engine's own overhead
// (rounding, checks, array traffic).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "fishApi/texts/FishTexts.h"

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

// The floor: only the library calls a quadrant's development needs, replayed
// on the engine's own arguments (recorded from a development outside the
// timing), counted over the same n + 3 elements as the engine's pass.
// Each of the n cone elements: its circle point's cosine and sine, the
// square roots of the chord and of the side from the corner, the arc cosine
// of the angle at the corner (its square root and arc tangent), and the
// cosine and sine that lay the point flat. Once a quadrant: the circle
// points at the arc's ends (three of them), the seam's length and the cosine
// that lays it, the two plane triangles' sides and their angle, and the
// cosine and sine that lay the last point.
struct ElementArguments {
  long double t, chord2, side2, ratio, turn;
};

struct QuadrantArguments {
  std::vector<ElementArguments> cone;
  long double endAngles[3] = {};
  long double sides2[7] = {};  // the seam, then both triangles' three sides
  long double seamTurn = 0;
  long double cornerRatios[2] = {};
  long double lastTurn = 0;
};

static QuadrantArguments RecordArguments(std::int32_t n) {
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
  const auto square = [&rounded](const TPoint3D& a0, const TPoint3D& b0) {
    const TPoint3D a = rounded(a0), b = rounded(b0);
    const long double dx = a.X - b.X, dy = a.Y - b.Y, dz = a.Z - b.Z;
    return dx * dx + dy * dy + dz * dz;
  };
  const auto ratioOf = [](long double opposite, long double b, long double c) {
    return (b * b + c * c - opposite * opposite) / (2 * b * c);
  };
  QuadrantArguments q;
  const std::size_t m = surf.size() - 1;
  const TPoint3D corner = surf[1].P1;
  q.endAngles[0] = kPi_2;  // the arc's start, for element 0 and again for element 1
  q.endAngles[1] = kPi_2;
  q.endAngles[2] = 0;  // its end
  const TTriangle3D first = SolveTriangle(corner, surf[0].P1, surf[0].P2);
  const TTriangle3D last = SolveTriangle(surf[m].P1, surf[m - 1].P1, surf[m].P2);
  const long double sides2[7] = {square(surf[0].P1, surf[0].P2),     square(corner, surf[0].P1),
                                 square(surf[0].P1, surf[0].P2),     square(surf[0].P2, corner),
                                 square(surf[m].P1, surf[m - 1].P1), square(surf[m - 1].P1, surf[m].P2),
                                 square(surf[m].P2, surf[m].P1)};
  std::copy(std::begin(sides2), std::end(sides2), q.sides2);
  q.seamTurn = 0;  // no offset: the seam is laid along Y
  q.cornerRatios[0] = ratioOf(first.Side12, first.Side20, first.Side01);
  q.cornerRatios[1] = ratioOf(last.Side20, last.Side12, last.Side01);
  long double theta = first.Angle0;
  for (std::size_t j = 2; j < m; ++j) {
    const long double a = std::sqrt(square(surf[j].P2, corner)), b = std::sqrt(square(corner, surf[j - 1].P2));
    const long double c = std::sqrt(square(surf[j - 1].P2, surf[j].P2));
    const long double ratio = ratioOf(c, a, b);
    theta += std::atan2(std::sqrt(1 - ratio * ratio), ratio);
    const long double t = static_cast<long double>(j - 1) * (-kPi_2 / n) + kPi_2;
    q.cone.push_back({t, c * c, a * a, ratio, kPi - theta});
  }
  q.lastTurn = kPi - (theta + last.Angle1);
  return q;
}

static void BM_TranscendentalBaseline(benchmark::State& state) {
  const QuadrantArguments q = RecordArguments(static_cast<std::int32_t>(state.range(0)));
  long double acc = 0;
  for (auto _ : state) {
    for (const ElementArguments& e : q.cone) {
      acc += std::cos(e.t) + std::sin(e.t) + std::sqrt(e.chord2) + std::sqrt(e.side2) +
             std::atan2(std::sqrt(1 - e.ratio * e.ratio), e.ratio) + std::cos(e.turn) + std::sin(e.turn);
    }
    for (long double t : q.endAngles) acc += std::cos(t) + std::sin(t);
    for (long double s : q.sides2) acc += std::sqrt(s);
    acc += std::cos(q.seamTurn);
    for (long double r : q.cornerRatios) acc += std::atan2(std::sqrt(1 - r * r), r);
    acc += std::cos(q.lastTurn) + std::sin(q.lastTurn);
    benchmark::DoNotOptimize(acc);
  }
  state.SetItemsProcessed(state.iterations() * (state.range(0) + 3));
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

// The results page as the window shows it (publishing its last quadrant), at
// the largest count: the page's own guard against a slower development or
// slower rows.
static void BM_ResultsPageFinest(benchmark::State& state) {
  const TSystemParams sp = defaultSystemParams();
  TProParams pp = defaultProParams();
  pp.Divisions = kMaxDivisions;
  for (auto _ : state) {
    TResultsPage page = resultsPage(sp, pp);
    benchmark::DoNotOptimize(page.Lines.data());
  }
}
BENCHMARK(BM_ResultsPageFinest)->Unit(benchmark::kMillisecond);
