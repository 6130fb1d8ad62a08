#pragma once

// The design file: the design entries in section "Variablen" of an INI text file, so a
// design comes back on the next start and can be exchanged, and the whole design in the
// program's own section.

#include <string>
#include <vector>

#include "design/design_choices.h"
#include "design/design_state.h"

namespace morvane {

// Writes the eleven keys into section "Variablen" of `path`, keeping the file's other lines.
// All keys go out in one save, so a failure leaves the old file whole; the message then is
// "nach <path> kann nicht geschrieben werden: <reason>".
bool WriteDesignFile(const std::string& path, const DesignState& s, std::string& error);
// The same, and the whole design exactly in the program's own section (design_section.h).
bool WriteDesignFile(const std::string& path, const DesignState& s, const DesignChoices& choices,
                     std::string& error);

// Reads the eleven keys into `s`, without limits. A missing file, section or key keeps the
// member, rounded to the precision it is saved with; an empty value reads as 0. A file that
// cannot be read or is not text gives false with a message and changes no member.
// `unreadable`, when given, receives one line for each value that is no number
// ("fg=abc is not readable; using 1.000m", with the value the opened design holds).
// Where the file has the program's own section, its exact entries replace the rounded ones
// that still agree with them; with `choices`, the page, type, series, check boxes, options and
// LC orders it stores are read too (into `s` and `choices`).
bool ReadDesignFile(const std::string& path, DesignState& s, std::string& error,
                    std::vector<std::string>* unreadable = nullptr,
                    DesignChoices* choices = nullptr);

// Holds the values a file may bring that no design can use (0, negative, huge) within the
// limits of their entry fields, and the sweep factor within those of its dialog.
void HoldDesignValuesInRange(DesignState& s);

}  // namespace morvane
