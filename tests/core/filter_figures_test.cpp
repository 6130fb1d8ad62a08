// Whole-filter figures. References: closed forms of first- and second-order filters (rise time
// ln 9 / w, overshoot exp(-pi zeta / sqrt(1 - zeta^2)), peaking Q / sqrt(1 - 1/(4Q^2))), the
// Butterworth magnitude 1 / sqrt(1 + w^(2n)), the bandpass edge relations w2 - w1 = B and
// w1 w2 = wm^2, and the published Butterworth step overshoots (4.32, 8.15, 10.8, 12.8 %).

#include "filters/filter_figures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "filters/analog_prototype.h"
#include "filters/filter_response.h"

namespace morvane {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFg = 1000.0;
constexpr double kWg = 2.0 * kPi * kFg;

PoleZeroGain Designed(Approximation approximation, int order, FilterKind kind = FilterKind::Lowpass,
                      double rippleDb = 1.0, double bandwidth = 0.0) {
  PrototypeRequest request;
  request.approximation = approximation;
  request.order = order;
  request.rippleDb = rippleDb;
  const auto prototype = DesignPrototype(request, nullptr);
  EXPECT_TRUE(prototype.has_value());
  std::string error;
  const auto filter = TransformPrototype(prototype->transfer, kind, kWg, bandwidth, error);
  EXPECT_TRUE(filter.has_value()) << error;
  return *filter;
}

// w^2 / (s^2 + (w/Q) s + w^2): a second-order lowpass with DC gain 1.
PoleZeroGain SecondOrder(double q, double w = kWg) {
  const double re = -w / (2.0 * q);
  const double im = w * std::sqrt(std::max(0.0, 1.0 - 1.0 / (4.0 * q * q)));
  return {{Complex(re, im), Complex(re, -im)}, {}, w * w};
}

TEST(FilterFigures, ButterworthLowpassEdgeRippleAndAttenuation) {
  for (int order = 1; order <= 20; ++order) {
    SCOPED_TRACE(order);
    const PoleZeroGain h = Designed(Approximation::Butterworth, order);
    const FilterFigures figures = ComputeFilterFigures(h, FilterKind::Lowpass);
    ASSERT_TRUE(figures.edges.upperHz && figures.rippleDb && figures.passbandGainDb);
    EXPECT_FALSE(figures.edges.lowerHz);
    EXPECT_NEAR(*figures.edges.upperHz, kFg, 1e-9 * kFg);
    EXPECT_NEAR(*figures.rippleDb, 0.0, 1e-9);
    EXPECT_NEAR(*figures.passbandGainDb, 0.0, 1e-9);
    const double expected = 10.0 * std::log10(1.0 + std::pow(2.0, 2.0 * order));
    EXPECT_NEAR(*AttenuationDb(h, FilterKind::Lowpass, 2.0 * kFg), expected, 1e-9);
  }
}

TEST(FilterFigures, ButterworthStepOvershoot) {
  const struct {
    int order;
    double percent;
    double tolerance;
  } cases[] = {
      {2, 100.0 * std::exp(-kPi), 1e-6}, {3, 8.15, 0.01}, {4, 10.8, 0.05}, {5, 12.8, 0.05}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.order);
    const auto step =
        StepResponseFigures(Designed(Approximation::Butterworth, c.order), FilterKind::Lowpass);
    ASSERT_TRUE(step.has_value());
    EXPECT_NEAR(step->overshootPercent, c.percent, c.tolerance);
  }
}

TEST(FilterFigures, ChebyshevRippleIsTheRequestedRipple) {
  for (double ripple : {0.01, 0.1, 0.5, 1.0, 3.0}) {
    for (int order : {2, 3, 4, 7, 10, 15, 20}) {
      SCOPED_TRACE(testing::Message() << ripple << " dB, order " << order);
      const PoleZeroGain h = Designed(Approximation::Chebyshev, order, FilterKind::Lowpass, ripple);
      const auto measured = PassbandRippleDb(h, FilterKind::Lowpass);
      ASSERT_TRUE(measured.has_value());
      EXPECT_NEAR(*measured, ripple, 1e-6);
      const auto edges = HalfPowerFrequencies(h, FilterKind::Lowpass);
      ASSERT_TRUE(edges.upperHz.has_value());
      // relative to the DC gain, which is the pass-band maximum only for odd orders
      if (order % 2 == 1) {
        EXPECT_NEAR(*edges.upperHz, kFg, 1e-9 * kFg);
      }
      EXPECT_NEAR(*AttenuationDb(h, FilterKind::Lowpass, *edges.upperHz), 10.0 * std::log10(2.0),
                  1e-9);
    }
  }
}

