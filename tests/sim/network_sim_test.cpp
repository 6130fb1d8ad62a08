// The ladders of the series and parallel circuits program built in ngspice with every
// parasitic as its own part: the computed gain, phase and input impedance must be what the
// simulator finds, also through an inductor's self-resonance that puts a notch into the stop
// band, for ladders listed from the load and for the ideal ladders.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "network/ladder_network.h"
#include "network/network_response.h"
#include "ngspice_runner.h"
#include "spice/netlist.h"

namespace morvane {
namespace {

constexpr double kPi = std::numbers::pi;

// Parts in a row from `a` to `b` through nodes of their own; parts of value zero are left
// out (a zero inductance or resistance is a short).
struct Row {
  std::string& netlist;
  std::string prefix;
  int inner = 0;

  void Add(const std::string& a, const std::string& b,
           const std::vector<std::pair<char, double>>& parts) {
    std::vector<std::pair<char, double>> kept;
    for (const auto& p : parts) {
      if (p.second != 0.0) kept.push_back(p);
    }
    std::string from = a;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      const std::string to = i + 1 == kept.size() ? b : prefix + "_" + std::to_string(++inner);
      netlist += std::string(1, kept[i].first) + prefix + "_" + std::to_string(i + 1) + " " + from +
                 " " + to + " " + SpiceNumber(kept[i].second) + "\n";
      from = to;
    }
  }
};

// The ladder as ngspice reads it: the source "in", RG to the first node, the elements from
// the source, RL at "out".
std::string Netlist(const LadderNetwork& n, double from, double to, int perDecade) {
  const std::vector<NetworkElement> elements = ElementsFromSource(n);
  std::size_t seriesLeft = 0;
  for (const NetworkElement& e : elements) seriesLeft += e.shunt ? 0 : 1;
  std::string netlist = "* ladder with parasitics\nV1 in 0 DC 0 AC 1\n";
  std::string node = seriesLeft == 0 ? "out" : "n1";
  netlist += "RG in " + node + " " + SpiceNumber(n.rg) + "\n";
  int nextNode = 2;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const NetworkElement& e = elements[i];
    std::string b = "0";
    if (!e.shunt) b = --seriesLeft == 0 ? "out" : "n" + std::to_string(nextNode++);
    Row row{netlist, "E" + std::to_string(i + 1)};
    if (e.kind == ElementKind::Capacitor) {
      row.Add(node, b, {{'L', e.Lx}, {'R', e.Rx}, {'C', e.Cx}});
    } else {
      row.Add(node, b, {{'L', e.Lx}, {'R', e.Rx}});
      if (e.Cx > 0.0) row.Add(node, b, {{'C', e.Cx}});
    }
    if (!e.shunt) node = b;
  }
  netlist += "RL out 0 " + SpiceNumber(n.rl) + "\n";
  netlist += ".ac dec " + std::to_string(perDecade) + " " + SpiceNumber(from) + " " +
             SpiceNumber(to) + "\n.end\n";
  return netlist;
}

NetworkElement Inductor(double L, bool shunt, double Rx, double Cx) {
  return {ElementKind::Inductor, shunt, L, Rx, Cx};
}

NetworkElement Capacitor(double C, bool shunt, double Lx, double Rx) {
  return {ElementKind::Capacitor, shunt, Lx, Rx, C};
}

// The 5th-order Butterworth lowpass of 1 kHz between 50 Ohm with typical parts: inductors of
// Q around 60 at 1 kHz with 100 pF across, capacitors with 20 nH and 20 mOhm.
LadderNetwork Butterworth5() {
  const double w = 2.0 * kPi * 1000.0, r = 50.0;
  LadderNetwork n;
  n.rg = r;
  n.rl = r;
  for (int k = 1; k <= 5; ++k) {
    const double g = 2.0 * std::sin((2 * k - 1) * kPi / 10.0);
    n.elements.push_back(k % 2 == 1 ? Capacitor(g / (w * r), true, 20e-9, 0.02)
                                    : Inductor(g * r / w, false, g * r / 60.0, 100e-12));
  }
  return n;
}

struct Case {
  const char* what;
  LadderNetwork network;
  double from, to;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  cases.push_back({"Butterworth lowpass with parasitics", Butterworth5(), 10.0, 10e6});
  cases.push_back({"the same ladder ideal", IdealNetwork(Butterworth5()), 10.0, 1e6});

  // The second inductor's winding capacitance tuned to 5 kHz: a notch in the stop band.
  LadderNetwork notch = Butterworth5();
  SetSelfResonance(notch.elements[1], 5000.0);
  cases.push_back({"inductor self-resonance at 5 kHz", notch, 100.0, 100e3});

