#pragma once

// Taking a magnitude apart into a mantissa and a power of ten, and putting it together again
// without overflow: shared by the spin-step and the axis rounding rules.

#include <cfloat>
#include <cmath>

namespace morvane::decimal {

// A magnitude a as m * 10^n.
struct Normalised {
  double m;
  int n;
};

// Brings a > 0 to 1 <= m < top by powers of ten, top being 10 or 100; a magnitude below 1 is
// raised until top/10 < m <= top instead (with top 10, 0.1 gives 10e-2).
inline Normalised Normalise(double a, double top) {
  Normalised r{a, 0};
  if (r.m >= top) {
    while (r.m >= top) {
      r.m /= 10.0;
      ++r.n;
    }
  } else if (r.m < 1.0) {
    while (r.m <= top / 10.0) {
      r.m *= 10.0;
      --r.n;
    }
  }
  return r;
}

// m * 10^n with the sign of x, without overflow on the way; a result beyond the doubles
// (rounding up DBL_MAX) is held at DBL_MAX. 10^|n| is exact up to 1e22, so dividing by it
// rounds once where multiplying by 10^-|n| would round twice; the steps of 1e300 keep
// denormals and the top decade finite.
inline double Compose(double m, int n, double x) {
  for (; n > 300; n -= 300) m *= 1e300;
  for (; n < -300; n += 300) m *= 1e-300;
  double v = n >= 0 ? m * std::pow(10.0, n) : m / std::pow(10.0, -n);
  if (std::isinf(v)) v = DBL_MAX;
  return std::copysign(v, x);
}

// Zero and non-finite values cannot be normalised (the loops above would never end).
inline bool Normalisable(double x) {
  return x != 0.0 && std::isfinite(x);
}

}  // namespace morvane::decimal
