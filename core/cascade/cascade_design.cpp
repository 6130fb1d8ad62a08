#include "cascade/cascade_design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "design/stage_design.h"
#include "filters/filter_response.h"
#include "numerics/number_text.h"
#include "opamp/real_response.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Gains closer than this (relative) are the same.
constexpr double kGainSlack = 1e-9;

bool PositiveFinite(double x) {
  return std::isfinite(x) && x > 0.0;
}

bool IsBand(FilterKind kind) {
  return kind == FilterKind::Bandpass || kind == FilterKind::Bandstop;
}

std::string Hz(double x) {
  return GeneralText(x, 6) + " Hz";
}

// What is wrong with the request's numbers, or an empty text.
std::string RequestProblem(const CascadeRequest& r) {
  if (r.scheme) {
    if (IsBand(r.kind)) return "a tolerance scheme is for lowpass and highpass filters";
    const ToleranceScheme& s = *r.scheme;
    if (!PositiveFinite(s.f1) || !PositiveFinite(s.f2) || !PositiveFinite(s.d1) ||
        !PositiveFinite(s.d2)) {
      return "the tolerance scheme needs four positive values f1, d1, f2, d2";
    }
    if (r.kind == FilterKind::Lowpass && !(s.f2 > s.f1)) {
      return "a lowpass scheme needs f2 above f1";
    }
    if (r.kind == FilterKind::Highpass && !(s.f2 < s.f1)) {
      return "a highpass scheme needs f2 below f1";
    }
    if (!(s.d2 > s.d1)) return "the tolerance scheme needs d2 above d1";
  } else if (!IsBand(r.kind) && !PositiveFinite(r.fg)) {
    return "fg must be a positive frequency";
  }
  if (IsBand(r.kind) && (!PositiveFinite(r.fm) || !PositiveFinite(r.bandwidth))) {
    return "fm and B must be positive frequencies";
  }
  if (!PositiveFinite(r.gain)) return "the gain must be positive";
  if (!PositiveFinite(r.circuit.zin)) return "Zin must be a positive resistance";
  if (r.stopbandHz && !(std::isfinite(*r.stopbandHz) && *r.stopbandHz >= 0.0)) {
    return "the stop-band frequency must be a frequency";
  }
  return {};
}

// The prototype frequency (rad/s) where its attenuation is d1: the ripple edge where the
// ripple is d1, else found by bisection on a log scale (the others fall monotonically there).
double PrototypeEdge(const AnalogPrototype& prototype, Approximation approximation, double d1) {
  if (approximation == Approximation::Chebyshev || approximation == Approximation::Elliptic) {
    return prototype.passbandEdge;
  }
  const double dc = PoleZeroGainDb(prototype.transfer, 0.0);
  const auto attenuation = [&](double w) { return dc - PoleZeroGainDb(prototype.transfer, w); };
  double high = 1.0;
  while (attenuation(high) < d1 && high < 1e12) high *= 2.0;
  double low = high / 2.0;
  while (attenuation(low) > d1 && low > 1e-12) low /= 2.0;
  for (int i = 0; i < 200 && high / low > 1.0 + 1e-15; ++i) {
    const double middle = std::sqrt(low * high);
    (attenuation(middle) < d1 ? low : high) = middle;
  }
  return std::sqrt(low * high);
}

struct Order {
  int order = 0;
  std::string problem;
};

Order OrderFor(const CascadeRequest& r, PrototypeRequest& prototype) {
  if (!r.scheme) return {r.order, {}};
  ToleranceScheme s = *r.scheme;
  if (r.kind == FilterKind::Highpass) s = {1.0 / s.f1, s.d1, 1.0 / s.f2, s.d2};
  const LeastOrderResult least = LeastOrder(r.approximation, s);
  if (!least.possible) {
    return {0,
            least.problem.empty() ? "no order up to 20 meets the tolerance scheme" : least.problem};
  }
  if (r.approximation == Approximation::Chebyshev || r.approximation == Approximation::Elliptic) {
    prototype.rippleDb = r.scheme->d1;
  }
  if (r.approximation == Approximation::InverseChebyshev ||
      r.approximation == Approximation::Elliptic) {
    prototype.stopbandDb = r.scheme->d2;
  }
  return {least.order, {}};
}

