#include "filters/analog_prototype.h"

#include <cmath>

#include "filters/prototype_families.h"

namespace morvane {
namespace {

bool UsesRipple(Approximation a) {
  return a == Approximation::Chebyshev || a == Approximation::Elliptic;
}

bool UsesStopband(Approximation a) {
  return a == Approximation::InverseChebyshev || a == Approximation::Elliptic;
}

bool InRange(double value, double low, double high) {
  return value >= low && value <= high;
}

// What is wrong with the request, or an empty string when it can be designed.
std::string ProblemWith(const PrototypeRequest& r) {
  if (r.approximation < Approximation::Butterworth || r.approximation > Approximation::Elliptic) {
    return "unknown approximation";
  }
  if (r.order < kMinPrototypeOrder || r.order > kMaxPrototypeOrder) {
    return "order must be 1 to 20";
  }
  if (r.approximation == Approximation::LinkwitzRiley && r.order % 2 != 0) {
    return "Linkwitz-Riley needs an even order (2, 4, ... 20)";
  }
  if (UsesRipple(r.approximation) && !InRange(r.rippleDb, kMinRippleDb, kMaxRippleDb)) {
    return "pass-band ripple must be 0.01 to 3 dB";
  }
  if (UsesStopband(r.approximation) && !InRange(r.stopbandDb, kMinStopbandDb, kMaxStopbandDb)) {
    return "stop-band attenuation must be 10 to 120 dB";
  }
  // Unreachable with the ranges above; kept so that widening them cannot give a bad design.
  if (r.approximation == Approximation::Elliptic && r.stopbandDb <= r.rippleDb) {
    return "stop-band attenuation must exceed the pass-band ripple";
  }
  return {};
}

}  // namespace

std::optional<AnalogPrototype> DesignPrototype(const PrototypeRequest& request,
                                               std::string* problem) {
  const std::string found = ProblemWith(request);
  if (!found.empty()) {
    if (problem != nullptr) *problem = found;
    return std::nullopt;
  }
  const int n = request.order;
  switch (request.approximation) {
    case Approximation::Butterworth:
      return prototype::Butterworth(n);
    case Approximation::Chebyshev:
      return prototype::Chebyshev(n, request.rippleDb);
    case Approximation::Bessel:
      return prototype::Bessel(n);
    case Approximation::LinkwitzRiley:
      return prototype::LinkwitzRiley(n);
    case Approximation::InverseChebyshev:
      return prototype::InverseChebyshev(n, request.stopbandDb);
    case Approximation::Elliptic:
      return prototype::Elliptic(n, request.rippleDb, request.stopbandDb);
  }
  return std::nullopt;  // not reached: ProblemWith rejects unknown approximations
}

}  // namespace morvane
