#pragma once

// The ladder between RG and RL at one frequency or over a sweep, by the chain (ABCD) matrices
// of its elements: the gain V(out)/V(source) for a source behind RG, its phase and group
// delay, the impedance into the ladder after RG and the return loss against RG.

#include <complex>
#include <vector>

#include "network/ladder_network.h"

namespace morvane {

// Every figure is finite: a gain that vanishes reads kLeastGainDb, a perfect match
// kMostReturnLossDb, an impedance beyond kLargestImpedance that much.
inline constexpr double kLeastGainDb = -400.0;
inline constexpr double kMostReturnLossDb = 300.0;
inline constexpr double kLargestImpedance = 1e300;

struct NetworkPoint {
  double f = 0.0;                  // Hz
  double gainDb = kLeastGainDb;    // 20 log10 |V(out)/V(source)|
  double phaseDegrees = 0.0;       // of V(out)/V(source), in (-180, 180]
  double groupDelay = 0.0;         // s: -d(phase)/d(omega)
  double inputOhms = 0.0;          // |Zin| after RG, the ladder loaded with RL
  double inputPhaseDegrees = 0.0;  // of Zin, in (-180, 180]
  double returnLossDb = 0.0;       // -20 log10 |(Zin - RG) / (Zin + RG)|
};

// V(out)/V(source) at `f` (Hz, above zero). The ladder must pass NetworkProblem.
std::complex<double> NetworkTransfer(const LadderNetwork& network, double f);
// The impedance into the ladder after RG, loaded with RL.
std::complex<double> InputImpedance(const LadderNetwork& network, double f);

NetworkPoint AnalyseNetwork(const LadderNetwork& network, double f);

// `points` frequencies from `from` to `to`, both ends included, in equal steps or (logarithmic)
// equal ratios. Two points at least; 0 < from < to.
std::vector<double> SweepFrequencies(double from, double to, int points, bool logarithmic);

std::vector<NetworkPoint> AnalyseNetwork(const LadderNetwork& network,
                                         const std::vector<double>& frequencies);

}  // namespace morvane
