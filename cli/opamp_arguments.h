#pragma once

// The op amp a netlist calls instead of an ideal amplifier: a subcircuit name and the file that
// holds it, both written into netlist lines as given, so neither may end a line or a quote.

#include <string>

namespace morvane::cli {

// Throw UsageError, naming the option, for a name SPICE would not read as one token or a
// file name that would break out of its quoted .include line.
void CheckSubcircuitName(const std::string& name);
void CheckIncludePath(const std::string& path);

}  // namespace morvane::cli
