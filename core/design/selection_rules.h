#pragma once

// What a switch of topology or filter type changes in the window besides the design: the
// types each topology offers, the captions of the frequency labels, the circuit diagrams and
// the rows of the input group. Kept here, without widgets, so the window and the tests read
// one table.

#include <string_view>

#include "design/design_state.h"

namespace morvane {

// Whether the topology designs the type; a type not offered has its radio button and menu
// item disabled. Lowpass and highpass are offered everywhere.
bool OffersType(Topology topology, FilterType type);

struct FrequencyLabels {
  std::string_view fgCaption;  // Labelfg
  std::string_view fgHint;
  std::string_view foCaption;  // Labelfo
  std::string_view foHint;
};

FrequencyLabels FrequencyLabelsFor(FilterType type);

// The PFB page shows its fn/fo entry instead of the equal-capacitor box for this type only.
inline bool ShowsEllipticControls(FilterType type) {
  return type == FilterType::EllipticLowpass;
}

// The pictures whose circuit diagram follows the filter type.
enum class DiagramPlace { Mfb, Pfb, Fliege, LcLadder };  // Image1, Image2, Image5, ImageLC

// Resource name of the diagram the type loads into the picture; empty leaves the picture as
// it was (the page does not design that type).
std::string_view DiagramFor(DiagramPlace place, FilterType type);

// Resource name of a page's diagram that is the same for every type; empty for the pages
// whose diagram follows the type.
std::string_view FixedDiagram(Topology topology);

// The rows of the input group a topology shows, with the captions the rows carry there.
struct InputRows {
  bool quality;                     // LabelQ, QEingabe, SpinButtonQ
  bool gain;                        // LabelVu, VuEingabe, SpinButtonVu, LabelWellEinheit
  bool damping;                     // LabelD_RL, DEingabe, SpinButtonD
  bool loadUnit;                    // LabelRLEinheit
  std::string_view gainCaption;     // LabelVu
  std::string_view gainUnit;        // LabelWellEinheit
  std::string_view dampingCaption;  // LabelD_RL
  // InfoBtn: the LC pages have no topology proposal. (Every page draws its group delay and
  // time responses: the LC pages those of their circuits.)
  bool proposal;
};

// `ladderChebyshev` is the approximation chosen on the LC page: only a Chebyshev ladder has
// a ripple to enter in the gain row.
InputRows InputRowsFor(Topology topology, bool ladderChebyshev);

// The ripple caption the LC page's approximation buttons write.
inline constexpr std::string_view kRippleCaptionAfterSwitch = "Ripple";

}  // namespace morvane
