#include "cascade/section_circuit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "cascade/cascade_names.h"
#include "circuit/circuit_transfer.h"
#include "design/buildable_range.h"
#include "design/fliege_stage.h"
#include "design/mfb_stage.h"
#include "design/pfb_stage.h"
#include "design/svf_stage.h"
#include "numerics/number_text.h"
#include "numerics/standard_series.h"
#include "opamp/predistortion.h"
#include "tolerance/value_search.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kNoLimit = std::numeric_limits<double>::max();
constexpr double kUnitySlack = 1e-9;
// The least gain of the three-op-amp state-variable stage and of the Fliege stage, as on
// their pages.
constexpr double kLeastSvf3Gain = 0.334;
constexpr double kLeastFliegeGain = 1.05;

enum class Shape {
  FirstLowpass,
  FirstHighpass,
  Lowpass,
  Highpass,
  Bandpass,
  LowpassNotch,
  HighpassNotch,
  Notch,
  Unknown
};

Shape ShapeOf(const std::string& kind) {
  static constexpr struct {
    const char* kind;
    Shape shape;
  } kShapes[] = {{"first-order-lowpass", Shape::FirstLowpass},
                 {"first-order-highpass", Shape::FirstHighpass},
                 {"lowpass", Shape::Lowpass},
                 {"highpass", Shape::Highpass},
                 {"bandpass", Shape::Bandpass},
                 {"lowpass-notch", Shape::LowpassNotch},
                 {"highpass-notch", Shape::HighpassNotch},
                 {"notch", Shape::Notch}};
  for (const auto& entry : kShapes) {
    if (kind == entry.kind) return entry.shape;
  }
  return Shape::Unknown;
}

FilterType StageTypeOf(Shape shape) {
  switch (shape) {
    case Shape::Highpass:
      return FilterType::Highpass;
    case Shape::Bandpass:
      return FilterType::Bandpass;
    case Shape::LowpassNotch:
      return FilterType::EllipticLowpass;
    case Shape::Notch:
      return FilterType::Bandstop;
    default:
      return FilterType::Lowpass;
  }
}

bool Builds(Topology topology, Shape shape) {
  switch (shape) {
    case Shape::FirstLowpass:
    case Shape::FirstHighpass:
    case Shape::Lowpass:
    case Shape::Highpass:
    case Shape::Bandpass:
      return IsActiveTopology(topology);
    case Shape::LowpassNotch:
      return topology == Topology::Pfb || topology == Topology::Svf4;
    case Shape::HighpassNotch:
      return topology == Topology::Svf4;
    case Shape::Notch:
      return topology == Topology::Pfb || topology == Topology::Svf4 ||
             topology == Topology::Fliege;
    case Shape::Unknown:
      break;
  }
  return false;
}

StageRequirement Requirement(const FilterSection& section, Shape shape, double gain,
                             const SectionDesignOptions& options) {
  return {.type = StageTypeOf(shape),
          .fg = section.f0,
          .fo = section.f0,
          .q = section.q,
          .gain = gain,
          .zin = options.zin,
          .seriesR = options.seriesR,
          .seriesC = options.seriesC};
}

PfbInput PfbInputFor(const FilterSection& section, Shape shape, double gain,
                     const SectionDesignOptions& options) {
  PfbInput in{.stage = Requirement(section, shape, gain, options)};
  in.r3 = options.zin;
  if (section.fz) in.fnfp = *section.fz / section.f0;
  return in;
}

// The gain a PFB circuit has by its design, where the design ties it to Q.
double PfbNaturalGain(const FilterSection& section, Shape shape,
                      const SectionDesignOptions& options) {
  return DesignPfbStage(PfbInputFor(section, shape, 1.0, options)).gain.value_or(0.0);
}

