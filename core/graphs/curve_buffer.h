#pragma once

// The samples of one graph window and the fillers that sample a response over the window's
// axis range.

#include <array>
#include <functional>

#include "design/design_state.h"

namespace morvane {

struct CurveBuffer {
  int Count = 254;  // N, the number of sample intervals
  std::array<double, 256> X{};
  std::array<double, 256> Y{};
};

struct AxisRange {
  double xmin = 0.0;
  double xmax = 0.0;
  bool logarithmic = false;
};

enum class TimeResponse { Step, Pulse };

// The time curve holds samples 0 .. 250, whatever the buffer's Count.
inline constexpr int kTimeSamples = 251;

// The sampling every frequency curve shares: X[0..N+1] from xmin (geometric steps on a
// logarithmic axis; on a linear one from one step above xmin, so an axis from 0 Hz never asks
// for f = 0) and Y[i] = point(X[i]) for i = 0 .. N.
void SampleFrequencies(const AxisRange& axis, CurveBuffer& buffer,
                       const std::function<double(double)>& point);
// The time curve's step: samples lie at t = i * TimeStep, i = 0 .. 250.
double TimeStep(const AxisRange& axis, const CurveBuffer& buffer);

// Frequency curves: X[0..N+1] and Y[0..N]; each first updates s.fo.
void FillGainCurve(DesignState& s, FilterType type, const AxisRange& axis, CurveBuffer& buffer);
void FillPhaseCurve(DesignState& s, FilterType type, const AxisRange& axis, CurveBuffer& buffer);
void FillGroupDelayCurve(DesignState& s, FilterType type, const AxisRange& axis,
                         CurveBuffer& buffer);
// Time curve: samples 0..250 from t = 0 with step xmax/N.
void FillTimeCurve(DesignState& s, const AxisRange& axis, TimeResponse response,
                   CurveBuffer& buffer);

}  // namespace morvane
