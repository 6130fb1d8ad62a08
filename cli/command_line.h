#pragma once

// The whole of morvane-cli behind its main(): a command line in, the exit code out, the
// command's output on std::cout and std::cerr.

#include <string>
#include <vector>

namespace morvane::cli {

// `args` without the program name.
int RunCommandLine(std::vector<std::string> args);

}  // namespace morvane::cli
