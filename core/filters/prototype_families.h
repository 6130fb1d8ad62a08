#pragma once

// The approximation families behind DesignPrototype, for checked arguments only. Each returns
// the prototype already scaled to its half-power (or, Linkwitz-Riley, quarter-power) point at
// 1 rad/s.

#include "filters/analog_prototype.h"

namespace morvane::prototype {

AnalogPrototype Butterworth(int order);
AnalogPrototype LinkwitzRiley(int order);
AnalogPrototype Chebyshev(int order, double rippleDb);
AnalogPrototype InverseChebyshev(int order, double stopbandDb);
AnalogPrototype Bessel(int order);
AnalogPrototype Elliptic(int order, double rippleDb, double stopbandDb);

// H(s) -> H(s / factor): every pole and zero moves by `factor`, the gain keeps H(0) and the
// high-frequency asymptote consistent.
PoleZeroGain ScaleFrequency(const PoleZeroGain& h, double factor);

// The frequency between `below` (|H|^2 > 1/2) and `above` (|H|^2 < 1/2) where |H(jw)|^2 = 1/2,
// by bisection; the response must fall monotonically in between.
double HalfPowerFrequency(const PoleZeroGain& h, double below, double above);

// Gain making H(0) = dcGain for the given poles and zeros (none of them at s = 0).
double GainForDc(const PoleZeroGain& h, double dcGain);

// 10^(dB/10) - 1 without losing digits for small dB.
double PowerRatioMinusOne(double db);

}  // namespace morvane::prototype
