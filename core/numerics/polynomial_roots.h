#pragma once

// The roots of a polynomial with real coefficients, by the Aberth-Ehrlich iteration with a
// Newton polish: complex roots come out in conjugate pairs to rounding, real roots with a zero
// imaginary part.

#include <complex>
#include <span>
#include <vector>

namespace morvane {

// `coefficients` of x^0, x^1, ..., the last not zero. Empty for a constant. Roots at zero
// (leading zero coefficients) are exactly zero.
std::vector<std::complex<double>> PolynomialRoots(std::span<const double> coefficients);

}  // namespace morvane
