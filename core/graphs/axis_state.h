#pragma once

// The axes of one graph window: ranges, steps, origin, grid, modes, the curve style it draws
// with and the plot rectangle of its last drawing.

#include <cstdint>

#include "graphs/canvas.h"
#include "graphs/curve_buffer.h"

namespace morvane {

enum class AxisMode : std::uint8_t { Linear = 0, Logarithmic = 1 };

struct AxisState {
  // Ranges in world units.
  double xmin = 0.0;
  double xmax = 0.0;
  double ymin = 0.0;
  double ymax = 0.0;
  // Tick spacing on a linear axis.
  double xstep = 0.0;
  double ystep = 0.0;
  // Origin: the x where the y axis stands and the y where the x axis lies.
  double xo = 0.0;
  double yo = 0.0;
  // Grid lines and labels every this many ticks.
  std::int32_t xGridEvery = 0;
  std::int32_t yGridEvery = 0;
  AxisMode xMode = AxisMode::Linear;
  AxisMode yMode = AxisMode::Linear;  // only linear is drawn
  // A logarithmic x axis keeps its ends as they are (after a zoom rectangle) instead of
  // snapping them outwards to decades; the initial axes, autoscaling and a mode switch
  // clear it.
  bool xEndsKept = false;
  // log10 of xmin and xmax, valid while xMode is logarithmic.
  double lgxmin = 0.0;
  double lgxmax = 0.0;
  // Curve style (the windows of one set draw alike; see CurveStyle).
  bool ShowBars = false;
  bool ShowMarkers = true;
  PenStyle LinePenStyle = PenStyle::Solid;
  // World point where the right mouse button went down; every drawing resets it to the
  // (xmax, ymax) corner.
  double PressX = 0.0;
  double PressY = 0.0;
  // Image size and plot rectangle in pixels, from the last SetupAxes.
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t Left = 0;
  std::int32_t Right = 0;
  std::int32_t Top = 0;
  std::int32_t Bottom = 0;
};

// The curve style part of the axes, which the windows of one set share.
struct CurveStyle {
  bool ShowBars = false;
  bool ShowMarkers = false;
  PenStyle LinePenStyle = PenStyle::Solid;
};

inline CurveStyle CurveStyleOf(const AxisState& a) {
  return {a.ShowBars, a.ShowMarkers, a.LinePenStyle};
}

inline void ApplyCurveStyle(const CurveStyle& style, AxisState& a) {
  a.ShowBars = style.ShowBars;
  a.ShowMarkers = style.ShowMarkers;
  a.LinePenStyle = style.LinePenStyle;
}

// The x range a curve filler samples over.
inline AxisRange XRangeOf(const AxisState& a) {
  return {a.xmin, a.xmax, a.xMode == AxisMode::Logarithmic};
}

}  // namespace morvane
