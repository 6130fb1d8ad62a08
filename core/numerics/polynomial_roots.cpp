#include "numerics/polynomial_roots.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvane {

namespace {

using Complex = std::complex<double>;

constexpr int kMostIterations = 500;
constexpr int kRoundsBeforeRounding = 60;
// A root whose imaginary part is this small against its size is real.
constexpr double kRealRoot = 1e-9;

// p(x) and p'(x) of a monic polynomial (coefficients of x^0 .. x^n, the last 1) by Horner.
void Evaluate(std::span<const double> p, Complex x, Complex& value, Complex& slope) {
  value = p.back();
  slope = 0.0;
  for (std::size_t i = p.size() - 1; i-- > 0;) {
    slope = slope * x + value;
    value = value * x + p[i];
  }
}

// Conjugate pairs made exact, real roots made real.
void Tidy(std::vector<Complex>& roots) {
  std::vector<bool> paired(roots.size(), false);
  for (std::size_t i = 0; i < roots.size(); ++i) {
    if (paired[i]) continue;
    Complex& z = roots[i];
    if (std::abs(z.imag()) <= kRealRoot * std::abs(z)) {
      z = z.real();
      paired[i] = true;
      continue;
    }
    std::size_t best = i;
    double nearest = INFINITY;
    for (std::size_t j = i + 1; j < roots.size(); ++j) {
      const double d = std::abs(roots[j] - std::conj(z));
      if (!paired[j] && d < nearest) {
        nearest = d;
        best = j;
      }
    }
    if (best == i) continue;
    const Complex mean = 0.5 * (z + std::conj(roots[best]));
    z = mean;
    roots[best] = std::conj(mean);
    paired[i] = paired[best] = true;
  }
}

}  // namespace

std::vector<Complex> PolynomialRoots(std::span<const double> coefficients) {
  std::size_t zeros = 0;
  while (zeros < coefficients.size() && coefficients[zeros] == 0.0) ++zeros;
  std::vector<Complex> roots(zeros, 0.0);
  if (coefficients.size() <= zeros + 1) return roots;
  std::vector<double> p(coefficients.begin() + static_cast<std::ptrdiff_t>(zeros),
                        coefficients.end());
  const double top = p.back();
  for (double& c : p) c /= top;
  const std::size_t n = p.size() - 1;

  // Start on a circle of the roots' geometric-mean size, off the real axis.
  const double radius = std::pow(std::abs(p[0]), 1.0 / static_cast<double>(n));
  std::vector<Complex> z(n);
  for (std::size_t k = 0; k < n; ++k) {
    const double angle = 2.0 * std::numbers::pi * static_cast<double>(k) / n + 0.4;
    z[k] = std::polar(radius, angle);
  }
  for (int iteration = 0; iteration < kMostIterations; ++iteration) {
    double largestStep = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
      Complex value, slope;
      Evaluate(p, z[k], value, slope);
      if (value == 0.0) continue;
      const Complex newton = value / slope;
      Complex repulsion = 0.0;
      for (std::size_t j = 0; j < n; ++j) {
        if (j != k) repulsion += 1.0 / (z[k] - z[j]);
      }
      const Complex step = newton / (1.0 - newton * repulsion);
      if (!std::isfinite(step.real()) || !std::isfinite(step.imag())) continue;
      z[k] -= step;
      largestStep = std::max(largestStep, std::abs(step) / std::max(std::abs(z[k]), 1e-300));
    }
    // Settled; or, after many rounds, as settled as coefficients with rounding in their last
    // digits let roots far apart in size become (a circuit with fast amplifiers).
    if (largestStep < 1e-15 || (iteration >= kRoundsBeforeRounding && largestStep < 1e-12)) break;
  }
  // One Newton step each against the full polynomial.
  for (Complex& root : z) {
    Complex value, slope;
    Evaluate(p, root, value, slope);
    if (slope != 0.0) {
      const Complex polished = root - value / slope;
      if (std::isfinite(polished.real()) && std::isfinite(polished.imag())) root = polished;
    }
  }
  Tidy(z);
  roots.insert(roots.end(), z.begin(), z.end());
  return roots;
}

}  // namespace morvane
