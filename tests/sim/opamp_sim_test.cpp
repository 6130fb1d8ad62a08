// Real op amps in ngspice: every stage type of the five active pages, and a 6th- and a
// 10th-order cascade, simulated with the subcircuit the netlist carries for an op-amp model
// (gain, poles, output resistance, input capacitance, noise generators). The program's
// response with the same model must be the simulated one within 0.1 dB and 1 degree, both
// frequency by frequency (CircuitSweep) and as a ratio of polynomials (CircuitTransfer, what
// the figures and graphs use); its noise density within 0.2 dB and its RMS within 2 %.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cascade/cascade_circuit.h"
#include "cascade/cascade_design.h"
#include "circuit/circuit_sweep.h"
#include "circuit/circuit_transfer.h"
#include "design/design_session.h"
#include "design/field_names.h"
#include "ngspice_runner.h"
#include "noise/noise_analysis.h"
#include "opamp/opamp_file.h"
#include "spice/netlist.h"

namespace morvane {
namespace {

constexpr double kGainToleranceDb = 0.1;
constexpr double kPhaseToleranceDegrees = 1.0;
constexpr double kNoiseToleranceDb = 0.2;
constexpr double kRmsTolerance = 0.02;
// Compared where the simulated gain is within this of its largest.
constexpr double kCompareRangeDb = 100.0;
constexpr int kPointsPerDecade = 20;
// The noise runs: dense enough that ngspice's own integral resolves a resonance's peak.
constexpr int kNoisePointsPerDecade = 100;

// A slow amplifier (its pole near the filters' frequencies), a fast one, and a made-up one
// with every element of the model: a second pole and both 1/f corners.
std::vector<OpAmpModel> Models() {
  std::vector<OpAmpModel> table = BuiltInOpAmps();
  const auto error = ApplyOpAmpFile(
      "[TWOPOLE]\na0 = 100k\ngbw = 5M\nsecondPole = 20M\nrout = 100\ncin = 5p\n"
      "slewRate = 5M\nswing = 12\nen = 10n\nenCorner = 100\nin = 1p\ninCorner = 300\n",
      table);
  EXPECT_FALSE(error.has_value());
  return {*FindOpAmp(table, "LM358"), *FindOpAmp(table, "NE5532"), *FindOpAmp(table, "TWOPOLE")};
}

struct StageCase {
  Topology topology;
  FilterType type;
  double fg;
  OpAmpModel model;
};

std::string Describe(const StageCase& c) {
  std::ostringstream text;
  text << "topology " << static_cast<int>(c.topology) << " type " << static_cast<int>(c.type)
       << " fg " << c.fg << " " << c.model.name;
  return text.str();
}

struct Stage {
  DesignState s;
  DesignChoices in;
};

Stage Design(const StageCase& c) {
  DesignSession session;
  session.Start();
  session.SelectTopology(c.topology);
  session.SelectFilterType(c.type);
  char text[32];
  std::snprintf(text, sizeof text, "%g", c.fg);
  session.TypeEntry(field::fgEingabe, text);
  return {session.State(), session.Choices()};
}

Circuit CircuitOf(const Stage& d, const OpAmpModel& model) {
  const DesignState& s = d.s;
  Circuit c = StageCircuit(s.topology, d.in.type,
                           {s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3});
  c.opAmpModel = model;
  return c;
}

std::vector<StageCase> StageCases() {
  std::vector<StageCase> cases;
  const std::vector<OpAmpModel> models = Models();
  for (Topology t :
       {Topology::Mfb, Topology::Pfb, Topology::Svf3, Topology::Svf4, Topology::Fliege}) {
    for (FilterType type :
         {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass, FilterType::Bandstop,
          FilterType::Allpass, FilterType::EllipticLowpass}) {
      if (!StageCircuitExists(t, type)) continue;
      for (std::size_t m = 0; m < models.size(); ++m) {
        // The slow amplifier at 5 kHz, where it moves the response by decibels.
        cases.push_back({t, type, m == 0 ? 5e3 : 20e3, models[m]});
      }
    }
  }
  return cases;
}

double Db(std::complex<double> x) {
  return 20.0 * std::log10(std::abs(x));
}

double WrapDegrees(double d) {
  d = std::fmod(d, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

// The worst gain and phase errors of `ours` against the simulated response.
struct Worst {
  double gainDb = 0.0, phase = 0.0, gainHz = 0.0, phaseHz = 0.0;
};

template <typename Response>
Worst Compare(const sim::AcResult& result, Response ours) {
  const auto& v = result.Voltage("out");
  double peak = 0.0;
  for (const auto& x : v) peak = std::max(peak, std::abs(x));
  Worst w;
  for (std::size_t j = 0; j < v.size(); ++j) {
    if (Db(v[j]) < 20.0 * std::log10(peak) - kCompareRangeDb) continue;
    const double f = result.frequency[j];
    const std::complex<double> h = ours(f);
    const double gain = std::abs(Db(h) - Db(v[j]));
    const double phase =
        std::abs(WrapDegrees((std::arg(h) - std::arg(v[j])) * 180.0 / std::numbers::pi));
    if (gain > w.gainDb) w.gainDb = gain, w.gainHz = f;
    if (phase > w.phase) w.phase = phase, w.phaseHz = f;
  }
  return w;
}

void ExpectSameResponse(const sim::AcResult& result, const Circuit& circuit, double scale) {
  ASSERT_TRUE(result.Ok()) << result.error.substr(0, 400);
  CircuitSweep sweep(circuit);
  const Worst direct = Compare(result, [&](double f) { return sweep.Response(f)->h; });
  EXPECT_LE(direct.gainDb, kGainToleranceDb) << "frequency by frequency, at " << direct.gainHz;
  EXPECT_LE(direct.phase, kPhaseToleranceDegrees)
      << "frequency by frequency, at " << direct.phaseHz;
  if (scale <= 0.0) return;
  const auto transfer = CircuitTransfer(circuit, "in", "out", scale);
  ASSERT_TRUE(transfer.has_value());
  const Worst polynomial = Compare(result, [&](double f) {
    return EvaluateAt(*transfer, {0.0, 2.0 * std::numbers::pi * f});
  });
  EXPECT_LE(polynomial.gainDb, kGainToleranceDb) << "polynomials, at " << polynomial.gainHz;
  EXPECT_LE(polynomial.phase, kPhaseToleranceDegrees) << "polynomials, at " << polynomial.phaseHz;
}

// The netlist with its .ac card replaced by a noise analysis that writes the density and the
// total to noise.txt.
std::string NoiseNetlist(std::string netlist, double fFrom, double fTo) {
  const auto ac = netlist.find("\n.ac ");
  const auto end = netlist.find('\n', ac + 1);
  std::ostringstream control;
  control << "\n.options temp=25 tnom=25\n.control\nset width=200\nset height=100000\n"
          << "noise v(out) V1 dec " << kNoisePointsPerDecade << " " << fFrom << " " << fTo << "\n"
          << "setplot noise1\nprint onoise_spectrum > noise.txt\n"
          << "setplot noise2\nprint onoise_total >> noise.txt\n.endc";
  return netlist.replace(ac, end - ac, control.str());
}

struct SimulatedNoise {
  std::vector<double> frequency, density;
  double total = std::numeric_limits<double>::quiet_NaN();
};

// "index frequency value" rows, then "onoise_total = value".
SimulatedNoise ReadNoise(const std::string& text) {
  SimulatedNoise noise;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    int index = 0;
    double f = 0.0, v = 0.0;
    if (std::sscanf(line.c_str(), "%d %lf %lf", &index, &f, &v) == 3) {
      noise.frequency.push_back(f);
      noise.density.push_back(v);
    } else if (line.find("onoise_total") != std::string::npos) {
      const auto eq = line.find('=');
      if (eq != std::string::npos) noise.total = std::strtod(line.c_str() + eq + 1, nullptr);
    }
  }
  return noise;
}

void ExpectSameNoise(const std::string& netlist, const Circuit& circuit, double fFrom, double fTo) {
  const sim::ScriptResult run = sim::RunScript(NoiseNetlist(netlist, fFrom, fTo), "noise.txt");
  ASSERT_TRUE(run.error.empty()) << run.error.substr(0, 600);
  const SimulatedNoise simulated = ReadNoise(run.output);
  ASSERT_GT(simulated.frequency.size(), 10u);
  CircuitSweep sweep(circuit);
  double worst = 0.0, worstHz = 0.0;
  for (std::size_t i = 0; i < simulated.frequency.size(); ++i) {
    const double f = simulated.frequency[i];
    const auto point = sweep.Noise(f, 298.15);
    ASSERT_TRUE(point.has_value());
    double total = 0.0;
    for (double p : point->outputPower) total += p;
    const double error = std::abs(10.0 * std::log10(total) - Db(simulated.density[i]));
    if (error > worst) worst = error, worstHz = f;
  }
  EXPECT_LE(worst, kNoiseToleranceDb) << "at " << worstHz << " Hz";
  // ngspice's own total, where it gives one (it prints -nan when a source's density is flat
  // in places), and its density integrated as the program integrates: the program's RMS on
  // its own grid is both.
  std::vector<double> simulatedPower;
  for (double d : simulated.density) simulatedPower.push_back(d * d);
  const double simulatedRms = std::sqrt(IntegratePower(simulated.frequency, simulatedPower));
  const NoiseAnalysis analysis = AnalyseNoise(circuit, {fFrom, fTo, 400, 25.0});
  ASSERT_TRUE(analysis.problem.empty()) << analysis.problem;
  EXPECT_NEAR(analysis.rms / simulatedRms, 1.0, kRmsTolerance);
  if (std::isfinite(simulated.total)) {
    EXPECT_NEAR(analysis.rms / simulated.total, 1.0, kRmsTolerance);
  }
}

TEST(OpAmpSim, StagesWithRealOpAmpsAreTheSimulatedOnes) {
  const std::vector<StageCase> cases = StageCases();
  std::vector<sim::AcJob> jobs;
  std::vector<Stage> stages;
  for (const StageCase& c : cases) {
    stages.push_back(Design(c));
    NetlistOptions options;
    options.opAmpModel = c.model;
    options.fStart = c.fg / 100.0;
    options.fStop = c.fg * 200.0;
    options.pointsPerDecade = kPointsPerDecade;
    jobs.push_back({ActiveStageNetlist(stages.back().s, stages.back().in, options), {"out"}});
  }
  const std::vector<sim::AcResult> results = sim::RunAc(jobs);
  ASSERT_EQ(results.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(Describe(cases[i]));
    ASSERT_FALSE(jobs[i].netlist.empty());
    const Circuit circuit = CircuitOf(stages[i], cases[i].model);
    ExpectSameResponse(results[i], circuit, 2.0 * std::numbers::pi * cases[i].fg);
    ExpectSameNoise(jobs[i].netlist, circuit, cases[i].fg / 100.0, cases[i].fg * 200.0);
  }
}

TEST(OpAmpSim, CascadesWithRealOpAmpsAreTheSimulatedOnes) {
  const OpAmpModel model = Models()[2];
  struct CascadeCase {
    Approximation approximation;
    int order;
    Topology topology;
  };
  for (const CascadeCase& c : {CascadeCase{Approximation::Butterworth, 6, Topology::Pfb},
                               CascadeCase{Approximation::Chebyshev, 10, Topology::Mfb},
                               CascadeCase{Approximation::Elliptic, 6, Topology::Svf4}}) {
    SCOPED_TRACE(static_cast<int>(c.approximation) * 100 + c.order);
    CascadeRequest request;
    request.approximation = c.approximation;
    request.order = c.order;
    request.fg = 20e3;
    request.topology = c.topology;
    const CascadeDesign design = DesignCascade(request);
    ASSERT_TRUE(design.problem.empty()) << design.problem;
    NetlistOptions options;
    options.opAmpModel = model;
    options.controlBlock = false;
    options.fStart = 200.0;
    options.fStop = 4e6;
    options.pointsPerDecade = kPointsPerDecade;
    const std::string netlist = CascadeNetlist(design, options);
    Circuit circuit = JoinedCascadeCircuit(design);
    circuit.opAmpModel = model;
    ExpectSameResponse(sim::RunAc(netlist), circuit, 0.0);
    ExpectSameNoise(netlist, circuit, 200.0, 4e6);
  }
}

}  // namespace
}  // namespace morvane
