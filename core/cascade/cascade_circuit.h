#pragma once

// A whole cascade as one circuit, section after section, named as its netlist names it: the
// input "in", section k's output node "s<k>" and the last one's "out"; every other node and
// every part carries its section's number ("R1_2", node "a_2"), the op amps too ("U1_2").

#include <optional>
#include <string>

#include "circuit/circuit.h"

namespace morvane {

struct CascadeDesign;

// The name a node of section `number` (1-based) of `count` gets in the whole circuit.
std::string CascadeNodeName(const std::string& node, int number, int count);

// The section (1-based) a part or op amp of the whole circuit belongs to; none for a name
// without a section number.
std::optional<int> SectionOfName(const std::string& name);

// Empty (no parts) when the design has a problem.
Circuit JoinedCascadeCircuit(const CascadeDesign& design);

}  // namespace morvane
