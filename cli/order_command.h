#pragma once

#include <string>
#include <vector>

namespace morvane::cli {

// order --f1 TEXT --d1 TEXT --f2 TEXT --d2 TEXT [--chebyshev] [--json]
int RunOrder(const std::vector<std::string>& args);

}  // namespace morvane::cli
