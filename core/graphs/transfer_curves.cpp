#include "graphs/transfer_curves.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>

#include "graphs/axis_operations.h"
#include "graphs/plot_mapping.h"
#include "numerics/step_rounding.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kFullCount = 254;
// Rounding slack of a logarithm or a quotient that should be a whole number.
constexpr double kWholeSlack = 1e-9;

double DecadeBelow(double f) {
  return std::pow(10.0, std::floor(std::log10(f) + kWholeSlack));
}

double DecadeAbove(double f) {
  return std::pow(10.0, std::ceil(std::log10(f) - kWholeSlack));
}

double FloorToStep(double v, double step) {
  return step * std::floor(v / step + kWholeSlack);
}

double CeilToStep(double v, double step) {
  return step * std::ceil(v / step - kWholeSlack);
}

void ScaleToLargestMagnitude(CurveBuffer& buffer) {
  double peak = 0.0;
  for (std::size_t i = 0; i < kTimeSamples; ++i) {
    if (std::isfinite(buffer.Y[i])) peak = std::max(peak, std::abs(buffer.Y[i]));
  }
  // A response that is 0 throughout has nothing to scale.
  if (!(peak > 0.0)) return;
  for (std::size_t i = 0; i < kTimeSamples; ++i) buffer.Y[i] /= peak;
}

void FillTimeSamples(const TransferResponse& r, const AxisRange& range, bool pulse,
                     CurveBuffer& buffer) {
  const double dt = std::max(TimeStep(range, buffer), 0.0);
  for (std::size_t i = 0; i < kTimeSamples; ++i) {
    const double t = static_cast<double>(i) * dt;
    buffer.X[i] = t;
    buffer.Y[i] = pulse ? r.step.SlopeAt(t) : r.step.At(t);
  }
  if (pulse) ScaleToLargestMagnitude(buffer);
}

MinMaxResult RangeOf(const CurveBuffer& buffer, GraphKind kind) {
  const int last = kind == GraphKind::TimeResponse ? kTimeSamples - 1 : buffer.Count;
  return MinMax(buffer.Y, buffer.Count > 0 ? last : -1);
}

struct YAxis {
  double ymin;
  double ymax;
  double ystep;
};

YAxis GainAxis(const MinMaxResult& m) {
  const double peak = m.found ? m.largest : 0.0;
  const double ymax = 10.0 * std::ceil(peak / 10.0 - kWholeSlack) + 20.0;
  return {ymax - 80.0, ymax, 1.0};
}

YAxis PhaseAxis(const MinMaxResult& m) {
  const double lo = m.found ? m.smallest : 0.0;
  const double hi = m.found ? m.largest : 0.0;
  const double ymin = 90.0 * std::floor((lo - 10.0) / 90.0);
  const double ymax = 90.0 * std::ceil((hi + 10.0) / 90.0);
  return {ymin, ymax, CeilStep125((ymax - ymin) / 40.0)};
}

YAxis DelayAxis(const MinMaxResult& m) {
  const double top = m.found && m.largest > 0.0 ? CeilStep125(1.25 * m.largest) : 1e-3;
  return {0.0, top, CeilStep125(0.02 * top)};
}

YAxis TimeAxis(const MinMaxResult& step, const MinMaxResult& pulse) {
  double lo = 0.0;
  double hi = 0.0;
  for (const MinMaxResult& m : {step, pulse}) {
    if (!m.found) continue;
    lo = std::min(lo, m.smallest);
    hi = std::max(hi, m.largest);
  }
  double span = hi - lo;
  if (!(span > 0.0)) span = 1.0;
  const double ystep = CeilStep125(span / 60.0);
  return {FloorToStep(lo - 0.1 * span, ystep), CeilToStep(hi + 0.1 * span, ystep), ystep};
}

void SetYAxis(AxisState& a, const YAxis& y) {
  a.ymin = y.ymin;
  a.ymax = y.ymax;
  a.ystep = y.ystep;
}

}  // namespace

