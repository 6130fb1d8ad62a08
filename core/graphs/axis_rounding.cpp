#include "graphs/axis_rounding.h"

#include <cmath>

#include "numerics/decimal_scaling.h"

namespace morvane {

namespace {

double RoundTwoDigits(double x, double offset) {
  // Zero and non-finite values would never normalise.
  if (!decimal::Normalisable(x)) return x;
  // 1 <= m < 100, or 10 < m <= 100 below 1.
  const decimal::Normalised r = decimal::Normalise(std::fabs(x), 100.0);
  return decimal::Compose(std::nearbyint(r.m + offset), r.n, x);
}

}  // namespace

double CeilTwoDigits(double x) {
  return RoundTwoDigits(x, 0.49999);
}

double FloorTwoDigits(double x) {
  return RoundTwoDigits(x, -0.49999);
}

}  // namespace morvane