// The gains the circuits realise: each section's planned gain taken into its range, and what
// that leaves of the total moved to the sections that can take it, in the order of the split.
std::vector<double> SpreadGains(const std::vector<FilterSection>& plan,
                                const std::vector<GainRange>& ranges, GainSplit split) {
  const std::size_t n = plan.size();
  std::vector<double> gains(n);
  double missing = 1.0;  // the factor the clamped gains fall short of the planned product
  for (std::size_t i = 0; i < n; ++i) {
    gains[i] = std::clamp(plan[i].gain, ranges[i].least, ranges[i].most);
    missing *= plan[i].gain / gains[i];
  }
  const auto give = [&](std::size_t i, double share) {
    const double wanted = gains[i] * share;
    const double taken = std::clamp(wanted, ranges[i].least, ranges[i].most);
    if (taken > 0.0) {
      missing *= gains[i] / taken;
      gains[i] = taken;
    }
  };
  if (split == GainSplit::Equal) {
    for (std::size_t pass = 0; pass <= n && std::abs(missing - 1.0) > 1e-15; ++pass) {
      std::vector<std::size_t> movable;
      for (std::size_t i = 0; i < n; ++i) {
        const bool up = missing > 1.0;
        if (up ? gains[i] < ranges[i].most : gains[i] > ranges[i].least) movable.push_back(i);
      }
      if (movable.empty()) break;
      const double share = std::pow(missing, 1.0 / static_cast<double>(movable.size()));
      for (std::size_t i : movable) give(i, share);
    }
  } else {
    for (std::size_t k = 0; k < n && std::abs(missing - 1.0) > 1e-15; ++k) {
      give(split == GainSplit::First ? k : n - 1 - k, missing);
    }
  }
  return gains;
}

std::string SectionLabel(std::size_t index, const FilterSection& s) {
  return "section " + std::to_string(index + 1) + " (" + s.kind + ", f0 " + Hz(s.f0) + ", Q " +
         GeneralText(s.q, 6) + ")";
}

// The figures of a section's circuit from its part values.
// A section pre-distorted for an op amp is built for its figures with that amplifier.
std::optional<BuiltFigures> BuiltFiguresOf(const CascadeSection& section,
                                           const std::optional<OpAmpModel>& predistortFor) {
  const bool real = section.circuit.predistortion && section.circuit.predistortion->Achieved();
  if (real) {
    const auto figures = RealAmplifierFiguresOf(
        section.circuit.circuit, *predistortFor, ReferenceOfSectionKind(section.plan.kind),
        IsNotchSectionKind(section.plan.kind), section.plan.f0);
    if (!figures) return std::nullopt;
    return figures->real;
  }
  const auto transfer = CircuitTransfer(section.circuit.circuit, "in", "out",
                                        2.0 * std::numbers::pi * section.plan.f0);
  if (!transfer) return std::nullopt;
  return FiguresOf(*transfer, ReferenceOfSectionKind(section.plan.kind),
                   IsNotchSectionKind(section.plan.kind));
}

}  // namespace

