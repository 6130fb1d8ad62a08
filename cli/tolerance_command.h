#pragma once

// `morvane-cli tolerance`: what the tolerances of the parts do to an active stage (the design
// options and entries) or a whole filter (--cascade and the cascade's options): Monte Carlo
// statistics, the gain band, sensitivities, the worst case and the yield against a mask.

#include <string>
#include <vector>

namespace morvane::cli {

// Runs the command on its arguments (without the word "tolerance"); returns the exit code.
// Throws UsageError on bad use.
int RunTolerance(const std::vector<std::string>& args);

}  // namespace morvane::cli
