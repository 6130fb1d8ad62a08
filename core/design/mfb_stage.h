#pragma once

#include "design/stage_design.h"

namespace morvane {

struct MfbInput {
  StageRequirement stage;
  bool equalCapacitors = true;  // try C1 = C2 where the lowpass allows it
};

// Second-order stage with multiple negative feedback around one inverting op amp:
// lowpass, highpass and bandpass. Capacitors come from Zin and the capacitor series; the
// resistors are computed from the rounded capacitors and are not rounded.
StageDesign DesignMfbStage(const MfbInput& in);

}  // namespace morvane