// The noninverting amplifier after node `from`: a follower at gain 1, else R3 from the output
// to the inverting input and R4 from there to ground.
void AddNoninvertingAmplifier(Circuit& c, const std::string& from, double gain, double r4) {
  if (gain <= 1.0) {
    c.opAmps.push_back({from, "out", "out"});
    return;
  }
  c.parts.push_back({"R3", "out", "n", (gain - 1.0) * r4});
  c.parts.push_back({"R4", "n", "0", r4});
  c.opAmps.push_back({from, "n", "out"});
}

// Makes the resistor `name` from the input a divider with the same Thevenin resistance and
// the voltage ratio `ratio` < 1: NAME grows by 1/ratio, NAME "G" goes from its far end to ground.
void DivideInput(Circuit& c, const std::string& name, double ratio) {
  for (auto it = c.parts.begin(); it != c.parts.end(); ++it) {
    if (it->name != name || it->a != "in") continue;
    const CircuitPart part = *it;
    it->value = part.value / ratio;
    c.parts.insert(it + 1, {name + "G", part.b, "0", part.value / (1.0 - ratio)});
    c.notes.push_back(name + " and " + name + "G: input divider to " + GeneralText(ratio, 6));
    return;
  }
}

SectionCircuit FirstOrder(const FilterSection& section, Topology topology, bool highpass,
                          double gain, const SectionDesignOptions& options) {
  const double w = kTwoPi * section.f0;
  const double c1 = SeriesValueBelow(options.seriesC, 1.0 / (w * options.zin));
  const double r = 1.0 / (w * c1);
  SectionCircuit out;
  out.gain = gain;
  Circuit& c = out.circuit;
  if (topology == Topology::Mfb) {
    out.inverting = true;
    c.opAmps = {{"0", "n", "out"}};
    if (highpass) {
      out.name = "inverting first-order highpass";
      c.parts = {{"C1", "in", "x", c1}, {"R1", "x", "n", r}, {"R2", "n", "out", gain * r}};
    } else {
      out.name = "inverting first-order lowpass";
      c.parts = {{"R1", "in", "n", r / gain}, {"R2", "n", "out", r}, {"C1", "n", "out", c1}};
    }
    return out;
  }
  if (highpass) {
    out.name = "RC highpass with a noninverting amplifier";
    c.parts = {{"C1", "in", "p", c1}, {"R1", "p", "0", r}};
  } else {
    out.name = "RC lowpass with a noninverting amplifier";
    c.parts = {{"R1", "in", "p", r}, {"C1", "p", "0", c1}};
    if (gain < 1.0) DivideInput(c, "R1", gain);
  }
  AddNoninvertingAmplifier(c, "p", gain, options.zin);
  return out;
}

SectionCircuit SallenKeyLowpass(const FilterSection& section, double gain,
                                const SectionDesignOptions& options) {
  const double amplifierGain = std::max(1.0, gain);
  const StageParts p = SallenKeyLowpassUnequalCapacitors(
      Requirement(section, Shape::Lowpass, amplifierGain, options), amplifierGain);
  SectionCircuit out;
  out.name =
      amplifierGain == 1.0 ? "Sallen-Key lowpass, unity gain" : "Sallen-Key lowpass with gain";
  out.gain = gain;
  Circuit& c = out.circuit;
  c.parts = {{"R1", "in", "a", *p.R1},
             {"R2", "a", "p", *p.R2},
             {"C1", "a", "out", *p.C1},
             {"C2", "p", "0", *p.C2}};
  if (gain < 1.0) DivideInput(c, "R1", gain);
  AddNoninvertingAmplifier(c, "p", amplifierGain, options.zin);
  return out;
}

// Equal capacitors; R1 from node a to the output, R2 from the noninverting input to ground:
// w0^2 = 1/(R1 R2 C^2), w0/Q = (2/R2 + (1 - K)/R1) / C.
SectionCircuit SallenKeyHighpass(const FilterSection& section, double gain,
                                 const SectionDesignOptions& options) {
  const double K = std::max(1.0, gain);
  const double w = kTwoPi * section.f0;
  const double q = section.q;
  const double cap = SeriesValueBelow(options.seriesC, 1.0 / (w * options.zin));
  const double root = std::sqrt(1.0 / (q * q) + 8.0 * (K - 1.0)) + 1.0 / q;
  SectionCircuit out;
  out.name = K == 1.0 ? "Sallen-Key highpass, unity gain" : "Sallen-Key highpass with gain";
  out.gain = K;
  out.circuit.parts = {{"C1", "in", "a", cap},
                       {"C2", "a", "p", cap},
                       {"R1", "a", "out", root / (4.0 * w * cap)},
                       {"R2", "p", "0", 4.0 / (w * cap * root)}};
  AddNoninvertingAmplifier(out.circuit, "p", K, options.zin);
  return out;
}

