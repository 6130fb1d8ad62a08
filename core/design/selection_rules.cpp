#include "design/selection_rules.h"

#include <array>

namespace morvane {

namespace {

constexpr std::size_t TypeIndex(FilterType type) {
  return static_cast<std::size_t>(type);
}

// Rows by topology 1..7, columns in the order of FilterType: lowpass, highpass, bandpass,
// bandstop, allpass, elliptical lowpass.
constexpr std::array<std::array<bool, 6>, kTopologyCount> kOffered{{
    {true, true, true, false, false, false},   // MFB inverting
    {true, true, true, true, true, true},      // PFB noninverting
    {true, true, true, false, false, false},   // SVF, 3 op amps
    {true, true, true, true, false, false},    // SVF, 4 op amps
    {true, true, true, true, true, false},     // Fliege
    {true, true, false, false, false, false},  // passive LC
    {true, true, false, false, false, false},  // LC diplexer
}};

constexpr FrequencyLabels kCutOff{"Cut-Off Frequency fc", "3dB drop", "Resonance Frequency fo",
                                  "Resonance frequency is often different from fc"};
constexpr FrequencyLabels kCentre{"Center Frequency fm", "Resonance frequency", "Bandwidth B",
                                  "3dB bandwidth"};
constexpr FrequencyLabels kAllpass{"Cut-Off Frequency fc", "Frequency for 90° phase shift",
                                   "Resonance Frequency fo",
                                   "Resonance frequency is often different from fc"};

// Columns by DiagramPlace: Image1, Image2, Image5, ImageLC; rows in the order of FilterType.
constexpr std::array<std::array<std::string_view, 4>, 6> kDiagrams{{
    {"mfbtp", "pfbtp", "f2optp", "lctp"},  // lowpass
    {"mfbhp", "pfbhp", "f2ophp", "lchp"},  // highpass
    {"mfbbp", "pfbbp", "f2opbp", "lctp"},  // bandpass
    {"", "pfbbs", "f2opbs", "lctp"},       // bandstop
    {"", "pfbap", "f2opap", ""},           // allpass
    {"mfbtp", "pfbelltp", "f2optp", ""},   // elliptical lowpass
}};

constexpr std::string_view kGainCaption = "Gain |Vo|";

}  // namespace

bool OffersType(Topology topology, FilterType type) {
  return kOffered[static_cast<std::size_t>(topology) - 1][TypeIndex(type)];
}

FrequencyLabels FrequencyLabelsFor(FilterType type) {
  switch (type) {
    case FilterType::Bandpass:
    case FilterType::Bandstop:
      return kCentre;
    case FilterType::Allpass:
      return kAllpass;
    default:
      return kCutOff;
  }
}

std::string_view DiagramFor(DiagramPlace place, FilterType type) {
  return kDiagrams[TypeIndex(type)][static_cast<std::size_t>(place)];
}

std::string_view FixedDiagram(Topology topology) {
  switch (topology) {
    case Topology::Svf3:
      return "svf3op";
    case Topology::Svf4:
      return "svf4op";
    case Topology::Diplexer:
      return "diplexer";
    default:
      return "";
  }
}

InputRows InputRowsFor(Topology topology, bool ladderChebyshev) {
  if (topology == Topology::LcLadder) {
    // The gain row carries the ripple and the damping row the load resistance. Entering the
    // page captions the ripple "Riple"; the approximation buttons write "Ripple" (see
    // kRippleCaptionAfterSwitch).
    return {false,
            ladderChebyshev,
            true,
            true,
            "Riple",
            ladderChebyshev ? "dB" : " ",
            "Load Impedance ZL",
            false};
  }
  if (topology == Topology::Diplexer) {
    // Only the frequency and the input impedance: the diplexer is terminated in Zin.
    return {false, false, false, false, kGainCaption, " ", "Damping D=1/2Q", false};
  }
  return {true, true, true, false, kGainCaption, " ", "Damping D=1/2Q", true};
}

}  // namespace morvane