  // A highpass T of 3rd order between 600 and 150 Ohm, its shunt inductor resonating at
  // 200 kHz, its capacitors' ESL at 2 MHz and 3 MHz, listed from the load.
  LadderNetwork highpass;
  highpass.rg = 600.0;
  highpass.rl = 150.0;
  highpass.turnedRound = true;
  highpass.elements = {Capacitor(220e-9, false, 0.0, 0.1), Inductor(47e-3, true, 2.0, 0.0),
                       Capacitor(470e-9, false, 0.0, 0.05)};
  SetSelfResonance(highpass.elements[0], 2e6);
  SetSelfResonance(highpass.elements[1], 200e3);
  SetSelfResonance(highpass.elements[2], 3e6);
  cases.push_back({"highpass listed from the load", highpass, 10.0, 10e6});

  // A series tank and a shunt series circuit: a bandpass built of each element kind's
  // resonance, with the shunt capacitor's ESL shorting the output at 80 kHz.
  LadderNetwork bandpass;
  bandpass.rg = 50.0;
  bandpass.rl = 1000.0;
  bandpass.elements = {Capacitor(100e-9, false, 0.0, 0.2), Inductor(250e-6, false, 0.8, 50e-12),
                       Capacitor(10e-9, true, 0.0, 0.01)};
  SetSelfResonance(bandpass.elements[2], 80e3);
  cases.push_back({"series resonance with ESL notch", bandpass, 100.0, 10e6});
  return cases;
}

double Db(std::complex<double> x) {
  return 20.0 * std::log10(std::abs(x));
}

constexpr double kGainToleranceDb = 0.01;
constexpr double kPhaseToleranceDegrees = 0.05;
constexpr double kFloorDb = -120.0;

TEST(NetworkSimulation, GainPhaseAndInputImpedanceAsNgspice) {
  const std::vector<Case> cases = Cases();
  std::vector<sim::AcJob> jobs;
  for (const Case& c : cases) {
    ASSERT_EQ(NetworkProblem(c.network), "") << c.what;
    const bool firstSeries = [&] {
      for (const NetworkElement& e : c.network.elements) {
        if (!e.shunt) return true;
      }
      return false;
    }();
    jobs.push_back({Netlist(c.network, c.from, c.to, 100), {"out", firstSeries ? "n1" : "out"}});
  }
  const std::vector<sim::AcResult> results = sim::RunAc(jobs, 2);
  ASSERT_EQ(results.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.what);
    const sim::AcResult& r = results[i];
    ASSERT_TRUE(r.Ok()) << r.error << "\n" << jobs[i].netlist;
    const auto& out = r.Voltage("out");
    const auto& first = r.Voltage(jobs[i].nodes[1]);
    int compared = 0;
    for (std::size_t k = 0; k < r.frequency.size(); ++k) {
      const double f = r.frequency[k];
      const NetworkPoint p = AnalyseNetwork(c.network, f);
      if (Db(out[k]) < kFloorDb) continue;
      ++compared;
      EXPECT_NEAR(p.gainDb, Db(out[k]), kGainToleranceDb) << f << " Hz";
      const double phase = std::arg(out[k]) * 180.0 / kPi;
      EXPECT_NEAR(std::remainder(p.phaseDegrees - phase, 360.0), 0.0, kPhaseToleranceDegrees)
          << f << " Hz";
      // The current through RG gives the impedance after it.
      const std::complex<double> zin = first[k] * c.network.rg / (1.0 - first[k]);
      EXPECT_NEAR(p.inputOhms / std::abs(zin), 1.0, 1e-4) << f << " Hz";
    }
    EXPECT_GE(compared, 200);
  }
}

// The notch is where the simulator has it: the deepest point of both sweeps near 5 kHz, and
// the gain there at least 40 dB below the ideal ladder's.
TEST(NetworkSimulation, InductorSelfResonanceNotchesTheStopBand) {
  const Case c = Cases()[2];
  const sim::AcResult r = sim::RunAc(Netlist(c.network, 4000.0, 6000.0, 2000));
  ASSERT_TRUE(r.Ok()) << r.error;
  const auto& out = r.Voltage("out");
  std::size_t deepest = 0;
  for (std::size_t k = 0; k < out.size(); ++k) {
    if (std::abs(out[k]) < std::abs(out[deepest])) deepest = k;
  }
  const double f = r.frequency[deepest];
  EXPECT_NEAR(f, 5000.0, 5.0);
  EXPECT_NEAR(AnalyseNetwork(c.network, f).gainDb, Db(out[deepest]), kGainToleranceDb);
  EXPECT_LT(AnalyseNetwork(c.network, 5000.0).gainDb,
            AnalyseNetwork(IdealNetwork(c.network), 5000.0).gainDb - 40.0);
}

}  // namespace
}  // namespace morvane
