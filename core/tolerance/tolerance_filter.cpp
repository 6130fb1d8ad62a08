#include "tolerance/tolerance_filter.h"

#include "circuit/circuit.h"

namespace morvane {

namespace {

constexpr double kDecadesEitherSide = 100.0;

const char* SectionKindOf(FilterType type) {
  switch (type) {
    case FilterType::Highpass:
      return "highpass";
    case FilterType::Bandpass:
      return "bandpass";
    case FilterType::Bandstop:
      return "notch";
    case FilterType::EllipticLowpass:
      return "lowpass-notch";
    default:
      return "lowpass";
  }
}

FilterKind KindOf(FilterType type) {
  switch (type) {
    case FilterType::Highpass:
      return FilterKind::Highpass;
    case FilterType::Bandpass:
      return FilterKind::Bandpass;
    case FilterType::Bandstop:
      return FilterKind::Bandstop;
    default:
      return FilterKind::Lowpass;
  }
}

}  // namespace

std::optional<ToleranceFilter> StageToleranceFilter(const DesignState& s, FilterType type) {
  if (!IsActiveTopology(s.topology) || !StageCircuitExists(s.topology, type)) return std::nullopt;
  const StageParts parts{s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3};
  // The notch the page designs: at fg for the bandstop, fn/fo above fo for the elliptical one.
  std::optional<double> notch;
  if (type == FilterType::Bandstop) notch = s.fg;
  if (type == FilterType::EllipticLowpass) notch = s.fo * s.fnfp;
  ToleranceFilter f;
  f.circuits.push_back({StageCircuit(s.topology, type, parts), SectionKindOf(type), notch});
  f.kind = KindOf(type);
  f.passbandGain = s.VuActual;
  f.cornerHz = s.fg;
  return f;
}

ToleranceFilter CascadeToleranceFilter(const CascadeDesign& design, FilterKind kind) {
  ToleranceFilter f;
  f.circuits = SectionCircuitsOf(design);
  f.kind = kind;
  f.passbandGain = design.gain;
  f.cornerHz = design.fg;
  return f;
}

MonteCarloRequest RequestAround(const ToleranceFilter& filter, MonteCarloRequest request) {
  request.fromHz = filter.cornerHz / kDecadesEitherSide;
  request.toHz = filter.cornerHz * kDecadesEitherSide;
  request.kind = filter.kind;
  request.passbandGain = filter.passbandGain;
  request.centreHz = filter.cornerHz;
  return request;
}

}  // namespace morvane
