#pragma once

// What each part of the main window shows: the result rows of every topology page, the
// information panel and the readout, each with its label and unit. The window builds its
// rows from these tables and the command-line tool prints them.

#include <span>
#include <string_view>

#include "design/design_state.h"

namespace morvane {

struct LabelledField {
  std::string_view field;
  std::string_view label;
  std::string_view unit;
};

// Result rows of a topology page (empty for the LC pages, which show grids).
std::span<const LabelledField> PageResultFields(Topology topology);
// The information panel; the first row's label follows the filter type.
std::span<const LabelledField> InformationPanelFields();
// Label of foAusgabe for the filter type: "Resonance Frequency fo" or "Bandwidth B".
std::string_view ResonanceLabel(FilterType type);
// The readout at f (without the entry f itself).
std::span<const LabelledField> ReadoutFields();

// Caption of a topology page and its tab.
std::string_view TopologyCaption(Topology topology);

}  // namespace morvane
