#pragma once

// What a recalculation reads besides DesignState: the filter type, the options of the pages
// and the values of the entries only one page shows.

#include <optional>

#include "design/design_state.h"
#include "design/stage_design.h"
#include "opamp/opamp_model.h"

namespace morvane {

// Standard values the user took from the value search for an active stage: they replace the
// parts of its design for as long as the design gives the parts it gave when they were taken
// (the same page, type, entries and options).
struct ChosenValues {
  Topology topology = Topology::Mfb;
  FilterType type = FilterType::Lowpass;
  StageParts designed;
  StageParts chosen;
};

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
  std::optional<ChosenValues> chosenValues;
  // The op amp the stage is built with, for its response beside the ideal one; none: only
  // the ideal amplifier the design assumes.
  std::optional<OpAmpModel> opAmp;
  // Pre-distortion for that op amp: an MFB or PFB lowpass, highpass or bandpass is designed
  // for the f0 and Q that give the entered ones with it (the entries stay as typed).
  bool predistort = false;

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
