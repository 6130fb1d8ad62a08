#pragma once

#include <string>
#include <vector>

namespace morvane::cli {

// eseries VALUE [--series E3|E6|E12|E24|E48|E96|E192] [--combine] [--ratio R] [--json]
int RunESeries(const std::vector<std::string>& args);

}  // namespace morvane::cli
