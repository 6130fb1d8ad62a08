// Time of one whole-filter design as after a keystroke: prototype, transformation, sections,
// every section's circuit and the figures of the whole, for each approximation and filter
// type at order 20 (band types: 40 poles); and the samples of a 1,000-point curve of the
// cascade (gain, phase, group delay, step response); the transfer of a section's circuit
// from its part values.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "cascade/cascade_design.h"
#include "circuit/circuit_transfer.h"
#include "filters/filter_response.h"

namespace {

using morvane::Approximation;
using morvane::FilterKind;

morvane::CascadeRequest Request(int approximation, int kind, int order) {
  morvane::CascadeRequest r;
  r.approximation = static_cast<Approximation>(approximation);
  r.kind = static_cast<FilterKind>(kind);
  r.order = order;
  r.fg = 20e3;
  r.fm = 10e3;
  r.bandwidth = 2e3;
  r.rippleDb = 0.1;
  r.stopbandDb = 80.0;
  r.stopbandHz = 24e3;
  return r;
}

void BM_DesignCascade(benchmark::State& bench) {
  const morvane::CascadeRequest r =
      Request(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)),
              static_cast<int>(bench.range(2)));
  if (!morvane::DesignCascade(r).problem.empty()) {
    bench.SkipWithError("the request has a problem");
    return;
  }
  for (auto _ : bench) {
    morvane::CascadeDesign d = morvane::DesignCascade(r);
    benchmark::DoNotOptimize(d.sections.data());
  }
}
// Arguments: approximation 0..5 (Butterworth, Chebyshev, Bessel, Linkwitz-Riley, inverse
// Chebyshev, elliptic), kind 0..3 (lowpass, highpass, bandpass, bandstop), prototype order.
BENCHMARK(BM_DesignCascade)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1, 2, 3}, {20}})
    ->Unit(benchmark::kMicrosecond);

// The samples of a --curve of 1,000 points, as the CLI computes them: argument 0 gain,
// 1 phase, 2 group delay, 3 step response.
void BM_CascadeCurve(benchmark::State& bench) {
  const morvane::CascadeDesign d = morvane::DesignCascade(Request(5, 0, 20));
  const int what = static_cast<int>(bench.range(0));
  constexpr int kPoints = 1000;
  std::vector<double> x(kPoints), y(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    x[static_cast<std::size_t>(i)] = what == 3 ? 2e-3 * i / (kPoints - 1) : 100.0 + 100.0 * i;
  }
  for (auto _ : bench) {
    if (what == 3) {
      // As the CLI samples a step response from t = 0: the partial fractions once, then one
      // complex multiplication a pole and sample.
      y = morvane::StepResponse(d.transfer).Along(x[1] - x[0], kPoints);
    } else if (what == 1) {
      std::vector<double> omegas(kPoints);
      for (int i = 0; i < kPoints; ++i) omegas[i] = 2.0 * std::numbers::pi * x[i];
      y = morvane::PoleZeroPhaseAlong(d.transfer, omegas);
    } else {
      for (int i = 0; i < kPoints; ++i) {
        const double w = 2.0 * std::numbers::pi * x[i];
        y[i] = what == 0 ? morvane::PoleZeroGainDb(d.transfer, w)
                         : morvane::PoleZeroGroupDelay(d.transfer, w);
      }
    }
    benchmark::DoNotOptimize(y.data());
  }
}
BENCHMARK(BM_CascadeCurve)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The transfer of one section's circuit from its part values, the step every as-built and
// tolerance figure starts from: an MFB bandpass (one op amp, 2 capacitors) and a four-op-amp
// notch (2 capacitors, 11 resistors); then its gain at 200 frequencies.
void BM_SectionTransfer(benchmark::State& bench) {
  morvane::CascadeRequest r = Request(bench.range(0) == 0 ? 0 : 5, 2, 1);
  r.topology = bench.range(0) == 0 ? morvane::Topology::Mfb : morvane::Topology::Svf4;
  if (bench.range(0) == 1) r.kind = FilterKind::Bandstop;
  const morvane::CascadeDesign d = morvane::DesignCascade(r);
  const morvane::Circuit& circuit = d.sections.at(0).circuit.circuit;
  for (auto _ : bench) {
    const auto h = morvane::CircuitTransfer(circuit);
    double sum = 0.0;
    for (int i = 0; i < 200; ++i) {
      const double f = 100.0 * std::pow(1000.0, i / 199.0);
      sum += std::abs(morvane::EvaluateAt(*h, {0.0, 2.0 * std::numbers::pi * f}));
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_SectionTransfer)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
