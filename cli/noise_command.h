#pragma once

// `morvane-cli noise`: the noise at the output of the page's circuit or of a whole cascade,
// from its resistors and op amps: the density over a range, its RMS, the share of each part,
// op amp and section, and the density referred to the input.

#include <string>
#include <vector>

namespace morvane::cli {

// Runs the command on its arguments (without the word "noise"); returns the exit code.
// Throws UsageError on bad use and RunError for an op-amp file that cannot be read.
int RunNoise(const std::vector<std::string>& args);

}  // namespace morvane::cli
