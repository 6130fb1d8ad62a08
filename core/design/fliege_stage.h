#pragma once

#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/recalc_inputs.h"

namespace morvane {

// Two-op-amp Fliege stage: lowpass, highpass, bandpass, bandstop and allpass.
void DesignFliegeStage(DesignState& s, const RecalcInputs& in, FieldSink& out);

}  // namespace morvane
