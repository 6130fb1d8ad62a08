// Time of one full recalculation (stage design, information panel and readout), as after a
// keystroke in an entry field, for each active topology at low, medium and extreme Q.

#include <benchmark/benchmark.h>

#include "design/design_state.h"
#include "design/recalculate.h"

namespace {

class NullSink : public morvane::FieldSink {
 public:
  void Write(std::string_view, const std::string& text) override {
    benchmark::DoNotOptimize(text.data());
  }
  void WriteCell(std::string_view, int, int, const std::string&) override {}
  void Beep() override {}
  void Message(const std::string&) override {}
  void Notice(const std::string&) override {}
};

void BM_Recalculate(benchmark::State& bench) {
  morvane::DesignState state;
  state.topology = static_cast<morvane::Topology>(bench.range(0));
  state.Q = static_cast<double>(bench.range(1)) / 10000.0;
  state.D = 0.5 / state.Q;
  morvane::DesignChoices inputs;
  inputs.pfbR3 = 1000.0;
  inputs.pfbZeroRatio = 2.0;
  inputs.svf3Capacitance = inputs.svf4Capacitance = inputs.fliegeCapacitance = 1e-9;
  NullSink sink;
  for (auto _ : bench) {
    morvane::Recalculate(morvane::ChangedEntry::Any, state.topology, state, inputs, sink);
  }
}
// Arguments: topology 1..5, Q x 10000 (0.7071, 10, 10000).
BENCHMARK(BM_Recalculate)
    ->ArgsProduct({{1, 2, 3, 4, 5}, {7071, 100000, 100000000}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
