#pragma once

// The names of the pages and filter types as the command line and the design file spell them:
// "mfb" .. "diplexer", "lowpass" .. "elliptic".

#include <optional>
#include <string_view>

#include "design/design_state.h"

namespace morvane {

std::string_view TopologyName(Topology topology);
// A page's name, or its number "1" .. "7".
std::optional<Topology> TopologyNamed(std::string_view name);

std::string_view FilterTypeName(FilterType type);
std::optional<FilterType> FilterTypeNamed(std::string_view name);

}  // namespace morvane
