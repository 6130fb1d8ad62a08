#include "circuit/circuit_transfer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <span>
#include <string>

#include "numerics/polynomial_roots.h"

namespace morvane {

namespace {

// Coefficients below this against the largest (in s/r) are rounding.
constexpr double kRounding = 1e-12;
// A pivot whose square is below this against its column's largest square is zero.
constexpr double kSingular = 1e-26;

enum class PartKind { Resistor, Capacitor, Inductor };

std::optional<PartKind> KindOf(const std::string& name) {
  if (name.empty()) return std::nullopt;
  switch (name[0]) {
    case 'R':
      return PartKind::Resistor;
    case 'C':
      return PartKind::Capacitor;
    case 'L':
      return PartKind::Inductor;
    default:
      return std::nullopt;
  }
}

// A complex number as mantissa * 2^exponent, so that products of many admittances neither
// overflow nor vanish.
struct ScaledComplex {
  Complex mantissa;
  int exponent = 0;
};

// The circuit's nodal equations at one s: unknowns are the node voltages (not ground, not
// the input, which the source holds at 1 V), then each op amp's output current, then each
// inductor's current.
class NodalEquations {
 public:
  static constexpr int kGround = -1;
  static constexpr int kInput = -2;

  // False when the circuit cannot be analysed (see CircuitTransfer).
  bool Index(const Circuit& c, std::string_view input, std::string_view output) {
    const auto node = [&](const std::string& name) {
      if (name == "0") return kGround;
      if (name == input) return kInput;
      auto [it, added] = nodes_.try_emplace(name, static_cast<int>(nodes_.size()));
      return it->second;
    };
    for (const CircuitPart& part : c.parts) {
      const auto kind = KindOf(part.name);
      if (!kind) return false;
      parts_.push_back({*kind, node(part.a), node(part.b), part.value});
    }
    for (const CircuitOpAmp& amp : c.opAmps) {
      opAmps_.push_back({node(amp.plus), node(amp.minus), node(amp.output)});
      if (opAmps_.back().output < 0) return false;
    }
    const auto out = nodes_.find(std::string(output));
    if (out == nodes_.end()) return false;
    output_ = out->second;
    inductors_ = static_cast<int>(std::count_if(
        parts_.begin(), parts_.end(), [](const Part& p) { return p.kind == PartKind::Inductor; }));
    size_ = static_cast<int>(nodes_.size() + opAmps_.size()) + inductors_;
    matrix_.resize(static_cast<std::size_t>(size_ * size_));
    column_.resize(static_cast<std::size_t>(size_));
    return true;
  }

  // New part values, in the circuit's order; false when one is not finite and positive.
  bool SetValues(std::span<const double> values) {
    if (values.size() != parts_.size()) return false;
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!(values[i] > 0.0) || !std::isfinite(values[i])) return false;
      parts_[i].value = values[i];
    }
    return true;
  }

  int ReactiveParts() const {
    return static_cast<int>(std::count_if(
        parts_.begin(), parts_.end(), [](const Part& p) { return p.kind != PartKind::Resistor; }));
  }

  // The frequency scale of the parts: the geometric mean of their 1/RC and R/L, R the
  // geometric mean of the resistors.
  double NaturalScale() const {
    double logR = 0.0, logScale = 0.0;
    int resistors = 0, reactive = 0;
    for (const Part& p : parts_) {
      if (p.kind == PartKind::Resistor) {
        logR += std::log(p.value);
        ++resistors;
      }
    }
    if (resistors > 0) logR /= resistors;
    for (const Part& p : parts_) {
      if (p.kind == PartKind::Capacitor) logScale -= logR + std::log(p.value);
      if (p.kind == PartKind::Inductor) logScale += logR - std::log(p.value);
      reactive += p.kind != PartKind::Resistor;
    }
    return reactive > 0 ? std::exp(logScale / reactive) : 1.0;
  }

  // det A(s) and det of A(s) with the output's column replaced by b(s).
  void Determinants(Complex s, ScaledComplex& whole, ScaledComplex& output) {
    std::fill(matrix_.begin(), matrix_.end(), Complex(0.0));
    std::fill(column_.begin(), column_.end(), Complex(0.0));
    Fill(s, matrix_, column_);
    std::vector<Complex>& a = scratch_;
    a = matrix_;
    whole = Determinant(a);
    a = matrix_;
    for (int row = 0; row < size_; ++row)
      a[At(row, output_)] = column_[static_cast<std::size_t>(row)];
    output = Determinant(a);
  }

 private:
  struct Part {
    PartKind kind;
    int a;
    int b;
    double value;
  };
  struct OpAmp {
    int plus;
    int minus;
    int output;
  };

  std::size_t At(int row, int column) const {
    return static_cast<std::size_t>(row * size_ + column);
  }

