// Whole active filters built in ngspice from the cascade netlist the program writes: the
// simulated gain and phase at the output must be the response the program draws from the
// cascade's poles, zeros and signed gain, for every approximation and filter type at orders 1
// to 10 (20 for a few), in every topology that builds all of the filter's sections.
//
// The op amps are voltage sources of gain 1e9 (the netlist's option; the file the user gets
// has 1e6). A section's error from a finite gain A is about its noise gain times Q over A;
// with Q up to ~100 in a high-order elliptic filter and noise gains up to ~10 that is 1e-6 at
// A = 1e9, far below the tolerances, so what is compared is the design alone.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cascade/cascade_design.h"
#include "circuit/circuit_transfer.h"
#include "filters/filter_response.h"
#include "ngspice_runner.h"
#include "numerics/standard_series.h"
#include "spice/netlist.h"

namespace morvane {
namespace {

constexpr double kGainToleranceDb = 0.05;
constexpr double kPhaseToleranceDegrees = 0.5;
// Compared where the drawn gain is no more than this below the pass-band gain.
constexpr double kCompareRangeDb = 60.0;
constexpr double kSimOpAmpGain = 1e9;

struct Case {
  Approximation approximation;
  FilterKind kind;
  int order;
  std::optional<Topology> topology;  // empty: each section's default
};

const char* ApproximationName(Approximation a) {
  switch (a) {
    case Approximation::Butterworth:
      return "butterworth";
    case Approximation::Chebyshev:
      return "chebyshev";
    case Approximation::Bessel:
      return "bessel";
    case Approximation::LinkwitzRiley:
      return "linkwitz-riley";
    case Approximation::InverseChebyshev:
      return "inverse-chebyshev";
    case Approximation::Elliptic:
      return "elliptic";
  }
  return "?";
}

const char* KindName(FilterKind k) {
  switch (k) {
    case FilterKind::Lowpass:
      return "lowpass";
    case FilterKind::Highpass:
      return "highpass";
    case FilterKind::Bandpass:
      return "bandpass";
    case FilterKind::Bandstop:
      return "bandstop";
  }
  return "?";
}

std::string Describe(const Case& c) {
  std::ostringstream text;
  text << ApproximationName(c.approximation) << " " << KindName(c.kind) << " order " << c.order
       << " topology " << (c.topology ? SectionTopologyName(*c.topology) : "default");
  return text.str();
}

CascadeRequest RequestOf(const Case& c) {
  CascadeRequest r;
  r.approximation = c.approximation;
  r.kind = c.kind;
  r.order = c.order;
  r.fg = 1000.0;
  r.fm = 1000.0;
  r.bandwidth = 400.0;
  r.rippleDb = 0.5;
  r.stopbandDb = 50.0;
  r.gain = 2.0;
  r.split = GainSplit::Equal;
  r.topology = c.topology;
  r.circuit = {.zin = 10e3, .seriesR = 5, .seriesC = 3};
  return r;
}

bool AllSectionsBuilt(const CascadeRequest& r) {
  return DesignCascade(r).problem.empty();
}

std::vector<Case> Cases() {
  using A = Approximation;
  using K = FilterKind;
  std::vector<Case> cases;
  const std::vector<std::optional<Topology>> topologies = {
      std::nullopt, Topology::Mfb, Topology::Pfb, Topology::Svf3, Topology::Svf4, Topology::Fliege};
  for (A a : {A::Butterworth, A::Chebyshev, A::Bessel, A::LinkwitzRiley, A::InverseChebyshev,
              A::Elliptic}) {
    for (K k : {K::Lowpass, K::Highpass, K::Bandpass, K::Bandstop}) {
      for (int order = 1; order <= 10; ++order) {
        if (a == A::LinkwitzRiley && order % 2 != 0) continue;
        for (const auto& topology : topologies) {
          const Case c{a, k, order, topology};
          if (AllSectionsBuilt(RequestOf(c))) cases.push_back(c);
        }
      }
    }
  }
  for (A a : {A::Butterworth, A::Chebyshev, A::Elliptic}) {
    cases.push_back({a, K::Lowpass, 20, std::nullopt});
  }
  cases.push_back({A::Bessel, K::Bandpass, 20, std::nullopt});
  cases.push_back({A::InverseChebyshev, K::Highpass, 20, Topology::Svf4});
  return cases;
}

// The netlists as simulated: no .control block, op amps of gain 1e9, 40 points a decade.
NetlistOptions SimOptions() {
  NetlistOptions options;
  options.controlBlock = false;
  options.idealOpAmpGain = kSimOpAmpGain;
  options.pointsPerDecade = 40;
  return options;
}

double WrapDegrees(double d) {
  d = std::fmod(d, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

TEST(CascadeSim, SimulatedResponseIsTheDrawnOne) {
  const std::vector<Case> cases = Cases();
  std::vector<CascadeDesign> designs;
  std::vector<sim::AcJob> jobs;
  const NetlistOptions options = SimOptions();
  for (const Case& c : cases) {
    designs.push_back(DesignCascade(RequestOf(c)));
    jobs.push_back({CascadeNetlist(designs.back(), options), {"out"}});
  }
  const std::vector<sim::AcResult> results = sim::RunAc(jobs);
  ASSERT_EQ(results.size(), cases.size());
  int compared = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(Describe(cases[i]));
    const sim::AcResult& result = results[i];
    if (!result.Ok()) {
      ADD_FAILURE() << result.error.substr(0, 300);
      continue;
    }
    const CascadeDesign& d = designs[i];
    const double passbandDb = 20.0 * std::log10(d.gain);
    double worstGain = 0.0, worstPhase = 0.0, worstGainHz = 0.0, worstPhaseHz = 0.0;
    const auto& voltage = result.Voltage("out");
    for (std::size_t j = 0; j < result.frequency.size(); ++j) {
      const double f = result.frequency[j];
      const double w = 2.0 * std::numbers::pi * f;
      const double drawnDb = PoleZeroGainDb(d.transfer, w);
      if (drawnDb < passbandDb - kCompareRangeDb) continue;
      const double simDb = 20.0 * std::log10(std::abs(voltage[j]));
      const double gainError = std::abs(simDb - drawnDb);
      const double phaseError = std::abs(WrapDegrees(
          std::arg(voltage[j]) * 180.0 / std::numbers::pi - PoleZeroPhaseDegrees(d.transfer, w)));
      if (gainError > worstGain) worstGain = gainError, worstGainHz = f;
      if (phaseError > worstPhase) worstPhase = phaseError, worstPhaseHz = f;
      ++compared;
    }
    EXPECT_LE(worstGain, kGainToleranceDb) << "at " << worstGainHz << " Hz";
    EXPECT_LE(worstPhase, kPhaseToleranceDegrees) << "at " << worstPhaseHz << " Hz";
  }
  std::printf("%zu cascades, %d points compared\n", cases.size(), compared);
}

// With every resistor rounded to E24 (and E6), the sections' transfers computed from their
// part values (CircuitTransfer) multiply to what ngspice simulates, within 0.01 dB, in every
// topology: the as-built response is the circuit's, not the design's.
TEST(CascadeSim, AsBuiltTransfersAreTheSimulatedOnes) {
  constexpr double kAsBuiltToleranceDb = 0.01;
  std::vector<CascadeDesign> designs;
  std::vector<sim::AcJob> jobs;
  const NetlistOptions options = SimOptions();
  std::vector<Case> cases;
  for (Topology t :
       {Topology::Mfb, Topology::Pfb, Topology::Svf3, Topology::Svf4, Topology::Fliege}) {
    cases.push_back({Approximation::Butterworth, FilterKind::Lowpass, 5, t});
    cases.push_back({Approximation::Chebyshev, FilterKind::Bandpass, 2, t});
  }
  cases.push_back({Approximation::Elliptic, FilterKind::Bandstop, 3, Topology::Svf4});
  cases.push_back({Approximation::Elliptic, FilterKind::Lowpass, 4, Topology::Pfb});
  cases.push_back({Approximation::Butterworth, FilterKind::Bandstop, 1, Topology::Pfb});
  std::vector<std::vector<RationalTransfer>> transfers;
  for (const Case& c : cases) {
    for (int series : {kSeriesE6 + 2, kSeriesE6}) {
      CascadeRequest r = RequestOf(c);
      r.circuit.roundResistors = true;
      r.circuit.seriesR = series;
      designs.push_back(DesignCascade(r));
      ASSERT_EQ(designs.back().problem, "") << Describe(c);
      transfers.emplace_back();
      for (const CascadeSection& s : designs.back().sections) {
        const auto h = CircuitTransfer(s.circuit.circuit);
        ASSERT_TRUE(h) << Describe(c);
        transfers.back().push_back(*h);
      }
      jobs.push_back({CascadeNetlist(designs.back(), options), {"out"}});
    }
  }
  const std::vector<sim::AcResult> results = sim::RunAc(jobs);
  for (std::size_t i = 0; i < results.size(); ++i) {
    SCOPED_TRACE(Describe(cases[i / 2]) + (i % 2 ? " E6" : " E24"));
    ASSERT_TRUE(results[i].Ok()) << results[i].error.substr(0, 300);
    const auto& voltage = results[i].Voltage("out");
    double worst = 0.0, worstHz = 0.0;
    int compared = 0;
    for (std::size_t j = 0; j < results[i].frequency.size(); ++j) {
      const double f = results[i].frequency[j];
      Complex built = 1.0;
      for (const RationalTransfer& h : transfers[i]) {
        built *= EvaluateAt(h, Complex(0.0, 2.0 * std::numbers::pi * f));
      }
      const double builtDb = 20.0 * std::log10(std::abs(built));
      if (builtDb < 20.0 * std::log10(designs[i].gain) - kCompareRangeDb) continue;
      const double error = std::abs(20.0 * std::log10(std::abs(voltage[j])) - builtDb);
      if (error > worst) worst = error, worstHz = f;
      ++compared;
    }
    EXPECT_GT(compared, 40);
    EXPECT_LE(worst, kAsBuiltToleranceDb) << "at " << worstHz << " Hz";
  }
}

// The netlist as the user gets it, .control block and all, run by "ngspice -b": the table it
// prints is the drawn response.
TEST(CascadeSim, ControlBlockPrintsTheResponse) {
  CascadeRequest r = RequestOf({Approximation::Elliptic, FilterKind::Lowpass, 5, std::nullopt});
  const CascadeDesign d = DesignCascade(r);
  ASSERT_EQ(d.problem, "");
  char dir[] = "/tmp/morvane-cascade-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string netlist = std::string(dir) + "/filter.cir";
  const std::string printed = std::string(dir) + "/printed.txt";
  std::ofstream(netlist) << CascadeNetlist(d, NetlistOptions{});
  const std::string command =
      std::string(NGSPICE_PATH) + " -b " + netlist + " > " + printed + " 2> /dev/null";
  // ngspice 39 ends a batch run with status 1 even when it succeeds: the table tells.
  std::system(command.c_str());
  std::ifstream table(printed);
  std::string line;
  int rows = 0;
  double worstGain = 0.0, worstPhase = 0.0;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    int index;
    double f, gainDb, phase;
    if (!(fields >> index >> f >> gainDb >> phase)) continue;
    const double w = 2.0 * std::numbers::pi * f;
    if (PoleZeroGainDb(d.transfer, w) < 20.0 * std::log10(d.gain) - kCompareRangeDb) continue;
    // The printed table has 7 significant digits; the op amps have the file's gain 1e6.
    worstGain = std::max(worstGain, std::abs(gainDb - PoleZeroGainDb(d.transfer, w)));
    worstPhase =
        std::max(worstPhase, std::abs(WrapDegrees(phase - PoleZeroPhaseDegrees(d.transfer, w))));
    ++rows;
  }
  EXPECT_GT(rows, 150);
  EXPECT_LE(worstGain, kGainToleranceDb);
  EXPECT_LE(worstPhase, kPhaseToleranceDegrees);
  std::remove(netlist.c_str());
  std::remove(printed.c_str());
  rmdir(dir);
}

}  // namespace
}  // namespace morvane
