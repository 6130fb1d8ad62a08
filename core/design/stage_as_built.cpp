#include "design/stage_as_built.h"

#include <numbers>

#include "circuit/circuit.h"
#include "design/recalculate.h"
#include "design/stage_design.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

struct StageFigures {
  BuiltFigures figures;
  PoleZeroGain transfer;
};

std::optional<StageFigures> FiguresOfStage(const DesignState& s, FilterType type,
                                           const StageDesign& design) {
  DesignState applied = s;
  ApplyStageDesign(design, applied);
  const StageParts parts{applied.R0, applied.R1, applied.R2, applied.R3, applied.R4,
                         applied.R5, applied.R6, applied.C1, applied.C2, applied.C3};
  const auto transfer = CircuitTransfer(StageCircuit(s.topology, type, parts), "in", "out",
                                        2.0 * std::numbers::pi * s.fo);
  if (!transfer) return std::nullopt;
  const bool notch = type == FilterType::Bandstop || type == FilterType::EllipticLowpass;
  const auto figures = FiguresOf(*transfer, ReferenceOfStageType(type), notch);
  if (!figures) return std::nullopt;
  return StageFigures{*figures, PoleZeroOf(*transfer)};
}

}  // namespace

std::optional<StageAsBuilt> StageAsBuiltOf(const DesignState& s, const DesignChoices& c) {
  if (!IsActiveTopology(s.topology) || !StageCircuitExists(s.topology, c.type)) {
    return std::nullopt;
  }
  StageDesign design = DesignStageOf(s.topology, s, c);
  if (!design.Realizable()) return std::nullopt;
  const auto designed = FiguresOfStage(s, c.type, design);
  DesignChoices rounding = c;
  rounding.roundResistors = true;
  design.parts = BuiltParts(design, s.topology, rounding, s.ESeriesR);
  const auto built = FiguresOfStage(s, c.type, design);
  if (!designed || !built) return std::nullopt;
  return StageAsBuilt{designed->figures, built->figures, built->transfer};
}

std::string AsBuiltLine(const StageAsBuilt& a) {
  const auto error = [](double built, double designed) {
    const double e = ErrorPercent(built, designed);
    return " (" + std::string(e >= 0.0 ? "+" : "") + FormatFixedTrimmed(2, e) + " %)";
  };
  std::string line = "As built: f0 " + FormatQuantity(a.built.f0, "Hz") +
                     error(a.built.f0, a.designed.f0) + ", Q " + FormatFixedTrimmed(3, a.built.q) +
                     error(a.built.q, a.designed.q);
  if (a.built.fz && a.designed.fz) {
    line += ", fz " + FormatQuantity(*a.built.fz, "Hz") + error(*a.built.fz, *a.designed.fz);
  }
  return line + ", gain " + FormatFixedTrimmed(3, a.built.gain) +
         error(a.built.gain, a.designed.gain);
}

}  // namespace morvane
