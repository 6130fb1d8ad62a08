#pragma once

// Passive LC diplexer: a lowpass and a highpass branch of the same odd order from one common
// port, all three ports terminated in R = Zin, crossing over at fg.

#include <array>
#include <vector>

#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/recalc_inputs.h"
#include "lc/lc_ladder.h"

namespace morvane {

// Normalised prototype values: rows Butterworth 3, 5, 7, 9, then Chebyshev 3, 5, 7, 9.
extern const std::array<std::array<double, 10>, 8> DiplexerG;

// Fills both grids of the diplexer page (in.diplexerOrder, in.RadioButtonTscheb2).
void ComputeDiplexer(const DesignState& s, const RecalcInputs& in, FieldSink& out);

// Elements of one branch from the common node: the lowpass branch is series L1, shunt C2, ...;
// the highpass branch series C1, shunt L2, ...
std::vector<LadderElement> DiplexerElements(const DesignState& s, const RecalcInputs& in,
                                            bool lowpassBranch);

}  // namespace morvane
