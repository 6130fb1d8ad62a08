#pragma once

// Passive LC ladder lowpass or highpass of order 2 to 10 (Butterworth or Chebyshev) between
// the source resistance RG = Zin and the load RL.

#include <array>
#include <complex>
#include <vector>

#include "design/design_choices.h"
#include "design/design_state.h"

namespace morvane {

// One element of a ladder, counted from the source.
struct LadderElement {
  char kind = 'C';     // 'C' capacitor or 'L' inductor
  double value = 0.0;  // F or H
  bool shunt = true;   // across the line (true) or in series with it
};

struct LadderInput {
  int order = 4;  // 2..10
  bool chebyshev = false;
  double rippleDb = 1.0;                  // Chebyshev pass-band ripple, 0.01..3 dB
  double rg = 1000.0;                     // source resistance, Ohm
  double rl = 1000.0;                     // load resistance, Ohm
  double fg = 1000.0;                     // -3 dB frequency, Hz
  FilterType type = FilterType::Lowpass;  // a highpass for Highpass, else a lowpass
};

enum class LadderFault {
  None,
  ChebyshevEvenMatched,  // even n with terminations too alike for the Chebyshev formulas
  EvenLoadAboveSource,   // even n, RL > RG: no shunt-first ladder exists
  BadTerminations,       // a resistance or fg that is not positive
};

// The ladder as designed: the normalised prototype, its poles and factor coefficients, and
// the elements as built (none when there is no network). Arrays count from 1.
struct LadderDesign {
  int n = 2;
  std::array<double, 11> g{};  // as the formulas give them; all 0 when there is no network
  // An odd order with RL < RG is the network for the reciprocal ratio turned round, scaled to
  // RL. Chebyshev values are normalised to the ripple-band edge, fg / frequencyScale for a
  // lowpass (fg times it for a highpass), so that the circuit is -3 dB at fg like its curve.
  bool mirrored = false;
  double frequencyScale = 1.0;
  LadderFault fault = LadderFault::None;
  std::array<std::complex<double>, 11> poles{};
  // 1 / prod(1 + a_i p + b_i p^2), and the Q of each pole pair (0 for the real pole).
  std::array<double, 11> coefA{};
  std::array<double, 11> coefB{};
  std::array<double, 11> poleQ{};
  std::vector<LadderElement> elements;
  bool Valid() const { return fault == LadderFault::None; }
};

LadderDesign DesignLadder(const LadderInput& in);

// The ladder the LC page's entries and choices ask for.
LadderInput LadderInputOf(const DesignState& s, FilterType type, bool chebyshev);

// The elements of the LC page's ladder as built; empty when it has no valid network.
std::vector<LadderElement> LadderElements(const DesignState& s, const DesignChoices& c);

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