// The state-variable notch: op amp 1 sums the input (R3) and the bandpass output (R4) at its
// noninverting input and the highpass (R6) and lowpass (R5) outputs at its inverting input;
// two inverting integrators (R1 C1, R2 C2) give the bandpass and lowpass outputs; op amp 4
// adds highpass (R7) and lowpass (R8) with R9 in its feedback:
//   hp = H s^2 / D, lp = H w0^2 / (r D), D = s^2 + s w0/Q + w0^2,
//   H = (1 + r)(1 - b), r = R6/R5, b = R3/(R3 + R4), 1/Q = (1 + r) b / sqrt(r),
//   out = -(R9/R7 hp + R9/R8 lp): zeros at wz^2 = w0^2 (R7/R8) / r.
// r = 1 (b = 1/(2Q)) down to Q = 1; below, b = 1/2 and r from the quadratic in sqrt(r).
SectionCircuit StateVariableNotch(const FilterSection& section, Shape shape, double gain,
                                  const SectionDesignOptions& options) {
  const double q = section.q;
  const double b = std::min(0.5 / q, 0.5);
  const double m = 1.0 / (q * b);
  const double x = 0.5 * (m + std::sqrt(std::max(0.0, m * m - 4.0)));
  const double r = x * x;
  const double rz = options.zin;
  const double w0 = kTwoPi * section.f0;
  const double cap = SeriesValueAbove(options.seriesC, 1.0 / (w0 * rz));
  const double integrator = x / w0 / cap;
  const double H = (1.0 + r) * (1.0 - b);
  const double zeroRatio = *section.fz / section.f0;
  const double highOverLow = r * zeroRatio * zeroRatio;  // R7 / R8
  // With R9 = 1 (relative): the lowpass and symmetric notches have the gain at DC, the
  // highpass notch at high frequencies. Then all three are scaled so that the smallest of
  // them is Zin, whatever the gain: none loads the op amps more than the input does.
  const double r8 = shape == Shape::HighpassNotch ? H / (gain * highOverLow) : H / (r * gain);
  const double r7 = r8 * highOverLow;
  const double scale = rz / std::min({r7, r8, 1.0});
  SectionCircuit out;
  out.name = "state-variable notch with output summer";
  out.gain = gain;
  out.inverting = true;
  Circuit& c = out.circuit;
  c.notes.push_back("outputs of the state-variable filter: highpass hp, bandpass bp, lowpass lp");
  c.parts = {{"R3", "in", "p1", rz},         {"R4", "bp", "p1", rz * (1.0 - b) / b},
             {"R6", "hp", "n1", r * rz},     {"R5", "lp", "n1", rz},
             {"R1", "hp", "n2", integrator}, {"C1", "n2", "bp", cap},
             {"R2", "bp", "n3", integrator}, {"C2", "n3", "lp", cap},
             {"R7", "hp", "n4", r7 * scale}, {"R8", "lp", "n4", r8 * scale},
             {"R9", "out", "n4", scale}};
  c.opAmps = {{"p1", "n1", "hp"}, {"0", "n2", "bp"}, {"0", "n3", "lp"}, {"0", "n4", "out"}};
  return out;
}

