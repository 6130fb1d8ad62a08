#pragma once

// SPICE netlists of the designed circuits: plain SPICE that ngspice and other simulators read,
// a 1 V AC source, the output node "out", and an ".ac dec" card.

#include <string>

#include "design/design_state.h"
#include "design/recalc_inputs.h"

namespace morvane {

struct NetlistOptions {
  double fStart = 0.0;  // 0: fg/100
  double fStop = 0.0;   // 0: 100*fg
  int pointsPerDecade = 50;
};

// The LC ladder between RG (source) and RL; nodes of the AC source "in", output "out".
std::string LadderNetlist(const DesignState& s, const RecalcInputs& in,
                          const NetlistOptions& options);
// The diplexer: source with R into the common node, lowpass branch to "outlp" loaded with R,
// highpass branch to "outhp" loaded with R.
std::string DiplexerNetlist(const DesignState& s, const RecalcInputs& in,
                            const NetlistOptions& options);

}  // namespace morvane
