#include "circuit/circuit_sweep.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvane {

namespace {

// The relative step of the central difference that gives dA/ds: the equations are at most
// quadratic in s, for which the difference is exact but for rounding.
constexpr double kDerivativeStep = 1e-4;

// A density with a 1/f rise below `corner`, squared.
double PowerWithCorner(double density, double corner, double f) {
  return density * density * (1.0 + corner / f);
}

}  // namespace

CircuitSweep::CircuitSweep(const Circuit& circuit, std::string_view input,
                           std::string_view output) {
  valid_ = equations_.Index(circuit, input, output);
  if (!valid_) return;
  for (std::size_t i = 0; i < equations_.CircuitPartCount(); ++i) {
    if (equations_.Parts()[i].kind == NodalEquations::PartKind::Resistor) {
      sources_.push_back({NoiseSource::Kind::Thermal, circuit.parts[i].name, i});
    }
  }
  const auto& model = equations_.Model();
  for (std::size_t k = 0; model && k < circuit.opAmps.size(); ++k) {
    const std::string name = OpAmpName(circuit, k);
    if (model->voltageNoiseDensity > 0.0) {
      sources_.push_back({NoiseSource::Kind::OpAmpVoltage, name, k});
    }
    if (model->currentNoiseDensity > 0.0) {
      sources_.push_back({NoiseSource::Kind::OpAmpCurrentPlus, name, k});
      sources_.push_back({NoiseSource::Kind::OpAmpCurrentMinus, name, k});
    }
  }
  const auto n = static_cast<std::size_t>(equations_.Size());
  b_.resize(n);
}

void CircuitSweep::FillAt(Complex s, LinearSystem& system) const {
  const SparsityPattern& pattern = equations_.Pattern();
  const auto n = static_cast<std::size_t>(pattern.Size());
  for (int r = 0; r < pattern.Size(); ++r) {
    for (const int c : pattern.Row(r)) {
      system.a[static_cast<std::size_t>(r) * n + static_cast<std::size_t>(c)] = 0.0;
    }
  }
  std::fill(system.b.begin(), system.b.end(), Complex(0.0));
  equations_.Fill(s, system.a, system.b);
}

bool CircuitSweep::Solve(Complex s) {
  std::fill(b_.begin(), b_.end(), Complex(0.0));
  equations_.Fill(s, lu_.Matrix(equations_.Size()), b_);
  if (!lu_.Factor(equations_.Pattern())) return false;
  // y: the transfer from a unit right-hand side in each equation to the output.
  y_.assign(b_.size(), Complex(0.0));
  y_[static_cast<std::size_t>(equations_.OutputUnknown())] = 1.0;
  lu_.SolveTransposed(y_);
  return true;
}

std::optional<ResponsePoint> CircuitSweep::Response(double f) {
  if (!valid_ || !(f > 0.0) || !std::isfinite(f)) return std::nullopt;
  const Complex s(0.0, 2.0 * std::numbers::pi * f);
  if (!Solve(s)) return std::nullopt;
  x_ = b_;
  lu_.Solve(x_);
  ResponsePoint point;
  point.h = x_[static_cast<std::size_t>(equations_.OutputUnknown())];
  // dH/ds = y^T (db/ds - dA/ds x).
  const Complex step = s * kDerivativeStep;
  for (LinearSystem* system : {&above_, &below_}) {
    system->a.resize(b_.size() * b_.size());
    system->b.resize(b_.size());
  }
  FillAt(s + step, above_);
  FillAt(s - step, below_);
  const SparsityPattern& pattern = equations_.Pattern();
  const std::size_t n = b_.size();
  Complex derivative = 0.0;
  for (std::size_t r = 0; r < n; ++r) {
    Complex row = above_.b[r] - below_.b[r];
    for (const int column : pattern.Row(static_cast<int>(r))) {
      const auto c = static_cast<std::size_t>(column);
      row -= (above_.a[r * n + c] - below_.a[r * n + c]) * x_[c];
    }
    derivative += y_[r] * row;
  }
  derivative /= 2.0 * step;
  if (point.h != 0.0) point.groupDelay = -(derivative / point.h).real();
  if (!std::isfinite(point.groupDelay)) point.groupDelay = 0.0;
  return point;
}

std::optional<std::vector<Complex>> CircuitSweep::OpAmpOutputs(double f) {
  if (!valid_ || !(f > 0.0) || !std::isfinite(f)) return std::nullopt;
  if (!Solve(Complex(0.0, 2.0 * std::numbers::pi * f))) return std::nullopt;
  x_ = b_;
  lu_.Solve(x_);
  std::vector<Complex> outputs;
  for (const auto& amp : equations_.OpAmps()) {
    outputs.push_back(x_[static_cast<std::size_t>(equations_.Position(amp.pin))]);
  }
  return outputs;
}

std::optional<CircuitSweep::NoisePoint> CircuitSweep::Noise(double f, double kelvin) {
  if (!valid_ || !(f > 0.0) || !std::isfinite(f)) return std::nullopt;
  if (!Solve(Complex(0.0, 2.0 * std::numbers::pi * f))) return std::nullopt;
  NoisePoint point;
  for (std::size_t r = 0; r < b_.size(); ++r) point.h += y_[r] * b_[r];
  const auto transfer = [&](int unknown) {
    return unknown >= 0 ? y_[static_cast<std::size_t>(equations_.Position(unknown))] : Complex(0.0);
  };
  const auto& parts = equations_.Parts();
  const auto& amps = equations_.OpAmps();
  const auto& model = equations_.Model();
  // The amplifiers' own noise powers at f, the same for each of them.
  const double voltagePower =
      model ? PowerWithCorner(model->voltageNoiseDensity, model->voltageNoiseCorner, f) : 0.0;
  const double currentPower =
      model ? PowerWithCorner(model->currentNoiseDensity, model->currentNoiseCorner, f) : 0.0;
  point.outputPower.reserve(sources_.size());
  for (const NoiseSource& source : sources_) {
    double power = 0.0;
    switch (source.kind) {
      case NoiseSource::Kind::Thermal: {
        const auto& r = parts[source.index];
        power = std::norm(transfer(r.a) - transfer(r.b)) * 4.0 * kBoltzmann * kelvin / r.value;
        break;
      }
      case NoiseSource::Kind::OpAmpVoltage:
        power = std::norm(transfer(amps[source.index].row)) * voltagePower;
        break;
      case NoiseSource::Kind::OpAmpCurrentPlus:
        power = std::norm(transfer(amps[source.index].plus)) * currentPower;
        break;
      case NoiseSource::Kind::OpAmpCurrentMinus:
        power = std::norm(transfer(amps[source.index].minus)) * currentPower;
        break;
    }
    point.outputPower.push_back(power);
  }
  return point;
}

}  // namespace morvane
