#pragma once

// Point functions of the current design's response: gain, phase and group delay at one
// frequency, and the step response of the second-order lowpass at one time.

#include "design/design_state.h"

namespace morvane {

// Sets s.fo from fg and Q as every frequency curve does first (fg*sqrt(k) for a highpass).
void UpdatePoleFrequency(DesignState& s, FilterType type);

// |H| at f, as a factor (reference frequency fg for bandpass and bandstop, fo otherwise).
double MagnitudeAt(const DesignState& s, FilterType type, double f);
// 20 log10 |H|; a magnitude of exactly 0 gives -2e301.
double GainDbAt(const DesignState& s, FilterType type, double f);
// Phase in degrees.
double PhaseAt(const DesignState& s, FilterType type, double f);
// Group delay in seconds.
double GroupDelayAt(const DesignState& s, FilterType type, double f);
// Step response of the second-order lowpass whose -3 dB frequency is fg; stores D = 0.5/Q.
double StepResponseAt(DesignState& s, double t);

// Pure helpers shared with the information panel.

// The frequency the point functions normalise to: fg for bandpass and bandstop, fo otherwise.
double ReferenceFrequency(const DesignState& s, FilterType type);
// Angular resonance of the second-order lowpass whose -3 dB frequency is fg.
double LowpassPoleAngularFrequency(double fg, double Q);
// e^x, held finite: above 100 it grows linearly, below -100 it is 0.
double GuardedExp(double x);
// Unit step response of 1 / (1 + 2D p/w0 + p^2/w0^2) at time t.
double SecondOrderStep(double D, double w0, double t);

}  // namespace morvane
