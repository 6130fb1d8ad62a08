#pragma once

// Passive RC filters of one resistor value R and one capacitor value C:
//  - first-order lowpass (series R, shunt C) and highpass (series C, shunt R),
//    fg = 1/(2 pi R C);
//  - second-order lowpass of two equal sections (R, C, R, C) where the second section loads
//    the first: H = 1/(1 + 3sRC + (sRC)^2), whose -3 dB point lies at
//    fg = sqrt((sqrt(53) - 7)/2)/(2 pi R C), about 0.374/(2 pi R C);
//  - Wien bandpass (series R + C, then R parallel C to ground), f0 = 1/(2 pi R C), gain 1/3
//    at f0;
//  - twin-T notch (R, R with 2C to ground between them, beside C, C with R/2 to ground),
//    f0 = 1/(2 pi R C); 2C and R/2 are built as two C and two R in parallel, so the notch
//    stays where R and C put it.
// A load resistance RL across the output lowers the gain and moves the frequency; no load is
// an open output.

#include <complex>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace morvane {

enum class RcCircuit : std::uint8_t {
  Lowpass,
  Highpass,
  TwoSectionLowpass,
  WienBandpass,
  TwinTNotch,
};

inline constexpr RcCircuit kAllRcCircuits[] = {RcCircuit::Lowpass, RcCircuit::Highpass,
                                               RcCircuit::TwoSectionLowpass,
                                               RcCircuit::WienBandpass, RcCircuit::TwinTNotch};

// "First-order lowpass", ...
const char* RcCircuitName(RcCircuit circuit);
// Whether the circuit's frequency is a -3 dB corner (fg) or a centre (f0: Wien, twin-T).
bool HasCentreFrequency(RcCircuit circuit);

// k in f = k/(2 pi R C) for the unloaded circuit.
double RcFrequencyFactor(RcCircuit circuit);
// The unloaded frequency of R and C, and the product R C for a frequency.
double RcFrequency(RcCircuit circuit, double r, double c);
double RcTimeConstantFor(RcCircuit circuit, double frequency);

// The transfer V(out)/V(in) at f, driven from an ideal source; `load` across the output
// (none: open).
std::complex<double> RcResponse(RcCircuit circuit, double r, double c, std::optional<double> load,
                                double f);

// What a load leaves of the circuit: `frequency` is the -3 dB corner below the pass-band
// gain (lowpass, highpass), the peak (Wien) or the notch (twin-T); `gain` the pass-band gain
// (at DC for the lowpasses and the notch, at high frequencies for the highpass, at the peak
// for the Wien bandpass).
struct RcFigures {
  double frequency = 0.0;
  double gain = 0.0;
};
RcFigures RcFiguresOf(RcCircuit circuit, double r, double c, std::optional<double> load);

// A design: the frequency and R or C (or neither) give the other, rounded to the series.
// Neither: C is the value of the series (E12 without rounding) nearest to the one that
// makes R = 10 kOhm, the middle of the resistors one likes to use; R follows from it.
struct RcRequest {
  RcCircuit circuit = RcCircuit::Lowpass;
  double frequency = 0.0;
  std::optional<double> r;
  std::optional<double> c;
  int series = 0;  // numerics/standard_series.h codes; 0 no rounding
  std::optional<double> load;
};

inline constexpr double kPreferredResistance = 10e3;

struct RcDesign {
  std::string problem;  // why there is no design; empty when there is one
  double r = 0.0;       // the values to build
  double c = 0.0;
  bool rComputed = false;
  bool cComputed = false;
  double exactValue = 0.0;      // the computed part's value before rounding
  double builtFrequency = 0.0;  // unloaded, with r and c
  double errorPercent = 0.0;    // builtFrequency against the requested frequency
  RcFigures loaded;             // with the load (the unloaded figures without one)
};
RcDesign DesignRcFilter(const RcRequest& request);

// Gain in dB and phase in degrees at each frequency, for the graphs: the gain floor is
// -300 dB (the notch's zero), never minus infinity.
struct RcCurves {
  std::vector<double> f;
  std::vector<double> gainDb;
  std::vector<double> phaseDegrees;
};
RcCurves RcResponseCurves(RcCircuit circuit, double r, double c, std::optional<double> load,
                          std::span<const double> frequencies);

}  // namespace morvane
