#pragma once

// The program's own section of a design file, "Morvane": the whole design exactly, beside the
// rounded entries of section "Variablen" that older files and other readers use. It holds the
// page, the filter type, both series, the check boxes and options, the LC orders and
// approximations, and the entries of "Variablen" at full precision, in the shortest text that
// reads back to the same number.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "design/design_choices.h"
#include "design/design_state.h"
#include "files/ini_profile.h"

namespace morvane {

inline constexpr std::string_view kDesignSection = "Morvane";

void WriteDesignSection(IniDocument& document, const DesignState& s, const DesignChoices& c);

// Whether section "Variablen" still holds the rounded text of this exact value under its key
// (a file another program changed keeps that program's value).
using StillSaved = std::function<bool(std::string_view variablenKey, double exact)>;

// The section's exact entries, each where `stillSaved` agrees. With `choices`, also the page,
// type, series, LC order and the choices. A key whose value cannot be read
// keeps the member and adds a line to `problems` ("Topology=xyz is not readable; kept mfb").
void ReadDesignSection(const IniDocument& document, DesignState& s, DesignChoices* choices,
                       const StillSaved& stillSaved, std::vector<std::string>& problems);

}  // namespace morvane