  void Fill(Complex s, std::vector<Complex>& a, std::vector<Complex>& b) const {
    // A term coefficient * V(node) of equation `row`: into A, or for the input's 1 V to b.
    const auto term = [&](int row, int node, Complex coefficient) {
      if (row < 0 || node == kGround) return;
      if (node == kInput) {
        b[static_cast<std::size_t>(row)] -= coefficient;
      } else {
        a[At(row, node)] += coefficient;
      }
    };
    const int nodes = static_cast<int>(nodes_.size());
    int inductor = nodes + static_cast<int>(opAmps_.size());
    for (const Part& p : parts_) {
      if (p.kind == PartKind::Inductor) {
        // Its current leaves a and enters b; V(a) - V(b) - sL I = 0.
        if (p.a >= 0) a[At(p.a, inductor)] += 1.0;
        if (p.b >= 0) a[At(p.b, inductor)] -= 1.0;
        term(inductor, p.a, 1.0);
        term(inductor, p.b, -1.0);
        a[At(inductor, inductor)] -= s * p.value;
        ++inductor;
        continue;
      }
      const Complex y = p.kind == PartKind::Resistor ? Complex(1.0 / p.value) : s * p.value;
      term(p.a, p.a, y);
      term(p.a, p.b, -y);
      term(p.b, p.b, y);
      term(p.b, p.a, -y);
    }
    for (std::size_t k = 0; k < opAmps_.size(); ++k) {
      const OpAmp& amp = opAmps_[k];
      const int row = nodes + static_cast<int>(k);
      a[At(amp.output, row)] -= 1.0;  // the output current flows into its node
      term(row, amp.plus, 1.0);
      term(row, amp.minus, -1.0);
    }
  }

  // By Gaussian elimination with partial pivoting, in place.
  ScaledComplex Determinant(std::vector<Complex>& a) const {
    ScaledComplex det{1.0, 0};
    // A pivot this small against the largest entry of its column at the start is rounding
    // left of a column that cancels: the matrix is singular (a node that floats).
    std::vector<double>& columnSize = columnSize_;
    columnSize.assign(static_cast<std::size_t>(size_), 0.0);
    for (int r = 0; r < size_; ++r) {
      for (int c = 0; c < size_; ++c) {
        columnSize[static_cast<std::size_t>(c)] =
            std::max(columnSize[static_cast<std::size_t>(c)], std::norm(a[At(r, c)]));
      }
    }
    for (int k = 0; k < size_; ++k) {
      int pivot = k;
      for (int r = k + 1; r < size_; ++r) {
        if (std::norm(a[At(r, k)]) > std::norm(a[At(pivot, k)])) pivot = r;
      }
      const Complex p = a[At(pivot, k)];
      if (std::norm(p) <= kSingular * columnSize[static_cast<std::size_t>(k)]) return {0.0, 0};
      if (pivot != k) {
        for (int c = 0; c < size_; ++c) std::swap(a[At(k, c)], a[At(pivot, c)]);
        det.mantissa = -det.mantissa;
      }
      det.mantissa *= p;
      // Kept between 1/2 and 1 in its larger part, by a power of two (exact).
      int exponent = 0;
      std::frexp(std::max(std::abs(det.mantissa.real()), std::abs(det.mantissa.imag())), &exponent);
      det.mantissa *= std::ldexp(1.0, -exponent);
      det.exponent += exponent;
      const Complex inverse = std::conj(p) / std::norm(p);  // 1/p without the library's checks
      for (int r = k + 1; r < size_; ++r) {
        const Complex factor = a[At(r, k)] * inverse;
        if (factor == 0.0) continue;
        for (int c = k; c < size_; ++c) a[At(r, c)] -= factor * a[At(k, c)];
      }
    }
    return det;
  }

  std::map<std::string, int, std::less<>> nodes_;
  std::vector<Part> parts_;
  std::vector<OpAmp> opAmps_;
  int inductors_ = 0;
  int output_ = 0;
  int size_ = 0;
  std::vector<Complex> matrix_, column_, scratch_;
  mutable std::vector<double> columnSize_;
};

// Coefficients c_j r^j of a polynomial from its values at s_k = r e^(i theta_k).
// Where a transfer's polynomials are sampled: m points on the unit circle (times r), and the
// factors e^(-i theta_k j) of the inverse transform, worked out once per circuit.
struct SamplePlan {
  explicit SamplePlan(int reactiveParts) {
    std::size_t m = 4;
    while (m <= static_cast<std::size_t>(reactiveParts)) m *= 2;
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
  equations_->plan.emplace(equations_->ReactiveParts());
}

CircuitAnalysis::~CircuitAnalysis() = default;
CircuitAnalysis::CircuitAnalysis(CircuitAnalysis&&) noexcept = default;
CircuitAnalysis& CircuitAnalysis::operator=(CircuitAnalysis&&) noexcept = default;

std::optional<RationalTransfer> CircuitAnalysis::Transfer(std::span<const double> values,
                                                          double scale) {
  if (!equations_ || !equations_->SetValues(values)) return std::nullopt;
  NodalEquations& equations = *equations_;
  const SamplePlan& plan = *equations_->plan;
  const double r = scale > 0.0 && std::isfinite(scale) ? scale : equations.NaturalScale();
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
