// The ladder's response by its chain matrices, against closed forms of single elements, the
// Butterworth ladder's known figures, a numeric derivative of the phase and the nodal analysis
// of the LC page's own circuit.

#include "network/network_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace morvane {
namespace {

using Complex = std::complex<double>;
constexpr double kPi = std::numbers::pi;
constexpr Complex kJ{0.0, 1.0};

NetworkElement Inductor(double L, bool shunt, double Rx = 0.0, double Cx = 0.0) {
  return {ElementKind::Inductor, shunt, L, Rx, Cx};
}

NetworkElement Capacitor(double C, bool shunt, double Lx = 0.0, double Rx = 0.0) {
  return {ElementKind::Capacitor, shunt, Lx, Rx, C};
}

LadderNetwork Ladder(double rg, double rl, std::vector<NetworkElement> elements) {
  LadderNetwork n;
  n.rg = rg;
  n.rl = rl;
  n.f = 1000.0;
  n.elements = std::move(elements);
  return n;
}

double Db(Complex h) {
  return 20.0 * std::log10(std::abs(h));
}

// The figures of one closed form: the transfer and the input impedance after RG.
struct ClosedForm {
  const char* what;
  LadderNetwork network;
  double f;
  Complex transfer;
  Complex input;
};

std::vector<ClosedForm> ClosedForms() {
  const double w = 2.0 * kPi * 1000.0;
  const double L = 10e-3, C = 1e-6, Rx = 3.0;
  const double rg = 50.0, rl = 200.0;
  const double rp = rg * rl / (rg + rl);
  // A tank of L and C resonating at 1 kHz.
  const double Ct = 1.0 / (w * w * L);
  return {
      {"series inductor", Ladder(rg, rl, {Inductor(L, false)}), 1000.0, rl / (rg + rl + kJ * w * L),
       rl + kJ * w * L},
      {"series inductor with its loss", Ladder(rg, rl, {Inductor(L, false, Rx)}), 1000.0,
       rl / (rg + rl + Rx + kJ * w * L), rl + Rx + kJ * w * L},
      {"shunt capacitor", Ladder(rg, rl, {Capacitor(C, true)}), 1000.0,
       rl / (rg + rl) / (1.0 + kJ * w * C * rp), rl / (1.0 + kJ * w * C * rl)},
      {"shunt capacitor with ESR and ESL at its series resonance",
       Ladder(rg, rl, {Capacitor(Ct, true, L, Rx)}), 1000.0,
       (Rx * rl / (Rx + rl)) / (rg + Rx * rl / (Rx + rl)), Rx * rl / (Rx + rl)},
      {"series capacitor with ESR and ESL at its series resonance",
       Ladder(rg, rl, {Capacitor(Ct, false, L, Rx)}), 1000.0, rl / (rg + rl + Rx), rl + Rx},
      {"shunt inductor tank at its resonance: open", Ladder(rg, rl, {Inductor(L, true, 0.0, Ct)}),
       1000.0, rl / (rg + rl), rl},
      {"series L then shunt C, an L-section",
       Ladder(rg, rl, {Inductor(L, false), Capacitor(C, true)}), 1000.0,
       (rl / (1.0 + kJ * w * C * rl)) / (rg + kJ * w * L + rl / (1.0 + kJ * w * C * rl)),
       kJ * w * L + rl / (1.0 + kJ * w * C * rl)},
  };
}

TEST(NetworkResponse, ClosedFormsOfSingleElements) {
  for (const ClosedForm& c : ClosedForms()) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(NetworkProblem(c.network), "");
    const Complex h = NetworkTransfer(c.network, c.f);
    EXPECT_NEAR(std::abs(h - c.transfer), 0.0, 1e-10 * std::abs(c.transfer));
    const Complex z = InputImpedance(c.network, c.f);
    EXPECT_NEAR(std::abs(z - c.input), 0.0, 1e-9 * std::abs(c.input));
    const NetworkPoint p = AnalyseNetwork(c.network, c.f);
    EXPECT_NEAR(p.gainDb, Db(c.transfer), 1e-9);
    EXPECT_NEAR(p.phaseDegrees, std::arg(c.transfer) * 180.0 / kPi, 1e-9);
    EXPECT_NEAR(p.inputOhms, std::abs(c.input), 1e-9 * std::abs(c.input));
    const double gamma = std::abs((c.input - c.network.rg) / (c.input + c.network.rg));
    EXPECT_NEAR(p.returnLossDb, -20.0 * std::log10(gamma), 1e-9);
  }
}

