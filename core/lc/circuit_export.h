#pragma once

// The LC ladder as a circuit file for the companion program for series and parallel circuits.

#include <string>

#include "design/design_choices.h"
#include "design/design_state.h"

namespace morvane {

// Writes the ladder's sections and keys into `path`, keeping the file's other lines. Refuses
// (false, a message in `error`, nothing written) when the ladder has no valid network.
bool ExportCircuit(const std::string& path, const DesignState& s, const DesignChoices& in,
                   std::string& error);

}  // namespace morvane
