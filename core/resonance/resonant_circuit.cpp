#include "resonance/resonant_circuit.h"

#include <cmath>
#include <numbers>

namespace morvane {

namespace {

using Complex = std::complex<double>;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kLargestMagnitude = 1e300;
constexpr const char* kBeyondRange = "The values lie beyond the numbers the program can handle";

bool Positive(double v) {
  return v > 0.0 && std::isfinite(v);
}

Resonance Unsolved() {
  Resonance none;
  none.problem = kBeyondRange;
  return none;
}

}  // namespace

double ResonantFrequency(double l, double c) {
  return 1.0 / (kTwoPi * std::sqrt(l * c));
}

double ResonantInductance(double f0, double c) {
  const double w = kTwoPi * f0;
  return 1.0 / (w * w * c);
}

double ResonantCapacitance(double f0, double l) {
  const double w = kTwoPi * f0;
  return 1.0 / (w * w * l);
}

double InductiveReactance(double f, double l) {
  return kTwoPi * f * l;
}

double CapacitiveReactance(double f, double c) {
  return 1.0 / (kTwoPi * f * c);
}

std::complex<double> ResonantImpedance(ResonantCircuit circuit, double l, double c, double r,
                                       double f) {
  const double w = kTwoPi * f;
  const Complex inductorBranch(r, w * l);
  if (circuit == ResonantCircuit::Series) return inductorBranch + Complex(0.0, -1.0 / (w * c));
  // 1 / (j w C + 1/(R + j w L)) = (R + j w L) / (1 - w^2 L C + j w C R).
  return inductorBranch / Complex(1.0 - w * w * l * c, w * c * r);
}

Resonance SolveResonance(const ResonanceRequest& q) {
  Resonance s;
  const bool needF0 = q.unknown != ResonanceUnknown::Frequency;
  const bool needL = q.unknown != ResonanceUnknown::Inductance;
  const bool needC = q.unknown != ResonanceUnknown::Capacitance;
  if (needF0 && !Positive(q.f0)) {
    s.problem = "f0 must be greater than 0";
  } else if (needL && !Positive(q.l)) {
    s.problem = "L must be greater than 0";
  } else if (needC && !Positive(q.c)) {
    s.problem = "C must be greater than 0";
  } else if (q.loss == LossEntry::Resistance &&
             !(q.lossValue >= 0.0 && std::isfinite(q.lossValue))) {
    s.problem = "R must not be negative";
  } else if (q.loss == LossEntry::CoilQ && !Positive(q.lossValue)) {
    s.problem = "Q must be greater than 0";
  }
  if (!s.problem.empty()) return s;

  s.f0 = needF0 ? q.f0 : ResonantFrequency(q.l, q.c);
  s.l = needL ? q.l : ResonantInductance(q.f0, q.c);
  s.c = needC ? q.c : ResonantCapacitance(q.f0, q.l);
  if (!Positive(s.f0) || !Positive(s.l) || !Positive(s.c)) return Unsolved();
  const double w0L = InductiveReactance(s.f0, s.l);
  s.characteristic = std::sqrt(s.l / s.c);
  if (q.loss == LossEntry::Resistance) s.r = q.lossValue;
  if (q.loss == LossEntry::CoilQ) s.r = w0L / q.lossValue;
  if (!std::isfinite(s.r)) return Unsolved();

  if (s.r > 0.0) {
    s.q = w0L / s.r;
    s.bandwidth = s.f0 / *s.q;
  }
  if (q.circuit == ResonantCircuit::Series) {
    s.impedanceAtF0 = Complex(s.r, 0.0);
    s.zeroPhaseFrequency = s.f0;
    s.zeroPhaseImpedance = s.r;
    return s;
  }
  if (s.r > 0.0) {
    const double dynamic = s.l / (s.r * s.c);
    s.impedanceAtF0 = dynamic * Complex(1.0, -1.0 / *s.q);
    if (*s.q > 1.0) {
      s.zeroPhaseFrequency = s.f0 * std::sqrt(1.0 - 1.0 / (*s.q * *s.q));
      s.zeroPhaseImpedance = dynamic;
    }
  }
  return s;
}

ImpedanceCurves ResonantImpedanceCurves(ResonantCircuit circuit, double l, double c, double r,
                                        std::span<const double> frequencies) {
  ImpedanceCurves curves;
  for (double f : frequencies) {
    const Complex z = ResonantImpedance(circuit, l, c, r, f);
    const double magnitude = std::abs(z);
    const bool finite =
        std::isfinite(magnitude) && std::isfinite(z.real()) && std::isfinite(z.imag());
    curves.f.push_back(f);
    curves.magnitude.push_back(finite ? std::min(magnitude, kLargestMagnitude) : kLargestMagnitude);
    curves.phaseDegrees.push_back(finite ? std::arg(z) * 180.0 / std::numbers::pi : 0.0);
  }
  return curves;
}

}  // namespace morvane
