#pragma once

// What rounding an active stage's resistors does: the figures of its circuit with the parts
// as designed and with every resistor rounded to the resistor series, both from the part
// values (CircuitTransfer), so that the errors compare like with like.

#include <optional>
#include <string>

#include "circuit/built_figures.h"
#include "design/design_choices.h"
#include "design/design_state.h"

namespace morvane {

struct StageAsBuilt {
  BuiltFigures designed;
  BuiltFigures built;
  PoleZeroGain transfer;  // as built, rad/s, its sign included: the graphs' as-built curve
};

// None for the passive pages, a type the page has no circuit for, or a stage that cannot be
// built. `s` is the state after the design (its capacitors and entries as used).
std::optional<StageAsBuilt> StageAsBuiltOf(const DesignState& s, const DesignChoices& c);

// One line for the page: "As built: f0 48.23 Hz (-3.54 %), Q 5.100 (+2.00 %), fz 48.23 Hz
// (-3.54 %), gain -1.000 (+0.00 %)"; fz only for a notch.
std::string AsBuiltLine(const StageAsBuilt& a);

}  // namespace morvane
