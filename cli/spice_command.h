#pragma once

// `morvane-cli spice`: the designed circuit as a SPICE netlist for an AC sweep.

#include <string>
#include <vector>

namespace morvane::cli {

// spice FILE|- [design options and entries] [--from X] [--to Y] [--points N]
//              [--opamp NAME [--opamp-include FILE]]
// "-" writes the netlist to stdout. Returns the exit code; throws UsageError on bad use and
// RunError when the design has no circuit to write or the file cannot be written.
int RunSpice(const std::vector<std::string>& args);

}  // namespace morvane::cli
