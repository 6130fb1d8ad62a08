#pragma once

// `morvane-cli network`: the gain of a circuit file's ladder (as the LC page exports it and the
// series and parallel circuits program saves it) between RG and RL over a frequency range.

#include <string>
#include <vector>

namespace morvane::cli {

// Runs the command on its arguments (without the word "network"); returns the exit code.
// Throws UsageError on bad use and RunError for a file that cannot be read or is no circuit.
int RunNetwork(const std::vector<std::string>& args);

}  // namespace morvane::cli
