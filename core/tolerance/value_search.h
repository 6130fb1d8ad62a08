#pragma once

// The standard values that come closest to a design: for a circuit whose resistors were
// computed to fit its capacitors, every way of rounding each resistor down or up to the
// series, scored by the weighted relative errors of f0, Q, gain and (weighted heavily) the
// notch frequency against the design. Nearest rounding is one of them and often not the best:
// two resistors that set f0 together can err in opposite directions.

#include <vector>

#include "circuit/built_figures.h"
#include "circuit/circuit.h"

namespace morvane {

struct ValueChoice {
  std::vector<double> values;  // of the circuit's parts, in its order
  BuiltFigures figures;        // as built with them
  double score = 0.0;          // weighted error, the smaller the better
};

// The error weights: f0 and Q 1, gain 0.5, fz 10 (a notch is useless beside its frequency).
double ValueChoiceScore(const BuiltFigures& built, const BuiltFigures& designed);

// The `count` best roundings of the resistors of `circuit` to `series`, best first; the
// capacitors and inductors stay. `designed` are the figures the design asks for; `kind` is the
// section's (FilterSection's kinds). Every combination for up to 14 resistors, beyond that one
// resistor at a time from the nearest rounding while it improves. Empty when the circuit
// cannot be analysed.
std::vector<ValueChoice> BestResistorRoundings(const Circuit& circuit, const std::string& kind,
                                               const BuiltFigures& designed, int series, int count);

}  // namespace morvane
