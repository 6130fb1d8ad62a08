#pragma once

// Runs ngspice in batch mode on SPICE netlists and reads back the node voltages of their AC
// analysis. Many circuits go through one ngspice process (its start-up dominates a small
// circuit), and the batch is spread over a few processes running side by side.

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

}  // namespace morvane::sim
