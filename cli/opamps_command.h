#pragma once

// `morvane-cli opamps`: the op-amp table, built in and from a user file, as a text table or
// as JSON.

#include <string>
#include <vector>

namespace morvane::cli {

// Runs the command on its arguments (without the word "opamps"); returns the exit code.
// Throws UsageError on bad use and RunError for a user file that cannot be read or used.
int RunOpAmps(const std::vector<std::string>& args);

}  // namespace morvane::cli
