#pragma once

#include "design/svf_stage.h"

namespace morvane {

// The Fliege stage chooses its capacitors as the state-variable stages do.
using FliegeInput = SvfInput;

// Two-op-amp Fliege stage: lowpass, highpass, bandpass, bandstop and allpass.
StageDesign DesignFliegeStage(const FliegeInput& in);

}  // namespace morvane
