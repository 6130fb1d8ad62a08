#pragma once

#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/recalc_inputs.h"

namespace morvane {

// Second-order stage with multiple negative feedback around one inverting op amp:
// lowpass, highpass and bandpass. Capacitors come from Zin and the capacitor series; the
// resistors are computed from the rounded capacitors and are not rounded.
void DesignMfbStage(DesignState& s, const RecalcInputs& in, FieldSink& out);

}  // namespace morvane
