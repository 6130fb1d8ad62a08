#pragma once

// The arithmetic-geometric mean of a and b (0 < b <= a): both means taken again and again
// until they agree; it converges quadratically, so a handful of steps reach double precision.
// The complete elliptic integral of the first kind is K(k) = pi / (2 AGM(1, sqrt(1 - k^2))).

#include <cmath>

namespace morvane {

inline double ArithmeticGeometricMean(double a, double b) {
  for (int i = 0; i < 64 && std::fabs(a - b) > 1e-16 * a; ++i) {
    const double mean = 0.5 * (a + b);
    b = std::sqrt(a * b);
    a = mean;
  }
  return 0.5 * (a + b);
}

}  // namespace morvane
