#pragma once

// Names of the main window's fields, as the controls are named. The recalculation writes
// its texts under these names; the window, the command-line tool and the tests read them.

#include <span>
#include <string_view>

#include "design/design_choices.h"

namespace morvane::field {

using Name = std::string_view;

// Entries of the input group and the readout.
inline constexpr Name fgEingabe = "fgEingabe";
inline constexpr Name fEingabe = "fEingabe";
inline constexpr Name QEingabe = "QEingabe";
inline constexpr Name DEingabe = "DEingabe";
inline constexpr Name VuEingabe = "VuEingabe";
inline constexpr Name ZinEingabe = "ZinEingabe";
// Entries of the topology pages.
inline constexpr Name R32Eingabe = "R32Eingabe";
inline constexpr Name q2Eingabe = "q2Eingabe";
inline constexpr Name C12Eingabe3 = "C12Eingabe3";
inline constexpr Name C12Eingabe4 = "C12Eingabe4";
inline constexpr Name C12Eingabe5 = "C12Eingabe5";

// Information panel.
inline constexpr Name foAusgabe = "foAusgabe";
inline constexpr Name woAusgabe = "woAusgabe";
inline constexpr Name BrAusgabe = "BrAusgabe";
inline constexpr Name GBWPAusgabe = "GBWPAusgabe";
inline constexpr Name tgrAusgabe = "tgrAusgabe";
inline constexpr Name trAusgabe = "trAusgabe";
inline constexpr Name OSAusgabe = "OSAusgabe";

// Frequency-response readout.
inline constexpr Name VufAusgabe = "VufAusgabe";
inline constexpr Name VufdBAusgabe = "VufdBAusgabe";
inline constexpr Name PhifAusgabe = "PhifAusgabe";
inline constexpr Name tgrfAusgabe = "tgrfAusgabe";

// MFB inverting page.
inline constexpr Name R11Ausgabe = "R11Ausgabe";
inline constexpr Name R21Ausgabe = "R21Ausgabe";
inline constexpr Name R31Ausgabe = "R31Ausgabe";
inline constexpr Name C11Ausgabe = "C11Ausgabe";
inline constexpr Name C21Ausgabe = "C21Ausgabe";
inline constexpr Name C31Ausgabe = "C31Ausgabe";
inline constexpr Name dVu1Ausgabe = "dVu1Ausgabe";
inline constexpr Name Vu1Ausgabe = "Vu1Ausgabe";

// PFB noninverting page.
inline constexpr Name R12Ausgabe = "R12Ausgabe";
inline constexpr Name R22Ausgabe = "R22Ausgabe";
inline constexpr Name R32Ausgabe = "R32Ausgabe";
inline constexpr Name R42Ausgabe = "R42Ausgabe";
inline constexpr Name C12Ausgabe = "C12Ausgabe";
inline constexpr Name C22Ausgabe = "C22Ausgabe";
inline constexpr Name C32Ausgabe = "C32Ausgabe";
inline constexpr Name dVu2Ausgabe = "dVu2Ausgabe";
inline constexpr Name Vu2Ausgabe = "Vu2Ausgabe";

// SVF page, 3 op amps.
inline constexpr Name R03Ausgabe = "R03Ausgabe";
inline constexpr Name R13Ausgabe = "R13Ausgabe";
inline constexpr Name R23Ausgabe = "R23Ausgabe";
inline constexpr Name R33Ausgabe = "R33Ausgabe";
inline constexpr Name R43Ausgabe = "R43Ausgabe";
inline constexpr Name R53Ausgabe = "R53Ausgabe";
inline constexpr Name R63Ausgabe = "R63Ausgabe";
inline constexpr Name C13Ausgabe = "C13Ausgabe";
inline constexpr Name C23Ausgabe = "C23Ausgabe";
inline constexpr Name dVu3Ausgabe = "dVu3Ausgabe";

// SVF page, 4 op amps.
inline constexpr Name R04Ausgabe = "R04Ausgabe";
inline constexpr Name R14Ausgabe = "R14Ausgabe";
inline constexpr Name R24Ausgabe = "R24Ausgabe";
inline constexpr Name R34Ausgabe = "R34Ausgabe";
inline constexpr Name R44Ausgabe = "R44Ausgabe";
inline constexpr Name R54Ausgabe = "R54Ausgabe";
inline constexpr Name C14Ausgabe = "C14Ausgabe";
inline constexpr Name C24Ausgabe = "C24Ausgabe";
inline constexpr Name dVu4Ausgabe = "dVu4Ausgabe";

// Fliege page.
inline constexpr Name R15Ausgabe = "R15Ausgabe";
inline constexpr Name R25Ausgabe = "R25Ausgabe";
inline constexpr Name R35Ausgabe = "R35Ausgabe";
inline constexpr Name R45Ausgabe = "R45Ausgabe";
inline constexpr Name R55Ausgabe = "R55Ausgabe";
inline constexpr Name C15Ausgabe = "C15Ausgabe";
inline constexpr Name C25Ausgabe = "C25Ausgabe";
inline constexpr Name dVu5Ausgabe = "dVu5Ausgabe";
inline constexpr Name Vu5Ausgabe = "Vu5Ausgabe";

// Passive LC page.
inline constexpr Name NLCAusgabe = "NLCAusgabe";

// Grids.
inline constexpr Name StringGridAlignPN = "StringGridAlignPN";
inline constexpr Name StringAlignGridLC = "StringAlignGridLC";
inline constexpr Name StringAlignGridDiplexTP = "StringAlignGridDiplexTP";
inline constexpr Name StringAlignGridDiplexHP = "StringAlignGridDiplexHP";

// A result field shows this until it is first written.
inline constexpr std::string_view kUnwritten = "        -";

// Every entry field, in the order the window lists them.
std::span<const Name> EntryFields();
// Every result field, in the order the window lists them.
std::span<const Name> ResultFields();
// Every grid.
std::span<const Name> Grids();

bool IsEntryField(Name name);

// The check boxes of the topology pages and the option each one sets.
struct CheckBox {
  Name name;
  bool DesignChoices::*option;
};
std::span<const CheckBox> CheckBoxes();
// The option behind a check box; nullptr for a name that is none.
bool* CheckBoxOption(Name box, DesignChoices& choices);

// The entries only one page shows, the value each one gives the designs, the page and the
// state value the page's design keeps in step with it (while that page is shown).
struct PageEntry {
  Name name;
  double DesignChoices::*value;
  Topology page;
  double DesignState::*shown;
};
std::span<const PageEntry> PageEntries();

}  // namespace morvane::field
