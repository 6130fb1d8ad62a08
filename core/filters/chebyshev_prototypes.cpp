// Butterworth, Linkwitz-Riley and the two Chebyshev approximations: all have their poles on an
// ellipse (a circle for Butterworth) at the angles theta_k = pi (2k - 1) / (2n).

#include <cmath>
#include <numbers>

#include "filters/prototype_families.h"

namespace morvane::prototype {
namespace {

double PoleAngle(int k, int order) {
  return std::numbers::pi * (2 * k - 1) / (2.0 * order);
}

// Poles -a sin(theta_k) +- j b cos(theta_k): conjugate pairs first, then, for an odd order, the
// real pole -a (kept exactly real).
std::vector<Complex> EllipsePoles(int order, double a, double b) {
  std::vector<Complex> poles;
  for (int k = 1; k <= order / 2; ++k) {
    const double theta = PoleAngle(k, order);
    const Complex p(-a * std::sin(theta), b * std::cos(theta));
    poles.push_back(p);
    poles.push_back(std::conj(p));
  }
  if (order % 2 != 0) poles.emplace_back(-a, 0.0);
  return poles;
}

// Chebyshev pole ellipse for 1 + eps^2 T_n^2(w): semi-axes sinh(mu), cosh(mu).
std::vector<Complex> ChebyshevPoles(int order, double epsilon) {
  const double mu = std::asinh(1.0 / epsilon) / order;
  return EllipsePoles(order, std::sinh(mu), std::cosh(mu));
}

// The w > 1 where T_n(w) = value (value > 1).
double ChebyshevCrossing(int order, double value) {
  return std::cosh(std::acosh(value) / order);
}

}  // namespace

AnalogPrototype Butterworth(int order) {
  AnalogPrototype result;
  result.transfer.poles = EllipsePoles(order, 1.0, 1.0);
  result.transfer.gain = 1.0;  // the poles lie on the unit circle
  return result;
}

AnalogPrototype LinkwitzRiley(int order) {
  AnalogPrototype result = Butterworth(order / 2);
  std::vector<Complex>& poles = result.transfer.poles;
  poles.insert(poles.end(), poles.begin(), poles.end());
  return result;
}

// |H|^2 = 1 / (1 + eps^2 T_n^2(w)), ripple edge at w = 1, half power where eps T_n(w) = 1.
AnalogPrototype Chebyshev(int order, double rippleDb) {
  const double epsilon = std::sqrt(PowerRatioMinusOne(rippleDb));
  PoleZeroGain h;
  h.poles = ChebyshevPoles(order, epsilon);
  const double dc = order % 2 == 0 ? 1.0 / std::sqrt(1.0 + epsilon * epsilon) : 1.0;
  h.gain = GainForDc(h, dc);
  const double halfPower = ChebyshevCrossing(order, 1.0 / epsilon);
  AnalogPrototype result;
  result.transfer = ScaleFrequency(h, 1.0 / halfPower);
  result.passbandEdge = 1.0 / halfPower;
  return result;
}

// |H|^2 = eps^2 T_n^2(1/w) / (1 + eps^2 T_n^2(1/w)) with 1/eps^2 = 10^(A/10) - 1: stop-band edge
// at w = 1, half power where eps T_n(1/w) = 1. Poles are the reciprocal Chebyshev poles, zeros
// at j / cos(theta_k).
AnalogPrototype InverseChebyshev(int order, double stopbandDb) {
  const double epsilon = 1.0 / std::sqrt(PowerRatioMinusOne(stopbandDb));
  PoleZeroGain h;
  for (const Complex& p : ChebyshevPoles(order, epsilon)) h.poles.push_back(1.0 / p);
  for (int k = 1; k <= order / 2; ++k) {
    const Complex z(0.0, 1.0 / std::cos(PoleAngle(k, order)));
    h.zeros.push_back(z);
    h.zeros.push_back(std::conj(z));
  }
  h.gain = GainForDc(h, 1.0);
  const double halfPower = 1.0 / ChebyshevCrossing(order, 1.0 / epsilon);
  AnalogPrototype result;
  result.transfer = ScaleFrequency(h, 1.0 / halfPower);
  result.stopbandEdge = 1.0 / halfPower;
  return result;
}

}  // namespace morvane::prototype
