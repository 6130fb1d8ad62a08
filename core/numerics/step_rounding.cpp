#include "numerics/step_rounding.h"

#include <cmath>

#include "numerics/decimal_scaling.h"

namespace morvane {

namespace {

using decimal::Normalisable;
using decimal::Normalised;

// A magnitude as m * 10^n with 1 <= m < 10, or 1 < m <= 10 when it is below 1.
Normalised Normalise(double a) {
  return decimal::Normalise(a, 10.0);
}

double Scaled(double m, int n, double x) {
  return decimal::Compose(m, n, x);
}

// Gives the step for positive x; negative values step as the mirror image, so that StepUp
// always raises the value and StepDown always lowers it.
void StepMagnitude(double& x, double k, bool up) {
  if (k >= 2.0 || k <= 1.0) {
    x = up ? x * k : x / k;
  } else {
    const double d = CeilStep125(x * (k - 1.0));
    const double c = up ? CeilOneDigit(x) : FloorOneDigit(x);
    const double gap = up ? c - x : x - c;
    // Snap to the round number only when it lies ahead by less than one step. On it (within
    // 1e-10) or behind it, step by d: CeilOneDigit(1000.001) is 1000, and stepping up must
    // not lower the value.
    x = gap >= d || gap / x <= 1e-10 ? (up ? x + d : x - d) : c;
  }
  if (std::isinf(x)) x = DBL_MAX;
}

void Step(double& x, double k, bool up) {
  if (x == 0.0) {
    x = up ? k - 1.0 : -(k - 1.0);
    return;
  }
  // A factor of zero or below (possible only from a design file) would divide by zero or
  // flip the sign; such a step, like one of a non-finite value, leaves x alone.
  if (!std::isfinite(x) || !std::isfinite(k) || k <= 0.0) return;
  if (x > 0.0) {
    StepMagnitude(x, k, up);
  } else {
    x = -x;
    StepMagnitude(x, k, !up);
    x = -x;
  }
}

}  // namespace

double CeilOneDigit(double x) {
  if (!Normalisable(x)) return x;
  const Normalised r = Normalise(std::fabs(x));
  return Scaled(std::nearbyint(r.m + 0.49999), r.n, x);
}

double FloorOneDigit(double x) {
  if (!Normalisable(x)) return x;
  const Normalised r = Normalise(std::fabs(x));
  return Scaled(std::nearbyint(r.m - 0.5001), r.n, x);
}

double CeilStep125(double x) {
  if (!Normalisable(x)) return x;
  const Normalised r = Normalise(std::fabs(x));
  // x * (k - 1) carries the binary error of k (1.02 - 1 = 0.0200000000000000178), which
  // would lift a step of exactly 20 to 50; a hair above a 1-2-5 value counts as on it.
  constexpr double kSlack = 1.0 + 1e-9;
  double s = 10.0;
  if (r.m <= 1.0 * kSlack) {
    s = 1.0;
  } else if (r.m <= 2.0 * kSlack) {
    s = 2.0;
  } else if (r.m <= 5.0 * kSlack) {
    s = 5.0;
  }
  return Scaled(s, r.n, x);
}

void StepUp(double& x, double k) {
  Step(x, k, true);
}

void StepDown(double& x, double k) {
  Step(x, k, false);
}

}  // namespace morvane