// tau = Rp C / (1 + (w Rp C)^2) for a shunt capacitor between RG and RL (Rp = RG || RL), and
// (L / R) / (1 + (w L / R)^2) with R = RG + RL for a series inductor.
TEST(NetworkResponse, GroupDelayOfFirstOrderSections) {
  const double rg = 50.0, rl = 200.0, C = 1e-6, L = 10e-3;
  const double rp = rg * rl / (rg + rl);
  for (double f : {1.0, 100.0, 636.6, 1000.0, 1e5}) {
    SCOPED_TRACE(f);
    const double w = 2.0 * kPi * f;
    const double tc = rp * C, tl = L / (rg + rl);
    EXPECT_NEAR(AnalyseNetwork(Ladder(rg, rl, {Capacitor(C, true)}), f).groupDelay,
                tc / (1.0 + w * w * tc * tc), 1e-12 * tc);
    EXPECT_NEAR(AnalyseNetwork(Ladder(rg, rl, {Inductor(L, false)}), f).groupDelay,
                tl / (1.0 + w * w * tl * tl), 1e-12 * tl);
  }
}

// The 5th-order Butterworth ladder of 1 kHz between 50 Ohm: g = 0.618, 1.618, 2, 1.618, 0.618.
LadderNetwork Butterworth5(double rg = 50.0) {
  const double w = 2.0 * kPi * 1000.0;
  std::vector<NetworkElement> elements;
  for (int k = 1; k <= 5; ++k) {
    const double g = 2.0 * std::sin((2 * k - 1) * kPi / 10.0);
    elements.push_back(k % 2 == 1 ? Capacitor(g / (w * rg), true) : Inductor(g * rg / w, false));
  }
  return Ladder(rg, rg, elements);
}

struct ButterworthPoint {
  double f;
  double gainDb;
  double toleranceDb;
};

TEST(NetworkResponse, ButterworthLadderBetweenEqualTerminations) {
  const LadderNetwork n = Butterworth5();
  const double halfDb = 20.0 * std::log10(0.5);  // -6.0206 dB: the source's half into RL = RG
  const ButterworthPoint points[] = {
      {10.0, halfDb, 1e-9},
      {100.0, halfDb, 1e-9},
      {1000.0, halfDb - 10.0 * std::log10(2.0), 1e-9},
      {2000.0, halfDb - 10.0 * std::log10(1.0 + std::pow(2.0, 10.0)), 1e-9},
      {10000.0, halfDb - 10.0 * std::log10(1.0 + 1e10), 1e-7},
  };
  for (const ButterworthPoint& p : points) {
    SCOPED_TRACE(p.f);
    const NetworkPoint r = AnalyseNetwork(n, p.f);
    EXPECT_NEAR(r.gainDb, p.gainDb, p.toleranceDb);
  }
  // Matched in the pass band: Zin = RG, a deep return loss.
  EXPECT_GT(AnalyseNetwork(n, 10.0).returnLossDb, 80.0);
  EXPECT_NEAR(AnalyseNetwork(n, 10.0).inputOhms, 50.0, 1e-3);
  // Group delay at DC: sum of sin((2k - 1) pi / 10) over k = 1..5, over 2 pi fg.
  double sum = 0.0;
  for (int k = 1; k <= 5; ++k) sum += std::sin((2 * k - 1) * kPi / 10.0);
  EXPECT_NEAR(AnalyseNetwork(n, 0.01).groupDelay, sum / (2.0 * kPi * 1000.0), 1e-9);
  // An odd all-pole lowpass turns by -450 degrees; at fg by -225, which reads as 135.
  EXPECT_NEAR(AnalyseNetwork(n, 1000.0).phaseDegrees, 135.0, 1e-9);
}

