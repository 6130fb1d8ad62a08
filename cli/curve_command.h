#pragma once

// `morvane-cli curve`: the samples a graph window's filler would draw, as CSV.

#include <string>
#include <vector>

namespace morvane::cli {

// Runs the command on its arguments (without the word "curve"); returns the exit code.
// Throws UsageError on bad use.
int RunCurve(const std::vector<std::string>& args);

}  // namespace morvane::cli
