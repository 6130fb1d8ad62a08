#pragma once

// ngspice's own Monte Carlo of a designed cascade, to check the tolerance analysis against and
// to time beside it: before every run's AC analysis a .control loop alters each resistor,
// capacitor and inductor by ngspice's uniform random function within its tolerance, and the
// mean and standard deviation of |V(out)| over the runs come back for every frequency.

#include <chrono>
#include <string>
#include <vector>

#include "cascade/cascade_design.h"
#include "ngspice_runner.h"
#include "tolerance/tolerance_analysis.h"

namespace morvane::sim {

// An ngspice AC sweep: "lin" with its number of points in all, or "dec" with its points a
// decade, both ends included ("dec 50" over four decades simulates 201 points).
struct AcSweep {
  enum class Spacing { Linear, Decade };
  Spacing spacing = Spacing::Decade;
  int points = 50;
  double fromHz = 10.0;
  double toHz = 100e3;
};

struct SpiceMonteCarloRequest {
  int runs = 1000;
  // Uniform only (ngspice's sunif). The seed becomes ngspice's rndseed: it repeats ngspice's
  // draws, which are not ours.
  Tolerances tolerances;
  AcSweep sweep;
};

// The cascade's netlist, op amps ideal (gain 1e9), with the Monte Carlo in its .control block.
// Empty when the design has a problem, the tolerances are Gaussian or there are no runs.
std::string MonteCarloNetlist(const CascadeDesign& design, const SpiceMonteCarloRequest& request);

struct SpiceMonteCarlo {
  std::string error;                      // empty when ngspice gave the statistics
  std::vector<double> frequencies;        // Hz, as simulated
  std::vector<double> meanGain, stdGain;  // of |V(out)| (V/V) over the runs; sample deviation
  double seconds = 0.0;                   // wall time of the ngspice process

  bool Ok() const { return error.empty(); }
};

// Runs a netlist of MonteCarloNetlist's in one ngspice process.
SpiceMonteCarlo RunSpiceMonteCarlo(const std::string& netlist,
                                   std::chrono::seconds timeout = kDefaultTimeout);

}  // namespace morvane::sim
