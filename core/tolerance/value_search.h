#pragma once

// The standard values that come closest to a design: for a circuit whose resistors were
// computed to fit its capacitors, every way of rounding each resistor down or up to the
// series, scored by the weighted relative errors of f0, Q, gain and (weighted heavily) the
// notch frequency against the design. Nearest rounding is one of them and often not the best:
// two resistors that set f0 together can err in opposite directions.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "circuit/built_figures.h"
#include "circuit/circuit.h"

namespace morvane {

struct ValueChoice {
  std::vector<double> values;  // of the circuit's parts, in its order
  BuiltFigures figures;        // as built with them
  double score = 0.0;          // weighted error, the smaller the better
  double level = 0.0;          // the impedance level (or capacitance) that gave the capacitors
};

// What a part's value is known by: parts with the same key follow the first of them in a
// fixed ratio (a stage's "R1A" is 2 R1, its "R1B" of a twin-T R1). By default every part is
// its own.
using ValueKey = std::function<std::string(const std::string& partName)>;
inline std::string OwnName(const std::string& partName) {
  return partName;
}

// The error weights: f0 and Q 1, gain 0.5, fz 10 (a notch is useless beside its frequency).
double ValueChoiceScore(const BuiltFigures& built, const BuiltFigures& designed);

// The `count` best roundings of the resistors of `circuit` to `series`, best first; the
// capacitors and inductors stay. `designed` are the figures the design asks for; `kind` is the
// section's (FilterSection's kinds). Every combination for up to 14 resistors, beyond that one
// resistor at a time from the nearest rounding while it improves. Empty when the circuit
// cannot be analysed.
std::vector<ValueChoice> BestResistorRoundings(const Circuit& circuit, const std::string& kind,
                                               const BuiltFigures& designed, int series, int count,
                                               const ValueKey& key = OwnName);

// The circuit a topology's own design gives at an impedance level (or, where the user enters
// the capacitance, with that capacitance): its capacitors from the series, its resistors
// computed to fit. None where it cannot be built.
using DesignAtLevel = std::function<std::optional<Circuit>(double level)>;

// The `count` best sets of standard values, best first: the designs at levels from
// level / sqrt(10) to level * sqrt(10) (so every capacitor of the series within a decade
// around the design's is tried, as the design pairs them), each capacitor set with its best
// resistor rounding. A set with a part no one can buy is left out. `designed` and `kind` as
// for BestResistorRoundings.
std::vector<ValueChoice> SearchStandardValues(const DesignAtLevel& design, double level,
                                              const std::string& kind, const BuiltFigures& designed,
                                              int seriesR, int seriesC, int count,
                                              const ValueKey& key = OwnName);

}  // namespace morvane
