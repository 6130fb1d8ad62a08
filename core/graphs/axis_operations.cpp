#include "graphs/axis_operations.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "graphs/axis_rounding.h"
#include "numerics/step_rounding.h"

namespace morvane {

namespace {

bool Logarithmic(const AxisState& a) {
  return a.xMode == AxisMode::Logarithmic;
}

// GainDbAt of a zero magnitude is 20 * log10(0) = -2e301; no real level comes near it.
constexpr double kNoLevel = -1e300;

void SetSteps(AxisState& a) {
  a.xstep = CeilStep125((a.xmax - a.xmin) / 30);
  a.ystep = CeilStep125((a.ymax - a.ymin) / 30);
}

// The linear rule for one axis: ends pulled towards or pushed away from the origin.
void ScaleAroundOrigin(double origin, double factor, double& lo, double& hi) {
  lo = origin - factor * (origin - lo);
  hi = origin + factor * (hi - origin);
}

bool Inside(double v, double lo, double hi) {
  return lo <= v && v <= hi;
}

double RecentredOrigin(double origin, double lo, double hi) {
  if (Inside(origin, lo, hi)) return origin;
  origin = CeilOneDigit(lo + hi) / 2;
  if (Inside(origin, lo, hi)) return origin;
  origin = CeilTwoDigits(lo + hi) / 2;
  if (Inside(origin, lo, hi)) return origin;
  return lo;
}

bool AcrossXAxis(const AxisState& a, double y) {
  const double band = 0.03 * (a.ymax - a.ymin);
  return a.yo - band < y && y < a.yo + band;
}

bool AcrossYAxis(const AxisState& a, double x) {
  if (Logarithmic(a)) return a.xo / 2 < x && x < 2 * a.xo;
  const double band = 0.04 * (a.xmax - a.xmin);
  return a.xo - band < x && x < a.xo + band;
}

}  // namespace

MinMaxResult MinMax(std::span<const double> A, int count) {
  MinMaxResult r;
  if (count < 0) return r;
  const std::size_t n = std::min(A.size(), static_cast<std::size_t>(count) + 1);
  for (std::size_t i = 0; i < n; ++i) {
    const double v = A[i];
    if (!std::isfinite(v) || v <= kNoLevel) continue;
    if (!r.found) {
      r.largest = r.smallest = v;
      r.found = true;
    }
    r.largest = std::max(r.largest, v);
    r.smallest = std::min(r.smallest, v);
  }
  return r;
}

void ZoomOut(AxisState& a) {
  if (Logarithmic(a)) {
    a.xmin = 0.1 * a.xmin;
    a.xmax = 10 * a.xmax;
    a.xo = a.xmin;
  } else {
    ScaleAroundOrigin(a.xo, 1.5, a.xmin, a.xmax);
  }
  ScaleAroundOrigin(a.yo, 1.5, a.ymin, a.ymax);
  SetSteps(a);
}

void ZoomIn(AxisState& a) {
  if (Logarithmic(a) && a.xEndsKept) {
    // Ends kept as dragged: two thirds of the span in decades, around its middle.
    const double sixth = std::pow(a.xmax / a.xmin, 1.0 / 6.0);
    if (std::isfinite(sixth) && sixth > 1.0) {
      a.xmin *= sixth;
      a.xmax /= sixth;
      a.xo = a.xmin;
    }
  } else if (Logarithmic(a)) {
    // The ends are decades: 1e-5 / 1e-6 is 10.000000000000002, which must
    // not count as wider than one decade.
    if (a.xmax / a.xmin > 10 * (1 + 1e-9)) a.xmin = 10 * a.xmin;
    a.xmax = std::max(0.1 * a.xmax, 10 * a.xmin);
  } else {
    ScaleAroundOrigin(a.xo, 2.0 / 3.0, a.xmin, a.xmax);
  }
  ScaleAroundOrigin(a.yo, 2.0 / 3.0, a.ymin, a.ymax);
  SetSteps(a);
}

void AutoscaleX(AxisState& a, std::span<const double> X, int count) {
  const MinMaxResult r = MinMax(X, count);
  if (!r.found) return;
  const double lo = r.smallest;
  const double hi = r.largest;
  a.xEndsKept = false;
  if (Logarithmic(a)) {
    a.xmin = lo > 0 ? 0.1 * lo : 0.001 * hi;
    a.xmax = hi;  // snapped to a decade by the next SetupAxes
    a.xo = a.xmin;
  } else {
    a.xo = hi > 0 ? 0.0 : CeilStep125(lo / 2);
    a.xmin = std::min(CeilStep125(lo / 2), 0.0);
    a.xmax = CeilOneDigit(hi);
    // All-zero or only negative abscissae (-10 .. -8 would give -5 .. -8): take the lower
    // end away from zero instead, and a unit range where that is not enough.
    if (!(a.xmax > a.xmin)) a.xmin = std::min(CeilStep125(lo), 0.0);
    if (!(a.xmax > a.xmin)) a.xmax = a.xmin + 1;
  }
  a.xstep = CeilStep125((a.xmax - a.xmin) / 30);
  a.xGridEvery = 5;
}

void AutoscaleY(AxisState& a, std::span<const double> Y, int count) {
  const MinMaxResult r = MinMax(Y, count);
  if (!r.found) return;
  const double lo = r.smallest;
  const double hi = r.largest;
  a.yo = hi > 0 ? 0.0 : CeilStep125(lo / 2);
  a.ymin = lo >= 0 ? 0.0 : CeilStep125(lo);
  a.ymax = hi >= 0 ? CeilOneDigit(1.001 * hi) : FloorOneDigit(0.9 * hi);
  // Only all-zero ordinates (an allpass gain) leave no range; a flat line at 0 must not sit
  // on the bottom edge, where it would not be drawn.
  if (!(a.ymax > a.ymin)) {
    a.ymin = -1.0;
    a.ymax = 1.0;
  }
  a.ystep = CeilStep125((a.ymax - a.ymin) / 30);
  a.yGridEvery = 5;
}

void Autoscale(AxisState& a, std::span<const double> X, std::span<const double> Y, int count) {
  AutoscaleX(a, X, count);
  AutoscaleY(a, Y, count);
}

void RecentreXOrigin(AxisState& a) {
  a.xo = RecentredOrigin(a.xo, a.xmin, a.xmax);
}

void RecentreYOrigin(AxisState& a) {
  a.yo = RecentredOrigin(a.yo, a.ymin, a.ymax);
}

bool NearXMaxEnd(const AxisState& a, double y, double x) {
  const bool along = Logarithmic(a) ? a.xmax / 2 < x && x < a.xmax
                                    : a.xmax - 0.1 * (a.xmax - a.xmin) < x && x < a.xmax;
  return along && AcrossXAxis(a, y);
}

bool NearXMinEnd(const AxisState& a, double y, double x) {
  const bool along = Logarithmic(a) ? a.xmin < x && x < 2 * a.xmin
                                    : a.xmin < x && x < a.xmin + 0.1 * (a.xmax - a.xmin);
  return along && AcrossXAxis(a, y);
}

bool NearYMinEnd(const AxisState& a, double y, double x) {
  return a.ymin < y && y < a.ymin + 0.1 * (a.ymax - a.ymin) && AcrossYAxis(a, x);
}

bool NearYMaxEnd(const AxisState& a, double y, double x) {
  return a.ymax - 0.1 * (a.ymax - a.ymin) < y && y < a.ymax && AcrossYAxis(a, x);
}

}  // namespace morvane
