// StepResponseFigures of filter_figures.h: rise time, overshoot and settling from the partial
// fractions of StepResponse, sampled uniformly and refined with Brent's method.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "filters/filter_figures.h"
#include "filters/filter_response.h"
#include "filters/frequency_sweep.h"
#include "numerics/bracketed_root.h"

namespace morvane {
namespace {

constexpr double kTimeTolerance = 1e-15;  // of the time, for every refined instant
constexpr double kSampleAngle = 0.7;      // radians of the fastest pole between samples
constexpr double kFewestSamples = 400.0;
constexpr double kMostSamples = 200000.0;
constexpr double kCrestMargin = 0.8;  // of the band, a crest estimate that is looked at closely

// A time after which the response stays within `small` (of the final value) of its final
// value: the earliest at which the bound of StepResponse::DeviationBound is that small (it only
// falls with t), to within a thousandth, doubling from the fastest pole's time constant.
double SettledSpan(const StepResponse& response, double fastest, double small) {
  const double scale = std::abs(response.FinalValue());
  const auto settled = [&](double t) { return response.DeviationBound(t) < small * scale; };
  double high = 1.0 / fastest;
  for (int i = 0; i < 200 && !settled(high); ++i) high *= 2.0;
  double low = 0.0;
  while (high - low > 1e-3 * high) {
    const double mid = 0.5 * (low + high);
    (settled(mid) ? high : low) = mid;
  }
  return high;
}

// Uniform samples of the normalised response y / y(infinity) over a span.
struct StepSamples {
  double dt = 0.0;
  std::vector<double> values;
  double TimeOf(std::size_t i) const { return dt * static_cast<double>(i); }
};

StepSamples Sampled(const StepResponse& response, double span, double fastest) {
  StepSamples samples;
  const auto count = static_cast<std::size_t>(
                         std::clamp(span * fastest / kSampleAngle, kFewestSamples, kMostSamples)) +
                     1;
  samples.dt = span / static_cast<double>(count - 1);
  samples.values = response.Along(samples.dt, count);
  for (double& v : samples.values) v /= response.FinalValue();
  return samples;
}

}  // namespace

std::optional<StepFigures> StepResponseFigures(const PoleZeroGain& h, FilterKind kind) {
  if (kind != FilterKind::Lowpass || !sweep::IsMeasurable(h)) return std::nullopt;
  const StepResponse response(h);
  const double finalValue = response.FinalValue();
  if (finalValue == 0.0 || !std::isfinite(finalValue)) return std::nullopt;
  const auto y = [&](double t) { return response.At(t) / finalValue; };
  const auto slope = [&](double t) { return response.SlopeAt(t) / finalValue; };
  double fastest = 0.0;
  for (const Complex& p : h.poles) fastest = std::max(fastest, std::abs(p));

  // The extremum of y between two times whose slopes differ in sign; empty when they do not.
  const auto crestBetween = [&](double a, double b) -> std::optional<double> {
    const double sa = slope(a), sb = slope(b);
    if ((sa > 0.0) == (sb > 0.0)) return std::nullopt;
    return BracketedRoot(slope, a, b, sa, sb, kTimeTolerance * b);
  };

  // Samples fine enough for the fastest pole's oscillation, over a span after which the
  // response stays within a tenth of the band; when the overshoot found there is smaller than
  // that, a longer span for crests down to 1e-6 of the final value.
  StepSamples samples;
  double peakValue = 0.0;
  for (double tail : {0.1 * kSettlingBand, 1e-4 * kSettlingBand}) {
    samples = Sampled(response, SettledSpan(response, fastest, tail), fastest);
    const std::vector<double>& v = samples.values;
    const auto peak = static_cast<std::size_t>(std::max_element(v.begin(), v.end()) - v.begin());
    peakValue = v[peak];
    if (peak > 0 && peak + 1 < v.size()) {
      if (const auto crest = crestBetween(samples.TimeOf(peak - 1), samples.TimeOf(peak + 1))) {
        peakValue = std::max(peakValue, y(*crest));
      }
    }
    if (peakValue - 1.0 >= tail) break;
  }
  const std::vector<double>& values = samples.values;
  const std::size_t count = values.size();
  const auto time = [&](std::size_t i) { return samples.TimeOf(i); };

  const auto firstReaching = [&](double level) -> std::optional<double> {
    for (std::size_t i = 1; i < count; ++i) {
      if (values[i] < level) continue;
      const auto offLevel = [&](double t) { return y(t) - level; };
      return BracketedRoot(offLevel, time(i - 1), time(i), values[i - 1] - level, values[i] - level,
                           kTimeTolerance * time(i));
    }
    return std::nullopt;
  };
  const auto t10 = firstReaching(0.1), t90 = firstReaching(0.9);
  if (!t10 || !t90) return std::nullopt;

  StepFigures figures;
  figures.riseTime = *t90 - *t10;
  figures.overshootPercent = std::max(0.0, (peakValue - 1.0) * 100.0);

  // Settling: the last time outside the band. Samples are up to 0.35 rad of an oscillation
  // away from its crest, so crests of the deviation that come near the band are refined too.
  const auto beyondBand = [&](double t) { return std::abs(y(t) - 1.0) - kSettlingBand; };
  for (std::size_t i = count - 1; i-- > 1;) {
    const double d = std::abs(values[i] - 1.0);
    std::optional<double> lastOutside;
    if (d > kSettlingBand) {
      lastOutside = time(i);
    } else if (d > 0.5 * kSettlingBand && d >= std::abs(values[i - 1] - 1.0) &&
               d >= std::abs(values[i + 1] - 1.0)) {
      // A crest of the deviation on the side of sample i, refined only when it may reach the
      // band: the parabola through the three samples (within 0.6 % of the crest of a
      // sinusoid sampled 0.7 rad apart) comes near it, and so do the tangents at the outer two.
      const double side = values[i] > 1.0 ? 1.0 : -1.0;
      const double before = side * (values[i - 1] - 1.0), after = side * (values[i + 1] - 1.0);
      const double curvature = before + after - 2.0 * d, lean = after - before;
      const double parabola = curvature < 0.0 ? d - lean * lean / (8.0 * curvature) : d;
      if (parabola <= kCrestMargin * kSettlingBand) continue;
      const double a = time(i - 1), b = time(i + 1);
      const double slopeA = side * slope(a), slopeB = side * slope(b);
      if (slopeA > 0.0 && slopeB <= 0.0 &&
          sweep::MaximumBound(a, before, slopeA, b, after, slopeB) > kSettlingBand) {
        const double crest =
            BracketedRoot(slope, a, b, side * slopeA, side * slopeB, kTimeTolerance * b);
        if (beyondBand(crest) > 0.0) lastOutside = crest;
      }
    }
    if (!lastOutside) continue;
    figures.settlingTime =
        BracketedRoot(beyondBand, *lastOutside, time(i + 1), beyondBand(*lastOutside),
                      std::abs(values[i + 1] - 1.0) - kSettlingBand, kTimeTolerance * time(i + 1));
    break;
  }
  return figures;
}

}  // namespace morvane
