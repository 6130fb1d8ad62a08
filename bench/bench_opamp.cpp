// Real op amps: the noise curve (400 points) of an order-10 cascade in each topology that
// builds its sections, and the real-amplifier response of a single stage as one keystroke
// recalculates it (the stage's transfer with the model, its figures and peaking).

#include <benchmark/benchmark.h>

#include "cascade/cascade_circuit.h"
#include "cascade/cascade_design.h"
#include "design/design_session.h"
#include "design/field_names.h"
#include "noise/noise_analysis.h"
#include "opamp/real_response.h"

namespace {

using morvane::Topology;

morvane::OpAmpModel Model(const char* name) {
  return *morvane::FindOpAmp(morvane::BuiltInOpAmps(), name);
}

// An order-10 Chebyshev lowpass at 20 kHz, every section in the topology given.
void BM_NoiseOrder10Cascade(benchmark::State& bench) {
  morvane::CascadeRequest r;
  r.approximation = morvane::Approximation::Chebyshev;
  r.order = 10;
  r.fg = 20e3;
  r.topology = static_cast<Topology>(bench.range(0));
  const morvane::CascadeDesign design = morvane::DesignCascade(r);
  if (!design.problem.empty()) {
    bench.SkipWithError(design.problem.c_str());
    return;
  }
  morvane::Circuit circuit = morvane::JoinedCascadeCircuit(design);
  circuit.opAmpModel = Model("TL072");
  for (auto _ : bench) {
    const auto noise = morvane::AnalyseNoise(circuit, {20.0, 200e3, 400, 25.0});
    benchmark::DoNotOptimize(noise.rms);
  }
}
BENCHMARK(BM_NoiseOrder10Cascade)
    ->Arg(static_cast<int>(Topology::Pfb))
    ->Arg(static_cast<int>(Topology::Mfb))
    ->Arg(static_cast<int>(Topology::Svf4))
    ->Unit(benchmark::kMillisecond);

// The stage's figures and transfer with the op amp, as each recalculation gives them.
void BM_StageRealAmplifier(benchmark::State& bench) {
  morvane::DesignSession session;
  session.Start();
  session.SelectTopology(static_cast<Topology>(bench.range(0)));
  session.TypeEntry(morvane::field::fgEingabe, "20k");
  const morvane::OpAmpModel model = Model("TL072");
  for (auto _ : bench) {
    auto real = morvane::StageRealAmplifier(session.State(), session.Type(), model);
    benchmark::DoNotOptimize(real);
  }
}
BENCHMARK(BM_StageRealAmplifier)
    ->Arg(static_cast<int>(Topology::Mfb))
    ->Arg(static_cast<int>(Topology::Pfb))
    ->Arg(static_cast<int>(Topology::Svf4))
    ->Unit(benchmark::kMicrosecond);

// A keystroke on a page with an op amp chosen: the whole recalculation, the real-amplifier
// figures and the large signal with its headroom included.
void BM_KeystrokeWithOpAmp(benchmark::State& bench) {
  morvane::DesignSession session;
  session.Start();
  session.SelectTopology(static_cast<Topology>(bench.range(0)));
  session.SelectOpAmp(Model("TL072"));
  bool odd = false;
  for (auto _ : bench) {
    session.TypeEntry(morvane::field::fgEingabe, (odd = !odd) ? "20k" : "21k");
    benchmark::DoNotOptimize(session.LargeSignal());
  }
}
BENCHMARK(BM_KeystrokeWithOpAmp)
    ->Arg(static_cast<int>(Topology::Mfb))
    ->Arg(static_cast<int>(Topology::Pfb))
    ->Arg(static_cast<int>(Topology::Svf4))
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
