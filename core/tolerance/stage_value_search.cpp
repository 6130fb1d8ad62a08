#include "tolerance/stage_value_search.h"

#include <numbers>
#include <optional>

#include "circuit/circuit.h"
#include "design/recalculate.h"
#include "design/stage_as_built.h"
#include "numerics/standard_series.h"
#include "tolerance/value_search.h"

namespace morvane {

namespace {

double& EnteredCapacitance(Topology topology, DesignChoices& c) {
  if (topology == Topology::Svf3) return c.svf3Capacitance;
  if (topology == Topology::Svf4) return c.svf4Capacitance;
  return c.fliegeCapacitance;
}

}  // namespace

std::string StagePartOf(const std::string& partName) {
  return partName.substr(0, 2);
}

bool CapacitanceIsEntered(Topology topology, const DesignChoices& c) {
  switch (topology) {
    case Topology::Svf3:
      return !c.svf3AutomaticCapacitance;
    case Topology::Svf4:
      return !c.svf4AutomaticCapacitance;
    case Topology::Fliege:
      return !c.fliegeAutomaticCapacitance;
    default:
      return false;
  }
}

StageParts WithCircuitValues(StageParts parts, const Circuit& circuit) {
  const struct {
    const char* name;
    std::optional<double> StageParts::*member;
  } kNames[] = {{"R0", &StageParts::R0}, {"R1", &StageParts::R1}, {"R2", &StageParts::R2},
                {"R3", &StageParts::R3}, {"R4", &StageParts::R4}, {"R5", &StageParts::R5},
                {"R6", &StageParts::R6}, {"C1", &StageParts::C1}, {"C2", &StageParts::C2},
                {"C3", &StageParts::C3}};
  for (const CircuitPart& part : circuit.parts) {
    for (const auto& entry : kNames) {
      if (part.name == entry.name) parts.*entry.member = part.value;
    }
  }
  return parts;
}

std::vector<StageValueChoice> StageValueChoices(const DesignState& s, const DesignChoices& c,
                                                int count) {
  const std::optional<StageAsBuilt> asBuilt = StageAsBuiltOf(s, c);
  if (!asBuilt) return {};
  const bool entered = CapacitanceIsEntered(s.topology, c);
  const FilterType type = c.type;
  // The design at a level, with its resistors as computed.
  const auto designAt = [&](double level) -> std::optional<StageDesign> {
    DesignState at = s;
    DesignChoices choices = c;
    if (entered) {
      EnteredCapacitance(s.topology, choices) = NearestSeriesValue(s.ESeriesC, level);
    } else {
      at.Zin = level;
    }
    StageDesign design = DesignStageOf(s.topology, at, choices);
    if (!design.Realizable()) return std::nullopt;
    return design;
  };
  const DesignAtLevel circuitAt = [&](double level) -> std::optional<Circuit> {
    const auto design = designAt(level);
    if (!design) return std::nullopt;
    return StageCircuit(s.topology, type, design->parts);
  };
  DesignChoices unchanged = c;
  const double level = entered ? EnteredCapacitance(s.topology, unchanged) : s.Zin;
  std::vector<StageValueChoice> choices;
  for (const ValueChoice& found :
       SearchStandardValues(circuitAt, level, SectionKindOfStageType(type), asBuilt->designed,
                            s.ESeriesR, s.ESeriesC, count, StagePartOf)) {
    const auto design = designAt(found.level);
    if (!design) continue;
    Circuit circuit = StageCircuit(s.topology, type, design->parts);
    for (std::size_t i = 0; i < circuit.parts.size(); ++i) {
      circuit.parts[i].value = found.values[i];
    }
    choices.push_back({.parts = WithCircuitValues(design->parts, circuit),
                       .built = found.figures,
                       .designed = asBuilt->designed,
                       .score = found.score,
                       .level = entered ? NearestSeriesValue(s.ESeriesC, found.level) : found.level,
                       .levelIsCapacitance = entered});
  }
  return choices;
}

}  // namespace morvane
