// The precise development against the tables' development, per element, in
// the same run: both build their surface and lay it, quadrant 1 of the
// default project. After the runs the ratio precise / tables is printed for
// each number of divisions; it is meant to stay within 1.5.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "fishApi/core/FishRazvertka.h"
#include "fishApi/precise/PreciseDevelopment.h"

using namespace fish;

static void BM_TableDevelopment(benchmark::State& state) {
  const TSystemParams sp = defaultSystemParams();
  TProParams pro = defaultProParams();
  pro.Divisions = static_cast<std::int32_t>(state.range(0));
  TQuadrantDevelopment d;
  for (auto _ : state) {
    developQuadrantInto(sp, pro, 1, d);
    benchmark::DoNotOptimize(d.Razvertka.data());
  }
  state.SetItemsProcessed(state.iterations() * (state.range(0) + 3));
}
BENCHMARK(BM_TableDevelopment)->Arg(10)->Arg(1000)->Arg(100000);

static void BM_PreciseDevelopment(benchmark::State& state) {
  const TSystemParams sp = defaultSystemParams();
  TProParams pro = defaultProParams();
  pro.Divisions = static_cast<std::int32_t>(state.range(0));
  TRazvertka2PointArray razv;
  TPoint2D min, max;
  for (auto _ : state) {
    developPreciseInto(sp, pro, 1, razv, min, max);
    benchmark::DoNotOptimize(razv.data());
  }
  state.SetItemsProcessed(state.iterations() * (state.range(0) + 3));
}
BENCHMARK(BM_PreciseDevelopment)->Arg(10)->Arg(1000)->Arg(100000);

namespace {

// The console's report, and the time per element of each run kept by its
// number of divisions, for the ratio printed at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      const auto slash = name.find('/');
      if (slash == std::string::npos || run.iterations == 0) continue;
      const double items = std::stod(name.substr(slash + 1)) + 3;
      const double perElement = run.GetAdjustedRealTime() / items;
      (name.rfind("BM_Precise", 0) == 0 ? Precise : Table)[name.substr(slash + 1)] = perElement;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [divisions, precise] : Precise) {
      const auto table = Table.find(divisions);
      if (table == Table.end() || table->second <= 0) continue;
      std::printf("divisions %s: precise / tables per element = %.2f\n", divisions.c_str(), precise / table->second);
    }
  }

 private:
  std::map<std::string, double> Precise, Table;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
