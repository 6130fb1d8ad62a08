#pragma once

// SPICE netlists of the designed circuits: plain SPICE that ngspice and other simulators read,
// a 1 V AC source, the output node "out", and an ".ac dec" card.

#include <optional>
#include <string>

#include "design/design_choices.h"
#include "design/design_state.h"
#include "opamp/opamp_model.h"

namespace morvane {

// A value as every netlist writes it: 17 significant digits, a point, whatever the locale.
std::string SpiceNumber(double x);

struct NetlistOptions {
  double fStart = 0.0;  // 0: fg/100
  double fStop = 0.0;   // 0: 100*fg
  int pointsPerDecade = 50;
  // Op amps of the active stages: empty gives ideal amplifiers (a voltage-controlled source of
  // gain 1e6); otherwise X lines calling this subcircuit with pins in+ in- out, which the
  // user supplies, from opAmpInclude when that is given.
  std::string opAmpSubcircuit;
  std::string opAmpInclude;
  // Or a model of the table (not `ideal`): its subcircuit written into the netlist and called.
  std::optional<OpAmpModel> opAmpModel;
  double idealOpAmpGain = 1e6;  // the voltage gain of the ideal amplifiers
  // A .control block that runs the analysis and prints the output's gain (dB) and phase
  // (degrees, continuous) when ngspice runs the file in batch mode. Cascade netlists only.
  bool controlBlock = true;
};

// The LC ladder between RG (source) and RL; nodes of the AC source "in", output "out".
std::string LadderNetlist(const DesignState& s, const DesignChoices& in,
                          const NetlistOptions& options);
// The diplexer: source with R into the common node, lowpass branch to "outlp" loaded with R,
// highpass branch to "outhp" loaded with R.
std::string DiplexerNetlist(const DesignState& s, const DesignChoices& in,
                            const NetlistOptions& options);

// One of the five active stages with the element values of the state, input "in", output
// "out". Empty when the stage does not design the checked type or the design cannot be built;
// ActiveStageNetlistProblem tells why. A sweep shorter than one step (on which ngspice would
// hang) gets more points per decade, or one step when it has no width.
std::string ActiveStageNetlist(const DesignState& s, const DesignChoices& in,
                               const NetlistOptions& options);
std::string ActiveStageNetlistProblem(const DesignState& s, const DesignChoices& in);

// The circuit of the state's topology, 1 to 7 (the ladder and the diplexer included). Empty
// when there is none to simulate; DesignNetlistProblem tells why.
std::string DesignNetlist(const DesignState& s, const DesignChoices& in,
                          const NetlistOptions& options);
std::string DesignNetlistProblem(const DesignState& s, const DesignChoices& in);

struct CascadeDesign;

// The whole cascade, section after section: the 1 V AC source at "in", section k's output at
// node "s<k>" and the last one's at "out"; each section's parts and inner nodes carry its
// number ("R1_2", node "a_2"). Empty when the design has a problem. The sweep runs from a
// hundredth of the lowest section frequency to a hundred times the highest unless given.
std::string CascadeNetlist(const CascadeDesign& design, const NetlistOptions& options);

}  // namespace morvane
