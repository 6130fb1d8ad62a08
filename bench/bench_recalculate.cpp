// Time of one full recalculation, as after a keystroke in an entry field.

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

void BM_RecalculateMfbLowpass(benchmark::State& bench) {
  morvane::DesignState state;
  morvane::RecalcInputs inputs;
  NullSink sink;
  for (auto _ : bench) {
    morvane::Recalculate(morvane::ChangedEntry::Any, morvane::Topology::Mfb, state, inputs, sink);
  }
}
BENCHMARK(BM_RecalculateMfbLowpass);

}  // namespace

BENCHMARK_MAIN();
