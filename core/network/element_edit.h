#pragma once

// The figures of one ladder element as the element table shows and edits them: its value,
// each parasitic, the self-resonance and the quality factor at the design frequency.

#include <string>
#include <string_view>

#include "network/ladder_network.h"

namespace morvane {

enum class ElementField { Value, Lx, Rx, Cx, SelfResonance, Quality };

// The field as shown: a value with its prefix letter ("12.88m", "100.00p"), "–" for a
// self-resonance or quality factor the element does not have (no parasitic, no loss).
std::string ElementFieldText(const NetworkElement& e, ElementField field, double f);

// Reads `text` as the entry fields read it and sets the field (`f`: where Q is stated). The
// element's own value must be above zero, a parasitic must not be negative; a self-resonance
// or Q above zero sets the parasitic that gives it (Cx or Lx, Rx), while "–", "" or 0 clears
// that parasitic. Returns why the text was not taken (the element unchanged), or empty.
std::string EditElement(NetworkElement& e, ElementField field, std::string_view text, double f);

// Whether the field is the element's own value (Lx of an inductor, Cx of a capacitor).
bool IsElementValue(const NetworkElement& e, ElementField field);

}  // namespace morvane
