#pragma once

// The LC ladder and the LC diplexer as circuits: the same parts between the same nodes as
// their SPICE netlists, for the transfer as built (CircuitTransfer) and the tolerance runs.
// The ideal source drives "in"; node "0" is ground.

#include <optional>

#include "circuit/circuit.h"
#include "design/design_choices.h"
#include "design/design_state.h"

namespace morvane {

// The LC page's ladder: RG = Zin from "in" to the first node, the elements counted from the
// source (C1, L2, ... for a lowpass, L1, C2, ... for a highpass) along nodes n1, n2, ..., and
// RL from "out" to ground. None when the page has no network (LadderElements is empty).
std::optional<Circuit> LadderCircuit(const DesignState& s, const DesignChoices& c);

enum class DiplexerOutput { Lowpass, Highpass };

// The whole diplexer of the page, both branches loading the common node, with "out" at the
// load of one branch: RS = Zin from "in" to "common", the lowpass branch LLP1, CLP2, ... to
// its load RLLP, the highpass branch CHP1, LHP2, ... to its load RLHP. The parts come in the
// same order for both outputs, and the other branch's output keeps its netlist name (outlp,
// outhp).
Circuit DiplexerCircuit(const DesignState& s, const DesignChoices& c, DiplexerOutput output);

}  // namespace morvane
