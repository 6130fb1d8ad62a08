#pragma once

// What a drawing connects, and where it breaks the drawing rules. Wires join whatever lies on
// them, at their ends or in a T; lines that cross do not join. All grounds are one node.

#include <string>
#include <vector>

#include "schematic/schematic_model.h"

namespace morvane::gui::schematic {

// For each part of the flat circuit, the net of each pin: a two-terminal part a then b, an
// op amp inverting input, non-inverting input, output; a ground or terminal its point.
std::vector<std::vector<int>> PartNets(const FlatCircuit& circuit);

// A junction of three or more lines without its dot, a dot where fewer join, a loose end, a
// terminal not joined exactly once, a line touching a part between its pins, lines crossing
// or running over each other. Empty for a clean drawing.
std::vector<std::string> DrawingFaults(const FlatCircuit& circuit);

}  // namespace morvane::gui::schematic
