#include "circuit/nodal_equations.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <utility>

namespace morvane {

namespace {

// A pivot whose square is below this against its column's largest square is zero.
constexpr double kSingular = 1e-26;

// The pattern of A at a frequency where no entry cancels by chance, and where the amplifiers'
// 1/A(s), whose roots are real, vanishes only for the ideal one.
constexpr Complex kPatternFrequency(0.37, 1.71);

std::optional<NodalEquations::PartKind> KindOf(const std::string& name) {
  if (name.empty()) return std::nullopt;
  switch (name[0]) {
    case 'R':
      return NodalEquations::PartKind::Resistor;
    case 'C':
      return NodalEquations::PartKind::Capacitor;
    case 'L':
      return NodalEquations::PartKind::Inductor;
    default:
      return std::nullopt;
  }
}

double InverseOf(double x) {
  return x > 0.0 && std::isfinite(x) ? 1.0 / x : 0.0;
}

}  // namespace

bool NodalEquations::Index(const Circuit& c, std::string_view input, std::string_view output) {
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
  circuitParts_ = parts_.size();
  model_ = c.opAmpModel;
  if (model_) {
    inverseDcGain_ = InverseOf(model_->dcGain);
    inverseUnityGain_ = InverseOf(2.0 * std::numbers::pi * model_->gainBandwidth);
    inverseSecondPole_ = InverseOf(2.0 * std::numbers::pi * model_->secondPole.value_or(0.0));
  }
  const double rout = model_ ? model_->outputResistance : 0.0;
  const double cin = model_ ? model_->inputCapacitance : 0.0;
  for (std::size_t k = 0; k < c.opAmps.size(); ++k) {
    const CircuitOpAmp& amp = c.opAmps[k];
    OpAmp indexed{node(amp.plus), node(amp.minus), node(amp.output), 0, 0};
    indexed.pin = indexed.output;
    if (indexed.output < 0) return false;
    if (rout > 0.0 && std::isfinite(rout)) {
      const int inner = node("#" + OpAmpName(c, k));
      parts_.push_back({PartKind::Resistor, inner, indexed.output, rout});
      indexed.output = inner;
    }
    if (cin > 0.0 && std::isfinite(cin)) {
      for (const int input : {indexed.plus, indexed.minus}) {
        if (input >= 0) parts_.push_back({PartKind::Capacitor, input, kGround, cin});
      }
    }
    opAmps_.push_back(indexed);
  }
  const auto out = nodes_.find(output);
  if (out == nodes_.end()) return false;
  output_ = out->second;
  const int nodes = static_cast<int>(nodes_.size());
  for (std::size_t k = 0; k < opAmps_.size(); ++k) opAmps_[k].row = nodes + static_cast<int>(k);
  const int inductors = static_cast<int>(std::count_if(
      parts_.begin(), parts_.end(), [](const Part& p) { return p.kind == PartKind::Inductor; }));
  size_ = nodes + static_cast<int>(opAmps_.size()) + inductors;
  OrderForBand();
  FindPattern();
  return true;
}

template <class AddToA, class AddToB>
void NodalEquations::Stamp(Complex s, AddToA addToA, AddToB addToB) const {
  const auto cell = [&](int row, int column, Complex value) {
    addToA(Position(row), Position(column), value);
  };
  // A term coefficient * V(node) of equation `row`: into A, or for the input's 1 V to b.
  const auto term = [&](int row, int node, Complex coefficient) {
    if (row < 0 || node == kGround) return;
    if (node == kInput) {
      addToB(Position(row), -coefficient);
    } else {
      cell(row, node, coefficient);
    }
  };
  int inductor = static_cast<int>(nodes_.size() + opAmps_.size());
  for (const Part& p : parts_) {
    if (p.kind == PartKind::Inductor) {
      // Its current leaves a and enters b; V(a) - V(b) - sL I = 0.
      if (p.a >= 0) cell(p.a, inductor, 1.0);
      if (p.b >= 0) cell(p.b, inductor, -1.0);
      term(inductor, p.a, 1.0);
      term(inductor, p.b, -1.0);
      cell(inductor, inductor, -(s * p.value));
      ++inductor;
      continue;
    }
    const Complex y = p.kind == PartKind::Resistor ? Complex(1.0 / p.value) : s * p.value;
    term(p.a, p.a, y);
    term(p.a, p.b, -y);
    term(p.b, p.b, y);
    term(p.b, p.a, -y);
  }
  const Complex inverseGain = InverseGain(s);
  for (const OpAmp& amp : opAmps_) {
    cell(amp.output, amp.row, -1.0);  // the output current flows into its node
    // V(plus) - V(minus) - V(output) / A(s) = 0 (the noise en adds to V(plus)).
    term(amp.row, amp.plus, 1.0);
    term(amp.row, amp.minus, -1.0);
    if (inverseGain != 0.0) cell(amp.row, amp.output, -inverseGain);
  }
}

std::vector<std::vector<int>> NodalEquations::Neighbours() const {
  // A's entries at the pattern frequency, each summed in the order Fill sums it.
  std::map<std::pair<int, int>, Complex> entries;
  Stamp(
      kPatternFrequency,
      [&](int row, int column, Complex value) {
        entries[{row, column}] += value;
      },
      [](int, Complex) {});
  std::vector<std::set<int>> linked(static_cast<std::size_t>(size_));
  for (const auto& [at, value] : entries) {
    const auto [row, column] = at;
    if (row == column || value == 0.0) continue;
    linked[static_cast<std::size_t>(row)].insert(column);
    linked[static_cast<std::size_t>(column)].insert(row);
  }
  std::vector<std::vector<int>> neighbours;
  for (const auto& unknowns : linked) neighbours.emplace_back(unknowns.begin(), unknowns.end());
  return neighbours;
}

void NodalEquations::OrderForBand() {
  const auto n = static_cast<std::size_t>(size_);
  position_.resize(n);
  for (std::size_t i = 0; i < n; ++i) position_[i] = static_cast<int>(i);
  if (n < 3) return;
  const std::vector<std::vector<int>> neighbours = Neighbours();
  const auto degree = [&](int u) { return neighbours[static_cast<std::size_t>(u)].size(); };
  std::vector<int> order;
  std::vector<bool> placed(n, false);
  while (order.size() < n) {
    // Each connected part from an unknown of least degree, breadth first, neighbours by
    // increasing degree.
    int start = -1;
    for (std::size_t u = 0; u < n; ++u) {
      if (!placed[u] && (start < 0 || degree(static_cast<int>(u)) < degree(start))) {
        start = static_cast<int>(u);
      }
    }
    std::size_t next = order.size();
    order.push_back(start);
    placed[static_cast<std::size_t>(start)] = true;
    while (next < order.size()) {
      std::vector<int> around = neighbours[static_cast<std::size_t>(order[next++])];
      std::stable_sort(around.begin(), around.end(),
                       [&](int x, int y) { return degree(x) < degree(y); });
      for (int v : around) {
        if (!placed[static_cast<std::size_t>(v)]) {
          placed[static_cast<std::size_t>(v)] = true;
          order.push_back(v);
        }
      }
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    position_[static_cast<std::size_t>(order[i])] = static_cast<int>(n - 1 - i);
  }
}

bool NodalEquations::SetValues(std::span<const double> values) {
  if (values.size() != circuitParts_) return false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!(values[i] > 0.0) || !std::isfinite(values[i])) return false;
    parts_[i].value = values[i];
  }
  return true;
}