// A second-order section through the page's own design of the topology.
SectionCircuit PageStage(const FilterSection& section, Topology topology, Shape shape, double gain,
                         const SectionDesignOptions& options) {
  const StageRequirement requirement = Requirement(section, shape, gain, options);
  StageDesign design;
  switch (topology) {
    case Topology::Mfb:
      design = DesignMfbStage({.stage = requirement});
      break;
    case Topology::Pfb:
      design = DesignPfbStage(PfbInputFor(section, shape, gain, options));
      break;
    case Topology::Svf3:
      design = DesignSvf3Stage({.stage = requirement});
      break;
    case Topology::Svf4:
      design = DesignSvf4Stage({.stage = requirement});
      break;
    default:
      design = DesignFliegeStage({.stage = requirement});
      break;
  }
  SectionCircuit out;
  const FilterType type = requirement.type;
  out.name = std::string(SectionTopologyName(topology)) + " " + section.kind;
  if (!design.Realizable()) {
    out.problem = "the circuit cannot reach this Q and zero (Q " + GeneralText(section.q, 6) +
                  ", fz/f0 " + GeneralText(section.fz.value_or(1.0) / section.f0, 6) + ")";
    return out;
  }
  if (std::abs(design.q - section.q) > 1e-12 * section.q) {
    out.problem = "the circuit needs Q of at least " + GeneralText(design.q, 6);
    return out;
  }
  out.gain = design.gain.value_or(gain);
  out.circuit = StageCircuit(topology, type, design.parts);
  switch (topology) {
    case Topology::Mfb:
      out.inverting = true;
      break;
    case Topology::Svf3:
      out.inverting = type == FilterType::Bandpass;
      break;
    case Topology::Svf4:
      out.inverting = type == FilterType::Bandpass || type == FilterType::Bandstop;
      break;
    default:
      break;
  }
  // The PFB bandpass has an input resistor: a divider takes its gain down to the one asked.
  if (topology == Topology::Pfb && type == FilterType::Bandpass && gain < out.gain) {
    DivideInput(out.circuit, "R1", gain / out.gain);
    out.gain = gain;
  }
  return out;
}

std::string TopologyList(Shape shape) {
  std::string list;
  for (Topology t :
       {Topology::Mfb, Topology::Pfb, Topology::Svf3, Topology::Svf4, Topology::Fliege}) {
    if (!Builds(t, shape)) continue;
    if (!list.empty()) list += ", ";
    list += SectionTopologyName(t);
  }
  return list;
}

void CheckParts(SectionCircuit& out) {
  for (const CircuitPart& part : out.circuit.parts) {
    if (!(std::isfinite(part.value) && part.value > 0.0)) {
      out.problem = part.name +
                    (std::isfinite(part.value) ? " would be " + GeneralText(part.value, 6) +
                                                     (part.name[0] == 'C' ? " F" : " Ω")
                                               : std::string(" would have no finite value")) +
                    ": not buildable";
      return;
    }
    const ComponentKind kind = part.name[0] == 'C'   ? ComponentKind::Capacitor
                               : part.name[0] == 'L' ? ComponentKind::Inductor
                                                     : ComponentKind::Resistor;
    std::string message = OutOfRangeMessage(part.name, kind, part.value);
    if (!message.empty()) out.warnings.push_back(std::move(message));
  }
}

// The section's circuit as DesignSectionCircuit builds it without pre-distortion (whatever
// options.predistortFor holds); its resistors rounded or best values chosen only `asBuilt`.
SectionCircuit PlainSection(const FilterSection& section, Topology topology,
                            const SectionDesignOptions& options, bool asBuilt);

