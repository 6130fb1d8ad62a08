#pragma once

// The least order of a lowpass that meets a tolerance scheme: at most d1 dB attenuation up to
// the pass-band edge f1, at least d2 dB from the stop-band edge f2 on, for every approximation
// the prototypes offer (orders 1..20).

#include <string>

#include "filters/analog_prototype.h"

namespace morvane {

struct ToleranceScheme {
  double f1 = 0.0;  // pass-band edge (any unit, the same as f2)
  double d1 = 0.0;  // attenuation allowed at f1, dB
  double f2 = 0.0;  // stop-band edge, above f1
  double d2 = 0.0;  // attenuation required from f2 on, dB, above d1
};

struct LeastOrderResult {
  bool possible = false;
  // The order as a real number where a closed form gives one (Butterworth, Chebyshev,
  // inverse Chebyshev, elliptic); 0 for Bessel and Linkwitz-Riley and for no scheme. Finite.
  double exactOrder = 0.0;
  // The least whole order; when the scheme needs more than the prototypes offer, the order it
  // would need if that is known (else 0), with possible false.
  int order = 0;
  std::string problem;  // why there is no order; empty when possible
};

// Chebyshev and elliptic have pass-band ripple d1; inverse Chebyshev and elliptic have
// stop-band attenuation d2. Bessel and Linkwitz-Riley (even orders only) are scaled so that
// their attenuation at f1 is exactly d1. A whole exact order within 1e-9 counts as met.
// A ripple d1 outside kMinRippleDb..kMaxRippleDb (Chebyshev, elliptic) or a stop band d2
// outside kMinStopbandDb..kMaxStopbandDb (inverse Chebyshev, elliptic) cannot be designed, so
// the scheme has no order then, with a problem naming the allowed range.
LeastOrderResult LeastOrder(Approximation approximation, const ToleranceScheme& scheme);

}  // namespace morvane