int NodalEquations::Degree() const {
  const int reactive = static_cast<int>(std::count_if(
      parts_.begin(), parts_.end(), [](const Part& p) { return p.kind != PartKind::Resistor; }));
  const int perAmp = (inverseUnityGain_ > 0.0 ? 1 : 0) + (inverseSecondPole_ > 0.0 ? 1 : 0);
  return reactive + perAmp * static_cast<int>(opAmps_.size());
}

namespace {

// The geometric mean of the resistors among `parts`; 1 kOhm without any.
double MeanResistance(std::span<const NodalEquations::Part> parts) {
  double logR = 0.0;
  int resistors = 0;
  for (const auto& p : parts) {
    if (p.kind == NodalEquations::PartKind::Resistor) {
      logR += std::log(p.value);
      ++resistors;
    }
  }
  return resistors > 0 ? std::exp(logR / resistors) : 1e3;
}

}  // namespace

double NodalEquations::NaturalScale() const {
  const std::span<const Part> own(parts_.data(), circuitParts_);
  const double logR = std::log(MeanResistance(own));
  double logScale = 0.0;
  int reactive = 0;
  for (const Part& p : own) {
    if (p.kind == PartKind::Capacitor) logScale -= logR + std::log(p.value);
    if (p.kind == PartKind::Inductor) logScale += logR - std::log(p.value);
    reactive += p.kind != PartKind::Resistor;
  }
  return reactive > 0 ? std::exp(logScale / reactive) : 1.0;
}