TEST(FilterFigures, BesselOrderTwoOvershootAndDelay) {
  const PoleZeroGain h = Designed(Approximation::Bessel, 2);
  const FilterFigures figures = ComputeFilterFigures(h, FilterKind::Lowpass);
  ASSERT_TRUE(figures.step && figures.delay);
  // zeta = sqrt(3)/2 for 3 / (s^2 + 3 s + 3)
  EXPECT_NEAR(figures.step->overshootPercent, 100.0 * std::exp(-kPi * std::sqrt(3.0)), 1e-6);
  // 3 / (s^2 + 3 s + 3) has 1 s delay at DC and its -3 dB point at sqrt((sqrt(45) - 3) / 2).
  const double w3 = std::sqrt((std::sqrt(45.0) - 3.0) / 2.0);
  EXPECT_NEAR(figures.delay->referenceDelay, w3 / kWg, 1e-12);
  EXPECT_NEAR(figures.delay->maxDelay, w3 / kWg, 1e-12);  // flat to the edge, highest at DC
}

TEST(FilterFigures, FirstOrderStepClosedForms) {
  const PoleZeroGain h{{Complex(-kWg, 0.0)}, {}, kWg};
  const auto step = StepResponseFigures(h, FilterKind::Lowpass);
  ASSERT_TRUE(step && step->settlingTime);
  EXPECT_NEAR(step->riseTime, std::log(9.0) / kWg, 1e-9 / kWg);
  EXPECT_NEAR(*step->settlingTime, std::log(100.0) / kWg, 1e-9 / kWg);
  EXPECT_EQ(step->overshootPercent, 0.0);
}

TEST(FilterFigures, SecondOrderOvershootAndInvertingGain) {
  for (double q : {0.6, 0.7071, 1.0, 2.0, 5.0, 20.0}) {
    SCOPED_TRACE(q);
    const double zeta = 0.5 / q;
    const double expected = 100.0 * std::exp(-kPi * zeta / std::sqrt(1.0 - zeta * zeta));
    PoleZeroGain h = SecondOrder(q);
    h.gain = -h.gain;  // an inverting stage settles to -1: the same figures
    const auto step = StepResponseFigures(h, FilterKind::Lowpass);
    ASSERT_TRUE(step && step->settlingTime);
    EXPECT_NEAR(step->overshootPercent, expected, 1e-6);
    // the envelope exp(-zeta w t) bounds the error: settled once it is below 1 % / sqrt(1-z^2)
    const double bound = std::log(100.0 / std::sqrt(1.0 - zeta * zeta)) / (zeta * kWg);
    EXPECT_LE(*step->settlingTime, bound);
  }
}

// A double pole (Linkwitz-Riley order 2, 1 / (1 + s)^2 scaled): 1 - (1 + x) e^-x with x = w t;
// crossings of (1 + x) e^-x = 0.9, 0.1 and 0.01 solved independently (python bisection).
TEST(FilterFigures, RepeatedPoleStepClosedForm) {
  const auto step =
      StepResponseFigures(Designed(Approximation::LinkwitzRiley, 2), FilterKind::Lowpass);
  ASSERT_TRUE(step && step->settlingTime);
  EXPECT_NEAR(step->riseTime, 3.357908561477817 / kWg, 1e-9 / kWg);
  EXPECT_NEAR(*step->settlingTime, 6.638352067993812 / kWg, 1e-9 / kWg);
  EXPECT_EQ(step->overshootPercent, 0.0);
}

// High orders with sharp edges ring long: the figures must match a dense brute-force sweep of
// PoleZeroStep (every 1/200 of the corner period), crests and late excursions included.
TEST(FilterFigures, StepFiguresMatchDenseSweep) {
  const struct {
    Approximation approximation;
    int order;
  } cases[] = {{Approximation::Chebyshev, 9},
               {Approximation::Elliptic, 8},
               {Approximation::Butterworth, 12}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.order);
    const PoleZeroGain h = Designed(c.approximation, c.order);
    const auto step = StepResponseFigures(h, FilterKind::Lowpass);
    ASSERT_TRUE(step && step->settlingTime);
    const double finalValue = EvaluateAt(h, Complex(0.0, 0.0)).real();
    const double dt = 1.0 / (200.0 * kFg);
    double peak = 0.0, lastOutside = 0.0;
    for (double t = 0.0; t < 3.0 * *step->settlingTime; t += dt) {
      const double v = PoleZeroStep(h, t) / finalValue;
      peak = std::max(peak, v);
      if (std::abs(v - 1.0) > kSettlingBand) lastOutside = t;
    }
    // the sweep lands up to 1/400 period off the crest, so it may read slightly lower
    EXPECT_GE(step->overshootPercent, 100.0 * (peak - 1.0) - 1e-9);
    EXPECT_NEAR(step->overshootPercent, 100.0 * (peak - 1.0), 1e-2);
    EXPECT_NEAR(*step->settlingTime, lastOutside, 2.0 * dt);
  }
}

