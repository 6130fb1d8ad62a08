#pragma once

// The transfer function of a circuit as built from its part values: V(output) / V(input) for
// an ideal source at the input, as a ratio of two polynomials in s (rad/s), from a nodal
// analysis of the parts (resistors R..., capacitors C..., inductors L...) and the op amps
// (ideal, or the circuit's amplifier model: see Circuit::opAmpModel).
//
// How: the circuit's nodal equations A(s) x = b(s) are polynomial in s; by Cramer's rule
// V(output) = det A_out(s) / det A(s), both polynomials of a degree at most the number of
// capacitors and inductors and the real amplifiers' poles. Each is sampled on a circle |s| = r
// around the circuit's own frequency scale (moved towards the amplifiers' frequencies by their
// share of the roots) and its coefficients taken by a discrete Fourier transform, which is exact
// for a polynomial of lower degree than the number of samples and well conditioned on that
// circle. Coefficients below 1e-12 of the largest (after scaling by r) are rounding: they are
// set to zero, and a polynomial's top zero coefficients dropped.

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "circuit/circuit.h"
#include "filters/pole_zero.h"

namespace morvane {

// H(s) = N(u) / D(u) with u = s / scale: coefficients in a variable of the circuit's own
// scale, so that filters of high order at high frequencies keep within the range of numbers.
struct RationalTransfer {
  std::vector<double> numerator;    // coefficients of u^0, u^1, ...
  std::vector<double> denominator;  // the same; its highest coefficient is 1
  double scale = 1.0;               // rad/s
};

// The transfer from `input` to `output` (node "0" is ground), or none when the circuit has no
// unique solution (a node that floats, an op amp whose output is ground or the input), a part
// value that is not finite and positive, or a part of unknown kind. `scale` is the frequency
// (rad/s) to sample around; 0 takes it from the parts (the geometric mean of their RC and L/R
// frequencies).
std::optional<RationalTransfer> CircuitTransfer(const Circuit& circuit,
                                                std::string_view input = "in",
                                                std::string_view output = "out",
                                                double scale = 0.0);

// The nodal equations of one circuit, set up once, for transfers with any values of its
// parts (tolerance runs: thousands of them).
class CircuitAnalysis {
 public:
  CircuitAnalysis(const Circuit& circuit, std::string_view input = "in",
                  std::string_view output = "out");
  ~CircuitAnalysis();
  CircuitAnalysis(CircuitAnalysis&&) noexcept;
  CircuitAnalysis& operator=(CircuitAnalysis&&) noexcept;

  // False for a circuit CircuitTransfer refuses whatever its values.
  bool Valid() const { return equations_ != nullptr; }
  // The transfer with these values of the parts, in the circuit's order (see CircuitTransfer).
  std::optional<RationalTransfer> Transfer(std::span<const double> values, double scale = 0.0);

 private:
  struct Equations;
  std::unique_ptr<Equations> equations_;
};

Complex EvaluateAt(const RationalTransfer& h, Complex s);

// Coefficients of u^j as coefficients of s^j (dividing by scale^j): for low orders, where
// they stay within the range of numbers.
std::vector<double> CoefficientsInS(const std::vector<double>& coefficients, double scale);

// The same transfer by its poles, zeros and gain (the ratio of the top coefficients).
PoleZeroGain PoleZeroOf(const RationalTransfer& h);

}  // namespace morvane
