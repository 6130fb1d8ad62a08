// Elliptic (Cauer) lowpass after Orfanidis, "Lecture notes on elliptic filter design": the
// Jacobi functions cd and sn by descending Landen transformations, the degree equation solved
// for the selectivity k through the nomes. Designed with the ripple edge at 1 rad/s and the
// stop-band edge at 1/k, then scaled to the half-power point.
//
// Every modulus travels with its complement (k, k'), each computed directly, so neither loses
// digits when the other is close to 1 (k' ~ 1e-8 for a high order and a low attenuation).

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "filters/prototype_families.h"
#include "numerics/arithmetic_geometric_mean.h"

namespace morvane::prototype {
namespace {

constexpr double kPi = std::numbers::pi;

struct Modulus {
  double k;
  double complement;  // sqrt(1 - k^2)
};

// The Landen sequence v_1, v_2, ... of descending moduli down to negligible size.
std::vector<double> DescendingModuli(Modulus m) {
  std::vector<double> v;
  do {
    const double next = std::pow(m.k / (1.0 + m.complement), 2);
    m.complement = 2.0 * std::sqrt(m.complement) / (1.0 + m.complement);
    m.k = next;
    v.push_back(next);
  } while (m.k > 1e-18 && v.size() < 64);
  return v;
}

// From w at the smallest modulus back up to the modulus the sequence began with.
Complex AscendLanden(const std::vector<double>& v, Complex w) {
  for (auto it = v.rbegin(); it != v.rend(); ++it) w = (1.0 + *it) * w / (1.0 + *it * w * w);
  return w;
}

// cd(u K, k) and sn(u K, k) for a normalised complex argument u.
Complex Cd(const std::vector<double>& v, Complex u) {
  return AscendLanden(v, std::cos(u * kPi / 2.0));
}
Complex Sn(const std::vector<double>& v, Complex u) {
  return AscendLanden(v, std::sin(u * kPi / 2.0));
}

// v with sn(j v K, k) = j y, for real y >= 0: the inverse Landen steps keep the argument
// imaginary, so they run on its imaginary part.
double InverseSnOfImaginary(double y, const Modulus& m, const std::vector<double>& v) {
  double previous = m.k;
  for (double vn : v) {
    y = y / (1.0 + std::sqrt(1.0 + y * y * previous * previous)) * 2.0 / (1.0 + vn);
    previous = vn;
  }
  return 2.0 / kPi * std::asinh(y);
}

// theta_2(q)^2 / theta_3(q)^2 = k for the nome q = exp(logNome).
double ModulusFromNome(double logNome) {
  double theta2Sum = 0.0;  // sum over m >= 0 of q^(m(m+1))
  double theta3Sum = 0.0;  // sum over m >= 1 of q^(m^2)
  for (int m = 0; m < 200; ++m) {
    const double term = std::exp(logNome * m * (m + 1));
    theta2Sum += term;
    if (m >= 1) theta3Sum += std::exp(logNome * m * m);
    if (term < 1e-20) break;
  }
  const double theta2 = 2.0 * std::exp(logNome / 4.0) * theta2Sum;
  const double theta3 = 1.0 + 2.0 * theta3Sum;
  return std::pow(theta2 / theta3, 2);
}

// The selectivity k with N K'(k)/K(k) = K'(k1)/K(k1), and its complement.
Modulus SolveDegreeEquation(int order, const Modulus& k1) {
  const double ratio = ArithmeticGeometricMean(1.0, k1.complement) /
                       ArithmeticGeometricMean(1.0, k1.k) / order;  // K'(k) / K(k)
  // k rounds to just above 1 when the transition band is a few ulps wide; keep the stop-band
  // edge 1/k at or beyond the ripple edge.
  return {std::min(1.0, ModulusFromNome(-kPi * ratio)), ModulusFromNome(-kPi / ratio)};
}

}  // namespace

AnalogPrototype Elliptic(int order, double rippleDb, double stopbandDb) {
  const double epsPass = std::sqrt(PowerRatioMinusOne(rippleDb));
  const double epsStop = std::sqrt(PowerRatioMinusOne(stopbandDb));
  const double k1 = epsPass / epsStop;
  const Modulus discrimination{k1, std::sqrt((1.0 - k1) * (1.0 + k1))};
  const Modulus selectivity = SolveDegreeEquation(order, discrimination);
  const std::vector<double> v = DescendingModuli(selectivity);
  const std::vector<double> v1 = DescendingModuli(discrimination);
  const double v0 = InverseSnOfImaginary(1.0 / epsPass, discrimination, v1) / order;

  PoleZeroGain h;
  for (int i = 1; i <= order / 2; ++i) {
    const double u = (2.0 * i - 1.0) / order;
    const Complex zero(0.0, 1.0 / (selectivity.k * Cd(v, u).real()));
    h.zeros.push_back(zero);
    h.zeros.push_back(std::conj(zero));
    const Complex pole = Complex(0.0, 1.0) * Cd(v, Complex(u, -v0));
    h.poles.push_back(pole);
    h.poles.push_back(std::conj(pole));
  }
  if (order % 2 != 0) {
    h.poles.emplace_back((Complex(0.0, 1.0) * Sn(v, Complex(0.0, v0))).real(), 0.0);
  }
  const double dc = order % 2 == 0 ? 1.0 / std::sqrt(1.0 + epsPass * epsPass) : 1.0;
  h.gain = GainForDc(h, dc);

  const double stopEdge = 1.0 / selectivity.k;
  const double halfPower = HalfPowerFrequency(h, 1.0, stopEdge);
  AnalogPrototype result;
  result.transfer = ScaleFrequency(h, 1.0 / halfPower);
  result.passbandEdge = 1.0 / halfPower;
  result.stopbandEdge = stopEdge / halfPower;
  return result;
}

}  // namespace morvane::prototype
