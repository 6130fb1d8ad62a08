#pragma once

// What the tolerances of the parts do to a filter built from them: Monte Carlo runs (each
// part drawn within its tolerance, every section's transfer computed from the drawn values),
// the relative sensitivities of f0, Q and gain to every part, the worst case, and the yield
// against a tolerance mask.
//
// A filter here is one or more sections (a single stage is one), each a circuit with the kind
// that says where its gain and zero are stated; the whole response is the product of the
// sections'. Random numbers come from a seeded 64-bit Mersenne Twister turned into uniform
// and Gaussian numbers by this file's own formulas, so a seed gives the same runs on every
// platform. A Gaussian part has its tolerance at 3 sigma and is drawn again while it lies
// beyond (a part outside its tolerance is not delivered).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cascade/cascade_design.h"
#include "circuit/built_figures.h"
#include "circuit/circuit.h"
#include "filters/frequency_transform.h"

namespace morvane {

enum class ToleranceDistribution { Uniform, Gaussian };

struct Tolerances {
  double resistorPercent = 1.0;
  double capacitorPercent = 5.0;
  double inductorPercent = 5.0;
  ToleranceDistribution distribution = ToleranceDistribution::Uniform;
  std::uint64_t seed = 1;
};

// The tolerance of a part by the first letter of its name (R, C, L), as a fraction.
double ToleranceOf(const std::string& partName, const Tolerances& tolerances);

struct ToleranceSection {
  Circuit circuit;       // input "in", output "out"
  std::string kind;      // FilterSection's kinds: where gain and zero are stated
  BuiltFigures nominal;  // the figures with the nominal values
  // Where the notch is to be (the design's fz): its depth is measured there. Empty: at the
  // nominal circuit's own zero.
  std::optional<double> targetFz;
};

// A section's circuit, its kind and the notch frequency its design asked for (if any).
struct SectionCircuitOfKind {
  Circuit circuit;
  std::string kind;
  std::optional<double> targetFz;
};

// The sections of a designed cascade, each with the notch frequency its plan asked for.
std::vector<SectionCircuitOfKind> SectionCircuitsOf(const CascadeDesign& design);

// The sections of a filter with their nominal figures; none when a circuit cannot be analysed.
std::optional<std::vector<ToleranceSection>> ToleranceSectionsOf(
    const std::vector<SectionCircuitOfKind>& circuits);

// A tolerance scheme as the order dialog's: at most d1 dB from the pass-band gain up to f1,
// at least d2 dB down from f2 on (lowpass; a highpass mirrors it, f1 > f2). Band filters: the
// pass band from f1 to fm^2/f1, the stop band beyond f2 and below fm^2/f2 (bandpass), or the
// other way round (bandstop).
struct ToleranceMask {
  double f1 = 0.0;
  double d1 = 0.0;
  double f2 = 0.0;
  double d2 = 0.0;
};

struct Statistics {
  double mean = 0.0;
  double std = 0.0;  // sample standard deviation
  double min = 0.0;
  double max = 0.0;
  double p5 = 0.0;  // percentiles, linear between order statistics
  double p95 = 0.0;
};

struct SectionStatistics {
  Statistics f0, q, gain;
  std::optional<Statistics> fz;
  // The gain at the notch (targetFz, else the nominal zero) against the section's gain, dB.
  std::optional<Statistics> notchDepthDb;
};

// The spread of the whole gain: for each frequency the least, 5 %, nominal, 95 % and largest
// gain in dB (the percentiles by nearest rank).
struct GainBand {
  std::vector<double> frequencies;  // Hz, logarithmically spaced
  std::vector<double> minDb, p5Db, nominalDb, p95Db, maxDb;
  std::vector<double> meanGain, stdGain;  // of |H| (V/V) over the runs
};

// The spread of one quantity over the band's frequencies: for each, the least, 5 %, nominal,
// 95 % and largest value (the percentiles by nearest rank).
struct SpreadBand {
  std::vector<double> min, p5, nominal, p95, max;
};

struct MonteCarloRequest {
  int runs = 1000;
  Tolerances tolerances;
  double fromHz = 10.0;
  double toHz = 100e3;
  int points = 200;
  std::vector<double> frequencies;        // Hz: when given, the band's frequencies instead
  FilterKind kind = FilterKind::Lowpass;  // for the mask
  double passbandGain = 1.0;              // the nominal pass-band gain the mask is measured from
  double centreHz = 1000.0;               // fm of a band filter's mask
  std::optional<ToleranceMask> mask;
  bool phaseAndDelay = false;  // the bands of phase and group delay too (slower)
  // Called every kProgressEvery runs with the runs done so far; false stops the analysis,
  // which then returns no result (cancelled). May be called from another thread's run.
  std::function<bool(int runsDone)> progress;
};

inline constexpr int kProgressEvery = 100;

struct PartImportance {
  std::string section;  // "1", "2", ...
  std::string part;
  double share = 0.0;  // of the spread of f0 and Q it causes, 0..1 over all parts
};

struct MonteCarloResult {
  bool cancelled = false;  // the progress callback stopped it: nothing else is filled
  int runs = 0;
  std::uint64_t seed = 0;
  std::vector<SectionStatistics> sections;
  GainBand band;
  std::optional<double> yield;             // with a mask: the share of runs that meet it
  std::vector<PartImportance> importance;  // largest first
  // With phaseAndDelay: the phase in degrees (the nominal continuous in f, each run's within
  // 180 of it) and the group delay in seconds. A run's delay where a zero lies on the
  // frequency is left out of that frequency's spread.
  std::optional<SpreadBand> phaseDegrees;
  std::optional<SpreadBand> groupDelay;
};

MonteCarloResult RunMonteCarlo(const std::vector<ToleranceSection>& sections,
                               const MonteCarloRequest& request);

// Relative sensitivities S = (dy/y) / (dx/x) of one section's figures to each of its parts,
// by central differences of 1e-5 relative.
struct PartSensitivity {
  std::string part;
  double f0 = 0.0;
  double q = 0.0;
  double gain = 0.0;
};
std::vector<PartSensitivity> Sensitivities(const ToleranceSection& section);

// The least and largest f0, Q and gain of a section with every part within its tolerance:
// every vertex of the tolerance box for up to 12 parts, beyond that each part at the end its
// sensitivity points to.
struct WorstCase {
  double f0Min = 0.0, f0Max = 0.0;
  double qMin = 0.0, qMax = 0.0;
  double gainMin = 0.0, gainMax = 0.0;
  bool vertices = true;  // false: from the sensitivities
};
WorstCase WorstCaseOf(const ToleranceSection& section, const Tolerances& tolerances);

}  // namespace morvane
