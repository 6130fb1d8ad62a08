#pragma once

// The spread of a tolerance analysis drawn in the graph windows: around the nominal curve the
// band from the least to the largest run (light) and from 5 to 95 % (darker), in the gain,
// phase and group delay windows.

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "graphs/axis_state.h"
#include "graphs/canvas.h"
#include "graphs/graph_kind.h"
#include "tolerance/tolerance_analysis.h"

namespace morvane {

struct ToleranceBands {
  std::vector<double> frequencies;  // Hz
  SpreadBand gainDb, phaseDegrees, groupDelay;
};

// The bands of an analysis run with phase and delay (MonteCarloRequest::phaseAndDelay).
ToleranceBands BandsOf(const MonteCarloResult& result);

// One window's band on its frequencies.
struct SpreadCurve {
  std::vector<double> frequencies;
  SpreadBand band;
};

// The band of a window of that kind, none for the time response. The phase band is moved by
// whole turns so that its nominal lies on the window's own phase curve, `phaseAt` (degrees at
// f in Hz), which may count its turns from elsewhere.
std::optional<SpreadCurve> SpreadCurveFor(const ToleranceBands& bands, GraphKind kind,
                                          const std::function<double(double)>& phaseAt);

// Draws the band into the plot area, one vertical line a pixel column between the samples'
// ends, linear between samples in screen space.
void DrawSpreadCurve(const AxisState& a, Canvas& canvas, const SpreadCurve& curve);

}  // namespace morvane
