#include "design/stage_as_built.h"

#include <numbers>

#include "circuit/circuit.h"
#include "design/recalculate.h"
#include "design/stage_design.h"

namespace morvane {

namespace {

std::optional<BuiltFigures> FiguresOfStage(const DesignState& s, FilterType type,
                                           const StageDesign& design) {
  DesignState applied = s;
  ApplyStageDesign(design, applied);
  const StageParts parts{applied.R0, applied.R1, applied.R2, applied.R3, applied.R4,
                         applied.R5, applied.R6, applied.C1, applied.C2, applied.C3};
  const auto transfer = CircuitTransfer(StageCircuit(s.topology, type, parts), "in", "out",
                                        2.0 * std::numbers::pi * s.fo);
  if (!transfer) return std::nullopt;
  const bool notch = type == FilterType::Bandstop || type == FilterType::EllipticLowpass;
  return FiguresOf(*transfer, ReferenceOfStageType(type), notch);
}

}  // namespace

std::optional<StageAsBuilt> StageAsBuiltOf(const DesignState& s, const DesignChoices& c) {
  if (!IsActiveTopology(s.topology) || !StageCircuitExists(s.topology, c.type)) {
    return std::nullopt;
  }
  StageDesign design = DesignStageOf(s.topology, s, c);
  if (!design.Realizable()) return std::nullopt;
  const auto designed = FiguresOfStage(s, c.type, design);
  RoundResistors(design.parts, s.ESeriesR);
  const auto built = FiguresOfStage(s, c.type, design);
  if (!designed || !built) return std::nullopt;
  return StageAsBuilt{*designed, *built};
}

}  // namespace morvane
