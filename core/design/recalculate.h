#pragma once

#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/recalc_inputs.h"

namespace morvane {

// The driver behind every change: keeps Q and D in step, computes the shared quantities,
// runs the design of the topology, fills the information panel and the readout at f.
void Recalculate(ChangedEntry changed, Topology topology, DesignState& state,
                 const RecalcInputs& inputs, FieldSink& out);

// fo for the checked type: the resonance of the second-order lowpass whose -3 dB point is fg,
// mirrored to fg*sqrt(e) for the highpass.
double ResonanceFrequency(double fg, double Q, FilterType type);

// Peaking of the response due to resonance, dB (0 for Q^2 <= 0.5).
double PeakingDb(double Q);

}  // namespace morvane
