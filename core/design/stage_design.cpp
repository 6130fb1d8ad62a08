#include "design/stage_design.h"

#include <algorithm>

#include "circuit/circuit.h"
#include "numerics/standard_series.h"

namespace morvane {

void RoundResistors(StageParts& parts, int series) {
  for (std::optional<double>* r :
       {&parts.R0, &parts.R1, &parts.R2, &parts.R3, &parts.R4, &parts.R5, &parts.R6}) {
    // The infinite R4 of a follower is no part to round.
    if (*r && **r > 0.0 && **r < kInfiniteR4) **r = NearestSeriesValue(series, **r);
  }
}

void ApplyStageDesign(const StageDesign& design, DesignState& s) {
  if (!design.Realizable()) return;
  const StageParts& p = design.parts;
  const auto take = [](const std::optional<double>& value, double& member) {
    if (value) member = *value;
  };
  take(p.R0, s.R0);
  take(p.R1, s.R1);
  take(p.R2, s.R2);
  take(p.R3, s.R3);
  take(p.R4, s.R4);
  take(p.R5, s.R5);
  take(p.R6, s.R6);
  take(p.C1, s.C1);
  take(p.C2, s.C2);
  take(p.C3, s.C3);
  take(design.gain, s.VuActual);
  s.Q = design.q;
}

double RecommendedGbwp(Topology topology, double gain, double q, double fo) {
  switch (topology) {
    case Topology::Mfb:
      return 40.0 * gain * q * std::min(q, 1.0) * fo;
    case Topology::Pfb:
      return 20.0 * gain * q * fo;
    default:
      return 10.0 * gain * q * fo;
  }
}

}  // namespace morvane
