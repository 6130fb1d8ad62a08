#pragma once

// The drawing of one cascade section's circuit (core/cascade/section_circuit.h), as data:
// the page's own drawing where the section's circuit is the page's, else one of the section
// drawings, with the parts named as in the circuit (R1B, C1B, R3B, ...), the terminals named
// by their nodes ("in", "out", and the taps "hp", "bp", "lp", "bs"), the parts a design left
// out taken away (an absent R4 and its ground, a follower's R3 drawn as a wire) and a dot
// wherever three or more lines meet. Nothing here knows about Qt.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/circuit.h"
#include "design/design_state.h"
#include "schematic/schematic_model.h"

namespace morvane::gui::schematic {

struct SectionDrawing {
  FlatCircuit flat;
  // The value text of each part of `flat` ("4.70k", "10.0n"), empty for op amps, grounds
  // and terminals.
  std::vector<std::string> values;
};

// The drawing of a section built in `topology` for a section kind ("lowpass",
// "first-order-highpass", "notch", ...). None when the circuit is empty or not one the
// drawings know part for part: then the caller shows the parts as a list.
std::optional<SectionDrawing> DrawSection(Topology topology, std::string_view kind,
                                          const morvane::Circuit& circuit);

// Every point where three or more lines meet (wire ends and bends, wires passing through,
// part pins, op amp pins, grounds), each once.
std::vector<GridPoint> JunctionDots(const FlatCircuit& flat);

// The text a part value is shown with: FormatValue's engineering text, without padding.
std::string PartValueText(double value);

}  // namespace morvane::gui::schematic
