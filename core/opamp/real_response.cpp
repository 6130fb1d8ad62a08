#include "opamp/real_response.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cascade/cascade_design.h"
#include "circuit/circuit_transfer.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kPeakingSamples = 400;  // from a decade below f0 to a decade above

double LargestGain(const RationalTransfer& h, double f0) {
  double largest = 0.0;
  for (int i = 0; i <= kPeakingSamples; ++i) {
    const double f = f0 * std::pow(100.0, static_cast<double>(i) / kPeakingSamples) / 10.0;
    largest = std::max(largest, std::abs(EvaluateAt(h, Complex(0.0, kTwoPi * f))));
  }
  return largest;
}

std::string Signed(double percent) {
  return (percent >= 0.0 ? "+" : "") + FormatFixedTrimmed(2, percent) + " %";
}

}  // namespace

std::optional<RealAmplifierFigures> RealAmplifierFiguresOf(Circuit circuit, const OpAmpModel& model,
                                                           GainReference reference, bool notch,
                                                           double designedF0) {
  if (!(designedF0 > 0.0) || !std::isfinite(designedF0)) return std::nullopt;
  const double scale = kTwoPi * designedF0;
  circuit.opAmpModel.reset();
  const auto ideal = CircuitTransfer(circuit, "in", "out", scale);
  circuit.opAmpModel = model;
  const auto real = CircuitTransfer(circuit, "in", "out", scale);
  if (!ideal || !real) return std::nullopt;
  const auto idealFigures = FiguresOf(*ideal, reference, notch, designedF0);
  const auto realFigures = FiguresOf(*real, reference, notch, designedF0);
  if (!idealFigures || !realFigures || idealFigures->gain == 0.0) return std::nullopt;
  RealAmplifierFigures f;
  f.opAmp = model.name;
  f.ideal = *idealFigures;
  f.real = *realFigures;
  f.transfer = PoleZeroOf(*real);
  for (const Complex& p : f.transfer.poles) {
    if (p.real() > 1e-9 * std::abs(p)) {
      f.unstable = true;
      f.real.f0 = std::abs(p) / kTwoPi;
    }
  }
  if (ideal->denominator.size() == 2) {
    // First order: its pole is the real one nearest the designed one, the others the
    // amplifier's.
    double nearest = INFINITY;
    for (const Complex& p : f.transfer.poles) {
      const double distance = std::abs(std::log(std::abs(p) / scale));
      if (p.imag() == 0.0 && distance < nearest) {
        nearest = distance;
        f.real.f0 = std::abs(p) / kTwoPi;
      }
    }
  }
  f.peakingDb = 20.0 * std::log10(LargestGain(*real, idealFigures->f0) / std::abs(f.ideal.gain));
  if (!std::isfinite(f.peakingDb)) f.peakingDb = 0.0;
  return f;
}

std::string RealAmplifierLine(const RealAmplifierFigures& a) {
  if (a.unstable) {
    return "With " + a.opAmp + ": unstable: poles at " + FormatQuantity(a.real.f0, "Hz") +
           " in the right half-plane (the op amp is too slow for this stage)";
  }
  std::string line = "With " + a.opAmp + ": f0 " + FormatQuantity(a.real.f0, "Hz") + " (" +
                     Signed(ErrorPercent(a.real.f0, a.ideal.f0)) + "), Q " +
                     FormatFixedTrimmed(3, a.real.q) + " (" +
                     Signed(ErrorPercent(a.real.q, a.ideal.q)) + ")";
  if (a.real.fz && a.ideal.fz) {
    line += ", fz " + FormatQuantity(*a.real.fz, "Hz") + " (" +
            Signed(ErrorPercent(*a.real.fz, *a.ideal.fz)) + ")";
  }
  return line + ", gain " + FormatFixedTrimmed(3, a.real.gain) + " (" +
         Signed(ErrorPercent(a.real.gain, a.ideal.gain)) + "), peaking " +
         FormatFixedTrimmed(2, a.peakingDb) + " dB";
}

std::optional<RealAmplifierFigures> StageRealAmplifier(const DesignState& s, FilterType type,
                                                       const OpAmpModel& model) {
  if (!IsActiveTopology(s.topology) || !StageCircuitExists(s.topology, type)) return std::nullopt;
  const StageParts parts{s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3};
  const bool notch = type == FilterType::Bandstop || type == FilterType::EllipticLowpass;
  return RealAmplifierFiguresOf(StageCircuit(s.topology, type, parts), model,
                                ReferenceOfStageType(type), notch, s.fo);
}

std::vector<std::optional<RealAmplifierFigures>> CascadeRealAmplifier(const CascadeDesign& design,
                                                                      const OpAmpModel& model) {
  std::vector<std::optional<RealAmplifierFigures>> sections;
  if (!design.problem.empty()) return sections;
  for (const CascadeSection& s : design.sections) {
    sections.push_back(RealAmplifierFiguresOf(s.circuit.circuit, model,
                                              ReferenceOfSectionKind(s.plan.kind),
                                              IsNotchSectionKind(s.plan.kind), s.plan.f0));
  }
  return sections;
}

std::optional<PoleZeroGain> CascadeRealTransfer(
    const std::vector<std::optional<RealAmplifierFigures>>& sections) {
  if (sections.empty()) return std::nullopt;
  PoleZeroGain whole;
  whole.gain = 1.0;
  for (const auto& s : sections) {
    if (!s) return std::nullopt;
    whole.poles.insert(whole.poles.end(), s->transfer.poles.begin(), s->transfer.poles.end());
    whole.zeros.insert(whole.zeros.end(), s->transfer.zeros.begin(), s->transfer.zeros.end());
    whole.gain *= s->transfer.gain;
  }
  return whole;
}

}  // namespace morvane
