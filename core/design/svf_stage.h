#pragma once

#include "design/stage_design.h"

namespace morvane {

struct SvfInput {
  StageRequirement stage;
  bool automaticCapacitance = true;  // C1 = C2 from the series, else `capacitance`
  double capacitance = 1e-9;         // F
};

// State-variable stage with three op amps: lowpass, highpass, bandpass.
StageDesign DesignSvf3Stage(const SvfInput& in);
// State-variable stage with four op amps: lowpass, highpass, bandpass, bandstop.
StageDesign DesignSvf4Stage(const SvfInput& in);

}  // namespace morvane
