#pragma once

// The transfer functions of the LC pages, from their circuits as built (the parts the grids
// show, between the page's terminations): what the group delay, step and pulse responses and
// the readout of those pages come from.

#include <optional>

#include "design/design_choices.h"
#include "design/design_state.h"
#include "filters/pole_zero.h"

namespace morvane {

// The LC ladder's V(out) / V(in), or for the diplexer that of the branch the type picks (the
// highpass for Highpass, else the lowpass), scaled to a pass-band gain of 1 (at 0 Hz for a
// lowpass, at high frequencies for a highpass), as the ladder's designed curve is. None for
// an active topology and for a network that cannot be built (a ladder without elements).
std::optional<PoleZeroGain> PassiveTransfer(const DesignState& s, const DesignChoices& c);

// A phase in degrees taken into (-180, 180], as readouts show it.
double WrappedPhase(double degrees);

}  // namespace morvane
