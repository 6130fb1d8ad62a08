// The RC filters and the LC resonant circuits built in ngspice: the simulated gain of every RC
// circuit, with and without a load, and the simulated impedance of the series and parallel
// resonant circuits with their loss, must be what the companion programs compute and draw.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <locale>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ngspice_runner.h"
#include "rc_filters/rc_filter.h"
#include "resonance/resonant_circuit.h"

namespace morvane {
namespace {

using Complex = std::complex<double>;
constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr double kGainToleranceDb = 0.01;
constexpr double kPhaseToleranceDegrees = 0.1;
// Below this |H| (the twin-T's notch) the gain in dB is too steep to compare point for point.
constexpr double kComparableGain = 1e-4;

// An AC sweep of 40 points a decade from `from` to `to`, or of `linearPoints` points.
std::string Netlist(const std::vector<std::string>& parts, const std::string& source, double from,
                    double to, int linearPoints = 0) {
  std::ostringstream n;
  n.imbue(std::locale::classic());
  n.precision(17);
  n << "* companion check\n" << source << "\n";
  for (const std::string& part : parts) n << part << "\n";
  if (linearPoints > 0) {
    n << ".ac lin " << linearPoints << " " << from << " " << to << "\n.end\n";
  } else {
    n << ".ac dec 40 " << from << " " << to << "\n.end\n";
  }
  return n.str();
}

std::string Element(const char* name, const char* a, const char* b, double value) {
  std::ostringstream p;
  p.imbue(std::locale::classic());
  p.precision(17);
  p << name << " " << a << " " << b << " " << value;
  return p.str();
}

std::vector<std::string> RcElements(RcCircuit circuit, double r, double c,
                                    std::optional<double> load) {
  std::vector<std::string> parts;
  switch (circuit) {
    case RcCircuit::Lowpass:
      parts = {Element("R1", "in", "out", r), Element("C1", "out", "0", c)};
      break;
    case RcCircuit::Highpass:
      parts = {Element("C1", "in", "out", c), Element("R1", "out", "0", r)};
      break;
    case RcCircuit::TwoSectionLowpass:
      parts = {Element("R1", "in", "n1", r), Element("C1", "n1", "0", c),
               Element("R2", "n1", "out", r), Element("C2", "out", "0", c)};
      break;
    case RcCircuit::WienBandpass:
      parts = {Element("R1", "in", "n1", r), Element("C1", "n1", "out", c),
               Element("R2", "out", "0", r), Element("C2", "out", "0", c)};
      break;
    case RcCircuit::TwinTNotch:
      parts = {Element("R1", "in", "a", r),    Element("R2", "a", "out", r),
               Element("C3", "a", "0", 2 * c), Element("C1", "in", "b", c),
               Element("C2", "b", "out", c),   Element("R3", "b", "0", r / 2)};
      break;
  }
  if (load) parts.push_back(Element("RL", "out", "0", *load));
  return parts;
}

struct RcCase {
  RcCircuit circuit;
  std::optional<double> load;
};

class RcSimulationTest : public testing::TestWithParam<RcCase> {};

TEST_P(RcSimulationTest, GainAndPhaseAreNgspices) {
  const auto [circuit, load] = GetParam();
  const double r = 6.8e3, c = 33e-9;
  const double f0 = RcFrequency(circuit, r, c);
  const sim::AcResult result =
      sim::RunAc(Netlist(RcElements(circuit, r, c, load), "V1 in 0 AC 1", f0 / 100, f0 * 100));
  ASSERT_TRUE(result.Ok()) << result.error;
  const auto& v = result.Voltage("out");
  ASSERT_GT(v.size(), 100u);
  const RcCurves curves = RcResponseCurves(circuit, r, c, load, result.frequency);
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (std::abs(v[i]) < kComparableGain) continue;
    EXPECT_NEAR(curves.gainDb[i], 20 * std::log10(std::abs(v[i])), kGainToleranceDb)
        << RcCircuitName(circuit) << " at " << result.frequency[i] << " Hz";
    EXPECT_NEAR(curves.phaseDegrees[i], std::arg(v[i]) * kDegrees, kPhaseToleranceDegrees)
        << RcCircuitName(circuit) << " at " << result.frequency[i] << " Hz";
  }
  // The loaded corner, peak or notch the window shows.
  const RcFigures figures = RcFiguresOf(circuit, r, c, load);
  const sim::AcResult at = sim::RunAc(Netlist(RcElements(circuit, r, c, load), "V1 in 0 AC 1",
                                              figures.frequency, figures.frequency * 1.001, 2));
  ASSERT_TRUE(at.Ok()) << at.error;
  const double simulated = std::abs(at.Voltage("out").front());
  const double expected = circuit == RcCircuit::TwinTNotch     ? 0.0
                          : circuit == RcCircuit::WienBandpass ? figures.gain
                                                               : figures.gain / std::sqrt(2.0);
  EXPECT_NEAR(simulated, expected, 1e-4) << RcCircuitName(circuit);
}

INSTANTIATE_TEST_SUITE_P(EveryCircuit, RcSimulationTest,
                         testing::Values(RcCase{RcCircuit::Lowpass, std::nullopt},
                                         RcCase{RcCircuit::Lowpass, 10e3},
                                         RcCase{RcCircuit::Highpass, std::nullopt},
                                         RcCase{RcCircuit::Highpass, 3.3e3},
                                         RcCase{RcCircuit::TwoSectionLowpass, std::nullopt},
                                         RcCase{RcCircuit::TwoSectionLowpass, 22e3},
                                         RcCase{RcCircuit::WienBandpass, std::nullopt},
                                         RcCase{RcCircuit::WienBandpass, 6.8e3},
                                         RcCase{RcCircuit::TwinTNotch, std::nullopt},
                                         RcCase{RcCircuit::TwinTNotch, 47e3}));

struct LcCase {
  ResonantCircuit circuit;
  double r;
};

class LcSimulationTest : public testing::TestWithParam<LcCase> {};

// A 1 A source into the circuit: V(n) is its impedance.
TEST_P(LcSimulationTest, ImpedanceIsNgspices) {
  const auto [circuit, r] = GetParam();
  const double l = 10e-6, c = 100e-9;
  const double f0 = ResonantFrequency(l, c);
  const std::vector<std::string> parts =
      circuit == ResonantCircuit::Series
          ? std::vector<std::string>{Element("R1", "n", "m", r), Element("L1", "m", "k", l),
                                     Element("C1", "k", "0", c)}
          : std::vector<std::string>{Element("C1", "n", "0", c), Element("R1", "n", "m", r),
                                     Element("L1", "m", "0", l)};
  const sim::AcResult result = sim::RunAc(Netlist(parts, "I1 0 n AC 1", f0 / 10, f0 * 10), {"n"});
  ASSERT_TRUE(result.Ok()) << result.error;
  const auto& z = result.Voltage("n");
  ASSERT_GT(z.size(), 50u);
  const ImpedanceCurves curves = ResonantImpedanceCurves(circuit, l, c, r, result.frequency);
  for (std::size_t i = 0; i < z.size(); ++i) {
    EXPECT_NEAR(20 * std::log10(curves.magnitude[i]), 20 * std::log10(std::abs(z[i])),
                kGainToleranceDb)
        << result.frequency[i] << " Hz";
    EXPECT_NEAR(curves.phaseDegrees[i], std::arg(z[i]) * kDegrees, kPhaseToleranceDegrees)
        << result.frequency[i] << " Hz";
  }
}

INSTANTIATE_TEST_SUITE_P(Losses, LcSimulationTest,
                         testing::Values(LcCase{ResonantCircuit::Series, 0.2},
                                         LcCase{ResonantCircuit::Series, 20.0},
                                         LcCase{ResonantCircuit::Parallel, 0.2},
                                         LcCase{ResonantCircuit::Parallel, 5.0}));

}  // namespace
}  // namespace morvane
