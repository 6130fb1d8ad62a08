#pragma once

// Drawing a graph through a Canvas: axes, grid, labels, texts and the sampled curve, all
// placed by the plot rectangle and ranges that SetupAxes and FixOrigin left in AxisState.
// The drawing colour is the pen colour and the font colour at once. Nothing is drawn on a
// canvas without area.

#include <span>
#include <string_view>

#include "graphs/axis_state.h"
#include "graphs/canvas.h"

namespace morvane {

// Fills the whole image; the brush keeps the colour afterwards (bars are filled with it).
void ClearImage(Canvas& canvas, Colour colour);
void SetDrawColour(Canvas& canvas, Colour colour);

// Axis line through the origin, arrowhead at the upper end, ticks every step (every decade
// split in 2 .. 10 on a logarithmic x axis). Solid pen in the drawing colour.
void DrawXAxis(const AxisState& a, Canvas& canvas);
void DrawYAxis(const AxisState& a, Canvas& canvas);
// Dotted lines across the plot every `every` ticks (every 2 .. 10 of each decade on a
// logarithmic x axis). The pen style is restored afterwards.
void DrawXGrid(const AxisState& a, Canvas& canvas, int every);
void DrawYGrid(const AxisState& a, Canvas& canvas, int every);
// FormatAxisValue texts every `every` ticks at the plot's edges: the x labels centred under
// the bottom edge, the y labels right-aligned against the left edge, wherever the axes cross.
// The y origin is labelled where it lies inside the range. On a logarithmic x axis each
// decade up to 0.1 xmax, thinned so that no two labels meet. None on an axis of zero length.
void DrawXLabels(const AxisState& a, Canvas& canvas, int every);
void DrawYLabels(const AxisState& a, Canvas& canvas, int every);

// Centred over the middle of the x range, at the top of the image.
void DrawTitle(const AxisState& a, Canvas& canvas, std::string_view text);
// Below the x labels, under the middle of the x range.
void DrawXAxisName(const AxisState& a, Canvas& canvas, std::string_view text);
// Turned to run upwards at the left image edge, centred on the middle of the y range; where
// the y labels leave no room for it there, level above the plot's top left corner.
void DrawYAxisName(const AxisState& a, Canvas& canvas, std::string_view text);
// At ToScreenRel(rx, ry).
void DrawTextAt(const AxisState& a, Canvas& canvas, std::string_view text, double rx, double ry);

// What a frequency plot of a window starts with: the image cleared to white, then either the
// problem in red (false: nothing more to draw) or the grid in `gridColour`, the axes and the
// x labels in black (true).
bool DrawPlotFrame(const AxisState& a, Canvas& canvas, std::string_view problem, Colour gridColour);

// The curve from samples 0 .. count - 1 (count is held to the arrays); only points strictly
// inside the plot area are drawn.
// The line moves the pen through every point (one outside sits on the rectangle's edge) and
// draws only the segments that end inside: it breaks where the curve leaves the area and
// resumes from the last point outside. It leaves the pen in `colour`; its style is restored.
void DrawCurveLine(const AxisState& a, Canvas& canvas, std::span<const double> X,
                   std::span<const double> Y, PenStyle penStyle, Colour colour, int count);
// markerKind 2 square, 3 circle, 4 cross, anything else a small dot square. Pen restored.
void DrawCurveMarkers(const AxisState& a, Canvas& canvas, std::span<const double> X,
                      std::span<const double> Y, int markerKind, Colour colour, int count);
// Bars from each point down (or up) to the x axis, filled with the brush. Pen restored.
void DrawCurveBars(const AxisState& a, Canvas& canvas, std::span<const double> X,
                   std::span<const double> Y, Colour colour, int count);

}  // namespace morvane
