#include "opamp/large_signal_summary.h"

#include <cmath>
#include <numbers>

#include "cascade/cascade_design.h"
#include "circuit/circuit.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

// The points the headroom's search starts from; each peak is then refined between them.
constexpr int kHeadroomPoints = 400;

std::optional<double> SlewCornerOf(const OpAmpModel& model) {
  const double corner = model.slewRate / (2.0 * std::numbers::pi * model.outputSwing);
  if (!std::isfinite(corner) || !(corner > 0.0)) return std::nullopt;
  return corner;
}

template <typename Analysed>
LargeSignalSummary Summarise(const Analysed& analysed, const OpAmpModel& model,
                             LargeSignalRequest range) {
  LargeSignalSummary summary;
  summary.opAmp = model.name;
  summary.outputSwing = model.outputSwing;
  summary.slewRate = model.slewRate;
  summary.slewCorner = SlewCornerOf(model);
  range.points = kHeadroomPoints;
  summary.range = range;
  summary.headroom = AnalyseHeadroom(analysed, model, range);
  range.points = kLargeSignalReportPoints;
  summary.limits = AnalyseLargeSignal(analysed, model, range);
  return summary;
}

std::string PointText(const LargeSignalPoint& p) {
  return FormatQuantity(p.outputPeak, "V") + " at " + FormatQuantity(p.f, "Hz") + " (" +
         (p.limit == SignalLimit::Swing ? "swing" : "slew rate") + ")";
}

}  // namespace

std::optional<LargeSignalSummary> StageLargeSignal(const DesignState& s, FilterType type,
                                                   const OpAmpModel& model) {
  if (!IsActiveTopology(s.topology) || !StageCircuitExists(s.topology, type)) return std::nullopt;
  if (!(s.fo > 0.0) || !std::isfinite(s.fo)) return std::nullopt;
  const StageParts parts{s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3};
  LargeSignalRequest range;
  range.fFrom = s.fo / 10.0;
  range.fTo = s.fo * 10.0;
  return Summarise(StageCircuit(s.topology, type, parts), model, range);
}

std::optional<LargeSignalSummary> CascadeLargeSignal(const CascadeDesign& design,
                                                     const OpAmpModel& model) {
  if (!design.problem.empty()) return std::nullopt;
  return Summarise(design, model, LargeSignalRangeOf(design));
}

std::string LargeSignalLine(const LargeSignalSummary& s) {
  if (!s.limits.problem.empty() || s.limits.points.empty()) return {};
  std::string line = "Largest output " + PointText(s.limits.points.front());
  if (s.limits.points.size() > 1) line += ", " + PointText(s.limits.points.back());
  return line + ", peak";
}

}  // namespace morvane
