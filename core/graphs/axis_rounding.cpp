#include "graphs/axis_rounding.h"

#include <cfloat>
#include <cmath>

namespace morvane {

namespace {

// a as m * 10^n with 1 <= m < 100, or 10 < m <= 100 when a < 1.
struct Normalised {
  double m;
  int n;
};

Normalised Normalise(double a) {
  Normalised r{a, 0};
  if (r.m >= 100.0) {
    while (r.m >= 100.0) {
      r.m /= 10.0;
      ++r.n;
    }
  } else if (r.m < 1.0) {
    while (r.m <= 10.0) {
      r.m *= 10.0;
      --r.n;
    }
  }
  return r;
}

// m * 10^n with the sign of x. Dividing by the exact 10^|n| rounds once where multiplying by
// 10^-|n| would round twice; the steps of 1e300 keep denormals and the top decade finite.
double Compose(double m, int n, double x) {
  for (; n > 300; n -= 300) m *= 1e300;
  for (; n < -300; n += 300) m *= 1e-300;
  double v = n >= 0 ? m * std::pow(10.0, n) : m / std::pow(10.0, -n);
  if (std::isinf(v)) v = DBL_MAX;
  return std::copysign(v, x);
}

double RoundTwoDigits(double x, double offset) {
  // Zero and non-finite values would never normalise.
  if (x == 0.0 || !std::isfinite(x)) return x;
  const Normalised r = Normalise(std::fabs(x));
  return Compose(std::nearbyint(r.m + offset), r.n, x);
}

}  // namespace

double CeilTwoDigits(double x) {
  return RoundTwoDigits(x, 0.49999);
}

double FloorTwoDigits(double x) {
  return RoundTwoDigits(x, -0.49999);
}

}  // namespace morvane
