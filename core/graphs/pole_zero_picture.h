#pragma once

// The s-plane picture of a filter on the plot engine: the real axis and the j omega axis
// through the origin, poles as crosses, zeros as circles (a number beside a root that occurs
// more than once), one unit the same length on both axes; and the roots as CSV.

#include <string>

#include "filters/pole_zero.h"
#include "graphs/axis_state.h"
#include "graphs/canvas.h"

namespace morvane {

// The region of the s-plane (rad/s) a picture is to show; the drawing widens it along one axis
// to the shape of its plot rectangle.
struct PlaneView {
  double reMin = -1.0;
  double reMax = 1.0;
  double imMin = -1.0;
  double imMax = 1.0;
};

// Every root and the origin, with 15 % of the larger extent to spare on every side; -1 .. 1
// on both axes for a filter without roots away from the origin.
PlaneView FitRoots(const PoleZeroGain& h);
// About its centre by `factor` (below 1 zooms in).
PlaneView ScaledView(const PlaneView& view, double factor);

// The axes for a drawing of width x height pixels: the plot rectangle, the view centred in it
// with the same world length per pixel on both axes, steps of one 1-2-5 value on both
// (about 12 pixels apart, grid lines and labels every 5), the origin at 0 where it is in view.
void SetPlaneAxes(const PlaneView& view, int width, int height, AxisState& a);

// The whole picture: SetPlaneAxes on the canvas's size, then white ground, grid, axes,
// labels, texts and the roots. `a` keeps the axes for the readout.
void DrawPoleZeroPicture(const PoleZeroGain& h, const PlaneView& view, AxisState& a,
                         Canvas& canvas);

// "kind,re,im", then one line per pole ("pole,-6283.1853071795862,0") and per zero, in rad/s
// with 17 significant digits.
std::string PoleZeroCsv(const PoleZeroGain& h);

// The status panel's text for the world point under the mouse.
std::string PoleZeroReadout(double re, double im);

}  // namespace morvane
