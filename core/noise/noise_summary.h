#pragma once

// What the Noise window shows of an analysis: the RMS over the band in volts and dBV, the
// same referred to the input, each part's, op amp's and section's share of the noise power,
// the band a filter's analysis starts with, and the densities as CSV.

#include <string>
#include <vector>

#include "noise/noise_analysis.h"

namespace morvane {

// A decade below the lowest to a decade above the highest frequency of a filter, held within
// 1 Hz .. 100 MHz; 10 Hz .. 100 kHz where the frequencies are not positive and finite.
NoiseRequest DefaultNoiseBand(double fLowest, double fHighest);

struct NoiseShare {
  std::string name;
  double rms = 0.0;      // V at the output
  double percent = 0.0;  // of the output noise power
};

struct NoiseSummary {
  double rms = 0.0;       // V at the output over the band
  double peakGain = 0.0;  // the largest |V(out) / V(in)| over the band
  // The output RMS divided by the largest gain: the noise of a source at the input that the
  // filter would pass as its own.
  double inputRms = 0.0;
  std::vector<NoiseShare> parts;  // largest first
  std::vector<NoiseShare> sections;
};

NoiseSummary SummariseNoise(const NoiseAnalysis& analysis);

// "12.35 µV" with three or four significant digits; "0 µV" for nothing.
std::string MicrovoltText(double volts);
// "-98.2 dBV"; "-∞ dBV" for nothing.
std::string DbvText(double volts);

// "f/Hz,output V/sqrt(Hz),input-referred V/sqrt(Hz),gain", then one line per frequency with
// 17 significant digits; the input-referred column is empty where the filter passes next to
// nothing.
std::string NoiseDensityCsv(const NoiseAnalysis& analysis);

}  // namespace morvane
