#pragma once

// The design options and NAME=TEXT entries shared by the commands that design a circuit.

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "design/design_session.h"
#include "design/design_state.h"
#include "opamp_arguments.h"

namespace morvane::cli {

struct DesignRequest {
  std::optional<std::string> designFile;  // opened first, as the window opens a design
  std::optional<Topology> topology;
  std::optional<FilterType> type;
  std::optional<int> seriesR;
  std::optional<int> seriesC;
  bool noEqualCapacitors = false;
  bool noOffsetCompensation = false;
  bool manualCapacitance = false;
  bool roundResistors = false;
  bool bestValues = false;         // the value search's best choice taken after the entries
  std::optional<int> ladderOrder;  // 2..10
  bool ladderChebyshev = false;
  std::optional<int> diplexerOrder;  // 3, 5, 7, 9
  bool diplexerChebyshev = false;
  std::vector<std::pair<std::string, std::string>> entries;  // NAME, TEXT in order given
  // --opamp VALUE and --opamp-include FILE (see ResolveOpAmp); a model is chosen for the
  // stage, as the window's Options > Op Amp chooses it.
  std::optional<std::string> opAmp;
  std::optional<std::string> opAmpInclude;
  bool opAmpSubcircuitAllowed = false;  // set by the commands that write a netlist
  bool predistort = false;              // design the stage for the op amp (MFB, PFB)
};

// The op amp the request names (nothing when it names none).
OpAmpSelection OpAmpOf(const DesignRequest& request);

// Takes the design options and entries out of `args`; returns what it did not recognise
// as an option of its own (left for the command). Throws UsageError on bad use.
std::vector<std::string> ParseDesignRequest(const std::vector<std::string>& args,
                                            DesignRequest& request);

// Starts a session and applies the request as the window would: options first (topology,
// type, series, check boxes), then each entry typed into its field. A line on `warnings`
// tells what was stored for an entry that did not read as given. Throws UsageError, or
// RunError for a design file that cannot be read.
void ApplyDesignRequest(const DesignRequest& request, DesignSession& session,
                        std::ostream& warnings);

}  // namespace morvane::cli
