#pragma once

#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/recalc_inputs.h"

namespace morvane {

// Second-order stage with positive feedback around one non-inverting op amp (Sallen-Key
// family): all six filter types, the elliptical lowpass with a transmission zero at fnfp*fo.
void DesignPfbStage(DesignState& s, const RecalcInputs& in, FieldSink& out);

}  // namespace morvane
