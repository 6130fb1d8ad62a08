#pragma once

// The choice lists of the Multi-stage Filter window as they are offered: a caption for each
// choice, in the order of the names the design file and the command line use
// (cascade_names.h).

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cascade/cascade_names.h"

namespace morvane::gui {

std::span<const ChoiceName<Approximation>> ApproximationCaptions();  // "Butterworth", ...
std::span<const ChoiceName<FilterKind>> FilterKindCaptions();        // "Lowpass", ...
std::span<const ChoiceName<GainSplit>> GainSplitCaptions();          // "All in the first", ...

// The main window's caption of a topology ("MFB inverting").
std::string TopologyChoiceCaption(Topology topology);
// The caption of the "all sections" choice that leaves each section its default topology.
inline constexpr std::string_view kDefaultTopologyCaption = "Default for each kind";

bool UsesRipple(Approximation approximation);    // Chebyshev, elliptic
bool UsesStopband(Approximation approximation);  // inverse Chebyshev, elliptic
bool IsBandKind(FilterKind kind);                // bandpass, bandstop

// The section order as the window writes it, "2,1,3" (numbered from 1); empty for the
// lowest-Q-first order.
std::string SectionOrderText(const std::vector<int>& order);

// The section order the user typed, read as leniently as a value: every run of digits is a
// section number from 1 on, whatever stands between them ("2,1,3", "2 1 3", "2;1;3"). Blank
// text gives the lowest-Q-first order (an empty list). Whether the list names every section
// once is for the design to say.
std::vector<int> ReadSectionOrder(std::string_view text);

}  // namespace morvane::gui
