// The LC diplexer through ngspice: every order and approximation, over a few terminations and
// crossover frequencies, splits at fg with both branches half-power down there, and both
// outputs are what the diplexer's circuits give (DiplexerCircuit, as the tolerance analysis
// computes them).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "circuit/circuit_transfer.h"
#include "lc/lc_circuit.h"
#include "lc/lc_diplexer.h"
#include "ngspice_runner.h"
#include "spice/netlist.h"

namespace morvane {
namespace {

// Every port sees R against R: half the source voltage in the pass band.
const double kPassBandDb = 20.0 * std::log10(0.5);   // -6.0206 dB re 1 V
const double kHalfPowerDb = 10.0 * std::log10(0.5);  // -3.0103 dB
constexpr double kCircuitToleranceDb = 0.01;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct Design {
  int order;
  bool chebyshev;
  double R;
  double fg;
};

std::vector<Design> Designs() {
  const struct {
    double R;
    double fg;
  } terminations[] = {{1000.0, 1000.0}, {50.0, 10e6}, {600.0, 3300.0}};
  std::vector<Design> designs;
  for (bool chebyshev : {false, true}) {
    for (int n : {3, 5, 7, 9}) {
      for (const auto& t : terminations) designs.push_back({n, chebyshev, t.R, t.fg});
    }
  }
  return designs;
}

DesignState StateOf(const Design& d) {
  DesignState s;
  s.Zin = d.R;
  s.fg = d.fg;
  return s;
}

DesignChoices ChoicesOf(const Design& d) {
  DesignChoices in;
  in.diplexerOrder = d.order;
  in.diplexerChebyshev = d.chebyshev;
  return in;
}

std::string Name(const Design& d) {
  char text[96];
  std::snprintf(text, sizeof text, "%s n=%d R=%g fg=%g", d.chebyshev ? "Chebyshev" : "Butterworth",
                d.order, d.R, d.fg);
  return text;
}

// Level in dB re 1 V at the simulated frequency nearest to f; the sweep of fg/100 .. 100 fg
// at 50 points a decade holds fg/100, fg/10, fg, 10 fg and 100 fg themselves.
double LevelDb(const sim::AcResult& r, const std::string& node, double f) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < r.frequency.size(); ++i) {
    if (std::fabs(std::log(r.frequency[i] / f)) < std::fabs(std::log(r.frequency[best] / f))) {
      best = i;
    }
  }
  EXPECT_NEAR(r.frequency[best] / f, 1.0, 1e-6) << "no sample at " << f << " Hz";
  return 20.0 * std::log10(std::abs(r.Voltage(node)[best]));
}

