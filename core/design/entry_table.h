#pragma once

// How each entry field's text reaches DesignState: the member it sets, the limits it is
// clamped to, the recalculation code it passes, and whether only the user's own edits count.
// Also the spin buttons beside the fields.

#include <optional>
#include <string>
#include <string_view>

#include "design/design_state.h"

namespace morvane {

struct EntryRule {
  std::string_view field;
  double DesignState::*member;
  double min;
  double max;
  ChangedEntry code;
  bool userEditsOnly;
  bool setsBothCapacitances;  // C2 := C1 after storing C1
};

// The rule of an entry field for the topology in force (DEingabe and VuEingabe change
// meaning with the topology); nullopt for a name that is not an entry field.
std::optional<EntryRule> EntryRuleFor(std::string_view field, Topology topology);

// Clamping to lo..hi: above hi gives hi; anything not above lo (NaN included) gives lo.
double ClampEntry(double value, double lo, double hi);

// Reads `text`, clamps it and stores it as the rule says. Returns the value stored.
double StoreEntry(const EntryRule& rule, std::string_view text, DesignState& s);

enum class SpinDirection { Up, Down };

struct SpinResult {
  std::string_view field;  // entry field the new value is written into
  std::string text;        // its new text (one blank first)
  ChangedEntry code;       // the recalculation that follows
};

// Steps the value behind a spin button (SpinButtonfg, SpinButtonf, SpinButtonQ, SpinButtonD,
// SpinButtonVu, SpinButtonZin) with the sweep factor, clamps it where the button clamps,
// stores it and returns the text to write. nullopt for an unknown button.
std::optional<SpinResult> StepSpinButton(std::string_view button, SpinDirection direction,
                                         DesignState& s);

// The Zin step: neighbouring standard value of a series chosen by the sweep factor.
double StepZin(double Zin, double sweep, SpinDirection direction);

}  // namespace morvane
