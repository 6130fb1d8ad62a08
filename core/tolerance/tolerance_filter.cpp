#include "tolerance/tolerance_filter.h"

#include <optional>
#include <utility>

#include "circuit/built_figures.h"
#include "circuit/circuit.h"
#include "lc/lc_circuit.h"

namespace morvane {

namespace {

constexpr double kSpanEitherSide = 100.0;  // two decades

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

std::optional<ToleranceFilter> ActiveStageFilter(const DesignState& s, FilterType type) {
  if (!StageCircuitExists(s.topology, type)) return std::nullopt;
  const StageParts parts{s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3};
  // The notch the page designs: at fg for the bandstop, fn/fo above fo for the elliptical one.
  std::optional<double> notch;
  if (type == FilterType::Bandstop) notch = s.fg;
  if (type == FilterType::EllipticLowpass) notch = s.fo * s.fnfp;
  ToleranceFilter f;
  f.circuits.push_back(
      {StageCircuit(s.topology, type, parts), SectionKindOfStageType(type), notch});
  f.kind = KindOf(type);
  f.passbandGain = s.VuActual;
  f.cornerHz = s.fg;
  return f;
}

// A passive filter of one output: the whole circuit is one section of its kind.
ToleranceFilter PassiveFilter(Circuit circuit, FilterKind kind, double passbandGain, double fg) {
  ToleranceFilter f;
  f.circuits.push_back(
      {std::move(circuit), kind == FilterKind::Highpass ? "highpass" : "lowpass", std::nullopt});
  f.kind = kind;
  f.passbandGain = passbandGain;
  f.cornerHz = fg;
  return f;
}

// The ladder passes RL / (RG + RL) where its inductors short and its capacitors open.
std::optional<ToleranceFilter> LadderFilter(const DesignState& s, const DesignChoices& c) {
  std::optional<Circuit> circuit = LadderCircuit(s, c);
  if (!circuit) return std::nullopt;
  const FilterKind kind =
      c.type == FilterType::Highpass ? FilterKind::Highpass : FilterKind::Lowpass;
  return PassiveFilter(std::move(*circuit), kind, s.RL / (s.Zin + s.RL), s.fg);
}

// Every port of the diplexer sees R against R: half the source voltage in each pass band.
std::vector<ToleranceFilter> DiplexerFilters(const DesignState& s, const DesignChoices& c) {
  constexpr double kHalf = 0.5;
  ToleranceFilter lowpass = PassiveFilter(DiplexerCircuit(s, c, DiplexerOutput::Lowpass),
                                          FilterKind::Lowpass, kHalf, s.fg);
  lowpass.output = "lowpass";
  ToleranceFilter highpass = PassiveFilter(DiplexerCircuit(s, c, DiplexerOutput::Highpass),
                                           FilterKind::Highpass, kHalf, s.fg);
  highpass.output = "highpass";
  highpass.mirrorsMask = true;
  return {std::move(lowpass), std::move(highpass)};
}

ToleranceMask MirroredAbout(const ToleranceMask& m, double centreHz) {
  const double c2 = centreHz * centreHz;
  return {c2 / m.f1, m.d1, c2 / m.f2, m.d2};
}

}  // namespace

std::vector<ToleranceFilter> PageToleranceFilters(const DesignState& s, const DesignChoices& c) {
  std::optional<ToleranceFilter> one;
  switch (s.topology) {
    case Topology::Diplexer:
      return DiplexerFilters(s, c);
    case Topology::LcLadder:
      one = LadderFilter(s, c);
      break;
    default:
      one = ActiveStageFilter(s, c.type);
      break;
  }
  if (!one) return {};
  return {std::move(*one)};
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
  request.fromHz = filter.cornerHz / kSpanEitherSide;
  request.toHz = filter.cornerHz * kSpanEitherSide;
  request.kind = filter.kind;
  request.passbandGain = filter.passbandGain;
  request.centreHz = filter.cornerHz;
  if (filter.mirrorsMask && request.mask)
    request.mask = MirroredAbout(*request.mask, filter.cornerHz);
  return request;
}

std::vector<double> PartValuesOf(const std::vector<ToleranceFilter>& filters) {
  std::vector<double> values;
  for (const ToleranceFilter& f : filters) {
    for (const SectionCircuitOfKind& section : f.circuits) {
      for (const CircuitPart& part : section.circuit.parts) values.push_back(part.value);
    }
  }
  return values;
}

}  // namespace morvane
