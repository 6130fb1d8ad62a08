#pragma once

// The axes of the graph windows. There is one AxisState for all four windows: whichever
// window draws or rescales last leaves its ranges for the others.

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
  // log10 of xmin and xmax, valid while xMode is logarithmic.
  double lgxmin = 0.0;
  double lgxmax = 0.0;
  // Curve style, shared by all windows.
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

// The x range a curve filler samples over.
inline AxisRange XRangeOf(const AxisState& a) {
  return {a.xmin, a.xmax, a.xMode == AxisMode::Logarithmic};
}

}  // namespace morvane
