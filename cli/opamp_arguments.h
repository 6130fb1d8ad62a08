#pragma once

// The op amp a command is asked to use (--opamp, --opamp-include): a model of the table or of
// an op-amp file, or the user's own subcircuit that a netlist calls. The subcircuit's name and
// file are written into netlist lines as given, so neither may end a line or a quote.

#include <optional>
#include <string>

#include "opamp/opamp_model.h"

namespace morvane::cli {

// Throw UsageError, naming the option, for a name SPICE would not read as one token or a
// file name that would break out of its quoted .include line.
void CheckSubcircuitName(const std::string& name);
void CheckIncludePath(const std::string& path);

// What --opamp (with or without --opamp-include) names.
struct OpAmpSelection {
  std::optional<OpAmpModel> model;  // a part of the table, or of an op-amp file
  std::string subcircuit;           // the user's own subcircuit (netlists only)
  std::string include;              // the file that holds it
};

// --opamp VALUE [--opamp-include FILE]: with a file to include, VALUE is the user's own
// subcircuit (pins in+ in- out); otherwise a part of the table (`morvane-cli opamps`, any
// letter case), or an op-amp file (as `opamps --file` reads it) whose first part is taken.
// A name that is neither is the user's own subcircuit where only a netlist is written
// (`subcircuitAllowed`), and bad use otherwise. Throws UsageError, or RunError for an op-amp
// file that cannot be read.
OpAmpSelection ResolveOpAmp(const std::string& value, const std::optional<std::string>& include,
                            bool subcircuitAllowed);

}  // namespace morvane::cli
