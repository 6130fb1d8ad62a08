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
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "filters/analog_prototype.h"
#include "filters/filter_response.h"
#include "filters/filter_sections.h"

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

// The same at order 20, where the poles ring longest and Linkwitz-Riley's are all doubled;
// the sweep evaluates StepResponse time by time, every 1/200 of the corner period.
TEST(FilterFigures, StepFiguresOfOrderTwentyMatchDenseSweep) {
  const struct {
    Approximation approximation;
    double rippleDb;
  } cases[] = {{Approximation::LinkwitzRiley, 1.0},
               {Approximation::Chebyshev, 3.0},
               {Approximation::Elliptic, 0.01},
               {Approximation::Bessel, 1.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.approximation));
    const PoleZeroGain h = Designed(c.approximation, 20, FilterKind::Lowpass, c.rippleDb);
    const auto step = StepResponseFigures(h, FilterKind::Lowpass);
    ASSERT_TRUE(step && step->settlingTime);
    const StepResponse response(h);
    const double finalValue = response.FinalValue();
    const double dt = 1.0 / (200.0 * kFg);
    double peak = 0.0, lastOutside = 0.0;
    std::optional<double> t10, t90;
    for (double t = 0.0; t < 3.0 * *step->settlingTime; t += dt) {
      const double v = response.At(t) / finalValue;
      peak = std::max(peak, v);
      if (std::abs(v - 1.0) > kSettlingBand) lastOutside = t;
      if (!t10 && v >= 0.1) t10 = t;
      if (!t90 && v >= 0.9) t90 = t;
    }
    ASSERT_TRUE(t10 && t90);
    EXPECT_GE(step->overshootPercent, 100.0 * (peak - 1.0) - 1e-9);
    EXPECT_NEAR(step->overshootPercent, 100.0 * (peak - 1.0), 1e-2);
    EXPECT_NEAR(*step->settlingTime, lastOutside, 2.0 * dt);
    EXPECT_NEAR(step->riseTime, *t90 - *t10, 2.0 * dt);
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

// ---- Against brute force: dense sweeps of the closed forms, evaluated here independently ----

constexpr double kBandwidth = 2.0 * kPi * 300.0;
const double kHalfPowerDb = 10.0 * std::log10(2.0);

struct Design {
  Approximation approximation;
  FilterKind kind;
  int order;
  double rippleDb;
};

std::string NameOf(const Design& d) {
  static const char* const approximations[] = {"Butterworth",   "Chebyshev",        "Bessel",
                                               "LinkwitzRiley", "InverseChebyshev", "Elliptic"};
  static const char* const kinds[] = {"Lowpass", "Highpass", "Bandpass", "Bandstop"};
  return std::string(approximations[static_cast<int>(d.approximation)]) +
         kinds[static_cast<int>(d.kind)] + std::to_string(d.order) + "_" +
         std::to_string(static_cast<int>(d.rippleDb * 100.0)) + "cdB";
}

void PrintTo(const Design& d, std::ostream* out) {
  *out << NameOf(d);
}

PoleZeroGain DesignedFilter(const Design& d) {
  PrototypeRequest request;
  request.approximation = d.approximation;
  request.order = d.order;
  request.rippleDb = d.rippleDb;
  request.stopbandDb = 60.0;
  std::string error;
  const auto prototype = DesignPrototype(request, &error);
  EXPECT_TRUE(prototype.has_value()) << error;
  const auto filter = TransformPrototype(prototype->transfer, d.kind, kWg, kBandwidth, error);
  EXPECT_TRUE(filter.has_value()) << error;
  return *filter;
}

// 20 log10 |H(j omega)| as one product of squared distances, rescaled on the way.
double DenseGainDb(const PoleZeroGain& h, double omega) {
  double product = h.gain * h.gain;
  int exponent = 0;
  const auto rescale = [&] {
    if (product > 1e-100 && product < 1e100) return;
    int shift = 0;
    product = std::frexp(product, &shift);
    exponent += shift;
  };
  for (const Complex& z : h.zeros) product *= std::norm(Complex(0.0, omega) - z), rescale();
  for (const Complex& p : h.poles) product /= std::norm(Complex(0.0, omega) - p), rescale();
  return 10.0 * std::log10(product) + exponent * 10.0 * std::log10(2.0);
}

// Golden-section search for the maximum of f on [a, b].
template <typename F>
std::pair<double, double> GoldenMaximum(F f, double a, double b) {
  const double r = (std::sqrt(5.0) - 1.0) / 2.0;
  double x1 = b - r * (b - a), x2 = a + r * (b - a), f1 = f(x1), f2 = f(x2);
  for (int i = 0; i < 200 && b - a > 1e-15 * b; ++i) {
    if (f1 < f2) {
      a = x1, x1 = x2, f1 = f2, x2 = a + r * (b - a), f2 = f(x2);
    } else {
      b = x2, x2 = x1, f2 = f1, x1 = b - r * (b - a), f1 = f(x1);
    }
  }
  return f1 >= f2 ? std::pair{x1, f1} : std::pair{x2, f2};
}

// Bisection for where f crosses `level` between a and b.
template <typename F>
double Bisected(F f, double a, double b, double level) {
  const bool aboveAtA = f(a) >= level;
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (a + b);
    if (mid <= std::min(a, b) || mid >= std::max(a, b)) break;
    ((f(mid) >= level) == aboveAtA ? a : b) = mid;
  }
  return 0.5 * (a + b);
}

