#include "graphs/curve_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "graphs/response.h"

namespace morvane {

namespace {

// X[0..N+1] must fit the buffer, whatever Count holds.
constexpr int kMaxIntervals = 254;

int Intervals(const CurveBuffer& buffer) {
  return std::clamp(buffer.Count, 1, kMaxIntervals);
}

template <typename PointFunction>
void FillFrequencyCurve(DesignState& s, FilterType type, const AxisRange& axis, CurveBuffer& buffer,
                        PointFunction point) {
  UpdatePoleFrequency(s, type);
  SampleFrequencies(axis, buffer, [&](double f) { return point(s, type, f); });
}

}  // namespace

void SampleFrequencies(const AxisRange& axis, CurveBuffer& buffer,
                       const std::function<double(double)>& point) {
  const int n = Intervals(buffer);
  // A logarithmic axis needs positive ends; otherwise sample linearly rather than make NaNs.
  const bool logarithmic = axis.logarithmic && axis.xmin > 0.0 && axis.xmax > 0.0;
  double ratio = 1.0;
  double delta = 0.0;
  if (logarithmic) {
    ratio = std::pow(axis.xmax / axis.xmin, 1.0 / n);
    buffer.X[0] = axis.xmin;
  } else {
    delta = (axis.xmax - axis.xmin) / n;
    buffer.X[0] = axis.xmin + delta;
  }
  for (std::size_t i = 0; i <= static_cast<std::size_t>(n); ++i) {
    buffer.Y[i] = point(buffer.X[i]);
    buffer.X[i + 1] = logarithmic ? buffer.X[i] * ratio : buffer.X[i] + delta;
  }
}

double TimeStep(const AxisRange& axis, const CurveBuffer& buffer) {
  return axis.xmax / Intervals(buffer);
}

void FillGainCurve(DesignState& s, FilterType type, const AxisRange& axis, CurveBuffer& buffer) {
  FillFrequencyCurve(s, type, axis, buffer, GainDbAt);
}

void FillPhaseCurve(DesignState& s, FilterType type, const AxisRange& axis, CurveBuffer& buffer) {
  FillFrequencyCurve(s, type, axis, buffer, PhaseAt);
}

void FillGroupDelayCurve(DesignState& s, FilterType type, const AxisRange& axis,
                         CurveBuffer& buffer) {
  FillFrequencyCurve(s, type, axis, buffer, GroupDelayAt);
}

void FillTimeCurve(DesignState& s, const AxisRange& axis, TimeResponse response,
                   CurveBuffer& buffer) {
  const double dt = TimeStep(axis, buffer);
  for (std::size_t i = 0; i < kTimeSamples; ++i) {
    const double t = static_cast<double>(i) * dt;
    buffer.X[i] = t;
    if (response == TimeResponse::Step) {
      buffer.Y[i] = StepResponseAt(s, t);
    } else if (i == 0 || dt <= 0.0) {
      buffer.Y[i] = 0.0;
    } else {
      buffer.Y[i] = (StepResponseAt(s, t + dt) - StepResponseAt(s, t)) / dt;
    }
  }
  if (response == TimeResponse::Pulse) {
    double peak = 0.0;
    for (std::size_t i = 0; i < kTimeSamples; ++i) peak = std::max(peak, buffer.Y[i]);
    // A step that has settled before the first sample leaves nothing to scale.
    if (peak > 0.0) {
      for (std::size_t i = 0; i < kTimeSamples; ++i) buffer.Y[i] /= peak;
    }
  }
}

}  // namespace morvane
