#pragma once

#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/recalc_inputs.h"

namespace morvane {

// State-variable stage with three op amps: lowpass, highpass, bandpass.
void DesignSvf3Stage(DesignState& s, const RecalcInputs& in, FieldSink& out);
// State-variable stage with four op amps: lowpass, highpass, bandpass, bandstop.
void DesignSvf4Stage(DesignState& s, const RecalcInputs& in, FieldSink& out);

}  // namespace morvane
