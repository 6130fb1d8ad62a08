#pragma once

// What the graph windows do to their axes beyond the plot engine's own operations: the
// ranges a window starts with, the axis ends the user edits, the zoom rectangle, the curve
// style cycle, and taking back a window's own axes.

#include <functional>
#include <span>
#include <string_view>

#include "design/design_state.h"
#include "graphs/axis_state.h"
#include "graphs/graph_kind.h"

namespace morvane {

// Ranges, steps, grid and modes a window sets when it is shown. The frequency windows keep
// the origin (the drawing makes it valid); the time window puts it at (0, 0).
void SetInitialAxes(GraphKind kind, const DesignState& s, FilterType type, AxisState& a);

// The first drawing of a design shows the whole curve: a top below the curve's highest
// sample (the group-delay peak of a high Q, a gain peak above 20 dB) is raised to the 1-2-5
// step above 1.1 times that sample, the step following. Nothing changes for a curve that fits
// or has no positive peak.
void RaiseTopToPeak(AxisState& a, std::span<const double> Y, int count);

enum class AxisEnd { XMax, XMin, YMin, YMax };

struct ValueLimits {
  double lower = 0.0;
  double upper = 0.0;
};

std::string_view AxisEndLabel(AxisEnd end);
double AxisEndValue(const AxisState& a, AxisEnd end);
// The range the axis-scale dialog accepts for that end.
ValueLimits AxisEndLimits(GraphKind kind, AxisEnd end, const DesignState& s, const AxisState& a);
// Whether axes that the zoom-out button produced are still within its reach: a billion times
// beyond the ranges the axis-scale dialog accepts, but where the response, the axis labels
// and the steps stay finite numbers. Further clicks are refused there.
bool WithinZoomOutReach(GraphKind kind, const DesignState& s, const AxisState& zoomed);
// The same for any axis-end limits: `limits` gives the range of an end for the zoomed axes.
bool WithinZoomOutReach(const AxisState& zoomed, const std::function<ValueLimits(AxisEnd)>& limits);
// Stores a new end; the step and the origin follow. An end that would meet or pass the other
// end of its axis is refused: false, and nothing changes.
bool SetAxisEnd(AxisState& a, AxisEnd end, double value);

// Right button released at world point (x, y) after it went down at (PressX, PressY): a
// rectangle dragged from upper left to lower right becomes the new ranges. False, nothing
// changed, for any other direction.
bool ZoomToRectangle(AxisState& a, double x, double y);

// line -> line with markers -> bars -> line.
void NextCurveStyle(AxisState& a);

// Snaps a logarithmic x range to the decades the next drawing will show, so that a fill
// samples the range that is drawn.
void SnapToDrawnRange(AxisState& a);

// Copies what a window's last drawing left in the axes (ranges, steps, origin, grid, modes,
// plot rectangle) back into the shared axes; the curve style switches stay as they are.
void RestoreAxes(AxisState& shared, const AxisState& drawn);

}  // namespace morvane
