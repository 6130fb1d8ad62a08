#pragma once

// The value search for the stage of an active page: other capacitors of the series within a
// decade around the design's, each with the resistor rounding that comes closest to the
// design's f0, Q, gain and notch (SearchStandardValues).

#include <string>
#include <vector>

#include "circuit/built_figures.h"
#include "design/design_choices.h"
#include "design/design_state.h"
#include "design/stage_design.h"

namespace morvane {

struct StageValueChoice {
  StageParts parts;       // every part of the stage, a series value
  BuiltFigures built;     // the stage's figures with them
  BuiltFigures designed;  // ... as designed
  double score = 0.0;     // ValueChoiceScore, the smaller the better
  // The entry that makes the design pick these capacitors: Zin, or the capacitance where the
  // page takes the capacitance from its entry.
  double level = 0.0;
  bool levelIsCapacitance = false;
};

// The `count` best choices, best first; none for a passive page, a type without a circuit or
// a stage that cannot be built. `s` is the state after the design.
std::vector<StageValueChoice> StageValueChoices(const DesignState& s, const DesignChoices& c,
                                                int count);

// Where a page takes its capacitance from an entry rather than from Zin.
bool CapacitanceIsEntered(Topology topology, const DesignChoices& c);

// The stage part a circuit part has its value from: "R1A" and "R1B" both from R1.
std::string StagePartOf(const std::string& partName);

// `parts` with the values of the circuit's parts of the same names (R0..R6, C1..C3); the
// twins ("R1A", "C1B") follow their originals in the circuit.
StageParts WithCircuitValues(StageParts parts, const Circuit& circuit);

}  // namespace morvane