CascadeDesign DesignCascade(const CascadeRequest& request) {
  CascadeDesign out;
  out.problem = RequestProblem(request);
  if (!out.problem.empty()) return out;

  PrototypeRequest prototypeRequest{.approximation = request.approximation,
                                    .order = request.order,
                                    .rippleDb = request.rippleDb,
                                    .stopbandDb = request.stopbandDb};
  const Order order = OrderFor(request, prototypeRequest);
  if (!order.problem.empty()) {
    out.problem = order.problem;
    return out;
  }
  prototypeRequest.order = order.order;
  std::string problem;
  const std::optional<AnalogPrototype> prototype = DesignPrototype(prototypeRequest, &problem);
  if (!prototype) {
    out.problem = problem;
    return out;
  }
  out.prototype = *prototype;
  out.prototypeOrder = order.order;

  double omega = kTwoPi * request.fg;
  double bandwidth = 0.0;
  if (request.scheme) {
    const double edge = PrototypeEdge(*prototype, request.approximation, request.scheme->d1);
    omega = kTwoPi * (request.kind == FilterKind::Lowpass ? request.scheme->f1 / edge
                                                          : request.scheme->f1 * edge);
  } else if (IsBand(request.kind)) {
    omega = kTwoPi * request.fm;
    bandwidth = kTwoPi * request.bandwidth;
  }
  out.fg = request.scheme ? omega / kTwoPi : IsBand(request.kind) ? request.fm : request.fg;
  std::string error;
  const std::optional<PoleZeroGain> filter =
      TransformPrototype(prototype->transfer, request.kind, omega, bandwidth, error);
  if (!filter) {
    out.problem = error;
    return out;
  }
  const SectionPlan plan =
      SplitIntoSections(*filter, request.kind, request.gain, request.split,
                        request.sectionOrder.empty() ? nullptr : &request.sectionOrder);
  if (!plan.problem.empty()) {
    out.problem = plan.problem;
    return out;
  }

  const std::size_t n = plan.sections.size();
  std::vector<Topology> topologies(n);
  std::vector<GainRange> ranges(n);
  for (std::size_t i = 0; i < n; ++i) {
    const FilterSection& s = plan.sections[i];
    std::optional<Topology> chosen = request.topology;
    if (i < request.sectionTopologies.size() && request.sectionTopologies[i]) {
      chosen = request.sectionTopologies[i];
    }
    topologies[i] = chosen.value_or(DefaultSectionTopology(s.kind));
    if (!TopologyBuildsSection(topologies[i], s.kind)) {
      out.problem = SectionLabel(i, s) + ": " +
                    DesignSectionCircuit(s, topologies[i], request.circuit).problem;
      return out;
    }
    ranges[i] = SectionGainRange(s, topologies[i], request.circuit);
  }
  const std::vector<double> gains = SpreadGains(plan.sections, ranges, request.split);

  double sign = 1.0;
  out.gain = request.gain;
  out.transfer.gain = 1.0;
  for (std::size_t i = 0; i < n; ++i) {
    CascadeSection section;
    section.plan = plan.sections[i];
    section.topology = topologies[i];
    section.plan.gain = gains[i];
    section.circuit = DesignSectionCircuit(section.plan, topologies[i], request.circuit);
    if (!section.circuit.problem.empty()) {
      out.problem = SectionLabel(i, section.plan) + ": " + section.circuit.problem;
      out.sections.clear();
      return out;
    }
    // The section's transfer scaled to the gain its circuit has.
    const double scale = section.circuit.gain / plan.sections[i].gain;
    section.plan.gain = section.circuit.gain;
    section.plan.transfer.gain *= scale;
    if (section.circuit.inverting) sign = -sign;
    out.gain *= scale;
    const PoleZeroGain& t = section.plan.transfer;
    out.transfer.poles.insert(out.transfer.poles.end(), t.poles.begin(), t.poles.end());
    out.transfer.zeros.insert(out.transfer.zeros.end(), t.zeros.begin(), t.zeros.end());
    out.transfer.gain *= t.gain;
    for (const std::string& w : section.circuit.warnings) {
      out.warnings.push_back(SectionLabel(i, section.plan) + ": " + w);
    }
    if (request.circuit.roundResistors || request.circuit.bestValues) {
      section.asBuilt = BuiltFiguresOf(section, request.circuit.predistortFor);
    }
    out.sections.push_back(std::move(section));
  }
  out.transfer.gain *= sign;
  out.inverting = sign < 0.0;
  out.order = static_cast<int>(out.transfer.poles.size());
  if (std::abs(out.gain / request.gain - 1.0) > kGainSlack) {
    out.warnings.push_back("the sections' circuits give a total gain of " +
                           GeneralText(out.gain, 6) + " where " + GeneralText(request.gain, 6) +
                           " was asked");
  }

  PoleZeroGain shape = out.transfer;
  shape.gain = std::abs(shape.gain);
  out.figures.whole = ComputeFilterFigures(shape, request.kind);
  std::vector<FilterSection> built;
  for (const CascadeSection& s : out.sections) built.push_back(s.plan);
  const std::vector<SectionPeaking> peakings = SectionPeakings(built, request.kind, Topology::Mfb);
  for (std::size_t i = 0; i < n && i < peakings.size(); ++i) {
    CascadeSection& s = out.sections[i];
    s.peaking = peakings[i];
    s.peaking.gbwpHz = RecommendedGbwp(s.topology, s.plan.gain, s.plan.q, s.plan.f0);
  }
  out.figures.stopbandHz = request.stopbandHz;
  if (!out.figures.stopbandHz && request.scheme) out.figures.stopbandHz = request.scheme->f2;
  if (out.figures.stopbandHz) {
    out.figures.attenuationDb = AttenuationDb(shape, request.kind, *out.figures.stopbandHz);
  }
  return out;
}

}  // namespace morvane
