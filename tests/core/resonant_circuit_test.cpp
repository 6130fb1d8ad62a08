// Series and parallel resonant circuits: any two of f0, L, C give the third, the loss gives
// Q, bandwidth and the impedance at resonance by their closed forms (the parallel circuit
// with the inductor's loss exactly, not by Q^2 R), the reactances, bad entries, and curves
// without an infinite point.

#include "resonance/resonant_circuit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace morvane {
namespace {

using Complex = std::complex<double>;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct TripleCase {
  double f0;
  double l;
  double c;
};

class ResonanceTripleTest : public testing::TestWithParam<TripleCase> {};

TEST_P(ResonanceTripleTest, AnyTwoGiveTheThird) {
  const TripleCase& t = GetParam();
  EXPECT_NEAR(ResonantFrequency(t.l, t.c), t.f0, 1e-6 * t.f0);
  EXPECT_NEAR(ResonantInductance(t.f0, t.c), t.l, 1e-6 * t.l);
  EXPECT_NEAR(ResonantCapacitance(t.f0, t.l), t.c, 1e-6 * t.c);
  for (ResonanceUnknown unknown :
       {ResonanceUnknown::Frequency, ResonanceUnknown::Inductance, ResonanceUnknown::Capacitance}) {
    ResonanceRequest q{ResonantCircuit::Series, unknown, t.f0, t.l, t.c, LossEntry::None, 0.0};
    // The unknown is not read: a nonsense value there changes nothing.
    if (unknown == ResonanceUnknown::Frequency) q.f0 = -1.0;
    if (unknown == ResonanceUnknown::Inductance) q.l = 0.0;
    if (unknown == ResonanceUnknown::Capacitance) q.c = std::nan("");
    const Resonance s = SolveResonance(q);
    ASSERT_EQ(s.problem, "");
    EXPECT_NEAR(s.f0, t.f0, 1e-6 * t.f0);
    EXPECT_NEAR(s.l, t.l, 1e-6 * t.l);
    EXPECT_NEAR(s.c, t.c, 1e-6 * t.c);
    EXPECT_NEAR(s.characteristic, std::sqrt(t.l / t.c), 1e-6 * s.characteristic);
  }
}

// Published pairs: 10 uH with 100 nF resonates at 159.155 kHz, 1 mH with 1 uF at 5.0329 kHz,
// 100 uH with 253.3 pF at 1 MHz (the AM band), 1 H with 10 uF at 50.33 Hz.
INSTANTIATE_TEST_SUITE_P(Pairs, ResonanceTripleTest,
                         testing::Values(TripleCase{159154.943, 10e-6, 100e-9},
                                         TripleCase{5032.9212, 1e-3, 1e-6},
                                         TripleCase{1e6, 100e-6, 253.302959e-12},
                                         TripleCase{50.329212, 1.0, 10e-6}));

struct LossCase {
  const char* name;
  ResonantCircuit circuit;
  LossEntry loss;
  double lossValue;
  double q;
  double bandwidth;
  Complex impedanceAtF0;
  double zeroPhaseFactor;  // the zero-phase frequency over f0
  double zeroPhaseImpedance;
};

class ResonanceLossTest : public testing::TestWithParam<LossCase> {};

// L = 10 uH, C = 100 nF: f0 = 159.155 kHz, sqrt(L/C) = 10 Ohm.
TEST_P(ResonanceLossTest, QBandwidthAndImpedance) {
  const LossCase& t = GetParam();
  const Resonance s = SolveResonance(
      {t.circuit, ResonanceUnknown::Frequency, 0.0, 10e-6, 100e-9, t.loss, t.lossValue});
  ASSERT_EQ(s.problem, "");
  ASSERT_TRUE(s.q && s.bandwidth && s.impedanceAtF0 && s.zeroPhaseFrequency &&
              s.zeroPhaseImpedance);
  EXPECT_NEAR(*s.q, t.q, 1e-9 * t.q);
  EXPECT_NEAR(*s.bandwidth, t.bandwidth, 1e-3);
  EXPECT_NEAR(std::abs(*s.impedanceAtF0 - t.impedanceAtF0), 0.0, 1e-9);
  EXPECT_NEAR(*s.zeroPhaseFrequency / s.f0, t.zeroPhaseFactor, 1e-12);
  EXPECT_NEAR(*s.zeroPhaseImpedance, t.zeroPhaseImpedance, 1e-9);
  // The impedance function itself: real at the zero-phase frequency, and as stated at f0.
  const Complex z = ResonantImpedance(t.circuit, s.l, s.c, s.r, *s.zeroPhaseFrequency);
  EXPECT_NEAR(z.imag(), 0.0, 1e-6 * std::abs(z));
  EXPECT_NEAR(z.real(), t.zeroPhaseImpedance, 1e-6 * t.zeroPhaseImpedance);
  EXPECT_NEAR(std::abs(ResonantImpedance(t.circuit, s.l, s.c, s.r, s.f0) - t.impedanceAtF0), 0.0,
              1e-6 * std::abs(t.impedanceAtF0));
}

INSTANTIATE_TEST_SUITE_P(Losses, ResonanceLossTest,
                         testing::Values(
                             // Series: Q = sqrt(L/C)/R = 10, B = f0/10, Z(f0) = R.
                             LossCase{"SeriesR",
                                      ResonantCircuit::Series,
                                      LossEntry::Resistance,
                                      1.0,
                                      10.0,
                                      15915.4943,
                                      {1.0, 0.0},
                                      1.0,
                                      1.0},
                             // Series from a coil Q of 50: R = 10/50 = 0.2 Ohm.
                             LossCase{"SeriesCoilQ",
                                      ResonantCircuit::Series,
                                      LossEntry::CoilQ,
                                      50.0,
                                      50.0,
                                      3183.0989,
                                      {0.2, 0.0},
                                      1.0,
                                      0.2},
                             // Parallel, 1 Ohm in the coil: Q = 10, L/(RC) = 100 Ohm at f0 sqrt(1 -
                             // 1/100), and Z(f0) = 100 (1 - j/10).
                             LossCase{"ParallelR",
                                      ResonantCircuit::Parallel,
                                      LossEntry::Resistance,
                                      1.0,
                                      10.0,
                                      15915.4943,
                                      {100.0, -10.0},
                                      std::sqrt(0.99),
                                      100.0},
                             // A coil Q of 2 (R = 5 Ohm): Z(f0) = 20 (1 - j/2), |Z(f0)| = 22.36
                             // Ohm, real only at f0 sqrt(3/4), where it is L/(RC) = 20 Ohm.
                             LossCase{"ParallelLowQ",
                                      ResonantCircuit::Parallel,
                                      LossEntry::CoilQ,
                                      2.0,
                                      2.0,
                                      79577.4715,
                                      {20.0, -10.0},
                                      std::sqrt(0.75),
                                      20.0}),
                         [](const testing::TestParamInfo<LossCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(Resonance, ParallelWithoutLossOrWithQBelowOne) {
  const Resonance lossless = SolveResonance({ResonantCircuit::Parallel, ResonanceUnknown::Frequency,
                                             0.0, 10e-6, 100e-9, LossEntry::None, 0.0});
  ASSERT_EQ(lossless.problem, "");
  EXPECT_FALSE(lossless.q);
  EXPECT_FALSE(lossless.bandwidth);
  EXPECT_FALSE(lossless.impedanceAtF0);
  EXPECT_FALSE(lossless.zeroPhaseFrequency);
  // R = 20 Ohm: Q = 0.5, no frequency where the impedance is real.
  const Resonance lowQ = SolveResonance({ResonantCircuit::Parallel, ResonanceUnknown::Frequency,
                                         0.0, 10e-6, 100e-9, LossEntry::Resistance, 20.0});
  ASSERT_TRUE(lowQ.q);
  EXPECT_NEAR(*lowQ.q, 0.5, 1e-12);
  EXPECT_FALSE(lowQ.zeroPhaseFrequency);
  ASSERT_TRUE(lowQ.impedanceAtF0);
  EXPECT_NEAR(lowQ.impedanceAtF0->real(), 5.0, 1e-9);  // L/(RC) = 5
  EXPECT_NEAR(lowQ.impedanceAtF0->imag(), -10.0, 1e-9);
}

struct ReactanceCase {
  double f;
  double l;
  double c;
  double xl;
  double xc;
};

class ReactanceTest : public testing::TestWithParam<ReactanceCase> {};

TEST_P(ReactanceTest, AreTheClosedForms) {
  const ReactanceCase& t = GetParam();
  EXPECT_NEAR(InductiveReactance(t.f, t.l), t.xl, 1e-6 * t.xl);
  EXPECT_NEAR(CapacitiveReactance(t.f, t.c), t.xc, 1e-6 * t.xc);
}

INSTANTIATE_TEST_SUITE_P(Table, ReactanceTest,
                         testing::Values(ReactanceCase{1e3, 1e-3, 1e-6, 6.2831853, 159.154943},
                                         ReactanceCase{50.0, 1.0, 10e-6, 314.159265, 318.309886},
                                         ReactanceCase{1e6, 1e-6, 1e-9, 6.2831853, 159.154943}));

struct BadCase {
  const char* name;
  ResonanceRequest request;
  const char* problem;
};

class ResonanceBadEntryTest : public testing::TestWithParam<BadCase> {};

TEST_P(ResonanceBadEntryTest, GivesTheProblem) {
  const Resonance s = SolveResonance(GetParam().request);
  EXPECT_EQ(s.problem, GetParam().problem);
  EXPECT_FALSE(s.q);
  EXPECT_FALSE(s.impedanceAtF0);
}

constexpr auto kSeries = ResonantCircuit::Series;
constexpr auto kParallel = ResonantCircuit::Parallel;

INSTANTIATE_TEST_SUITE_P(
    BadEntries, ResonanceBadEntryTest,
    testing::Values(
        BadCase{"ZeroF0",
                {kSeries, ResonanceUnknown::Capacitance, 0.0, 1e-3, 0.0, LossEntry::None, 0.0},
                "f0 must be greater than 0"},
        BadCase{"NegativeL",
                {kSeries, ResonanceUnknown::Frequency, 0.0, -1e-3, 1e-6, LossEntry::None, 0.0},
                "L must be greater than 0"},
        BadCase{"MissingC",
                {kParallel, ResonanceUnknown::Inductance, 1e3, 0.0, 0.0, LossEntry::None, 0.0},
                "C must be greater than 0"},
        BadCase{
            "NegativeR",
            {kSeries, ResonanceUnknown::Frequency, 0.0, 1e-3, 1e-6, LossEntry::Resistance, -1.0},
            "R must not be negative"},
        BadCase{"ZeroCoilQ",
                {kParallel, ResonanceUnknown::Frequency, 0.0, 1e-3, 1e-6, LossEntry::CoilQ, 0.0},
                "Q must be greater than 0"},
        BadCase{"Overflow",
                {kSeries, ResonanceUnknown::Frequency, 0.0, 1e-300, 1e-300, LossEntry::None, 0.0},
                "The values lie beyond the numbers the program can handle"}),
    [](const testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST(ResonantImpedanceCurves, StayFiniteAtTheLosslessResonance) {
  const double l = 1.0 / kTwoPi, c = 1.0 / kTwoPi;  // f0 = 1 Hz
  const std::vector<double> f{0.1, 1.0, 10.0};
  for (ResonantCircuit circuit : {kSeries, kParallel}) {
    const ImpedanceCurves curves = ResonantImpedanceCurves(circuit, l, c, 0.0, f);
    ASSERT_EQ(curves.magnitude.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_TRUE(std::isfinite(curves.magnitude[i]));
      EXPECT_TRUE(std::isfinite(curves.phaseDegrees[i]));
    }
    // Below f0 the series circuit is capacitive (-90), the parallel one inductive (+90).
    EXPECT_NEAR(curves.phaseDegrees[0], circuit == kSeries ? -90.0 : 90.0, 1e-9);
  }
}

}  // namespace
}  // namespace morvane