TEST(LcDiplexerSim, BranchesCrossOverHalfPowerDownAtFg) {
  const std::vector<Design> designs = Designs();
  std::vector<sim::AcJob> jobs;
  for (const Design& d : designs) {
    jobs.push_back({DiplexerNetlist(StateOf(d), ChoicesOf(d), {}), {"outlp", "outhp", "common"}});
  }
  const std::vector<sim::AcResult> results = sim::RunAc(jobs);
  ASSERT_EQ(results.size(), designs.size());

  std::printf("%-36s %9s %9s %9s %9s %9s\n", "design", "LP(fg)", "HP(fg)", "LP(fg/10)", "HP(10fg)",
              "common");
  for (std::size_t i = 0; i < designs.size(); ++i) {
    const Design& d = designs[i];
    const sim::AcResult& r = results[i];
    SCOPED_TRACE(Name(d));
    ASSERT_TRUE(r.Ok()) << r.error;
    const double fg = d.fg;

    // The tables carry five decimals, worth about 1e-4 dB here; 0.01 dB still catches an
    // element or frequency scale off by 0.1 % (the slope at fg is over 10 dB per octave).
    const double lpAtFg = LevelDb(r, "outlp", fg);
    const double hpAtFg = LevelDb(r, "outhp", fg);
    EXPECT_NEAR(lpAtFg, kPassBandDb + kHalfPowerDb, 0.01);
    EXPECT_NEAR(hpAtFg, kPassBandDb + kHalfPowerDb, 0.01);

    // Pass bands: the Chebyshev ripple of 0.1 dB is allowed on top.
    const double passTolerance = d.chebyshev ? 0.15 : 0.1;
    const double lpLow = LevelDb(r, "outlp", fg / 10.0);
    const double hpHigh = LevelDb(r, "outhp", fg * 10.0);
    EXPECT_NEAR(lpLow, kPassBandDb, passTolerance);
    EXPECT_NEAR(hpHigh, kPassBandDb, passTolerance);
    EXPECT_NEAR(LevelDb(r, "outlp", fg / 100.0), kPassBandDb, 0.01);
    EXPECT_NEAR(LevelDb(r, "outhp", fg * 100.0), kPassBandDb, 0.01);

    // Stop bands: at least the 20 n dB a decade of a Butterworth response of order n (a
    // swapped branch or a missing element falls far short).
    const double rejection = 20.0 * d.order - 0.1;
    EXPECT_LT(LevelDb(r, "outlp", fg * 10.0), kPassBandDb - rejection);
    EXPECT_LT(LevelDb(r, "outhp", fg / 10.0), kPassBandDb - rejection);

    // The source sees R at every frequency when the branches are complementary: exactly so
    // for Butterworth (a 1 % slip in one element already shows 0.01 dB), within a few
    // tenths of a dB for the 0.1 dB Chebyshev pair.
    double commonWorst = 0.0;
    for (const auto& v : r.Voltage("common")) {
      const double deviation = 20.0 * std::log10(std::abs(v)) - kPassBandDb;
      if (std::fabs(deviation) > std::fabs(commonWorst)) commonWorst = deviation;
    }
    EXPECT_LT(std::fabs(commonWorst), d.chebyshev ? 0.4 : 0.002);

    // Each output's circuit, the whole diplexer in it, at every simulated frequency.
    for (const auto& [output, node] : {std::pair{DiplexerOutput::Lowpass, "outlp"},
                                       std::pair{DiplexerOutput::Highpass, "outhp"}}) {
      const auto h = CircuitTransfer(DiplexerCircuit(StateOf(d), ChoicesOf(d), output));
      ASSERT_TRUE(h) << node;
      for (std::size_t k = 0; k < r.frequency.size(); ++k) {
        const double built = std::abs(EvaluateAt(*h, {0.0, kTwoPi * r.frequency[k]}));
        EXPECT_NEAR(20.0 * std::log10(built), 20.0 * std::log10(std::abs(r.Voltage(node)[k])),
                    kCircuitToleranceDb)
            << node << " at " << r.frequency[k] << " Hz";
      }
    }

    std::printf("%-36s %9.4f %9.4f %9.4f %9.4f %+9.4f\n", Name(d).c_str(), lpAtFg, hpAtFg, lpLow,
                hpHigh, commonWorst);
  }
}

// The netlist carries what was designed: both branches element for element.
TEST(LcDiplexerSim, NetlistHoldsBothBranches) {
  DesignState s;
  DesignChoices in;
  in.diplexerOrder = 5;
  const std::string netlist = DiplexerNetlist(s, in, {});
  for (const char* line : {"V1 in 0 DC 0 AC 1", "RS in common 1000", "RLLP outlp 0 1000",
                           "RLHP outhp 0 1000", ".ac dec 50 10 100000"}) {
    EXPECT_NE(netlist.find(std::string(line) + "\n"), std::string::npos) << line;
  }
  for (const char* element : {"LLP1 common lp1 ", "CLP2 lp1 0 ", "LLP5 lp3 outlp ",
                              "CHP1 common hp1 ", "LHP4 hp3 0 ", "CHP5 hp3 outhp "}) {
    EXPECT_NE(netlist.find(std::string("\n") + element), std::string::npos) << element;
  }

  NetlistOptions options;
  options.fStart = 5.0;
  options.fStop = 2e6;
  options.pointsPerDecade = 20;
  EXPECT_NE(DiplexerNetlist(s, in, options).find("\n.ac dec 20 5 2000000\n"), std::string::npos);
}

}  // namespace
}  // namespace morvane
