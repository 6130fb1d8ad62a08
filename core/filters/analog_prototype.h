#pragma once

// Normalised analog lowpass prototypes as poles, zeros and gain. Every approximation is scaled
// so that |H(j1)|^2 = 1/2 (-3.0103 dB at 1 rad/s), except Linkwitz-Riley, which is -6.0206 dB
// there (two cascaded Butterworth filters).

#include <optional>
#include <string>

#include "filters/pole_zero.h"

namespace morvane {

enum class Approximation {
  Butterworth,
  Chebyshev,
  Bessel,
  LinkwitzRiley,
  InverseChebyshev,
  Elliptic
};

struct PrototypeRequest {
  Approximation approximation = Approximation::Butterworth;
  int order = 2;             // 1..20; Linkwitz-Riley even only
  double rippleDb = 1.0;     // pass-band ripple, Chebyshev and elliptic: 0.01..3 dB
  double stopbandDb = 60.0;  // stop-band attenuation, inverse Chebyshev and elliptic: 10..120 dB
};

struct AnalogPrototype {
  PoleZeroGain transfer;
  double passbandEdge = 0.0;  // rad/s where the ripple band ends (the -ripple point); 0 when none
  double stopbandEdge = 0.0;  // rad/s where the stop-band attenuation is first reached; 0 when none
};

inline constexpr int kMinPrototypeOrder = 1;
inline constexpr int kMaxPrototypeOrder = 20;
inline constexpr double kMinRippleDb = 0.01;
inline constexpr double kMaxRippleDb = 3.0;
inline constexpr double kMinStopbandDb = 10.0;
inline constexpr double kMaxStopbandDb = 120.0;

// The prototype, or nullopt with *problem (when given) saying what is allowed.
std::optional<AnalogPrototype> DesignPrototype(const PrototypeRequest& request,
                                               std::string* problem);

}  // namespace morvane
