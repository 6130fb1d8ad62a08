// Time of the whole-filter figures (ComputeFilterFigures) and of the section peakings
// (SectionPeakings) of a designed, transformed and split filter, as the cascade designer
// recalculates them after a keystroke: every approximation and kind at prototype orders 10 and
// 20 (band kinds have twice as many poles), and Chebyshev and elliptic over their ripple range.
//
// Run with `taskset -c 1 bench_filter_figures` for steady numbers.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <utility>

#include "filters/analog_prototype.h"
#include "filters/filter_figures.h"
#include "filters/filter_sections.h"
#include "filters/frequency_transform.h"

namespace {

using morvane::Approximation;
using morvane::FilterKind;

constexpr double kCornerOmega = 2.0 * std::numbers::pi * 1000.0;
constexpr double kBandwidth = 2.0 * std::numbers::pi * 300.0;

struct Designed {
  morvane::PoleZeroGain filter;
  morvane::SectionPlan plan;
};

// Arguments: approximation, kind, prototype order, pass-band ripple in 1/100 dB.
Designed Design(const benchmark::State& bench) {
  morvane::PrototypeRequest request;
  request.approximation = static_cast<Approximation>(bench.range(0));
  request.order = static_cast<int>(bench.range(2));
  request.rippleDb = static_cast<double>(bench.range(3)) / 100.0;
  request.stopbandDb = 60.0;
  const FilterKind kind = static_cast<FilterKind>(bench.range(1));
  std::string problem;
  const auto prototype = morvane::DesignPrototype(request, &problem);
  if (!prototype) {
    std::fprintf(stderr, "cannot design: %s\n", problem.c_str());
    std::abort();
  }
  const auto filter =
      morvane::TransformPrototype(prototype->transfer, kind, kCornerOmega, kBandwidth, problem);
  if (!filter) {
    std::fprintf(stderr, "cannot transform: %s\n", problem.c_str());
    std::abort();
  }
  morvane::SectionPlan plan =
      morvane::SplitIntoSections(*filter, kind, 1.0, morvane::GainSplit::Equal);
  return {*filter, std::move(plan)};
}

void BM_FilterFigures(benchmark::State& bench) {
  const Designed designed = Design(bench);
  const FilterKind kind = static_cast<FilterKind>(bench.range(1));
  for (auto _ : bench) {
    const morvane::FilterFigures figures = morvane::ComputeFilterFigures(designed.filter, kind);
    benchmark::DoNotOptimize(&figures);
  }
}

void BM_SectionPeakings(benchmark::State& bench) {
  const Designed designed = Design(bench);
  const FilterKind kind = static_cast<FilterKind>(bench.range(1));
  for (auto _ : bench) {
    const auto peakings =
        morvane::SectionPeakings(designed.plan.sections, kind, morvane::Topology::Mfb);
    benchmark::DoNotOptimize(peakings.data());
  }
}

// Every approximation (0..5) and kind (0..3) at orders 10 and 20 with 1 dB ripple; then
// Chebyshev (1) and elliptic (5) at order 20 over 0.01, 0.1 and 3 dB.
void Cases(benchmark::internal::Benchmark* b) {
  b->ArgNames({"approx", "kind", "order", "ripple_cdB"});
  b->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1, 2, 3}, {10, 20}, {100}});
  b->ArgsProduct({{1, 5}, {0, 1, 2, 3}, {20}, {1, 10, 300}});
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_FilterFigures)->Apply(Cases);
BENCHMARK(BM_SectionPeakings)->Apply(Cases);

}  // namespace

BENCHMARK_MAIN();
