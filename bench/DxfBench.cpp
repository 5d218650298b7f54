// DXF export speed: the pattern of four quadrants at 10000 divisions written
// through dxflib, against the floor of writing as many LINE records with
// plain fprintf into the same kind of in-memory file. The export should stay
// within twice the floor.
#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>

#include "dxfExport/PatternDxf.h"
#include "fishApi/shop/FlatPattern.h"

namespace {

const fish::TFlatPattern& Pattern() {
  static const fish::TFlatPattern pattern = [] {
    fish::TProParams pp = fish::defaultProParams();
    pp.Divisions = 10000;
    pp.Quadrants = {1, 1, 1, 1};
    return fish::flatPattern(fish::defaultSystemParams(), pp, fish::TPatternKind::Table);
  }();
  return pattern;
}

std::size_t Records(const fish::TFlatPattern& p) {
  std::size_t n = p.BendLines.size() + p.Labels.size();
  for (const fish::TPatternPiece& piece : p.Pieces) n += piece.Outline.size();
  return n;
}

void BM_PatternDxf(benchmark::State& state) {
  const fish::TFlatPattern& pattern = Pattern();
  for (auto _ : state) benchmark::DoNotOptimize(vintaler::dxf::patternDxf(pattern).size());
  state.counters["records"] = static_cast<double>(Records(pattern));
}

void BM_FprintfLinesFloor(benchmark::State& state) {
  const fish::TFlatPattern& pattern = Pattern();
  const std::size_t records = Records(pattern);
  for (auto _ : state) {
    const int fd = ::memfd_create("floor", MFD_CLOEXEC);
    FILE* f = ::fdopen(fd, "w");
    for (std::size_t i = 0; i < records; ++i) {
      const fish::TPatternLine& l = pattern.BendLines[i % pattern.BendLines.size()];
      // A LINE record: its layer and both end points, all six coordinates
      // at the precision the export uses.
      std::fprintf(f, "  0\nLINE\n  8\nBEND\n 10\n%.16f\n 20\n%.16f\n 30\n%.16f\n 11\n%.16f\n 21\n%.16f\n 31\n%.16f\n",
                   static_cast<double>(l.From.X), static_cast<double>(l.From.Y), 0.0, static_cast<double>(l.To.X),
                   static_cast<double>(l.To.Y), 0.0);
    }
    std::fflush(f);
    benchmark::DoNotOptimize(::lseek(fd, 0, SEEK_CUR));
    std::fclose(f);
  }
  state.counters["records"] = static_cast<double>(records);
}

}  // namespace

BENCHMARK(BM_PatternDxf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FprintfLinesFloor)->Unit(benchmark::kMillisecond);
