#pragma once

// A circuit as a list of two-terminal parts and ideal op amps between named nodes: what the
// SPICE netlists write and what a cascade joins section by section. Node "0" is ground; a
// stage's input is "in" and its output "out".

#include <optional>
#include <string>
#include <vector>

#include "design/design_state.h"
#include "design/stage_design.h"
#include "opamp/opamp_model.h"

namespace morvane {

struct CircuitPart {
  std::string name;  // R..., C... or L..., as in the circuit picture
  std::string a;
  std::string b;
  double value = 0.0;  // Ohm, F or H
};

struct CircuitOpAmp {
  std::string plus;
  std::string minus;
  std::string output;
};

struct Circuit {
  std::vector<std::string> notes;  // comment lines telling how the parts are laid out
  std::vector<CircuitPart> parts;
  std::vector<CircuitOpAmp> opAmps;
  // The names of the op amps where they are not U1, U2, ... (a joined cascade's "U1_2").
  std::vector<std::string> opAmpNames{};
  // What every op amp is; none (or `ideal`) is the ideal amplifier the designs assume. A real
  // amplifier k drives its output through its output resistance from an inner source
  //   V = A(s) (V(plus) - V(minus) + en),  1/A(s) = (1/A0 + s/(2 pi GBW)) (1 + s/(2 pi fp2)),
  // has its input capacitance from each input to ground, and input current noise from each
  // input to ground (noise analyses only).
  std::optional<OpAmpModel> opAmpModel{};
};

// The name of op amp `index` (0-based) of the circuit.
std::string OpAmpName(const Circuit& circuit, std::size_t index);

// A PFB R4 from here up is infinite: the gain network is a follower and R4 is left out.
inline constexpr double kInfiniteR4 = 1e14;

// Whether one of the five active stages has a circuit for the type.
bool StageCircuitExists(Topology topology, FilterType type);

// The circuit of an active stage with these part values (a part the values lack is 0).
// Only for a topology and type StageCircuitExists allows.
Circuit StageCircuit(Topology topology, FilterType type, const StageParts& parts);

}  // namespace morvane