void FillTransferCurve(const TransferResponse& r, GraphKind kind, const AxisRange& range,
                       bool pulse, CurveBuffer& buffer) {
  if (r.transfer.poles.empty()) {
    buffer.Count = 0;
    buffer.X[0] = buffer.Y[0] = std::numeric_limits<double>::quiet_NaN();
    return;
  }
  buffer.Count = kFullCount;
  const PoleZeroGain& h = r.transfer;
  switch (kind) {
    case GraphKind::Gain:
      SampleFrequencies(range, buffer, [&](double f) { return PoleZeroGainDb(h, kTwoPi * f); });
      return;
    case GraphKind::Phase:
      SampleFrequencies(range, buffer,
                        [&](double f) { return PoleZeroPhaseDegrees(h, kTwoPi * f); });
      return;
    case GraphKind::GroupDelay:
      SampleFrequencies(range, buffer, [&](double f) { return PoleZeroGroupDelay(h, kTwoPi * f); });
      return;
    case GraphKind::TimeResponse:
      break;
  }
  FillTimeSamples(r, range, pulse, buffer);
}

FrequencySpan RootFrequencies(const PoleZeroGain& h) {
  double largest = 0.0;
  for (const auto* roots : {&h.poles, &h.zeros}) {
    for (const Complex& r : *roots) largest = std::max(largest, std::abs(r));
  }
  FrequencySpan span{HUGE_VAL, 0.0};
  for (const auto* roots : {&h.poles, &h.zeros}) {
    for (const Complex& r : *roots) {
      const double magnitude = std::abs(r);
      // Zeros at the origin (a highpass, a bandpass) set no frequency.
      if (!std::isfinite(magnitude) || !(magnitude > kWholeSlack * largest)) continue;
      span.lowest = std::min(span.lowest, magnitude / kTwoPi);
      span.highest = std::max(span.highest, magnitude / kTwoPi);
    }
  }
  if (!(span.highest > 0.0)) return {};
  return span;
}

double SettlingTime(const PoleZeroGain& h) {
  double slowest = HUGE_VAL;
  for (const Complex& p : h.poles) {
    if (p.real() < 0.0) slowest = std::min(slowest, -p.real());
  }
  if (!std::isfinite(slowest)) return 5e-3;
  return 6.0 / slowest;
}

void SetTransferAxes(const TransferResponse& r, GraphKind kind, AxisState& a) {
  a.xGridEvery = 5;
  a.yGridEvery = 5;
  CurveBuffer samples;
  if (kind == GraphKind::TimeResponse) {
    SetAxisModes(a, AxisMode::Linear, AxisMode::Linear);
    a.xmin = 0.0;
    a.xmax = CeilStep125(SettlingTime(r.transfer));
    FillTransferCurve(r, kind, XRangeOf(a), false, samples);
    const MinMaxResult step = RangeOf(samples, kind);
    FillTransferCurve(r, kind, XRangeOf(a), true, samples);
    SetYAxis(a, TimeAxis(step, RangeOf(samples, kind)));
    a.xo = 0.0;
  } else {
    SetAxisModes(a, AxisMode::Logarithmic, AxisMode::Linear);
    const FrequencySpan span = RootFrequencies(r.transfer);
    a.xmin = DecadeBelow(span.lowest / 10.0);
    a.xmax = DecadeAbove(10.0 * span.highest);
    FillTransferCurve(r, kind, XRangeOf(a), false, samples);
    const MinMaxResult m = RangeOf(samples, kind);
    SetYAxis(a, kind == GraphKind::Gain    ? GainAxis(m)
                : kind == GraphKind::Phase ? PhaseAxis(m)
                                           : DelayAxis(m));
    a.xo = a.xmin;
  }
  a.yo = std::clamp(0.0, a.ymin, a.ymax);
  // Labels every 5 steps: 5 of them across the time axis, whose texts are long ("10.00m").
  a.xstep = CeilStep125((kind == GraphKind::TimeResponse ? 0.04 : 0.02) * a.xmax);
}

ValueLimits TransferAxisEndLimits(const PoleZeroGain& h, GraphKind kind, AxisEnd end,
                                  const AxisState& a) {
  if (end == AxisEnd::YMin || end == AxisEnd::YMax) return {-1e6, 1e6};
  if (kind == GraphKind::TimeResponse) return {0.0, 20.0 * SettlingTime(h)};
  const FrequencySpan span = RootFrequencies(h);
  const bool logMin = end == AxisEnd::XMin && a.xMode == AxisMode::Logarithmic;
  return {logMin ? 1e-6 * span.lowest : 0.0, 1000.0 * span.highest};
}

}  // namespace morvane
