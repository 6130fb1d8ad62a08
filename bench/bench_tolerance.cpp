// Monte Carlo runs as the tolerance analysis makes them: 10,000 runs over 200 frequency points
// of a single MFB lowpass stage (aim 100 ms) and of an 8th-order cascade (four sections, aim
// 500 ms), uniform 1 % resistors and 5 % capacitors.

#include <benchmark/benchmark.h>

#include "cascade/cascade_design.h"
#include "tolerance/tolerance_analysis.h"

namespace {

std::vector<morvane::ToleranceSection> Sections(int order) {
  morvane::CascadeRequest r;
  r.order = order;
  r.topology = morvane::Topology::Mfb;
  return *morvane::ToleranceSectionsOf(morvane::SectionCircuitsOf(morvane::DesignCascade(r)));
}

void BM_MonteCarlo(benchmark::State& bench) {
  const auto sections = Sections(static_cast<int>(bench.range(0)));
  morvane::MonteCarloRequest request;
  request.runs = 10000;
  request.points = 200;
  request.fromHz = 10.0;
  request.toHz = 100e3;
  for (auto _ : bench) benchmark::DoNotOptimize(morvane::RunMonteCarlo(sections, request));
}
BENCHMARK(BM_MonteCarlo)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
