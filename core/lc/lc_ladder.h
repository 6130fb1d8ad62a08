#pragma once

// Passive LC ladder lowpass or highpass of order 2 to 10 (Butterworth or Chebyshev) between
// the source resistance RG = Zin and the load RL.

#include <vector>

#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/recalc_inputs.h"

namespace morvane {

// One element of a ladder, counted from the source.
struct LadderElement {
  char kind = 'C';     // 'C' capacitor or 'L' inductor
  double value = 0.0;  // F or H
  bool shunt = true;   // across the line (true) or in series with it
};

// Fills LadderG, LadderCoefA, LadderCoefB and both grids of the LC page (in.type is lowpass
// or highpass, in.RadioButtonTscheb selects Chebyshev with ripple Welligkeit).
void ComputeLadder(DesignState& s, const RecalcInputs& in, FieldSink& out);

// The elements as the element grid shows them; empty when the design has no valid network.
std::vector<LadderElement> LadderElements(const DesignState& s, const RecalcInputs& in);

// Complex response in polar form: magnitude as a factor, angle in degrees.
struct PolarValue {
  double magnitude = 1.0;
  double angle = 0.0;
};
PolarValue LadderResponse(const DesignState& s, FilterType type, double f);

// cosh(arcosh(1/eps) / n): where a Chebyshev response of this order and ripple (dB) is 3 dB
// down, in units of its ripple-band edge.
double ChebyshevCutOffScale(int n, double rippleDb);

// The response's rectangular-to-polar step: angle atan(im/re) in degrees taken into its
// quadrant (180 for a negative real, +-90 on the imaginary axis, 0 for zero).
PolarValue PolarFromRectangular(double re, double im);
// The ladder's phase as graphs and readouts show it, in [-90, 270).
double FoldLadderPhase(double degrees);

}  // namespace morvane
