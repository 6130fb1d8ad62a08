#include "graphs/plot_mapping.h"

#include <algorithm>
#include <cmath>

#include "numerics/value_text.h"

namespace morvane {

namespace {

bool Logarithmic(const AxisState& a) {
  return a.xMode == AxisMode::Logarithmic;
}

// The decade a logarithmic axis end snaps to: 10^round(log10(0.999 v) + 0.5). 0 for an end
// that is not positive (or not a number): no decade holds it, and a zero end would make
// every decade loop of the drawing stand still.
double SnapToDecade(double v) {
  if (!(v > 0.0)) return 0.0;
  // Held where 10^e is a normal finite double (an infinite end gives the top decade).
  const double e = std::clamp(std::nearbyint(std::log10(0.999 * v) + 0.5), -307.0, 308.0);
  return std::pow(10.0, e);
}

// Fraction t of the way from the low end, held within 0 .. 1 (NaN to 0), so that a range
// with an infinite end or an empty plot rectangle still gives a pixel on the rectangle.
double Fraction(double t) {
  return t > 0.0 ? std::min(t, 1.0) : 0.0;
}

}  // namespace

int RoundPixel(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(v, -1e9, 1e9)));
}

void SetAxisModes(AxisState& a, AxisMode xMode, AxisMode yMode) {
  a.xEndsKept = false;
  a.xMode = xMode;
  a.yMode = yMode;
}

void SetupAxes(AxisState& a, int width, int height, double ymax, double xmax, double ymin,
               double xmin) {
  if (Logarithmic(a)) {
    if (!a.xEndsKept || !(xmin > 0.0) || !(xmax > xmin) || !std::isfinite(xmax)) {
      xmax = SnapToDecade(xmax);
      xmin = SnapToDecade(xmin);
    }
    if (xmax == 0.0) xmax = xmin > 0.0 ? xmin : 1.0;
    if (xmin == 0.0) xmin = 0.001 * xmax;
    if (xmax <= xmin) xmin = xmax * 0.1;
    a.lgxmin = std::log10(xmin);
    a.lgxmax = std::log10(xmax);
  }
  a.xmin = xmin;
  a.xmax = xmax;
  a.ymin = ymin;
  a.ymax = ymax;
  a.PressX = xmax;
  a.PressY = ymax;

  a.Width = std::max(width, 0);
  a.Height = std::max(height, 0);
  a.Top = RoundPixel(0.05 * a.Height + 12);
  a.Bottom = RoundPixel(0.95 * a.Height - 22);
  a.Left = RoundPixel(0.05 * a.Width + 28);
  a.Right = RoundPixel(0.95 * a.Width - 14);
}

void FixOrigin(AxisState& a, double yo, double xo) {
  if (Logarithmic(a)) {
    a.xo = a.xmin;
  } else {
    a.xo = a.xmin <= xo && xo <= a.xmax ? xo : a.xmin;
  }
  a.yo = a.ymin <= yo && yo <= a.ymax ? yo : a.ymin;
}

int ToScreenX(const AxisState& a, double x) {
  // Not-a-number fails every comparison below; it counts as below the range.
  if (x <= a.xmin || std::isnan(x)) return a.Left;
  if (x >= a.xmax) return a.Right;
  const double t = Logarithmic(a) ? (Log10OrFloor(x) - a.lgxmin) / (a.lgxmax - a.lgxmin)
                                  : (x - a.xmin) / (a.xmax - a.xmin);
  return RoundPixel(Fraction(t) * (a.Right - a.Left) + a.Left);
}

int ToScreenY(const AxisState& a, double y) {
  if (y <= a.ymin || std::isnan(y)) return a.Bottom;
  if (y >= a.ymax) return a.Top;
  const double t = (y - a.ymin) / (a.ymax - a.ymin);
  return RoundPixel(Fraction(t) * (a.Top - a.Bottom) + a.Bottom);
}

double ToWorldX(const AxisState& a, int px) {
  // Held in two steps: on a rectangle narrower than three pixels the bounds cross.
  px = std::min(std::max(px, a.Left + 1), a.Right - 1);
  const double t = a.Right == a.Left ? 0.0 : double(px - a.Left) / (a.Right - a.Left);
  if (Logarithmic(a)) return std::pow(10.0, a.lgxmin + (a.lgxmax - a.lgxmin) * t);
  return a.xmin + (a.xmax - a.xmin) * t;
}

double ToWorldY(const AxisState& a, int py) {
  py = std::min(std::max(py, a.Top + 1), a.Bottom - 1);
  const double t = a.Top == a.Bottom ? 0.0 : double(py - a.Bottom) / (a.Top - a.Bottom);
  return a.ymin + (a.ymax - a.ymin) * t;
}

Pixel ToScreenRel(const AxisState& a, double rx, double ry) {
  return {RoundPixel(rx * 0.001 * a.Width), RoundPixel(a.Height - ry * 0.001 * a.Height)};
}

bool InPlotArea(const AxisState& a, int px, int py) {
  return a.Left < px && px < a.Right && a.Top < py && py < a.Bottom;
}

}  // namespace morvane
