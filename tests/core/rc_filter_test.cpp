// The RC filters: each circuit's response against a nodal analysis of its parts (with and
// without a load), the frequencies and pass-band gains against their closed forms, the
// designs' rounding to the series with the as-built frequency, and bad entries.

#include "rc_filters/rc_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "circuit/circuit_transfer.h"
#include "numerics/standard_series.h"

namespace morvane {
namespace {

using Complex = std::complex<double>;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDegrees = 180.0 / std::numbers::pi;

// The circuits as parts between nodes, "in" driven, "out" loaded by RL.
Circuit CircuitOf(RcCircuit circuit, double r, double c, std::optional<double> load) {
  Circuit k;
  switch (circuit) {
    case RcCircuit::Lowpass:
      k.parts = {{"R1", "in", "out", r}, {"C1", "out", "0", c}};
      break;
    case RcCircuit::Highpass:
      k.parts = {{"C1", "in", "out", c}, {"R1", "out", "0", r}};
      break;
    case RcCircuit::TwoSectionLowpass:
      k.parts = {{"R1", "in", "n1", r},
                 {"C1", "n1", "0", c},
                 {"R2", "n1", "out", r},
                 {"C2", "out", "0", c}};
      break;
    case RcCircuit::WienBandpass:
      k.parts = {{"R1", "in", "n1", r},
                 {"C1", "n1", "out", c},
                 {"R2", "out", "0", r},
                 {"C2", "out", "0", c}};
      break;
    case RcCircuit::TwinTNotch:
      // R/2 and 2C as two parts in parallel, as they are built.
      k.parts = {{"R1", "in", "a", r}, {"R2", "a", "out", r}, {"C3", "a", "0", c},
                 {"C4", "a", "0", c},  {"C1", "in", "b", c},  {"C2", "b", "out", c},
                 {"R3", "b", "0", r},  {"R4", "b", "0", r}};
      break;
  }
  if (load) k.parts.push_back({"RL", "out", "0", *load});
  return k;
}

struct ResponseCase {
  RcCircuit circuit;
  std::optional<double> load;
};

class RcResponseTest : public testing::TestWithParam<ResponseCase> {};

TEST_P(RcResponseTest, IsTheNodalAnalysisOfTheCircuit) {
  const auto [circuit, load] = GetParam();
  const double r = 4.7e3, c = 22e-9;
  const auto transfer = CircuitTransfer(CircuitOf(circuit, r, c, load));
  ASSERT_TRUE(transfer);
  const double f0 = 1.0 / (kTwoPi * r * c);
  for (double k : {0.01, 0.1, 0.37, 0.9, 1.0, 1.1, 3.0, 10.0, 100.0}) {
    const double f = k * f0;
    const Complex expected = EvaluateAt(*transfer, Complex(0.0, kTwoPi * f));
    const Complex got = RcResponse(circuit, r, c, load, f);
    EXPECT_NEAR(std::abs(got - expected), 0.0, 1e-9 * std::max(1.0, std::abs(expected)))
        << RcCircuitName(circuit) << " at " << k << " f0";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryCircuit, RcResponseTest,
                         testing::Values(ResponseCase{RcCircuit::Lowpass, std::nullopt},
                                         ResponseCase{RcCircuit::Lowpass, 2.2e3},
                                         ResponseCase{RcCircuit::Highpass, std::nullopt},
                                         ResponseCase{RcCircuit::Highpass, 10e3},
                                         ResponseCase{RcCircuit::TwoSectionLowpass, std::nullopt},
                                         ResponseCase{RcCircuit::TwoSectionLowpass, 15e3},
                                         ResponseCase{RcCircuit::WienBandpass, std::nullopt},
                                         ResponseCase{RcCircuit::WienBandpass, 4.7e3},
                                         ResponseCase{RcCircuit::TwinTNotch, std::nullopt},
                                         ResponseCase{RcCircuit::TwinTNotch, 100e3}));

// R = 10 kOhm, C = 10 nF: 1/(2 pi R C) = 1591.549 Hz.
struct FigureCase {
  RcCircuit circuit;
  std::optional<double> load;
  double frequency;  // Hz, closed form
  double gain;
  double gainAtFrequency;  // |H| there: gain/sqrt(2) at a corner, the gain at a peak, 0 at a notch
};

class RcFiguresTest : public testing::TestWithParam<FigureCase> {};

TEST_P(RcFiguresTest, AreTheClosedForms) {
  const FigureCase& t = GetParam();
  const double r = 10e3, c = 10e-9;
  const RcFigures figures = RcFiguresOf(t.circuit, r, c, t.load);
  EXPECT_NEAR(figures.frequency, t.frequency, 1e-3) << RcCircuitName(t.circuit);
  EXPECT_NEAR(figures.gain, t.gain, 1e-12);
  // The response itself agrees: the independent check of the loaded corner.
  EXPECT_NEAR(std::abs(RcResponse(t.circuit, r, c, t.load, figures.frequency)), t.gainAtFrequency,
              1e-9);
}

constexpr double kF = 1591.5494309189535;
const double kRootHalf = std::sqrt(0.5);

INSTANTIATE_TEST_SUITE_P(
    ClosedForms, RcFiguresTest,
    testing::Values(FigureCase{RcCircuit::Lowpass, std::nullopt, kF, 1.0, kRootHalf},
                    // R || RL = 5 kOhm: twice the corner, half the gain.
                    FigureCase{RcCircuit::Lowpass, 10e3, 2 * kF, 0.5, 0.5 * kRootHalf},
                    FigureCase{RcCircuit::Highpass, std::nullopt, kF, 1.0, kRootHalf},
                    FigureCase{RcCircuit::Highpass, 10e3, 2 * kF, 1.0, kRootHalf},
                    // u^4 + 7u^2 - 1 = 0: u = 0.374239...
                    FigureCase{RcCircuit::TwoSectionLowpass, std::nullopt, 0.37423918 * kF, 1.0,
                               kRootHalf},
                    // RL = R: D = (sRC)^2 + 4 sRC + 3, H(0) = 1/3; |D|^2 = 2 * 9 gives
                    // u^4 + 10u^2 - 9 = 0, u^2 = sqrt(34) - 5.
                    FigureCase{RcCircuit::TwoSectionLowpass, 10e3,
                               std::sqrt(std::sqrt(34.0) - 5.0) * kF, 1.0 / 3.0, kRootHalf / 3.0},
                    FigureCase{RcCircuit::WienBandpass, std::nullopt, kF, 1.0 / 3.0, 1.0 / 3.0},
                    // RL = R: the peak moves up by sqrt(2) and falls to 1/4.
                    FigureCase{RcCircuit::WienBandpass, 10e3, std::sqrt(2.0) * kF, 0.25, 0.25},
                    FigureCase{RcCircuit::TwinTNotch, std::nullopt, kF, 1.0, 0.0},
                    // RL = R: R + R over RL leaves 1/3 at DC; the notch stays.
                    FigureCase{RcCircuit::TwinTNotch, 10e3, kF, 1.0 / 3.0, 0.0}));

TEST(RcResponse, NamedPoints) {
  const double r = 1e3, c = 1e-6;
  const double f0 = 1.0 / (kTwoPi * r * c);
  const auto at = [&](RcCircuit circuit, double k) {
    return RcResponse(circuit, r, c, std::nullopt, k * f0);
  };
  EXPECT_NEAR(std::arg(at(RcCircuit::Lowpass, 1.0)) * kDegrees, -45.0, 1e-9);
  EXPECT_NEAR(std::arg(at(RcCircuit::Highpass, 1.0)) * kDegrees, 45.0, 1e-9);
  // At u = 1 the two sections give 1/(3j): a third, -90 degrees.
  EXPECT_NEAR(std::abs(at(RcCircuit::TwoSectionLowpass, 1.0)), 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(std::arg(at(RcCircuit::TwoSectionLowpass, 1.0)) * kDegrees, -90.0, 1e-9);
  EXPECT_NEAR(std::arg(at(RcCircuit::WienBandpass, 1.0)) * kDegrees, 0.0, 1e-9);
  EXPECT_NEAR(std::abs(at(RcCircuit::TwinTNotch, 1e-6)), 1.0, 1e-9);
  EXPECT_NEAR(std::abs(at(RcCircuit::TwinTNotch, 1e6)), 1.0, 1e-6);
  EXPECT_LT(std::abs(at(RcCircuit::TwinTNotch, 1.0)), 1e-12);
}

TEST(RcFrequencyFactor, TwoSectionsAreTheRootOfTheQuartic) {
  const double u = RcFrequencyFactor(RcCircuit::TwoSectionLowpass);
  EXPECT_NEAR(u * u * u * u + 7 * u * u - 1.0, 0.0, 1e-14);
  EXPECT_NEAR(u, 0.374239, 1e-6);
  for (RcCircuit circuit :
       {RcCircuit::Lowpass, RcCircuit::Highpass, RcCircuit::WienBandpass, RcCircuit::TwinTNotch}) {
    EXPECT_EQ(RcFrequencyFactor(circuit), 1.0);
  }
}

struct DesignCase {
  const char* name;
  RcRequest request;
  double r;
  double c;
  double builtFrequency;
  double errorPercent;
};

class RcDesignTest : public testing::TestWithParam<DesignCase> {};

TEST_P(RcDesignTest, RoundsTheComputedValueAndReportsTheBuiltFrequency) {
  const DesignCase& t = GetParam();
  const RcDesign d = DesignRcFilter(t.request);
  ASSERT_EQ(d.problem, "");
  EXPECT_NEAR(d.r, t.r, 1e-9 * t.r);
  EXPECT_NEAR(d.c, t.c, 1e-9 * t.c);
  EXPECT_NEAR(d.builtFrequency, t.builtFrequency, 1e-3);
  EXPECT_NEAR(d.errorPercent, t.errorPercent, 1e-3);
  EXPECT_NEAR(d.builtFrequency, RcFrequency(t.request.circuit, d.r, d.c), 1e-9);
}

constexpr int kE12 = 2;
constexpr int kE24 = 3;

INSTANTIATE_TEST_SUITE_P(
    Designs, RcDesignTest,
    testing::Values(
        // C = 15.915 nF: 15 nF is the nearer E12 value (ratio 1.061 against 1.131).
        DesignCase{"GivenR",
                   {RcCircuit::Lowpass, 1e3, 10e3, std::nullopt, kE12, std::nullopt},
                   10e3,
                   15e-9,
                   1061.0329539,
                   6.1032954},
        // R = 15.915 kOhm from 10 nF: 16 kOhm in E24.
        DesignCase{"GivenC",
                   {RcCircuit::Highpass, 1e3, std::nullopt, 10e-9, kE24, std::nullopt},
                   16e3,
                   10e-9,
                   994.7183943,
                   -0.5281606},
        // Neither: 16 nF (E24) is nearest to 15.915 nF, which makes R = 10 kOhm; R = 9.947k
        // rounds to 10k.
        DesignCase{"Neither",
                   {RcCircuit::WienBandpass, 1e3, std::nullopt, std::nullopt, kE24, std::nullopt},
                   10e3,
                   16e-9,
                   994.7183943,
                   -0.5281606},
        // No rounding: R exactly 1/(2 pi f C) times the two-section factor.
        DesignCase{"Exact",
                   {RcCircuit::TwoSectionLowpass, 1e3, std::nullopt, 10e-9, 0, std::nullopt},
                   std::sqrt((std::sqrt(53.0) - 7.0) / 2.0) / (kTwoPi * 1e3 * 10e-9),
                   10e-9,
                   1000.0,
                   0.0},
        // Neither without a series: C from E12 (15 nF), R exact.
        DesignCase{"NeitherExact",
                   {RcCircuit::TwinTNotch, 1e3, std::nullopt, std::nullopt, 0, std::nullopt},
                   1.0 / (kTwoPi * 1e3 * 15e-9),
                   15e-9,
                   1000.0,
                   0.0}),
    [](const testing::TestParamInfo<DesignCase>& info) { return std::string(info.param.name); });

TEST(RcDesign, TheLoadGivesTheLoadedFigures) {
  const RcDesign d = DesignRcFilter(
      {RcCircuit::Lowpass, 1e3, 10e3, std::nullopt, kSeriesNone, std::optional<double>(10e3)});
  ASSERT_EQ(d.problem, "");
  EXPECT_NEAR(d.loaded.frequency, 2e3, 1e-9);
  EXPECT_NEAR(d.loaded.gain, 0.5, 1e-12);
  EXPECT_NEAR(d.builtFrequency, 1e3, 1e-9);
}

struct BadCase {
  const char* name;
  RcRequest request;
  const char* problem;
};

class RcBadEntryTest : public testing::TestWithParam<BadCase> {};

TEST_P(RcBadEntryTest, GivesAProblemAndNoValues) {
  const BadCase& t = GetParam();
  const RcDesign d = DesignRcFilter(t.request);
  EXPECT_EQ(d.problem, t.problem);
  EXPECT_EQ(d.r, 0.0);
  EXPECT_EQ(d.c, 0.0);
}

const double kNaN = std::nan("");

INSTANTIATE_TEST_SUITE_P(
    BadEntries, RcBadEntryTest,
    testing::Values(BadCase{"ZeroFg",
                            {RcCircuit::Lowpass, 0.0, 1e3, std::nullopt, 0, {}},
                            "fg must be greater than 0"},
                    BadCase{"NegativeF0",
                            {RcCircuit::WienBandpass, -5.0, 1e3, std::nullopt, 0, {}},
                            "f0 must be greater than 0"},
                    BadCase{"NaNFg",
                            {RcCircuit::Lowpass, kNaN, std::nullopt, std::nullopt, 0, {}},
                            "fg must be greater than 0"},
                    BadCase{"ZeroR",
                            {RcCircuit::Lowpass, 1e3, 0.0, std::nullopt, 0, {}},
                            "R must be greater than 0"},
                    BadCase{"NegativeC",
                            {RcCircuit::Highpass, 1e3, std::nullopt, -1e-9, 0, {}},
                            "C must be greater than 0"},
                    BadCase{"ZeroLoad",
                            {RcCircuit::Lowpass, 1e3, 1e3, std::nullopt, 0, 0.0},
                            "RL must be greater than 0 (leave it empty for no load)"},
                    BadCase{"Both",
                            {RcCircuit::Lowpass, 1e3, 1e3, 1e-9, 0, {}},
                            "Give R or C, not both: the other is computed"},
                    BadCase{"Overflow",
                            {RcCircuit::Lowpass, 1e-300, 1e-300, std::nullopt, 0, {}},
                            "The values lie beyond the numbers the program can handle"}),
    [](const testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST(RcResponseCurves, StayFiniteThroughTheNotch) {
  const double r = 1e3, c = 1e-6;
  const double f0 = 1.0 / (kTwoPi * r * c);
  const std::vector<double> f{f0 / 10, f0 * (1 - 1e-12), f0, f0 * 10};
  const RcCurves curves = RcResponseCurves(RcCircuit::TwinTNotch, r, c, std::nullopt, f);
  ASSERT_EQ(curves.gainDb.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_TRUE(std::isfinite(curves.gainDb[i]));
    EXPECT_TRUE(std::isfinite(curves.phaseDegrees[i]));
    EXPECT_GE(curves.gainDb[i], -300.0);
  }
  EXPECT_LT(curves.gainDb[2], -150.0);
}

}  // namespace
}  // namespace morvane
