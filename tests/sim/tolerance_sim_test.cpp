// The tolerance analysis against ngspice. Monte Carlo against ngspice's own: the same netlist,
// every resistor and capacitor altered by ngspice's uniform random function within its tolerance,
// 2,000 runs each; the mean and standard deviation of the gain at three frequencies must agree
// within three standard errors, for a single MFB stage and a 6th-order cascade. Sensitivities
// against finite differences of ngspice runs.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

#include "cascade/cascade_design.h"
#include "ngspice_monte_carlo.h"
#include "ngspice_runner.h"
#include "spice/netlist.h"
#include "tolerance/tolerance_analysis.h"

namespace morvane {
namespace {

constexpr int kRuns = 2000;
constexpr double kResistorTolerance = 0.01;
constexpr double kCapacitorTolerance = 0.05;

void Compare(const CascadeRequest& request) {
  const CascadeDesign d = DesignCascade(request);
  ASSERT_EQ(d.problem, "");
  const double fg = request.fg;
  const double f[3] = {0.5 * fg, fg, 1.5 * fg};
  sim::SpiceMonteCarloRequest spiceRequest;
  spiceRequest.runs = kRuns;
  spiceRequest.tolerances = {100 * kResistorTolerance, 100 * kCapacitorTolerance, 0.0,
                             ToleranceDistribution::Uniform, 3};
  spiceRequest.sweep = {sim::AcSweep::Spacing::Linear, 3, f[0], f[2]};
  const sim::SpiceMonteCarlo spice =
      sim::RunSpiceMonteCarlo(sim::MonteCarloNetlist(d, spiceRequest));
  ASSERT_TRUE(spice.Ok()) << spice.error.substr(0, 2000);
  // The three frequencies are evenly spaced: "lin 3" hits f[1] too.
  ASSERT_EQ(spice.frequencies.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(spice.frequencies[i], f[i], 1e-9 * fg);

  const auto sections = ToleranceSectionsOf(SectionCircuitsOf(d));
  ASSERT_TRUE(sections);
  MonteCarloRequest r;
  r.runs = kRuns;
  r.tolerances = spiceRequest.tolerances;
  r.frequencies = {f[0], f[1], f[2]};
  const MonteCarloResult m = RunMonteCarlo(*sections, r);
  for (std::size_t i = 0; i < 3; ++i) {
    const double ours = m.band.meanGain[i];
    const double mean = spice.meanGain[i];
    const double sd = spice.stdGain[i];
    const double ourSd = m.band.stdGain[i];
    const double meanError = std::sqrt((sd * sd + ourSd * ourSd) / kRuns);
    const double sdError = std::sqrt((sd * sd + ourSd * ourSd) / (2.0 * (kRuns - 1)));
    EXPECT_NEAR(ours, mean, 3.0 * meanError) << "mean at " << f[i] << " Hz";
    EXPECT_NEAR(ourSd, sd, 3.0 * sdError) << "std at " << f[i] << " Hz";
  }
}

TEST(ToleranceSim, SingleMfbStageAgreesWithNgspice) {
  CascadeRequest r;
  r.order = 2;
  r.fg = 1000.0;
  r.topology = Topology::Mfb;
  Compare(r);
}

TEST(ToleranceSim, SixthOrderCascadeAgreesWithNgspice) {
  CascadeRequest r;
  r.approximation = Approximation::Chebyshev;
  r.order = 6;
  r.fg = 1000.0;
  Compare(r);
}

}  // namespace
}  // namespace morvane

namespace morvane {
namespace {

// A second-order lowpass from its simulated response: f0 where Re H crosses zero (H is
// -j Q H0 there), H0 from 1/H = (1 - x^2 + j x / Q) / H0 at the first point, Q = |H(f0)| / |H0|.
struct SimulatedFigures {
  double f0 = 0.0, q = 0.0, gain = 0.0;
};

SimulatedFigures FiguresOfSimulation(const sim::AcResult& r) {
  const auto& v = r.Voltage("out");
  SimulatedFigures s;
  for (std::size_t i = 1; i < v.size(); ++i) {
    if ((v[i - 1].real() > 0) != (v[i].real() > 0)) {
      const double t = v[i - 1].real() / (v[i - 1].real() - v[i].real());
      s.f0 = r.frequency[i - 1] + t * (r.frequency[i] - r.frequency[i - 1]);
      const std::complex<double> at = v[i - 1] + t * (v[i] - v[i - 1]);
      const double x = r.frequency[0] / s.f0;
      s.gain = (1.0 - x * x) / (1.0 / v[0]).real();
      s.q = std::abs(at) / std::abs(s.gain);
      break;
    }
  }
  return s;
}

// The sensitivities of f0, Q and gain to every part against central differences of ngspice
// runs with each component 0.1 % up and down: an MFB lowpass and a Sallen-Key lowpass of gain 2.
TEST(ToleranceSim, SensitivitiesAreNgspiceFiniteDifferences) {
  constexpr double kStep = 1e-3;
  for (Topology topology : {Topology::Mfb, Topology::Pfb}) {
    CascadeRequest r;
    r.order = 2;
    r.fg = 1000.0;
    r.gain = 2.0;
    r.topology = topology;
    const CascadeDesign d = DesignCascade(r);
    ASSERT_EQ(d.problem, "");
    const auto sections = ToleranceSectionsOf(SectionCircuitsOf(d));
    ASSERT_TRUE(sections);
    const std::vector<PartSensitivity> ours = Sensitivities(sections->at(0));
    NetlistOptions options;
    options.controlBlock = false;
    options.idealOpAmpGain = 1e9;
    options.fStart = 0.8 * d.sections[0].plan.f0;
    options.fStop = 1.2 * d.sections[0].plan.f0;
    options.pointsPerDecade = 20000;
    std::vector<sim::AcJob> jobs;
    const std::size_t parts = d.sections[0].circuit.circuit.parts.size();
    for (std::size_t i = 0; i < parts; ++i) {
      for (double factor : {1.0 + kStep, 1.0 - kStep}) {
        CascadeDesign changed = d;
        changed.sections[0].circuit.circuit.parts[i].value *= factor;
        jobs.push_back({CascadeNetlist(changed, options), {"out"}});
      }
    }
    jobs.push_back({CascadeNetlist(d, options), {"out"}});
    const std::vector<sim::AcResult> results = sim::RunAc(jobs);
    ASSERT_TRUE(results.back().Ok()) << results.back().error.substr(0, 300);
    const SimulatedFigures nominal = FiguresOfSimulation(results.back());
    ASSERT_GT(nominal.f0, 0.0);
    for (std::size_t i = 0; i < parts; ++i) {
      const SimulatedFigures up = FiguresOfSimulation(results[2 * i]);
      const SimulatedFigures down = FiguresOfSimulation(results[2 * i + 1]);
      const auto sensitivity = [&](double SimulatedFigures::*figure) {
        return (up.*figure - down.*figure) / (2.0 * kStep * nominal.*figure);
      };
      SCOPED_TRACE(ours[i].part + (topology == Topology::Mfb ? " mfb" : " pfb"));
      EXPECT_NEAR(ours[i].f0, sensitivity(&SimulatedFigures::f0), 0.01);
      EXPECT_NEAR(ours[i].q, sensitivity(&SimulatedFigures::q), 0.01);
      EXPECT_NEAR(ours[i].gain, sensitivity(&SimulatedFigures::gain), 0.01);
    }
  }
}

}  // namespace
}  // namespace morvane
