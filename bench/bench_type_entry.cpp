// A keystroke in the cut-off frequency entry up to the last field it updates: the session's
// TypeEntry runs the entry's handler, the recalculation and every field and grid write, as
// the main window does for each key. Each topology at a typical Q of 0.7071 and at the
// entry's upper limit, Q = 10000 (the LC pages have no Q entry).
// Aims: 2 ms typical, 16 ms (one frame) at Q = 10000.

#include <benchmark/benchmark.h>

#include <string>

#include "design/design_session.h"
#include "design/field_names.h"

namespace {

void BM_TypeEntryFg(benchmark::State& bench) {
  const auto topology = static_cast<morvane::Topology>(bench.range(0));
  morvane::DesignSession session;
  session.Start();
  session.SelectTopology(topology);
  if (morvane::IsActiveTopology(topology)) {
    session.TypeEntry(morvane::field::QEingabe, bench.range(1) == 0 ? "0.7071" : "10000");
  }
  // A digit typed, then taken back: 1000 Hz and 10 kHz in turn.
  const std::string texts[] = {"10000", "1000"};
  std::size_t i = 0;
  for (auto _ : bench) {
    session.TypeEntry(morvane::field::fgEingabe, texts[i]);
    i ^= 1;
  }
  benchmark::DoNotOptimize(session.FieldText(morvane::field::fgEingabe).data());
}

void Arguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"topology", "highQ"});
  for (int topology = 1; topology <= morvane::kTopologyCount; ++topology) {
    b->Args({topology, 0});
    if (morvane::IsActiveTopology(static_cast<morvane::Topology>(topology))) {
      b->Args({topology, 1});
    }
  }
}

BENCHMARK(BM_TypeEntryFg)->Apply(Arguments)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