// The section built from the value search's best set: capacitors of the series within a
// decade around the design's (by the design at other impedance levels), resistors rounded
// down or up. None when the search finds nothing.
std::optional<SectionCircuit> WithBestValues(const FilterSection& section, Topology topology,
                                             const SectionDesignOptions& options,
                                             const SectionCircuit& designed) {
  const auto transfer = CircuitTransfer(designed.circuit);
  const auto figures = transfer ? FiguresOf(*transfer, ReferenceOfSectionKind(section.kind),
                                            IsNotchSectionKind(section.kind))
                                : std::nullopt;
  if (!figures) return std::nullopt;
  SectionDesignOptions exact = options;
  exact.bestValues = false;
  exact.roundResistors = false;
  const auto designAt = [&](double level) {
    SectionDesignOptions at = exact;
    at.zin = level;
    return PlainSection(section, topology, at, true);
  };
  const std::vector<ValueChoice> best = SearchStandardValues(
      [&](double level) -> std::optional<Circuit> {
        SectionCircuit c = designAt(level);
        if (!c.problem.empty()) return std::nullopt;
        return c.circuit;
      },
      options.zin, section.kind, *figures, options.seriesR, options.seriesC, 1);
  if (best.empty()) return std::nullopt;
  SectionCircuit out = designAt(best[0].level);
  for (std::size_t i = 0; i < out.circuit.parts.size(); ++i) {
    out.circuit.parts[i].value = best[0].values[i];
  }
  return out;
}

bool Predistortable(Topology topology, Shape shape) {
  const bool kind = shape == Shape::FirstLowpass || shape == Shape::FirstHighpass ||
                    shape == Shape::Lowpass || shape == Shape::Highpass || shape == Shape::Bandpass;
  return kind && (topology == Topology::Mfb || topology == Topology::Pfb);
}

// The section designed for the f0 and Q that give its own with the op amp of
// options.predistortFor; the plain design, with a warning, where none does.
SectionCircuit PredistortedSection(const FilterSection& section, Topology topology,
                                   const SectionDesignOptions& options) {
  const OpAmpModel& model = *options.predistortFor;
  const Shape shape = ShapeOf(section.kind);
  if (!Predistortable(topology, shape)) {
    SectionCircuit out = PlainSection(section, topology, options, true);
    if (out.problem.empty()) {
      out.warnings.push_back("pre-distortion for the " + model.name +
                             " is offered for MFB and Sallen-Key (pfb) sections only");
    }
    return out;
  }
  const auto designFor = [&](double f0, double q) -> std::optional<Circuit> {
    FilterSection adjusted = section;
    adjusted.f0 = f0;
    adjusted.q = q;
    SectionCircuit c = PlainSection(adjusted, topology, options, false);
    if (!c.problem.empty()) return std::nullopt;
    return c.circuit;
  };
  const bool firstOrder = shape == Shape::FirstLowpass || shape == Shape::FirstHighpass;
  const Predistortion p = Predistort(designFor, model,
                                     {.f0 = section.f0,
                                      .q = section.q,
                                      .reference = ReferenceOfSectionKind(section.kind),
                                      .notch = false,
                                      .firstOrder = firstOrder});
  FilterSection adjusted = section;
  if (p.Achieved()) {
    adjusted.f0 = p.f0;
    adjusted.q = p.q;
  }
  SectionCircuit out = PlainSection(adjusted, topology, options, true);
  out.predistortion = p;
  if (out.problem.empty() && !p.Achieved()) {
    out.warnings.push_back(PredistortionLine(p, model, firstOrder));
  }
  return out;
}

}  // namespace

const char* SectionTopologyName(Topology topology) {
  for (const auto& entry : SectionTopologyNames()) {
    if (entry.choice == topology) return entry.name.data();
  }
  return "?";
}

bool TopologyBuildsSection(Topology topology, const std::string& kind) {
  return Builds(topology, ShapeOf(kind));
}

std::vector<Topology> TopologiesForSection(const std::string& kind) {
  std::vector<Topology> list;
  for (Topology t :
       {Topology::Mfb, Topology::Pfb, Topology::Svf3, Topology::Svf4, Topology::Fliege}) {
    if (Builds(t, ShapeOf(kind))) list.push_back(t);
  }
  return list;
}

Topology DefaultSectionTopology(const std::string& kind) {
  switch (ShapeOf(kind)) {
    case Shape::Bandpass:
      return Topology::Mfb;
    case Shape::LowpassNotch:
    case Shape::HighpassNotch:
    case Shape::Notch:
      return Topology::Svf4;
    default:
      return Topology::Pfb;
  }
}

