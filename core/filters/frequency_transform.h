#pragma once

// Frequency transformations of a normalised lowpass prototype (-3 dB at 1 rad/s) into a
// lowpass, highpass, bandpass or bandstop in rad/s. Each is the exact substitution of s in the
// prototype's H(s), so the transformed filter keeps the prototype's pass-band gain:
//   lowpass   s -> s / w                  gain at DC as the prototype's DC gain
//   highpass  s -> w / s                  gain at high frequencies = prototype's DC gain
//   bandpass  s -> (s^2 + wm^2) / (B s)   gain at wm = prototype's DC gain; the -3 dB edges
//                                         w1, w2 satisfy w2 - w1 = B and w1 w2 = wm^2
//   bandstop  s -> B s / (s^2 + wm^2)     gain at DC and at high frequencies = DC gain,
//                                         zero transmission at wm
// Band filters have twice the prototype's order. Poles and zeros are expected in conjugate
// pairs; the transformed pairs are built from each other, so they stay exact conjugates.

#include <optional>
#include <string>

#include "filters/pole_zero.h"

namespace morvane {

enum class FilterKind { Lowpass, Highpass, Bandpass, Bandstop };

// Why the prototype cannot be transformed as asked, or an empty text when it can: omega (the
// corner, or the centre of a band) and, for the band kinds, the bandwidth must be positive and
// finite; the prototype must be finite, stable (poles in the open left half-plane) and proper
// (no more zeros than poles), and for a highpass or bandstop have no zero at s = 0, which those
// would move to infinity. The bandwidth is not looked at for lowpass and highpass.
std::string TransformProblem(const PoleZeroGain& prototype, FilterKind kind, double omega,
                             double bandwidth);

// The transformed filter, or nothing with `error` set (see TransformProblem; also when the
// result leaves the range of double, e.g. a gain w^order that overflows).
std::optional<PoleZeroGain> TransformPrototype(const PoleZeroGain& prototype, FilterKind kind,
                                               double omega, double bandwidth, std::string& error);

}  // namespace morvane
