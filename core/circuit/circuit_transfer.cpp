#include "circuit/circuit_transfer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <span>
#include <string>

#include "circuit/nodal_equations.h"
#include "numerics/polynomial_roots.h"

namespace morvane {

namespace {

// Coefficients below this against the largest (in s/r) are rounding.
constexpr double kRounding = 1e-12;

// Coefficients c_j r^j of a polynomial from its values at s_k = r e^(i theta_k).
// Where a transfer's polynomials are sampled: m points on the unit circle (times r), and the
// factors e^(-i theta_k j) of the inverse transform, worked out once per circuit.
struct SamplePlan {
  explicit SamplePlan(int degree) {
    std::size_t m = 4;
    while (m <= static_cast<std::size_t>(degree)) m *= 2;
    points.resize(m);
    twiddles.resize(m * m);
    for (std::size_t k = 0; k < m; ++k) {
      // Off the real axis, where a pole of a circuit without losses might sit.
      const double angle = 2.0 * std::numbers::pi * (static_cast<double>(k) + 0.3711) / m;
      points[k] = std::polar(1.0, angle);
      for (std::size_t j = 0; j < m; ++j) {
        twiddles[j * m + k] =
            std::polar(1.0, -angle * static_cast<double>(j)) / static_cast<double>(m);
      }
    }
  }
  std::size_t Size() const { return points.size(); }

  std::vector<Complex> points;
  std::vector<Complex> twiddles;
};

// Coefficients c_j r^j of a polynomial from its values at r e^(i theta_k).
std::vector<double> Coefficients(const std::vector<Complex>& values, const SamplePlan& plan) {
  const std::size_t m = plan.Size();
  std::vector<double> c(m);
  for (std::size_t j = 0; j < m; ++j) {
    Complex sum = 0.0;
    for (std::size_t k = 0; k < m; ++k) sum += values[k] * plan.twiddles[j * m + k];
    c[j] = sum.real();
  }
  return c;
}

// Rounding set to zero, top zeros dropped.
void Trim(std::vector<double>& c) {
  double largest = 0.0;
  for (double x : c) largest = std::max(largest, std::abs(x));
  for (double& x : c) {
    if (std::abs(x) <= kRounding * largest) x = 0.0;
  }
  while (!c.empty() && c.back() == 0.0) c.pop_back();
}

}  // namespace

struct CircuitAnalysis::Equations : NodalEquations {
  std::optional<SamplePlan> plan;
};

CircuitAnalysis::CircuitAnalysis(const Circuit& circuit, std::string_view input,
                                 std::string_view output)
    : equations_(std::make_unique<Equations>()) {
  if (!equations_->Index(circuit, input, output)) {
    equations_.reset();
    return;
  }
  equations_->plan.emplace(equations_->Degree());
}

CircuitAnalysis::~CircuitAnalysis() = default;
CircuitAnalysis::CircuitAnalysis(CircuitAnalysis&&) noexcept = default;
CircuitAnalysis& CircuitAnalysis::operator=(CircuitAnalysis&&) noexcept = default;

std::optional<RationalTransfer> CircuitAnalysis::Transfer(std::span<const double> values,
                                                          double scale) {
  if (!equations_ || !equations_->SetValues(values)) return std::nullopt;
  NodalEquations& equations = *equations_;
  const SamplePlan& plan = *equations_->plan;
  const double r = equations.BalancedScale(
      scale > 0.0 && std::isfinite(scale) ? scale : equations.NaturalScale());
  const std::size_t samples = plan.Size();
  std::vector<ScaledComplex> whole(samples), out(samples);
  int largest = INT32_MIN;
  for (std::size_t k = 0; k < samples; ++k) {
    equations.Determinants(r * plan.points[k], whole[k], out[k]);
    for (const ScaledComplex* d : {&whole[k], &out[k]}) {
      if (d->mantissa != 0.0) largest = std::max(largest, d->exponent);
    }
  }
  if (largest == INT32_MIN) return std::nullopt;
  const auto samplesOf = [&](const std::vector<ScaledComplex>& d) {
    std::vector<Complex> v(samples);
    for (std::size_t k = 0; k < samples; ++k) {
      v[k] = d[k].mantissa * std::ldexp(1.0, d[k].exponent - largest);
    }
    return v;
  };
  std::vector<double> numerator = Coefficients(samplesOf(out), plan);
  std::vector<double> denominator = Coefficients(samplesOf(whole), plan);
  Trim(numerator);
  Trim(denominator);
  if (denominator.empty()) return std::nullopt;  // singular at every s: a node floats
  const double top = denominator.back();
  for (double& x : numerator) x /= top;
  for (double& x : denominator) x /= top;
  return RationalTransfer{std::move(numerator), std::move(denominator), r};
}

std::optional<RationalTransfer> CircuitTransfer(const Circuit& circuit, std::string_view input,
                                                std::string_view output, double scale) {
  std::vector<double> values;
  values.reserve(circuit.parts.size());
  for (const CircuitPart& part : circuit.parts) values.push_back(part.value);
  return CircuitAnalysis(circuit, input, output).Transfer(values, scale);
}

Complex EvaluateAt(const RationalTransfer& h, Complex s) {
  const Complex u = s / h.scale;
  const auto polynomial = [u](const std::vector<double>& c) {
    Complex value = 0.0;
    for (std::size_t i = c.size(); i-- > 0;) value = value * u + c[i];
    return value;
  };
  return polynomial(h.numerator) / polynomial(h.denominator);
}

std::vector<double> CoefficientsInS(const std::vector<double>& c, double scale) {
  std::vector<double> inS(c.size());
  double power = 1.0;
  for (std::size_t j = 0; j < c.size(); ++j) {
    inS[j] = c[j] / power;
    power *= scale;
  }
  return inS;
}

PoleZeroGain PoleZeroOf(const RationalTransfer& h) {
  PoleZeroGain pzg;
  pzg.poles = PolynomialRoots(h.denominator);
  pzg.zeros = PolynomialRoots(h.numerator);
  for (Complex& p : pzg.poles) p *= h.scale;
  for (Complex& z : pzg.zeros) z *= h.scale;
  // H = (n_top u^m + ...) / (u^n + ...) with u = s / scale.
  const int excess = static_cast<int>(h.denominator.size()) - static_cast<int>(h.numerator.size());
  pzg.gain = h.numerator.empty() ? 0.0 : h.numerator.back() * std::pow(h.scale, excess);
  return pzg;
}

}  // namespace morvane
