#pragma once

// The information panel (group delay, noise bandwidth, rise time, overshoot) and the
// frequency-response readout at f.

#include "design/design_state.h"
#include "design/field_sink.h"

namespace morvane {

// BrAusgabe, tgrAusgabe, trAusgabe, OSAusgabe from Q, D, fg, fo and the type.
void WriteInformationPanel(const DesignState& s, FilterType type, FieldSink& out);
// Vuf, VufdB, Phif, tgrf at f into the state and the four readout fields.
void WriteReadout(DesignState& s, FilterType type, FieldSink& out);

}  // namespace morvane
