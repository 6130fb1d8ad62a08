#pragma once

// The arguments of `morvane-cli cascade`: options and NAME=TEXT entries read into a cascade
// request and the output asked for, with every refusal as a UsageError naming what is allowed.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cascade/cascade_design.h"
#include "cascade/cascade_file.h"
#include "cascade_output.h"
#include "spice/netlist.h"

namespace morvane::cli {

// What the command line asks for: the filter, and which outputs go where.
struct CascadeArguments {
  CascadeRequest request;
  bool orderGiven = false;
  bool schemeGiven = false;
  std::optional<std::string> designPath;  // opened first: its "Cascade" section
  std::optional<std::string> savePath;    // the entries go into its "Cascade" section
  bool json = false;
  std::optional<std::string> netlistPath;  // "-" for stdout
  NetlistOptions netlist;
  // --opamp as a model (a table part or an op-amp file): the sections' figures and the curve
  // with it, and its subcircuit in the netlist.
  std::optional<OpAmpModel> opAmp;
  std::optional<CurveKind> curve;
  std::optional<double> from;
  std::optional<double> to;
  std::optional<int> points;
  bool logarithmic = false;
  std::vector<std::string> entries;  // the names given, in order
};

// A whole number written in digits, or none.
std::optional<long long> WholeNumber(std::string_view text);
// A value text read as the entry fields read it; `what` names it in the refusal (a text that
// is no finite number is bad use), `given` in the line on `warnings` telling of a text read
// only in part.
double ReadNumber(const std::string& what, const std::string& given, const std::string& text,
                  std::ostream& warnings);
// "F1,D1,F2,D2", or with semicolons between when the values have decimal commas.
ToleranceScheme ParseScheme(const std::string& text, std::ostream& warnings);

// Reads the arguments (without the word "cascade"); a line on `warnings` for each value text
// read only in part and each value of the --design file that cannot be read. The --design
// file's entries come first wherever the option stands; the other options change them.
CascadeArguments ParseCascadeArguments(const std::vector<std::string>& args,
                                       std::ostream& warnings);

// Refuses the combinations that make no sense whatever the values: --order with --scheme, an
// entry the filter would not use, two outputs for stdout, curve options without --curve, ...
void CheckCascadeArguments(const CascadeArguments& arguments);

// The entries to save: the request, its scheme kept apart.
CascadeEntries EntriesOf(const CascadeRequest& request);

}  // namespace morvane::cli