TEST(FilterFigures, SectionPeaking) {
  const FilterSection first{"first-order-lowpass",          kFg, 0.5, {}, 1.0,
                            {{Complex(-kWg, 0.0)}, {}, kWg}};
  const FilterSection resonant{"lowpass", kFg, 5.0, {}, 1.0, SecondOrder(5.0)};
  const auto peakings = SectionPeakings({first, resonant}, FilterKind::Lowpass, Topology::Svf3);
  ASSERT_EQ(peakings.size(), 2u);
  EXPECT_NEAR(peakings[0].peakingDb, 0.0, 1e-12);
  ASSERT_TRUE(peakings[0].atHz.has_value());
  EXPECT_EQ(*peakings[0].atHz, 0.0);

  const auto single = SectionPeakings({resonant}, FilterKind::Lowpass, Topology::Svf3);
  ASSERT_EQ(single.size(), 1u);
  const double q = 5.0;
  EXPECT_NEAR(single[0].peakingDb, 20.0 * std::log10(q / std::sqrt(1.0 - 1.0 / (4.0 * q * q))),
              1e-9);
  ASSERT_TRUE(single[0].atHz.has_value());
  EXPECT_NEAR(*single[0].atHz, kFg * std::sqrt(1.0 - 1.0 / (2.0 * q * q)), 1e-6 * kFg);
}

TEST(FilterFigures, BandEdgesOfTransformedButterworth) {
  const double bandwidth = 2.0 * kPi * 200.0;
  for (FilterKind kind : {FilterKind::Bandpass, FilterKind::Bandstop}) {
    for (int order : {1, 2, 3, 6}) {
      SCOPED_TRACE(testing::Message() << static_cast<int>(kind) << " order " << order);
      const PoleZeroGain h = Designed(Approximation::Butterworth, order, kind, 1.0, bandwidth);
      const FilterFigures figures = ComputeFilterFigures(h, kind);
      ASSERT_TRUE(figures.edges.lowerHz && figures.edges.upperHz && figures.rippleDb);
      const double w1 = 2.0 * kPi * *figures.edges.lowerHz;
      const double w2 = 2.0 * kPi * *figures.edges.upperHz;
      EXPECT_NEAR(w2 - w1, bandwidth, 1e-8 * bandwidth);
      EXPECT_NEAR(w1 * w2, kWg * kWg, 1e-8 * kWg * kWg);
      EXPECT_NEAR(*figures.passbandGainDb, 0.0, 1e-9);
      EXPECT_NEAR(*figures.rippleDb, 0.0, 1e-9);
      EXPECT_FALSE(figures.step.has_value());
    }
  }
}

TEST(FilterFigures, HighpassEdgeAndNoStepFigures) {
  const PoleZeroGain h = Designed(Approximation::Butterworth, 5, FilterKind::Highpass);
  const FilterFigures figures = ComputeFilterFigures(h, FilterKind::Highpass);
  ASSERT_TRUE(figures.edges.lowerHz && figures.delay);
  EXPECT_FALSE(figures.edges.upperHz);
  EXPECT_NEAR(*figures.edges.lowerHz, kFg, 1e-9 * kFg);
  EXPECT_NEAR(*AttenuationDb(h, FilterKind::Highpass, kFg / 2.0),
              10.0 * std::log10(1.0 + std::pow(2.0, 10.0)), 1e-9);
  EXPECT_EQ(figures.delay->referenceDelay, 0.0);
  EXPECT_GT(figures.delay->maxDelay, 0.0);
  EXPECT_FALSE(figures.step.has_value());
}

TEST(FilterFigures, BadFiltersGiveNoFigures) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const PoleZeroGain bad[] = {
      {},                                                                    // empty
      {{Complex(1.0, 0.0)}, {}, 1.0},                                        // unstable
      {{Complex(0.0, 1.0), Complex(0.0, -1.0)}, {}, 1.0},                    // on the j omega axis
      {{Complex(nan, 0.0)}, {}, 1.0},                                        // not finite
      {{Complex(-1.0, 0.0)}, {Complex(0.0, 1.0), Complex(0.0, -1.0)}, 1.0},  // improper
      {{Complex(-1.0, 0.0)}, {}, 0.0},                                       // no gain
  };
  for (const PoleZeroGain& h : bad) {
    for (FilterKind kind :
         {FilterKind::Lowpass, FilterKind::Highpass, FilterKind::Bandpass, FilterKind::Bandstop}) {
      const FilterFigures figures = ComputeFilterFigures(h, kind);
      EXPECT_FALSE(figures.passbandGainDb || figures.edges.lowerHz || figures.edges.upperHz ||
                   figures.rippleDb || figures.delay || figures.step);
      EXPECT_FALSE(AttenuationDb(h, kind, 100.0).has_value());
    }
  }
  const PoleZeroGain good = SecondOrder(0.7071);
  EXPECT_FALSE(AttenuationDb(good, FilterKind::Lowpass, -1.0).has_value());
  EXPECT_FALSE(AttenuationDb(good, FilterKind::Lowpass, nan).has_value());
  EXPECT_TRUE(SectionPeakings({}, FilterKind::Lowpass, Topology::Mfb).empty());
}

}  // namespace
}  // namespace morvane
