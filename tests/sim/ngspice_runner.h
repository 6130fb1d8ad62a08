#pragma once

// Runs ngspice in batch mode on SPICE netlists and reads back the node voltages of their AC
// analysis. Many circuits go through one ngspice process (its start-up dominates a small
// circuit), and the batch is spread over a few processes running side by side. A netlist with
// a .control block of its own runs as it is, in one process.

#include <chrono>
#include <complex>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::sim {

struct AcJob {
  std::string netlist;             // plain SPICE with one ".ac" card and no .control block
  std::vector<std::string> nodes;  // nodes whose voltage is wanted, e.g. {"out"}
};

struct AcResult {
  std::string error;  // empty when the run gave every wanted voltage
  std::vector<std::string> nodes;
  std::vector<double> frequency;                           // Hz, as simulated
  std::vector<std::vector<std::complex<double>>> voltage;  // one row per node, one per frequency

  bool Ok() const { return error.empty(); }
  // The voltages of one wanted node; empty for a node that was not asked for.
  const std::vector<std::complex<double>>& Voltage(std::string_view node) const;
};

// Runs every job and returns the results in the jobs' order. A job that fails (a netlist
// ngspice rejects, a crash, a time-out) gets its error; the others are not affected.
std::vector<AcResult> RunAc(const std::vector<AcJob>& jobs, int processes = 2);

// One circuit.
AcResult RunAc(const std::string& netlist, const std::vector<std::string>& nodes = {"out"});

// A hung simulator must not hang the test run.
inline constexpr std::chrono::seconds kDefaultTimeout{120};

struct ScriptResult {
  std::string error;     // empty when ngspice ran and the script wrote its output file
  std::string output;    // the text of that file
  double seconds = 0.0;  // wall time of the ngspice process, start to end
};

// Runs a netlist whose .control block writes its results to `outputFile`, a bare file name
// (ngspice's "print ... > outputFile"), in a temporary folder of its own.
ScriptResult RunScript(const std::string& netlist, const std::string& outputFile,
                       std::chrono::seconds timeout = kDefaultTimeout);

}  // namespace morvane::sim
