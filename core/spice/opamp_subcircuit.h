#pragma once

// The SPICE subcircuit of an op-amp model (pins in+ in- out), written so that a simulator's
// AC and noise analyses see what the program computes:
//   - a transconductance of 1 S into A0 ohms parallel 1/(2 pi GBW) farads (the first pole),
//     a buffered RC of 1 ohm for the second pole, a buffer and the output resistance;
//   - the input capacitance from each input to ground;
//   - en and in from 1 kOhm noise resistors at 25 degrees C of their own, scaled by
//     transconductances; a 1/f corner from the resistor's flicker noise, which needs a DC
//     current through it (1 mA from a current source, its DC voltage taken off again by a
//     source of the same voltage).
// The gain-setting resistors are noiseless ("noisy=0"), so only en and in are the model's
// noise. A model without bandwidth limits keeps a 1 TOhm load so its operating point exists.

#include <string>
#include <string_view>

#include "opamp/opamp_model.h"

namespace morvane {

// The name the subcircuit gets: "MORVANE_" and the model's name with every character a
// SPICE name cannot hold replaced by "_".
std::string OpAmpSubcircuitName(const OpAmpModel& model);

// ".subckt NAME inp inn out" to ".ends", with a comment line of the model's values.
std::string OpAmpSubcircuit(const OpAmpModel& model);

}  // namespace morvane