// The exact delay against the slope of the phase by central differences, on a lossy ladder with
// every parasitic, including an inductor's self-resonance in the stop band.
TEST(NetworkResponse, GroupDelayIsTheSlopeOfThePhase) {
  LadderNetwork n = Butterworth5();
  for (NetworkElement& e : n.elements) {
    e.Rx = 0.05;
    if (e.kind == ElementKind::Inductor)
      e.Cx = 20e-9;
    else
      e.Lx = 50e-9;
  }
  for (double f : {3.0, 300.0, 900.0, 1000.0, 1100.0, 3000.0, 25000.0, 5e5}) {
    SCOPED_TRACE(f);
    const double d = 1e-6;
    const Complex ratio = NetworkTransfer(n, f * (1.0 + d)) / NetworkTransfer(n, f * (1.0 - d));
    const double slope = -std::arg(ratio) / (2.0 * kPi * f * 2.0 * d);
    const double tau = AnalyseNetwork(n, f).groupDelay;
    EXPECT_NEAR(tau, slope, 1e-5 * std::abs(slope) + 1e-12);
  }
}

TEST(NetworkResponse, EveryFigureIsFiniteAtTheExtremes) {
  std::vector<LadderNetwork> networks = {Butterworth5(), IdealNetwork(Butterworth5())};
  // Lossless tanks exactly at resonance: a series element open, a shunt element shorted.
  const double w = 2.0 * kPi * 1000.0;
  networks.push_back(Ladder(50.0, 50.0, {Inductor(1e-3, false, 0.0, 1.0 / (w * w * 1e-3))}));
  networks.push_back(Ladder(50.0, 50.0, {Capacitor(1e-6, true, 1.0 / (w * w * 1e-6), 0.0)}));
  networks.push_back(Ladder(1e-9, 1e12, {Capacitor(1e-15, false), Inductor(1e3, true)}));
  for (const LadderNetwork& n : networks) {
    for (double f : {1e-6, 1.0, 1000.0, 1e9, 1e15}) {
      SCOPED_TRACE(f);
      const NetworkPoint p = AnalyseNetwork(n, f);
      for (double x : {p.gainDb, p.phaseDegrees, p.groupDelay, p.inputOhms, p.inputPhaseDegrees,
                       p.returnLossDb}) {
        EXPECT_TRUE(std::isfinite(x));
      }
      EXPECT_GE(p.gainDb, kLeastGainDb);
      EXPECT_GT(p.phaseDegrees, -180.0);
      EXPECT_LE(p.phaseDegrees, 180.0);
      EXPECT_GE(p.returnLossDb, 0.0);
    }
  }
  // The open series tank passes nothing at all.
  EXPECT_LT(AnalyseNetwork(networks[2], 1000.0).gainDb, -200.0);
}

TEST(NetworkResponse, TurnedRoundReadsTheListFromTheLoad) {
  LadderNetwork forward =
      Ladder(50.0, 600.0,
             {Capacitor(1e-6, true), Inductor(10e-3, false), Capacitor(2.2e-6, true, 1e-9, 0.1)});
  LadderNetwork turned = forward;
  std::reverse(turned.elements.begin(), turned.elements.end());
  turned.turnedRound = true;
  for (double f : {10.0, 1000.0, 30000.0}) {
    EXPECT_EQ(NetworkTransfer(forward, f), NetworkTransfer(turned, f));
    EXPECT_EQ(InputImpedance(forward, f), InputImpedance(turned, f));
  }
  turned.turnedRound = false;
  EXPECT_NE(NetworkTransfer(forward, 1000.0), NetworkTransfer(turned, 1000.0));
}

TEST(NetworkResponse, SweepIncludesBothEnds) {
  const std::vector<double> log = SweepFrequencies(10.0, 1e5, 5, true);
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log.front(), 10.0);
  EXPECT_NEAR(log[1], 100.0, 1e-9);
  EXPECT_NEAR(log[2], 1000.0, 1e-9);
  EXPECT_EQ(log.back(), 1e5);
  const std::vector<double> linear = SweepFrequencies(100.0, 200.0, 3, false);
  EXPECT_EQ(linear, (std::vector<double>{100.0, 150.0, 200.0}));
}

