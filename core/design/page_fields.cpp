#include "design/page_fields.h"

#include <array>

#include "design/field_names.h"

namespace morvane {

namespace {

using F = LabelledField;
constexpr std::string_view kOhm = "Ω";

constexpr std::array kMfb{F{field::R11Ausgabe, "R1 =", kOhm},  F{field::R21Ausgabe, "R2 =", kOhm},
                          F{field::R31Ausgabe, "R3 =", kOhm},  F{field::C11Ausgabe, "C1 =", "F"},
                          F{field::C21Ausgabe, "C2 =", "F"},   F{field::C31Ausgabe, "C3 =", "F"},
                          F{field::dVu1Ausgabe, "ΔV =", "dB"}, F{field::Vu1Ausgabe, "V =", ""}};

constexpr std::array kPfb{F{field::R12Ausgabe, "R1 =", kOhm}, F{field::R22Ausgabe, "R2 =", kOhm},
                          F{field::R32Ausgabe, "R3 =", kOhm}, F{field::R42Ausgabe, "R4 =", kOhm},
                          F{field::C12Ausgabe, "C1 =", "F"},  F{field::C22Ausgabe, "C2 =", "F"},
                          F{field::C32Ausgabe, "C3 =", "F"},  F{field::dVu2Ausgabe, "ΔV =", "dB"},
                          F{field::Vu2Ausgabe, "V =", ""}};

constexpr std::array kSvf3{F{field::R03Ausgabe, "R0 =", kOhm}, F{field::R13Ausgabe, "R1 =", kOhm},
                           F{field::R23Ausgabe, "R2 =", kOhm}, F{field::R33Ausgabe, "R3 =", kOhm},
                           F{field::R43Ausgabe, "R4 =", kOhm}, F{field::R53Ausgabe, "R5 =", kOhm},
                           F{field::R63Ausgabe, "R6 =", kOhm}, F{field::C13Ausgabe, "C1 =", "F"},
                           F{field::C23Ausgabe, "C2 =", "F"},  F{field::dVu3Ausgabe, "ΔV =", "dB"}};

constexpr std::array kSvf4{F{field::R04Ausgabe, "R0 =", kOhm}, F{field::R14Ausgabe, "R1 =", kOhm},
                           F{field::R24Ausgabe, "R2 =", kOhm}, F{field::R34Ausgabe, "R3 =", kOhm},
                           F{field::R44Ausgabe, "R4 =", kOhm}, F{field::R54Ausgabe, "R5 =", kOhm},
                           F{field::C14Ausgabe, "C1 =", "F"},  F{field::C24Ausgabe, "C2 =", "F"},
                           F{field::dVu4Ausgabe, "ΔV =", "dB"}};

constexpr std::array kFliege{
    F{field::R15Ausgabe, "R1 =", kOhm}, F{field::R25Ausgabe, "R2 =", kOhm},
    F{field::R35Ausgabe, "R3 =", kOhm}, F{field::R45Ausgabe, "R4 =", kOhm},
    F{field::R55Ausgabe, "R5 =", kOhm}, F{field::C15Ausgabe, "C1 =", "F"},
    F{field::C25Ausgabe, "C2 =", "F"},  F{field::dVu5Ausgabe, "ΔV =", "dB"},
    F{field::Vu5Ausgabe, "V =", ""}};

constexpr std::array kPanel{F{field::foAusgabe, "Resonance Frequency fo", "Hz"},
                            F{field::woAusgabe, "Angular Frequency ωo", "1/s"},
                            F{field::BrAusgabe, "Noise Bandwidth Bn", "Hz"},
                            F{field::GBWPAusgabe, "Recommended GBWP", "Hz"},
                            F{field::tgrAusgabe, "Group Delay tgro", "s"},
                            F{field::trAusgabe, "Rise Time tr", "s"},
                            F{field::OSAusgabe, "Overshoot", "%"}};

constexpr std::array kReadout{
    F{field::VufAusgabe, "|V(f)|", ""}, F{field::VufdBAusgabe, "V(dB)", "dB"},
    F{field::PhifAusgabe, "φ(f)", "°"}, F{field::tgrfAusgabe, "tgr(f)", "s"}};

constexpr std::array<std::string_view, kTopologyCount> kCaptions{
    "MFB inverting",      "PFB noninverting", "SVF (3 Op Amps)", "SVF (4 Op Amps)",
    "Fliege (2 Op Amps)", "Passive LC",       "LC Diplexer"};

}  // namespace

std::span<const LabelledField> PageResultFields(Topology topology) {
  switch (topology) {
    case Topology::Mfb:
      return kMfb;
    case Topology::Pfb:
      return kPfb;
    case Topology::Svf3:
      return kSvf3;
    case Topology::Svf4:
      return kSvf4;
    case Topology::Fliege:
      return kFliege;
    default:
      return {};
  }
}

std::span<const LabelledField> InformationPanelFields() {
  return kPanel;
}

std::string_view ResonanceLabel(FilterType type) {
  return type == FilterType::Bandpass || type == FilterType::Bandstop ? "Bandwidth B"
                                                                      : "Resonance Frequency fo";
}

std::span<const LabelledField> ReadoutFields() {
  return kReadout;
}

std::string_view TopologyCaption(Topology topology) {
  return kCaptions[static_cast<std::size_t>(topology) - 1];
}

}  // namespace morvane
