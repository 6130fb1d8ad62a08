#pragma once

// `morvane-cli cascade`: a whole active filter of any approximation and order as a cascade of
// first- and second-order sections, printed as a table or JSON, sampled as a curve, or written
// as a SPICE netlist.

#include <string>

#include <vector>
#include "cascade/cascade_design.h"

namespace morvane::cli {

// Runs the command on its arguments (without the word "cascade"); returns the exit code.
// Throws UsageError on bad use (also for a filter that cannot be designed as asked) and
// RunError when the netlist cannot be written.
int RunCascade(const std::vector<std::string>& args);

// The cascade of the request; a filter that cannot be designed as asked (or a section order
// that does not name each section once) is bad use (UsageError).
CascadeDesign DesignCascadeOrRefuse(const CascadeRequest& request);

}  // namespace morvane::cli