// An inductor of 10 mH with Q = 50 at 1 kHz has Rx = 2 pi 1000 0.01 / 50 = 1.2566 Ohm; a
// capacitor of 1 uF with ESR 0.1 Ohm has Q = 1 / (2 pi 1000 1e-6 0.1) = 1591.5 there.
TEST(NetworkElementFigures, QualityAndSelfResonance) {
  NetworkElement l = Inductor(10e-3, false);
  EXPECT_FALSE(QualityAt(l, 1000.0));
  EXPECT_FALSE(SelfResonance(l));
  SetQualityAt(l, 50.0, 1000.0);
  EXPECT_NEAR(l.Rx, 1.2566370614359172, 1e-12);
  EXPECT_NEAR(*QualityAt(l, 1000.0), 50.0, 1e-12);
  SetSelfResonance(l, 1e6);
  EXPECT_NEAR(l.Cx, 2.533029591058444e-12, 1e-24);
  EXPECT_NEAR(*SelfResonance(l), 1e6, 1e-6);

  NetworkElement c = Capacitor(1e-6, true, 0.0, 0.1);
  EXPECT_NEAR(*QualityAt(c, 1000.0), 1591.5494309189535, 1e-9);
  SetQualityAt(c, 10.0, 1000.0);
  EXPECT_NEAR(c.Rx, 15.915494309189533, 1e-12);
  SetSelfResonance(c, 5e6);
  EXPECT_NEAR(c.Lx, 1.0132118364233778e-9, 1e-21);
  EXPECT_NEAR(*SelfResonance(c), 5e6, 1e-6);
  EXPECT_EQ(ElementValue(c), 1e-6);
  SetElementValue(c, 2e-6);
  EXPECT_EQ(c.Cx, 2e-6);
}

TEST(NetworkElementFigures, IdealLadderDropsEveryParasitic) {
  const LadderNetwork real =
      Ladder(50.0, 50.0, {Inductor(1e-3, false, 0.5, 1e-12), Capacitor(1e-6, true, 1e-9, 0.02)});
  const LadderNetwork ideal = IdealNetwork(real);
  EXPECT_EQ(ideal.elements[0].Lx, 1e-3);
  EXPECT_EQ(ideal.elements[0].Rx, 0.0);
  EXPECT_EQ(ideal.elements[0].Cx, 0.0);
  EXPECT_EQ(ideal.elements[1].Lx, 0.0);
  EXPECT_EQ(ideal.elements[1].Rx, 0.0);
  EXPECT_EQ(ideal.elements[1].Cx, 1e-6);
}

TEST(NetworkElementFigures, ProblemsOfALadder) {
  struct Case {
    const char* what;
    LadderNetwork network;
    const char* problem;  // a part of the message; empty: none
  };
  const Case cases[] = {
      {"sound", Ladder(50.0, 50.0, {Inductor(1e-3, false)}), ""},
      {"RG zero", Ladder(0.0, 50.0, {Inductor(1e-3, false)}), "RG"},
      {"RL negative", Ladder(50.0, -1.0, {Inductor(1e-3, false)}), "RL"},
      {"RL infinite", Ladder(50.0, INFINITY, {Inductor(1e-3, false)}), "RL"},
      {"no elements", Ladder(50.0, 50.0, {}), "no elements"},
      {"inductance zero", Ladder(50.0, 50.0, {Capacitor(1e-6, true), Inductor(0.0, false)}),
       "L2: the inductance"},
      {"capacitance nan", Ladder(50.0, 50.0, {Capacitor(NAN, true)}), "C1: the capacitance"},
      {"negative Rx", Ladder(50.0, 50.0, {Inductor(1e-3, false, -1.0)}), "must not be negative"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string problem = NetworkProblem(c.network);
    if (std::string(c.problem).empty()) {
      EXPECT_EQ(problem, "");
    } else {
      EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    }
  }
}

}  // namespace
}  // namespace morvane
