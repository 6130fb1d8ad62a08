#pragma once

// Options that take a value, written either "--name VALUE" or "--name=VALUE".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::cli {

// When args[i] is `option`, its value goes into `value` (i moves past it) and the answer is
// true; a missing value is a UsageError.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view option,
               std::string& value);

}  // namespace morvane::cli
