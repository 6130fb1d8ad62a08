#pragma once

// Figures of a whole filter given by its poles, zeros and gain (rad/s) and its kind: the -3 dB
// frequencies, stop-band attenuation, pass-band ripple, group delay, step-response figures and
// the peaking at every section output of a cascade. Every figure is computed from the closed
// forms of filter_response.h (gain, group delay and step response at chosen points), never by
// integrating differential equations. A figure that cannot be given (bad filter, not defined
// for the kind, not found) is an empty optional: no figure is ever NaN or infinite.
//
// Pass-band gain (the reference of every dB figure): the DC gain for lowpass and bandstop, the
// high-frequency limit for highpass, and for bandpass the maximum of the gain near the centre
// omega_m = (product of |poles|)^(1/N); of maxima equally high within 1e-9 dB (an equiripple
// pass band has several) the one nearest omega_m on a log scale, and of two equally near (a
// symmetric pair) the lower one. "-3 dB" is half power, 10 log10(2) = 3.0103 dB below it.
//
// The frequency axis is searched by sweeps whose steps are a fifth of the distance to the
// nearest pole or zero off the j omega axis (the scale on which gain and delay can bend), so
// every turning point lies between two samples whose slopes (in closed form) differ in sign;
// turning points are refined until their values are exact to 1e-10 dB (delays to 1e-12 of
// them), places that are reported to 1e-10, level crossings to 1e-14, by Brent's method or
// secant steps.
//
// The filter must be stable (poles in the open left half-plane), finite and proper (no more
// zeros than poles) with a non-zero gain; otherwise every figure is empty.

#include <optional>
#include <vector>

#include "design/design_state.h"
#include "filters/filter_sections.h"
#include "filters/frequency_transform.h"
#include "filters/pole_zero.h"

namespace morvane {

// Where the pass band ends, in Hz: lowpass has only `upperHz`, highpass only `lowerHz`, the band
// kinds both (for bandstop the edges of the stop band, i.e. the pass band ends at lowerHz and
// starts again at upperHz). Both empty when no -3 dB point is found.
struct HalfPowerEdges {
  std::optional<double> lowerHz;
  std::optional<double> upperHz;
};

struct GroupDelayFigures {
  double referenceDelay = 0.0;  // s: lowpass at omega -> 0; otherwise at the pass-band reference
                                // frequency (the high-frequency limit, 0 s, for highpass)
  double maxDelay = 0.0;        // s: the largest group delay in the pass band ...
  double maxDelayHz = 0.0;      // ... and where it occurs
};

inline constexpr double kSettlingBand = 0.01;  // settling is to within 1 % of the final value

// Step-response figures, lowpass only (the other kinds settle to 0 or start at their final
// value, so rise time and overshoot mean nothing there).
struct StepFigures {
  double riseTime = 0.0;               // s, from 10 % to 90 % of the final value (first crossings)
  double overshootPercent = 0.0;       // above the final value, 0 when it never exceeds it
  std::optional<double> settlingTime;  // s, last time outside +-kSettlingBand of the final value
};

// The headroom at one section output of a cascade: the maximum over frequency of the product
// of sections 1..i, relative to the pass-band gain of the whole cascade.
struct SectionPeaking {
  double peakingDb = 0.0;
  std::optional<double> atHz;  // empty when the maximum is the high-frequency limit
  double gbwpHz = 0.0;         // op-amp gain-bandwidth product the section needs
};

struct FilterFigures {
  std::optional<double> passbandGainDb;
  HalfPowerEdges edges;
  std::optional<double> rippleDb;
  std::optional<GroupDelayFigures> delay;
  std::optional<StepFigures> step;
};

// The pass-band gain in dB (see above).
std::optional<double> PassbandGainDb(const PoleZeroGain& h, FilterKind kind);

// The -3 dB frequencies: the first crossings walking outward from the pass band (for bandstop
// outward from the centre through the stop band).
HalfPowerEdges HalfPowerFrequencies(const PoleZeroGain& h, FilterKind kind);

// Attenuation at a frequency (Hz >= 0) relative to the pass-band gain, dB, positive when the
// gain is below the pass-band gain; at a transmission zero it is capped at 2e301 - pass band.
std::optional<double> AttenuationDb(const PoleZeroGain& h, FilterKind kind, double frequencyHz);

// Max minus min of the gain over the pass band (up to the -3 dB edges), taken over the local
// extrema and the reference point, so the monotonic fall to the -3 dB edge itself is not counted
// and a monotonic response has 0. DC and the high-frequency limit stand for the pass band four
// decades beyond the poles and zeros (lowpass, highpass) or beyond the edge (bandstop).
std::optional<double> PassbandRippleDb(const PoleZeroGain& h, FilterKind kind);

std::optional<GroupDelayFigures> PassbandGroupDelay(const PoleZeroGain& h, FilterKind kind);

// Rise time, overshoot and settling from StepResponse (the step response of PoleZeroStep) at
// chosen times: samples 0.7 rad of the fastest pole apart over a span after which the bound of
// StepResponse::DeviationBound stays within a tenth of the settling band, crossings and crests
// refined by Brent's method. Empty for every kind but lowpass, or when the DC gain is 0.
std::optional<StepFigures> StepResponseFigures(const PoleZeroGain& h, FilterKind kind);

// All of the above.
FilterFigures ComputeFilterFigures(const PoleZeroGain& h, FilterKind kind);

// Peaking and GBWP for every section output of a cascade built with SplitIntoSections; the GBWP
// is the single-stage rule of RecommendedGbwp for the given topology, from the section's f0, Q
// and gain. The maximum of each partial cascade is DC, the high-frequency limit or its highest
// turning point within four decades beyond all poles and zeros, and must exceed the first two
// by 1e-11 dB to count (a flat response's rounding does not). Empty when the cascade has no
// pass-band gain.
std::vector<SectionPeaking> SectionPeakings(const std::vector<FilterSection>& sections,
                                            FilterKind kind, Topology topology);

}  // namespace morvane