GainRange SectionGainRange(const FilterSection& section, Topology topology,
                           const SectionDesignOptions& options) {
  const Shape shape = ShapeOf(section.kind);
  if (!Builds(topology, shape)) return {};
  const double q = section.q;
  switch (shape) {
    case Shape::FirstHighpass:
      return {topology == Topology::Mfb ? 0.0 : 1.0, kNoLimit};
    case Shape::Highpass:
      if (topology == Topology::Pfb) return {1.0, kNoLimit};
      break;
    case Shape::Bandpass:
      if (topology == Topology::Mfb) return {0.0, 1.9 * q * q};
      if (topology == Topology::Pfb) return {0.0, PfbNaturalGain(section, shape, options)};
      break;
    case Shape::LowpassNotch:
    case Shape::Notch:
      if (topology == Topology::Pfb) {
        const double natural = PfbNaturalGain(section, shape, options);
        return {natural, natural};
      }
      if (topology == Topology::Fliege) return {1.0, 1.0};
      break;
    default:
      break;
  }
  if (topology == Topology::Svf3) return {kLeastSvf3Gain, kNoLimit};
  if (topology == Topology::Fliege) return {kLeastFliegeGain, kNoLimit};
  return {0.0, kNoLimit};
}

SectionCircuit DesignSectionCircuit(const FilterSection& section, Topology topology,
                                    const SectionDesignOptions& options) {
  if (options.predistortFor && !options.predistortFor->IsIdeal() &&
      Builds(topology, ShapeOf(section.kind))) {
    return PredistortedSection(section, topology, options);
  }
  return PlainSection(section, topology, options, true);
}

namespace {

SectionCircuit PlainSection(const FilterSection& section, Topology topology,
                            const SectionDesignOptions& options, bool asBuilt) {
  const Shape shape = ShapeOf(section.kind);
  SectionCircuit out;
  if (!Builds(topology, shape)) {
    out.problem = std::string(SectionTopologyName(topology)) + " does not build " + section.kind +
                  " sections; " + TopologyList(shape) + " do";
    return out;
  }
  const GainRange range = SectionGainRange(section, topology, options);
  double gain = std::clamp(section.gain, range.least, range.most);
  // A gain that is 1 but for the rounding of a split needs no divider or gain network.
  if (std::abs(gain - 1.0) < kUnitySlack && range.least <= 1.0 && 1.0 <= range.most) gain = 1.0;
  if (!(gain > 0.0)) {
    out.problem = "a gain of " + GeneralText(section.gain, 6) + " cannot be built";
    return out;
  }
  switch (shape) {
    case Shape::FirstLowpass:
    case Shape::FirstHighpass:
      out = FirstOrder(section, topology, shape == Shape::FirstHighpass, gain, options);
      break;
    case Shape::Lowpass:
      out = topology == Topology::Pfb ? SallenKeyLowpass(section, gain, options)
                                      : PageStage(section, topology, shape, gain, options);
      break;
    case Shape::Highpass:
      out = topology == Topology::Pfb ? SallenKeyHighpass(section, gain, options)
                                      : PageStage(section, topology, shape, gain, options);
      break;
    case Shape::LowpassNotch:
    case Shape::HighpassNotch:
    case Shape::Notch:
      out = topology == Topology::Svf4 ? StateVariableNotch(section, shape, gain, options)
                                       : PageStage(section, topology, shape, gain, options);
      break;
    default:
      out = PageStage(section, topology, shape, gain, options);
      break;
  }
  if (out.problem.empty()) CheckParts(out);
  if (!asBuilt) return out;
  if (out.problem.empty() && options.bestValues) {
    if (auto best = WithBestValues(section, topology, options, out)) return *best;
  }
  if (out.problem.empty() && (options.roundResistors || options.bestValues)) {
    for (CircuitPart& part : out.circuit.parts) {
      if (part.name[0] == 'R') part.value = NearestSeriesValue(options.seriesR, part.value);
    }
  }
  return out;
}

}  // namespace

}  // namespace morvane
