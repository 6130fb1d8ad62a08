#pragma once

// `morvane-cli plot`: the picture a graph window shows when it is opened on the design,
// written as PNG or SVG (or its samples as CSV) without a window.

#include <string>
#include <vector>

namespace morvane::cli {

// Runs the command on its arguments (without the word "plot"); returns the exit code.
// Throws UsageError on bad use, RunError when the file cannot be written.
int RunPlot(const std::vector<std::string>& args);

}  // namespace morvane::cli
