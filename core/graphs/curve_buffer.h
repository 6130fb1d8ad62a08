#pragma once

// The samples of one graph window and the fillers that sample a response over the window's
// axis range.

#include <array>

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

// Frequency curves: X[0..N+1] and Y[0..N]; each first updates s.fo.
void FillGainCurve(DesignState& s, FilterType type, const AxisRange& axis, CurveBuffer& buffer);
void FillPhaseCurve(DesignState& s, FilterType type, const AxisRange& axis, CurveBuffer& buffer);
void FillGroupDelayCurve(DesignState& s, FilterType type, const AxisRange& axis,
                         CurveBuffer& buffer);
// Time curve: samples 0..250 from t = 0 with step xmax/N.
void FillTimeCurve(DesignState& s, const AxisRange& axis, TimeResponse response,
                   CurveBuffer& buffer);

}  // namespace morvane
