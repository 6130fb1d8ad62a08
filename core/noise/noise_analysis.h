#pragma once

// The noise at a filter's output: the density from every resistor (4kTR) and every op amp's
// input voltage and current noise, frequency by frequency (CircuitSweep), its RMS over a
// band, the share of each part, op amp and section, and the same density referred to the
// input (divided by the gain).

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "circuit/circuit.h"

namespace morvane {

struct NoiseRequest {
  double fFrom = 10.0;  // Hz
  double fTo = 100e3;   // Hz
  int points = 400;     // logarithmically spaced, both ends included
  double celsius = 25.0;
};

// Why the request cannot be analysed ("the range needs 0 < from < to", ...); empty when it can.
std::string NoiseRequestProblem(const NoiseRequest& request);

struct NoiseContribution {
  std::string name;  // a part ("R1_2"), an op amp ("U1_2") or a section ("section 2")
  double rms = 0.0;  // V at the output over the range
};

struct NoiseAnalysis {
  std::string problem;                // empty when the analysis ran
  std::vector<double> frequency;      // Hz
  std::vector<double> outputDensity;  // V/sqrt(Hz) at the output
  std::vector<double> gain;           // |V(out) / V(in)|
  // The output density divided by the gain: [f, V/sqrt(Hz)], left out where the filter passes
  // next to nothing (the gain 240 dB below its largest), which has no input-referred noise.
  std::vector<std::pair<double, double>> inputReferred;
  double rms = 0.0;  // V at the output over the range
  // Each part and op amp (its voltage and current noise together), largest first; for a
  // joined cascade also each section (see SectionOfName).
  std::vector<NoiseContribution> parts;
  std::vector<NoiseContribution> sections;
};

NoiseAnalysis AnalyseNoise(const Circuit& circuit, const NoiseRequest& request);

// The integral of a power density over frequency from samples at increasing frequencies,
// taking it as a power of f between neighbours (exact for 1/f and white noise, and for the
// slopes of a filter's skirts), as simulators integrate their noise.
double IntegratePower(std::span<const double> frequency, std::span<const double> power);

}  // namespace morvane
