// Bessel (Thomson) lowpass: poles are the roots of the reverse Bessel polynomial, found by the
// Aberth-Ehrlich iteration and then scaled to the half-power point.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "filters/prototype_families.h"

namespace morvane::prototype {
namespace {

// theta_n(z) / theta_n'(z) for the reverse Bessel polynomial, by its three-term recurrence
// theta_k = (2k - 1) theta_(k-1) + z^2 theta_(k-2). Near a root the value is a small difference
// of large terms, so the roots of high orders are only as good as this evaluation: long double
// (64-bit mantissa on x86) holds order 20 to about 1e-9, double alone to about 1e-6; the cheaper
// double does the approach, long double the last sweeps.
template <typename Real>
Complex NewtonStep(int order, Complex at) {
  // Plain real arithmetic: std::complex products go through the library's inf/NaN-aware
  // helpers, several times slower, and nothing here can be infinite.
  struct Wide {
    Real re, im;
  };
  const auto times = [](Wide x, Wide y) {
    return Wide{x.re * y.re - x.im * y.im, x.re * y.im + x.im * y.re};
  };
  const auto scaled = [](Real f, Wide x) { return Wide{f * x.re, f * x.im}; };
  const auto plus = [](Wide x, Wide y) { return Wide{x.re + y.re, x.im + y.im}; };
  const Wide z{at.real(), at.imag()};
  const Wide zz = times(z, z);
  Wide older{1, 0};  // theta_0
  Wide olderSlope{0, 0};
  Wide value{z.re + 1, z.im};  // theta_1
  Wide slope{1, 0};
  for (int k = 2; k <= order; ++k) {
    const Real f = 2 * k - 1;
    const Wide next = plus(scaled(f, value), times(zz, older));
    const Wide nextSlope =
        plus(plus(scaled(f, slope), scaled(2, times(z, older))), times(zz, olderSlope));
    older = value;
    olderSlope = slope;
    value = next;
    slope = nextSlope;
  }
  const Real size = slope.re * slope.re + slope.im * slope.im;
  return {static_cast<double>((value.re * slope.re + value.im * slope.im) / size),
          static_cast<double>((value.im * slope.re - value.re * slope.im) / size)};
}

// The constant term of theta_n: (2n)! / (2^n n!), the product of the roots' magnitudes.
double ConstantTerm(int order) {
  double product = 1.0;
  for (int k = 1; k <= order; ++k) product *= (order + k) / 2.0;
  return product;
}

// All roots at once by the Aberth-Ehrlich iteration, started at the Butterworth angles on a
// circle of the roots' geometric-mean radius: all in the left half-plane, like the roots.
std::vector<Complex> ReverseBesselRoots(int n) {
  const double radius = std::pow(ConstantTerm(n), 1.0 / n);
  std::vector<Complex> z(n);
  for (int i = 0; i < n; ++i) {
    z[i] = std::polar(radius, std::numbers::pi * (0.5 + (2 * i + 1) / (2.0 * n)));
  }
  // Aberth converges cubically once close; after that the moves are rounding noise, so a few
  // sweeps past 1e-6 finish the job.
  int sweepsLeft = 3;
  for (int sweep = 0; sweep < 200 && sweepsLeft > 0; ++sweep) {
    double largestMove = 0.0;
    for (int i = 0; i < n; ++i) {
      const Complex ratio =
          sweepsLeft < 3 ? NewtonStep<long double>(n, z[i]) : NewtonStep<double>(n, z[i]);
      Complex repulsion(0.0, 0.0);
      for (int j = 0; j < n; ++j) {
        if (j != i) repulsion += std::conj(z[i] - z[j]) / std::norm(z[i] - z[j]);
      }
      const Complex move = ratio / (1.0 - ratio * repulsion);
      if (!std::isfinite(move.real()) || !std::isfinite(move.imag())) continue;
      z[i] -= move;
      largestMove = std::max(largestMove, std::abs(move) / std::abs(z[i]));
    }
    if (largestMove < 1e-15) break;
    if (largestMove < 1e-6) --sweepsLeft;
  }
  return z;
}

// Exact conjugate pairs (from the roots in the upper half-plane) and, for an odd order, one
// exactly real root.
std::vector<Complex> ConjugateSymmetric(std::vector<Complex> roots) {
  std::sort(roots.begin(), roots.end(),
            [](const Complex& x, const Complex& y) { return x.imag() > y.imag(); });
  const int n = static_cast<int>(roots.size());
  std::vector<Complex> symmetric;
  for (int i = 0; i < n / 2; ++i) {
    symmetric.push_back(roots[i]);
    symmetric.push_back(std::conj(roots[i]));
  }
  if (n % 2 != 0) symmetric.emplace_back(roots[n / 2].real(), 0.0);
  return symmetric;
}

}  // namespace

AnalogPrototype Bessel(int order) {
  PoleZeroGain h;
  h.poles = ConjugateSymmetric(ReverseBesselRoots(order));
  h.gain = GainForDc(h, 1.0);
  double above = 1.0;
  while (std::norm(EvaluateAt(h, Complex(0.0, above))) >= 0.5) above *= 2.0;
  const double halfPower = HalfPowerFrequency(h, 0.0, above);
  AnalogPrototype result;
  result.transfer = ScaleFrequency(h, 1.0 / halfPower);
  return result;
}

}  // namespace morvane::prototype