struct Curve {
  std::vector<double> omegas, values;
};

template <typename F>
Curve Swept(F f, const std::vector<double>& omegas) {
  Curve c{omegas, {}};
  c.values.reserve(omegas.size());
  for (double w : omegas) c.values.push_back(f(w));
  return c;
}

std::vector<double> Linear(double a, double b, int n) {
  std::vector<double> x(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = a + (b - a) * i / (n - 1);
  return x;
}

std::vector<double> Geometric(double a, double b, int n) {
  std::vector<double> x(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    x[static_cast<std::size_t>(i)] = a * std::pow(b / a, double(i) / (n - 1));
  return x;
}

// The highest (sign +1) or lowest (sign -1) value of a swept curve between indices [from, to]:
// the samples, and every local extremum of the sweep refined by golden section.
template <typename F>
std::pair<double, double> Extreme(F f, const Curve& c, std::size_t from, std::size_t to, int sign) {
  std::pair<double, double> best{c.omegas[from], c.values[from]};
  const auto better = [&](double v) { return sign * v > sign * best.second; };
  for (std::size_t i = from; i <= to; ++i) {
    if (better(c.values[i])) best = {c.omegas[i], c.values[i]};
  }
  for (std::size_t i = from + 1; i < to; ++i) {
    const double v = sign * c.values[i];
    // turning points that stand out of the rounding of a flat curve
    if (!(v > sign * c.values[i - 1] + 1e-13 && v >= sign * c.values[i + 1])) continue;
    if (v < sign * best.second - 1e-3) continue;
    const auto [w, value] =
        GoldenMaximum([&](double x) { return sign * f(x); }, c.omegas[i - 1], c.omegas[i + 1]);
    if (better(sign * value)) best = {w, sign * value};
  }
  return best;
}

// The pass-band gain: at DC, at infinity, or the highest maximum of a bandpass.
double DensePassbandDb(const PoleZeroGain& h, FilterKind kind) {
  const auto gain = [&](double w) { return DenseGainDb(h, w); };
  switch (kind) {
    case FilterKind::Lowpass:
    case FilterKind::Bandstop:
      return gain(0.0);
    case FilterKind::Highpass:
      return 20.0 * std::log10(std::abs(h.gain));
    case FilterKind::Bandpass:
      break;
  }
  const Curve c = Swept(gain, Linear(0.5 * kWg, 2.0 * kWg, 200000));
  return Extreme(gain, c, 0, c.values.size() - 1, +1).second;
}

// `base` (ascending) with 2,001 more frequencies within 20 |Re p| of every pole's Im p inside
// its range, so that no resonance is narrower than the spacing.
std::vector<double> WithPoleDetail(const PoleZeroGain& h, std::vector<double> base) {
  const double low = base.front(), high = base.back();
  for (const Complex& p : h.poles) {
    if (p.imag() <= 0.0) continue;
    for (double w : Linear(p.imag() + 20.0 * p.real(), p.imag() - 20.0 * p.real(), 2001)) {
      if (w > low && w < high) base.push_back(w);
    }
  }
  std::sort(base.begin(), base.end());
  base.erase(std::unique(base.begin(), base.end()), base.end());  // repeated poles
  return base;
}

// w -> wg^2 / w of a list, ascending again: a sweep towards infinity from a lowpass-like one.
std::vector<double> Inverted(std::vector<double> omegas) {
  for (double& w : omegas) w = kWg * kWg / w;
  std::reverse(omegas.begin(), omegas.end());
  return omegas;
}

struct DenseFigures {
  double passbandDb = 0.0;
  std::optional<double> lowerHz, upperHz;
  double rippleDb = 0.0;
  double maxDelay = 0.0;
};

// Every frequency figure from 200,000-point sweeps of the pass bands, refined.
DenseFigures DenseSweepFigures(const PoleZeroGain& h, FilterKind kind) {
  constexpr int kPoints = 200000;
  const auto gain = [&](double w) { return DenseGainDb(h, w); };
  const auto delay = [&](double w) { return PoleZeroGroupDelay(h, w); };
  DenseFigures d;
  d.passbandDb = DensePassbandDb(h, kind);
  const double level = d.passbandDb - kHalfPowerDb;
  // A pass band: a sweep walked from index `from` in `direction` to the first sample below the
  // -3 dB level; its samples up to the edge, and the edge itself, make the band.
  struct Walk {
    std::vector<double> omegas;
    std::size_t from;
    int direction;
    bool upperEdge;
  };
  std::vector<Walk> walks;
  double referenceOmega = 0.0;  // where the reference delay is taken; < 0: at infinity
  switch (kind) {
    case FilterKind::Lowpass:
      walks.push_back({WithPoleDetail(h, Linear(0.0, 2.0 * kWg, kPoints)), 0, +1, true});
      break;
    case FilterKind::Highpass: {
      referenceOmega = -1.0;
      auto w = WithPoleDetail(h, Inverted(Linear(kWg / 1e4, 2.0 * kWg, kPoints)));
      walks.push_back({w, w.size() - 1, -1, false});
      break;
    }
    case FilterKind::Bandpass: {
      const auto w = WithPoleDetail(h, Linear(0.5 * kWg, 2.0 * kWg, kPoints));
      const Curve c = Swept(gain, w);
      referenceOmega = Extreme(gain, c, 0, c.values.size() - 1, +1).first;
      const auto at = static_cast<std::size_t>(
          std::lower_bound(w.begin(), w.end(), referenceOmega) - w.begin());
      walks.push_back({w, at, -1, false});
      walks.push_back({w, at, +1, true});
      break;
    }
    case FilterKind::Bandstop: {
      walks.push_back({WithPoleDetail(h, Linear(0.0, kWg, kPoints)), 0, +1, false});
      auto w = WithPoleDetail(h, Inverted(Linear(kWg / 1e4, kWg, kPoints)));
      walks.push_back({w, w.size() - 1, -1, true});
      break;
    }
  }
  // Ripple: the turning points of the gain with the reference (not the fall to the edge at a
  // band's end); delay: its largest value anywhere in the pass bands, edges included.
  double highest = d.passbandDb, lowest = d.passbandDb;
  d.maxDelay = referenceOmega >= 0.0 ? delay(referenceOmega) : 0.0;
  for (const Walk& walk : walks) {
    std::size_t i = walk.from;
    while (gain(walk.omegas[i]) >= level) i += walk.direction;
    const double edge = Bisected(gain, walk.omegas[i - walk.direction], walk.omegas[i], level);
    (walk.upperEdge ? d.upperHz : d.lowerHz) = edge / (2.0 * kPi);
    std::vector<double> omegas(walk.omegas.begin() + std::min(walk.from, i),
                               walk.omegas.begin() + std::max(walk.from, i) + 1);
    (walk.direction > 0 ? omegas.back() : omegas.front()) = edge;
    const Curve band = Swept(gain, omegas);
    const std::size_t n = band.values.size() - 1;
    for (std::size_t k = 1; k < n; ++k) {
      for (int sign : {+1, -1}) {
        const double v = sign * band.values[k];
        if (!(v > sign * band.values[k - 1] + 1e-13 && v >= sign * band.values[k + 1])) continue;
        const double value = sign * GoldenMaximum([&](double x) { return sign * gain(x); },
                                                  band.omegas[k - 1], band.omegas[k + 1])
                                        .second;
        highest = std::max(highest, value);
        lowest = std::min(lowest, value);
      }
    }
    const Curve delays = Swept(delay, omegas);
    d.maxDelay = std::max(d.maxDelay, Extreme(delay, delays, 0, n, +1).second);
  }
  d.rippleDb = highest - lowest;
  return d;
}

class FiguresAgainstDenseSweep : public testing::TestWithParam<Design> {};

TEST_P(FiguresAgainstDenseSweep, EveryFrequencyFigure) {
  const PoleZeroGain h = DesignedFilter(GetParam());
  const FilterKind kind = GetParam().kind;
  const FilterFigures f = ComputeFilterFigures(h, kind);
  const DenseFigures d = DenseSweepFigures(h, kind);
  ASSERT_TRUE(f.passbandGainDb && f.rippleDb && f.delay);
  EXPECT_NEAR(*f.passbandGainDb, d.passbandDb, 1e-6);
  EXPECT_NEAR(*f.rippleDb, d.rippleDb, 1e-6);
  ASSERT_EQ(f.edges.lowerHz.has_value(), d.lowerHz.has_value());
  ASSERT_EQ(f.edges.upperHz.has_value(), d.upperHz.has_value());
  if (d.lowerHz) {
    EXPECT_NEAR(*f.edges.lowerHz, *d.lowerHz, 1e-9 * *d.lowerHz);
  }
  if (d.upperHz) {
    EXPECT_NEAR(*f.edges.upperHz, *d.upperHz, 1e-9 * *d.upperHz);
  }
  EXPECT_NEAR(f.delay->maxDelay, d.maxDelay, 1e-9 * d.maxDelay);
  // and the delay is that large where the figures say
  EXPECT_NEAR(PoleZeroGroupDelay(h, 2.0 * kPi * f.delay->maxDelayHz), f.delay->maxDelay,
              1e-9 * f.delay->maxDelay);
}

// A bandpass's equiripple maxima are equally high; its reference is the one nearest the centre
// (the lower of a symmetric pair), which the reference delay is taken at.
TEST(FilterFigures, BandpassReferenceIsThePeakNearestTheCentre) {
  const Design designs[] = {{Approximation::Chebyshev, FilterKind::Bandpass, 6, 1.0},
                            {Approximation::Chebyshev, FilterKind::Bandpass, 7, 0.5},
                            {Approximation::Elliptic, FilterKind::Bandpass, 4, 3.0}};
  for (const Design& design : designs) {
    SCOPED_TRACE(NameOf(design));
    const PoleZeroGain h = DesignedFilter(design);
    const auto delay = PassbandGroupDelay(h, FilterKind::Bandpass);
    ASSERT_TRUE(delay.has_value());
    const auto gain = [&](double w) { return DenseGainDb(h, w); };
    const Curve c = Swept(gain, Linear(0.5 * kWg, 2.0 * kWg, 200000));
    std::vector<std::pair<double, double>> peaks;  // refined maxima: omega, gain
    for (std::size_t i = 1; i + 1 < c.values.size(); ++i) {
      if (c.values[i] > c.values[i - 1] && c.values[i] >= c.values[i + 1]) {
        peaks.push_back(GoldenMaximum(gain, c.omegas[i - 1], c.omegas[i + 1]));
      }
    }
    double highest = -HUGE_VAL;
    for (const auto& p : peaks) highest = std::max(highest, p.second);
    double centreLog = 0.0;
    for (const Complex& p : h.poles) centreLog += std::log(std::abs(p)) / h.poles.size();
    std::optional<double> nearest;
    for (const auto& [w, g] : peaks) {
      if (g < highest - 1e-8) continue;
      const double distance = std::abs(std::log(w) - centreLog);
      if (!nearest || distance < std::abs(std::log(*nearest) - centreLog) - 1e-6) nearest = w;
    }
    ASSERT_TRUE(nearest.has_value());
    // a golden-section search places a maximum to about 1e-8 only; other peaks' delays differ
    // by far more
    EXPECT_NEAR(delay->referenceDelay, PoleZeroGroupDelay(h, *nearest),
                1e-6 * delay->referenceDelay);
  }
}

// The maximum over frequency of every partial cascade 1..i from a 100,000-point log sweep four
// decades beyond the poles and zeros, its turning points refined, with DC and the
// high-frequency limit; the reference is the whole cascade's pass-band gain, swept too.
class PeakingsAgainstDenseSweep : public testing::TestWithParam<Design> {};

TEST_P(PeakingsAgainstDenseSweep, EverySectionOutput) {
  const Design design = GetParam();
  const SectionPlan plan =
      SplitIntoSections(DesignedFilter(design), design.kind, 1.0, GainSplit::Equal);
  ASSERT_TRUE(plan.problem.empty()) << plan.problem;
  const std::vector<FilterSection>& sections = plan.sections;
  const auto peakings = SectionPeakings(sections, design.kind, Topology::Mfb);
  ASSERT_EQ(peakings.size(), sections.size());

  PoleZeroGain whole;
  double smallest = HUGE_VAL, largest = 0.0;
  for (const FilterSection& s : sections) {
    whole.poles.insert(whole.poles.end(), s.transfer.poles.begin(), s.transfer.poles.end());
    whole.zeros.insert(whole.zeros.end(), s.transfer.zeros.begin(), s.transfer.zeros.end());
    whole.gain *= s.transfer.gain;
    for (const Complex& p : s.transfer.poles) smallest = std::min(smallest, std::abs(p));
    for (const Complex& p : s.transfer.poles) largest = std::max(largest, std::abs(p));
    for (const Complex& z : s.transfer.zeros) largest = std::max(largest, std::abs(z));
  }
  const double reference = DensePassbandDb(whole, design.kind);
  const std::size_t n = sections.size();
  const auto partialDb = [&](std::size_t count, double w) {
    double db = 0.0;
    for (std::size_t s = 0; s < count; ++s) db += DenseGainDb(sections[s].transfer, w);
    return db;
  };

  const std::vector<double> omegas =
      WithPoleDetail(whole, Geometric(smallest * 1e-4, largest * 1e4, 100000));
  std::vector<double> before(n, -HUGE_VAL), previous(n, -HUGE_VAL), best(n, -HUGE_VAL);
  std::vector<std::vector<std::size_t>> crests(n);  // local maxima of each partial
  for (std::size_t k = 0; k < omegas.size(); ++k) {
    double db = 0.0;
    for (std::size_t s = 0; s < n; ++s) {
      db += DenseGainDb(sections[s].transfer, omegas[k]);
      if (k >= 2 && previous[s] > before[s] && previous[s] >= db) crests[s].push_back(k - 1);
      best[s] = std::max(best[s], db);
      before[s] = previous[s], previous[s] = db;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    SCOPED_TRACE(testing::Message() << "output of section " << i + 1);
    long excess = 0;
    double gain = 1.0;
    for (std::size_t s = 0; s <= i; ++s) {
      excess += static_cast<long>(sections[s].transfer.zeros.size()) -
                static_cast<long>(sections[s].transfer.poles.size());
      gain *= sections[s].transfer.gain;
    }
    double peak = std::max(partialDb(i + 1, 0.0), excess == 0 ? 20.0 * std::log10(gain) : -1e300);
    const double gridBest = best[i];
    for (std::size_t k : crests[i]) {
      if (partialDb(i + 1, omegas[k]) < gridBest - 1e-2) continue;
      peak = std::max(peak, GoldenMaximum([&](double w) { return partialDb(i + 1, w); },
                                          omegas[k - 1], omegas[k + 1])
                                .second);
    }
    EXPECT_NEAR(peakings[i].peakingDb, peak - reference, 1e-6);
    if (peakings[i].atHz) {
      EXPECT_NEAR(partialDb(i + 1, 2.0 * kPi * *peakings[i].atHz) - reference,
                  peakings[i].peakingDb, 1e-6);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    HardCases, PeakingsAgainstDenseSweep,
    testing::Values(Design{Approximation::Elliptic, FilterKind::Bandpass, 20, 1.0},
                    Design{Approximation::Chebyshev, FilterKind::Lowpass, 20, 0.01},
                    Design{Approximation::Chebyshev, FilterKind::Bandstop, 15, 3.0},
                    Design{Approximation::Elliptic, FilterKind::Highpass, 11, 0.1},
                    Design{Approximation::Bessel, FilterKind::Highpass, 7, 1.0},
                    Design{Approximation::InverseChebyshev, FilterKind::Bandpass, 20, 1.0},
                    // flat tops: the maximum must not be lost to the rounding of the slope
                    Design{Approximation::InverseChebyshev, FilterKind::Bandpass, 5, 1.0},
                    Design{Approximation::Butterworth, FilterKind::Bandstop, 12, 1.0}),
    [](const testing::TestParamInfo<Design>& info) { return NameOf(info.param); });

INSTANTIATE_TEST_SUITE_P(
    HardCases, FiguresAgainstDenseSweep,
    testing::Values(Design{Approximation::Chebyshev, FilterKind::Lowpass, 20, 0.01},
                    Design{Approximation::Chebyshev, FilterKind::Lowpass, 19, 3.0},
                    Design{Approximation::Chebyshev, FilterKind::Bandpass, 20, 3.0},
                    Design{Approximation::Chebyshev, FilterKind::Highpass, 20, 0.01},
                    Design{Approximation::Elliptic, FilterKind::Lowpass, 20, 0.01},
                    Design{Approximation::Elliptic, FilterKind::Highpass, 15, 1.0},
                    Design{Approximation::Elliptic, FilterKind::Bandpass, 20, 0.5},
                    Design{Approximation::Elliptic, FilterKind::Bandstop, 20, 0.1},
                    Design{Approximation::Elliptic, FilterKind::Bandstop, 9, 3.0},
                    Design{Approximation::InverseChebyshev, FilterKind::Bandpass, 12, 1.0},
                    Design{Approximation::Bessel, FilterKind::Highpass, 20, 1.0},
                    Design{Approximation::LinkwitzRiley, FilterKind::Bandstop, 20, 1.0},
                    Design{Approximation::Butterworth, FilterKind::Bandpass, 20, 1.0},
                    Design{Approximation::Elliptic, FilterKind::Bandpass, 2, 0.5}),
    [](const testing::TestParamInfo<Design>& info) { return NameOf(info.param); });

}  // namespace
}  // namespace morvane
