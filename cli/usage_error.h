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

// A failure of the work asked for (a file that cannot be read or written, a refused export):
// one line on stderr, exit code 1.
class RunError : public std::runtime_error {
 public:
  explicit RunError(const std::string& what) : std::runtime_error(what) {}
};

inline constexpr int kExitFailure = 1;

}  // namespace morvane::cli
