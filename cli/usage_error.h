#pragma once

#include <stdexcept>
#include <string>

namespace morvane::cli {

// Bad use of the command line: one line on stderr, exit code 2, nothing on stdout.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

inline constexpr int kExitUsage = 2;

}  // namespace morvane::cli