double NodalEquations::BalancedScale(double partsScale) const {
  const std::span<const Part> own(parts_.data(), circuitParts_);
  double logSum = 0.0;
  int weight = 0;
  for (const Part& p : own) weight += p.kind != PartKind::Resistor;
  weight = std::max(weight, 1);
  logSum = weight * std::log(partsScale);
  const double amps = static_cast<double>(opAmps_.size());
  if (inverseUnityGain_ > 0.0) {
    logSum -= amps * std::log(inverseUnityGain_);
    weight += static_cast<int>(opAmps_.size());
  }
  if (inverseSecondPole_ > 0.0) {
    logSum -= amps * std::log(inverseSecondPole_);
    weight += static_cast<int>(opAmps_.size());
  }
  const double logR = std::log(MeanResistance(own));
  for (std::size_t i = circuitParts_; i < parts_.size(); ++i) {
    if (parts_[i].kind != PartKind::Capacitor) continue;
    logSum -= logR + std::log(parts_[i].value);
    ++weight;
  }
  return std::exp(logSum / weight);
}

Complex NodalEquations::InverseGain(Complex s) const {
  return (inverseDcGain_ + s * inverseUnityGain_) * (1.0 + s * inverseSecondPole_);
}

void NodalEquations::Fill(Complex s, std::span<Complex> a, std::span<Complex> b) const {
  Stamp(
      s, [&](int row, int column, Complex value) { a[At(row, column)] += value; },
      [&](int row, Complex value) { b[static_cast<std::size_t>(row)] += value; });
}

void NodalEquations::FindPattern() {
  std::vector<std::set<int>> columns(static_cast<std::size_t>(size_));
  Stamp(
      kPatternFrequency,
      [&](int row, int column, Complex) { columns[static_cast<std::size_t>(row)].insert(column); },
      [](int, Complex) {});
  pattern_ = {};
  for (const auto& row : columns) {
    pattern_.columns.insert(pattern_.columns.end(), row.begin(), row.end());
    pattern_.rowStart.push_back(static_cast<int>(pattern_.columns.size()));
  }
}

void NodalEquations::Determinants(Complex s, ScaledComplex& whole, ScaledComplex& output) {
  matrix_.assign(static_cast<std::size_t>(size_ * size_), Complex(0.0));
  column_.assign(static_cast<std::size_t>(size_), Complex(0.0));
  Fill(s, matrix_, column_);
  std::vector<Complex>& a = scratch_;
  a = matrix_;
  whole = Determinant(a);
  a = matrix_;
  for (int row = 0; row < size_; ++row) {
    a[At(row, OutputUnknown())] = column_[static_cast<std::size_t>(row)];
  }
  output = Determinant(a);
}

// By Gaussian elimination with partial pivoting, in place.
ScaledComplex NodalEquations::Determinant(std::vector<Complex>& a) const {
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

}  // namespace morvane
