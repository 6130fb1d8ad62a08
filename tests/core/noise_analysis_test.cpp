// The noise analysis against closed forms: an RC lowpass integrates to kT/C, a resistor
// alone to 4kTR over the band; an op amp's voltage noise appears at a non-inverting
// amplifier's output times its noise gain, with its 1/f rise below the corner; the current
// noise through the feedback resistance; contributions add up to the total and come largest
// first; bad requests are refused with a reason.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cascade/cascade_circuit.h"
#include "cascade/cascade_design.h"
#include "circuit/circuit_sweep.h"
#include "noise/noise_analysis.h"

namespace morvane {
namespace {

constexpr double kKelvin = 298.15;
constexpr double kPi = std::numbers::pi;

Circuit RcLowpass(double r, double c) {
  Circuit circuit;
  circuit.parts = {{"R1", "in", "out", r}, {"C1", "out", "0", c}};
  return circuit;
}

TEST(NoiseAnalysis, RcLowpassIntegratesToKtOverC) {
  for (const double c : {1e-9, 100e-9}) {
    const double r = 10e3;
    const double fc = 1.0 / (2.0 * kPi * r * c);
    const NoiseAnalysis n = AnalyseNoise(RcLowpass(r, c), {fc * 1e-4, fc * 1e5, 2000, 25.0});
    ASSERT_TRUE(n.problem.empty());
    const double kTc = kBoltzmann * kKelvin / c;
    // The band leaves out 2/(pi 1e5) of the power above it.
    EXPECT_NEAR(n.rms * n.rms / kTc, 1.0, 1e-4);
    // Far below the corner: the resistor's own 4kTR.
    EXPECT_NEAR(n.outputDensity.front(), std::sqrt(4.0 * kBoltzmann * kKelvin * r), 1e-15);
    ASSERT_EQ(n.parts.size(), 1u);
    EXPECT_EQ(n.parts[0].name, "R1");
  }
}

// A non-inverting amplifier of gain 1 + R2/R1 with a noisy but otherwise ideal op amp.
Circuit NonInverting(double r1, double r2, const OpAmpModel& model) {
  Circuit c;
  c.parts = {{"R1", "n", "0", r1}, {"R2", "out", "n", r2}};
  c.opAmps = {{"in", "n", "out"}};
  c.opAmpModel = model;
  return c;
}

OpAmpModel NoisyIdeal(double en, double enCorner, double in) {
  OpAmpModel m = BuiltInOpAmps().front();  // ideal: infinite gain and bandwidth
  m.name = "N";
  m.voltageNoiseDensity = en;
  m.voltageNoiseCorner = enCorner;
  m.currentNoiseDensity = in;
  return m;
}

TEST(NoiseAnalysis, OpAmpNoiseTimesTheNoiseGain) {
  struct Case {
    double r1, r2, en, corner, in, f;
  };
  for (const Case& c :
       {Case{1e3, 9e3, 10e-9, 0.0, 0.0, 1e3}, Case{1e3, 9e3, 10e-9, 100.0, 0.0, 1.0},
        Case{10e3, 10e3, 0.0, 0.0, 1e-12, 1e3}}) {
    CircuitSweep sweep(NonInverting(c.r1, c.r2, NoisyIdeal(c.en, c.corner, c.in)));
    const auto point = sweep.Noise(c.f, kKelvin);
    ASSERT_TRUE(point.has_value());
    const double gain = 1.0 + c.r2 / c.r1;
    const double parallel = c.r1 * c.r2 / (c.r1 + c.r2);
    const double thermal = 4.0 * kBoltzmann * kKelvin * parallel * gain * gain;
    const double voltage = c.en * c.en * (1.0 + c.corner / c.f) * gain * gain;
    const double current = c.in * c.in * c.r2 * c.r2;  // into the inverting input
    double total = 0.0;
    for (double p : point->outputPower) total += p;
    EXPECT_NEAR(total / (thermal + voltage + current), 1.0, 1e-9);
    EXPECT_NEAR(std::abs(point->h), gain, 1e-9);
  }
}

TEST(NoiseAnalysis, CascadeSharesAddUpLargestFirst) {
  CascadeRequest request;
  request.order = 6;
  request.fg = 20e3;
  const CascadeDesign design = DesignCascade(request);
  ASSERT_TRUE(design.problem.empty());
  Circuit circuit = JoinedCascadeCircuit(design);
  circuit.opAmpModel = FindOpAmp(BuiltInOpAmps(), "NE5532");
  const NoiseAnalysis n = AnalyseNoise(circuit, {20.0, 200e3, 400, 25.0});
  ASSERT_TRUE(n.problem.empty());
  ASSERT_EQ(n.sections.size(), 3u);
  const auto powerSum = [](const std::vector<NoiseContribution>& list) {
    double sum = 0.0;
    for (const auto& c : list) sum += c.rms * c.rms;
    return sum;
  };
  EXPECT_NEAR(powerSum(n.parts) / (n.rms * n.rms), 1.0, 1e-12);
  EXPECT_NEAR(powerSum(n.sections) / (n.rms * n.rms), 1.0, 1e-12);
  for (std::size_t i = 1; i < n.parts.size(); ++i) EXPECT_GE(n.parts[i - 1].rms, n.parts[i].rms);
  EXPECT_EQ(n.frequency.size(), 400u);
  EXPECT_DOUBLE_EQ(n.frequency.back(), 200e3);
  // The input-referred density is the output's over the gain, kept where the gain is.
  EXPECT_EQ(n.inputReferred.size(), n.frequency.size());
  EXPECT_NEAR(n.inputReferred[10].second * n.gain[10], n.outputDensity[10], 1e-20);
}

TEST(NoiseAnalysis, RefusesBadRequests) {
  const Circuit rc = RcLowpass(1e3, 1e-9);
  for (const NoiseRequest& r :
       {NoiseRequest{0.0, 1e3, 400, 25.0}, NoiseRequest{1e3, 1e3, 400, 25.0},
        NoiseRequest{10.0, 1e3, 1, 25.0}, NoiseRequest{10.0, 1e3, 400, -300.0},
        NoiseRequest{10.0, INFINITY, 400, 25.0}, NoiseRequest{NAN, 1e3, 400, 25.0}}) {
    const NoiseAnalysis n = AnalyseNoise(rc, r);
    EXPECT_FALSE(n.problem.empty());
    EXPECT_TRUE(n.frequency.empty());
  }
  Circuit noOutput = rc;
  noOutput.parts[0].b = noOutput.parts[1].a = "x";  // no part reaches the output
  EXPECT_FALSE(AnalyseNoise(noOutput, {10.0, 1e3, 10, 25.0}).problem.empty());
}

TEST(IntegratePower, ExactForPowerLaws) {
  // White: P (f2 - f1); 1/f: P0 f0 ln(f2/f1); f^-2: P0 f0^2 (1/f1 - 1/f2).
  std::vector<double> f, white, flicker, falling;
  for (int i = 0; i <= 10; ++i) {
    f.push_back(10.0 * std::pow(10.0, 0.3 * i));
    white.push_back(2.0);
    flicker.push_back(5.0 / f.back());
    falling.push_back(7.0 / (f.back() * f.back()));
  }
  EXPECT_NEAR(IntegratePower(f, white), 2.0 * (f.back() - f.front()), 1e-9);
  EXPECT_NEAR(IntegratePower(f, flicker), 5.0 * std::log(f.back() / f.front()), 1e-12);
  EXPECT_NEAR(IntegratePower(f, falling), 7.0 * (1.0 / f.front() - 1.0 / f.back()), 1e-15);
}

}  // namespace
}  // namespace morvane
