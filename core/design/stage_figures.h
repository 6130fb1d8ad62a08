#pragma once

// The information panel (group delay, noise bandwidth, rise time, overshoot) and the
// frequency-response readout at f.

#include <optional>

#include "design/design_state.h"

namespace morvane {

// The response at the readout frequency s.f.
struct Readout {
  double magnitude = 0.0;  // |V(f)| as a factor, with the stage's gain
  double gainDb = 0.0;
  double phaseDegrees = 0.0;
  double groupDelay = 0.0;  // s
};
Readout ReadoutAt(const DesignState& s, FilterType type);

// The panel's figures as numbers. f0 is the reference frequency of the response (fg for
// bandpass and bandstop, fo otherwise); fg is the -3 dB frequency of the lowpass behind the
// rise time and overshoot.

// Noise bandwidth in Hz of the lowpass (pi Q f0 / 2) and the bandpass (pi f0 / (2 Q)): the
// width of the ideal band with the same noise power; nullopt where the integral diverges.
std::optional<double> NoiseBandwidth(FilterType type, double Q, double f0);
// tgro: the low-frequency group delay, for the bandpass the one at the centre.
double GroupDelayFigure(FilterType type, double Q, double f0);
// 10 % to 90 % rise time of the step response with damping D.
double RiseTime(double Q, double D, double fg);
// First maximum of the step response above 1, in percent; 0 for Q <= 0.5.
double Overshoot(double Q, double D, double fg);

}  // namespace morvane
