#pragma once

// The graph curves and starting axes of a filter given by its poles, zeros and gain (rad/s):
// what the windows of a multi-stage filter draw for the whole filter and for each section.

#include <utility>

#include "filters/filter_response.h"
#include "graphs/axis_state.h"
#include "graphs/curve_buffer.h"
#include "graphs/graph_axis_rules.h"
#include "graphs/graph_kind.h"

namespace morvane {

// A transfer with its step response worked out once, for curves sampled many times.
struct TransferResponse {
  explicit TransferResponse(PoleZeroGain h = {}) : transfer(std::move(h)), step(transfer) {}

  PoleZeroGain transfer;
  StepResponse step;
};

// The curve of that kind over the range: the frequency curves (f in Hz) at the samples of
// SampleFrequencies, the time curve at t = i TimeStep, i = 0 .. 250. h(t) is scaled so that
// its largest magnitude is 1, its sign kept, as the program's pulse curves are scaled. A
// transfer without poles is no filter and leaves no samples: Count 0 and a first sample that
// is not a number, which nothing draws, scans or writes.
void FillTransferCurve(const TransferResponse& r, GraphKind kind, const AxisRange& range,
                       bool pulse, CurveBuffer& buffer);

// The range of frequencies (Hz) of the poles and of the zeros away from the origin; 1 kHz
// for a transfer without any.
struct FrequencySpan {
  double lowest = 1000.0;
  double highest = 1000.0;
};
FrequencySpan RootFrequencies(const PoleZeroGain& h);

// The time the step response takes to settle: 6 time constants of the slowest pole (its
// term has fallen to 0.25 %); 5 ms for a transfer without poles.
double SettlingTime(const PoleZeroGain& h);

// The axes a window starts with: frequency windows logarithmic from the decade below a tenth
// of the lowest root frequency to the decade above ten times the highest (a narrow band stays
// wide enough to see), the y range from the curve over it (gain: 80 dB below a round 20 dB
// above the peak; phase: whole quadrants around the curve; delay: 0 to a 1-2-5 value above
// 1.25 times the largest); the time window linear from 0 to the settling time (rounded up to
// 1-2-5), its y range holding s(t), h(t) and 0 with a tenth of their span to spare. Grid and
// labels every 5 ticks, the origin at (xmin, 0) or (0, 0).
void SetTransferAxes(const TransferResponse& r, GraphKind kind, AxisState& a);

// The ranges the axis-scale dialog accepts: frequencies up to 1000 times the highest root
// frequency (down to a millionth of the lowest on a logarithmic axis), times up to 20 times
// the settling time, y values within +-1e6.
ValueLimits TransferAxisEndLimits(const PoleZeroGain& h, GraphKind kind, AxisEnd end,
                                  const AxisState& a);

}  // namespace morvane
