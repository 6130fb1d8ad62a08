#pragma once

// The lines every netlist of an active circuit writes, in one place.

#include <string>

#include "circuit/circuit.h"
#include "spice/netlist.h"

namespace morvane {

// ".ac dec N F1 F2". ngspice never ends a decade sweep shorter than one step: a sweep without
// width gets one step, a short one more points per decade.
std::string AcSweepCard(double fStart, double fStop, int pointsPerDecade);

// "R1 in a 1000": a part with its name and nodes as given.
std::string PartLine(const std::string& name, const std::string& a, const std::string& b,
                     double value);

// One op amp named by `index` ("E1" ideal, "X1" the user's subcircuit with pins in+ in- out).
std::string OpAmpLine(const std::string& index, const CircuitOpAmp& amp,
                      const NetlistOptions& options);

// "* op amps: ..." saying what the op amps are.
std::string OpAmpComment(const NetlistOptions& options);

// The subcircuit of the model, or ".include" of the op-amp model file where a subcircuit and its
// file are given.
std::string OpAmpInclude(const NetlistOptions& options);

}  // namespace morvane
