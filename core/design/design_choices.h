#pragma once

// What a recalculation reads besides DesignState: the filter type, the options of the pages
// and the values of the entries only one page shows.

#include "design/design_state.h"

namespace morvane {

struct DesignChoices {
  FilterType type = FilterType::Lowpass;

  bool mfbEqualCapacitors = true;        // MFB: try equal capacitors
  bool pfbEqualCapacitors = true;        // PFB: equal capacitors, else unity-gain low/highpass
  bool offsetCompensation = true;        // PFB: R3 and R4 for equal DC resistances at the inputs
  bool svf3AutomaticCapacitance = true;  // capacitances from the series, else the page's entry
  bool svf4AutomaticCapacitance = true;
  bool fliegeAutomaticCapacitance = true;
  // Options > Round Resistors: every resistor of an active stage rounded to the nearest value
  // of the resistor series after the design, as the stage is built.
  bool roundResistors = false;

  bool ladderChebyshev = false;    // LC ladder: Chebyshev instead of Butterworth
  int diplexerOrder = 3;           // 3, 5, 7 or 9
  bool diplexerChebyshev = false;  // LC diplexer: Chebyshev instead of Butterworth

  // Entries of single pages, as their fields show them (held within the entry limits).
  double pfbR3 = 1000.0;          // PFB resistance R3, Ohm
  double pfbZeroRatio = 2.0;      // PFB elliptical lowpass fn/fo
  double svf3Capacitance = 1e-9;  // F
  double svf4Capacitance = 1e-9;
  double fliegeCapacitance = 1e-9;
};

}  // namespace morvane
