#include "design/field_names.h"

#include <algorithm>
#include <array>

namespace morvane::field {

namespace {

constexpr std::array kEntries{fgEingabe,   fEingabe,    QEingabe,   DEingabe,
                              VuEingabe,   ZinEingabe,  R32Eingabe, q2Eingabe,
                              C12Eingabe3, C12Eingabe4, C12Eingabe5};

constexpr std::array kResults{
    foAusgabe,  woAusgabe,    BrAusgabe,   GBWPAusgabe, tgrAusgabe,  trAusgabe,   OSAusgabe,
    VufAusgabe, VufdBAusgabe, PhifAusgabe, tgrfAusgabe, R11Ausgabe,  R21Ausgabe,  R31Ausgabe,
    C11Ausgabe, C21Ausgabe,   C31Ausgabe,  dVu1Ausgabe, Vu1Ausgabe,  R12Ausgabe,  R22Ausgabe,
    R32Ausgabe, R42Ausgabe,   C12Ausgabe,  C22Ausgabe,  C32Ausgabe,  dVu2Ausgabe, Vu2Ausgabe,
    R03Ausgabe, R13Ausgabe,   R23Ausgabe,  R33Ausgabe,  R43Ausgabe,  R53Ausgabe,  R63Ausgabe,
    C13Ausgabe, C23Ausgabe,   dVu3Ausgabe, R04Ausgabe,  R14Ausgabe,  R24Ausgabe,  R34Ausgabe,
    R44Ausgabe, R54Ausgabe,   C14Ausgabe,  C24Ausgabe,  dVu4Ausgabe, R15Ausgabe,  R25Ausgabe,
    R35Ausgabe, R45Ausgabe,   R55Ausgabe,  C15Ausgabe,  C25Ausgabe,  dVu5Ausgabe, Vu5Ausgabe,
    NLCAusgabe};

constexpr std::array kGrids{StringGridAlignPN, StringAlignGridLC, StringAlignGridDiplexTP,
                            StringAlignGridDiplexHP};

constexpr std::array kCheckBoxes{
    CheckBox{"CCheckBox1", &DesignChoices::mfbEqualCapacitors},
    CheckBox{"CCheckBox2", &DesignChoices::pfbEqualCapacitors},
    CheckBox{"RCheckBox2", &DesignChoices::offsetCompensation},
    CheckBox{"CCheckBox3", &DesignChoices::svf3AutomaticCapacitance},
    CheckBox{"CCheckBox4", &DesignChoices::svf4AutomaticCapacitance},
    CheckBox{"CCheckBox5", &DesignChoices::fliegeAutomaticCapacitance},
};

constexpr std::array kPageEntries{
    PageEntry{R32Eingabe, &DesignChoices::pfbR3, Topology::Pfb, &DesignState::R3},
    PageEntry{q2Eingabe, &DesignChoices::pfbZeroRatio, Topology::Pfb, &DesignState::fnfp},
    PageEntry{C12Eingabe3, &DesignChoices::svf3Capacitance, Topology::Svf3, &DesignState::C1},
    PageEntry{C12Eingabe4, &DesignChoices::svf4Capacitance, Topology::Svf4, &DesignState::C1},
    PageEntry{C12Eingabe5, &DesignChoices::fliegeCapacitance, Topology::Fliege, &DesignState::C1},
};

}  // namespace

std::span<const PageEntry> PageEntries() {
  return kPageEntries;
}

std::span<const CheckBox> CheckBoxes() {
  return kCheckBoxes;
}

bool* CheckBoxOption(Name box, DesignChoices& choices) {
  for (const CheckBox& c : kCheckBoxes) {
    if (c.name == box) return &(choices.*c.option);
  }
  return nullptr;
}

std::span<const Name> EntryFields() {
  return kEntries;
}
std::span<const Name> ResultFields() {
  return kResults;
}
std::span<const Name> Grids() {
  return kGrids;
}

bool IsEntryField(Name name) {
  return std::find(kEntries.begin(), kEntries.end(), name) != kEntries.end();
}

}  // namespace morvane::field
