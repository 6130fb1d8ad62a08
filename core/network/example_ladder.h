#pragma once

// The ladder the series and parallel circuits program starts with when no file is given.

#include "network/ladder_network.h"

namespace morvane {

// The 5th-order Butterworth lowpass of 1 kHz between 50 Ohm (C1 L2 C3 L4 C5), built of
// typical parts: inductors with Q = 60 at 1 kHz and 100 pF of winding capacitance,
// capacitors with 20 nH and 20 mOhm.
LadderNetwork ExampleLadder();

}  // namespace morvane
