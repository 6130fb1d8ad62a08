#pragma once

// Limits, plot rectangle and the mapping between world values and pixels.

#include "graphs/axis_state.h"

namespace morvane {

struct Pixel {
  int x = 0;
  int y = 0;
  friend bool operator==(const Pixel&, const Pixel&) = default;
};

void SetAxisModes(AxisState& a, AxisMode xMode, AxisMode yMode);

// Takes the limits for one drawing on an image of width x height pixels (note the order:
// ymax, xmax, ymin, xmin). A logarithmic x range snaps to decades: 15 .. 150000 becomes
// 100 .. 1e6, 10 .. 100000 stays; an end that is not positive cannot lie on it, so a missing
// xmin becomes 0.001 xmax and a missing xmax becomes xmin (then one decade is kept).
// Sets PressX, PressY to xmax, ymax and computes the plot rectangle.
void SetupAxes(AxisState& a, int width, int height, double ymax, double xmax, double ymin,
               double xmin);
// The origin for this drawing (note the order: yo, xo): a value outside its range is
// replaced by the lower end; a logarithmic x axis always starts at xmin.
void FixOrigin(AxisState& a, double yo, double xo);

// World to pixel. Values at or beyond a limit land on the edge of the plot rectangle, and so
// does a value that is not a number (left, bottom); a logarithmic axis puts x <= 0 left.
int ToScreenX(const AxisState& a, double x);
int ToScreenY(const AxisState& a, double y);
// Pixel to world, the pixel first held one pixel inside the plot rectangle.
double ToWorldX(const AxisState& a, int px);
double ToWorldY(const AxisState& a, int py);
// rx, ry in thousandths of the image width and height, ry counted up from the bottom edge.
Pixel ToScreenRel(const AxisState& a, double rx, double ry);
// Strictly inside the plot rectangle: a point on its edge is outside.
bool InPlotArea(const AxisState& a, int px, int py);

// Pixel arithmetic, rounded half to even and held far inside the int range.
int RoundPixel(double v);

}  // namespace morvane
