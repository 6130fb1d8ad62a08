#pragma once

// The ladder the series and parallel circuits program starts with when no file is given.

#include "network/ladder_network.h"

namespace morvane {

// The 5th-order Butterworth lowpass of 10 MHz between 50 Ohm (C1 L2 C3 L4 C5), built of
// typical parts: inductors with Q = 100 at 10 MHz and 2 pF of winding capacitance (their
// self-resonance near 100 MHz notches the stop band), capacitors with 1.5 nH and 0.1 Ohm
// (the stop band comes back above a few hundred MHz).
LadderNetwork ExampleLadder();

}  // namespace morvane
