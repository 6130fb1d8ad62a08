// Monte Carlo runs as the tolerance analysis makes them: 10,000 runs over 200 frequency points
// of a single MFB lowpass stage (aim 100 ms) and of an 8th-order cascade (four sections, aim
// 500 ms), uniform 1 % resistors and 5 % capacitors.
//
// When the build found ngspice, BM_NgspiceMonteCarlo runs the same analysis in ngspice, for
// its time beside ours: the same circuits (op amps of gain 1e9), 10,000 runs of ngspice's own
// Monte Carlo in one "ngspice -b" (every R and C altered by its uniform random function before
// each run's AC analysis, and the mean and standard deviation of the gain summed up over the
// runs), timed from the start of the process to its end. ngspice sweeps a whole number of
// points a decade, both ends included: "dec 50" from 10 Hz to 100 kHz is 201 points to our
// 200 (the "points" counter). One full run takes about 12 s (stage) and 31 s (cascade) on the
// idle 2-core machine of the README, so each is timed once.

#include <benchmark/benchmark.h>

#include "cascade/cascade_design.h"
#include "tolerance/tolerance_analysis.h"

#ifdef NGSPICE_PATH
#include <sys/resource.h>

#include <chrono>

#include "ngspice_monte_carlo.h"
#endif

namespace {

constexpr int kRuns = 10000;

morvane::CascadeDesign Design(int order) {
  morvane::CascadeRequest r;
  r.order = order;
  r.topology = morvane::Topology::Mfb;
  return morvane::DesignCascade(r);
}

std::vector<morvane::ToleranceSection> Sections(int order) {
  return *morvane::ToleranceSectionsOf(morvane::SectionCircuitsOf(Design(order)));
}

void RunOurs(benchmark::State& bench, bool phaseAndDelay) {
  const auto sections = Sections(static_cast<int>(bench.range(0)));
  morvane::MonteCarloRequest request;
  request.runs = kRuns;
  request.points = 200;
  request.fromHz = 10.0;
  request.toHz = 100e3;
  request.phaseAndDelay = phaseAndDelay;
  for (auto _ : bench) benchmark::DoNotOptimize(morvane::RunMonteCarlo(sections, request));
}

void BM_MonteCarlo(benchmark::State& bench) {
  RunOurs(bench, false);
}
BENCHMARK(BM_MonteCarlo)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

// As the tolerance window runs it: the phase and group delay bands too.
void BM_MonteCarloWithPhaseAndDelay(benchmark::State& bench) {
  RunOurs(bench, true);
}
BENCHMARK(BM_MonteCarloWithPhaseAndDelay)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

#ifdef NGSPICE_PATH
// User and system time of the ended child processes.
double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_NgspiceMonteCarlo(benchmark::State& bench) {
  morvane::sim::SpiceMonteCarloRequest request;
  request.runs = kRuns;
  request.sweep = {morvane::sim::AcSweep::Spacing::Decade, 50, 10.0, 100e3};
  const std::string netlist =
      morvane::sim::MonteCarloNetlist(Design(static_cast<int>(bench.range(0))), request);
  std::size_t points = 0;
  const double cpuBefore = ChildrenCpuSeconds();
  for (auto _ : bench) {
    const auto result = morvane::sim::RunSpiceMonteCarlo(netlist, std::chrono::minutes(20));
    if (!result.Ok()) {
      bench.SkipWithError(result.error.substr(0, 300).c_str());
      break;
    }
    points = result.frequencies.size();
  }
  bench.counters["points"] = static_cast<double>(points);
  // The CPU column is this process's, which only waits: ngspice's own is this counter.
  bench.counters["ngspice_cpu_s"] =
      benchmark::Counter(ChildrenCpuSeconds() - cpuBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NgspiceMonteCarlo)
    ->Arg(2)
    ->Arg(8)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
