#pragma once

// Passive LC diplexer: a lowpass and a highpass branch of the same odd order from one common
// port, all three ports terminated in R = Zin, crossing over at fg.

#include <array>
#include <vector>

#include "lc/lc_ladder.h"

namespace morvane {

// Normalised prototype values: rows Butterworth 3, 5, 7, 9, then Chebyshev 3, 5, 7, 9.
extern const std::array<std::array<double, 10>, 8> DiplexerG;

struct DiplexerInput {
  int order = 3;  // 3, 5, 7 or 9; anything else is taken as the offered order at or below it
  bool chebyshev = false;
  double r = 1000.0;   // every port's termination, Ohm
  double fg = 1000.0;  // crossover frequency, Hz
};

// The diplexer the page's entries and choices ask for.
DiplexerInput DiplexerInputOf(const DesignState& s, int order, bool chebyshev);

// Elements of one branch from the common node: the lowpass branch is series L1, shunt C2, ...;
// the highpass branch series C1, shunt L2, ...
std::vector<LadderElement> DiplexerElements(const DiplexerInput& in, bool lowpassBranch);
// ... of the diplexer the page's entries and choices ask for.
std::vector<LadderElement> DiplexerElements(const DesignState& s, const DesignChoices& c,
                                            bool lowpassBranch);

}  // namespace morvane
