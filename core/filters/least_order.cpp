#include "filters/least_order.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>

#include "filters/filter_response.h"
#include "numerics/arithmetic_geometric_mean.h"
#include "numerics/number_text.h"

namespace morvane {

namespace {

constexpr double kLn10 = std::numbers::ln10;
constexpr double kLn4 = 2.0 * std::numbers::ln2;
// A whole exact order counts as met when the real order exceeds it by no more than this.
constexpr double kWholeOrderSlack = 1e-9;

// The scheme in logarithmic form, so that neither huge attenuations nor edges very close
// together lose digits or overflow: with eps^2 = 10^(d/10) - 1 at either edge,
// lnEpsRatio = ln(eps2 / eps1) / 2 and lnEdgeRatio = ln(f2 / f1), both positive.
struct LogScheme {
  double lnEpsRatio = 0.0;
  double lnEdgeRatio = 0.0;
  double edgeExcess = 0.0;  // f2 / f1 - 1, exact for close edges; may be +inf for far ones
  double edgeRatio = 0.0;   // f1 / f2, in (0, 1)
};

// ln(10^(d/10) - 1) for d > 0, finite for every finite d.
double LnEpsSquared(double db) {
  const double x = db * kLn10 / 10.0;
  if (x > 30.0) return x + std::log1p(-std::exp(-x));
  return std::log(std::expm1(x));
}

// acosh(x) given x - 1 (exact for x near 1) and ln x (for x beyond what a double holds).
double AcoshOf(double excess, double lnX) {
  if (lnX > 20.0) return lnX + std::numbers::ln2;  // acosh x = ln 2x to double precision
  return std::log1p(excess + std::sqrt(excess * (excess + 2.0)));
}

// K'(k) = K(sqrt(1 - k^2)) of a modulus 0 < k < 1 given with ln(1/k), so a tiny k (whose
// complement is too close to 1 for a double) is handled by the series K' = ln(4/k) + O(k^2).
double ComplementaryK(double k, double lnInverseK) {
  if (k < 1e-9) return kLn4 + lnInverseK;
  return std::numbers::pi / (2.0 * ArithmeticGeometricMean(1.0, k));
}

// A modulus with its complement, each carried directly so that neither loses digits near 1.
struct Modulus {
  double k, lnInverseK, complement, lnInverseComplement;
};

double CompleteK(const Modulus& m) {
  return ComplementaryK(m.complement, m.lnInverseComplement);
}

double CompleteKPrime(const Modulus& m) {
  return ComplementaryK(m.k, m.lnInverseK);
}

// Degree equation n = K(k) K'(k1) / (K'(k) K(k1)) with the selectivity k = f1 / f2 and the
// discrimination k1 = eps1 / eps2.
double EllipticOrder(const ToleranceScheme& s, const LogScheme& log) {
  const double gap = (s.f2 - s.f1) / s.f2;  // 1 - k, exact
  const double kc = std::sqrt(gap * (1.0 + log.edgeRatio));
  const Modulus selectivity{log.edgeRatio, log.lnEdgeRatio, kc, -std::log(kc)};
  const double kc1Squared = -std::expm1(-2.0 * log.lnEpsRatio);
  const Modulus discrimination{std::exp(-log.lnEpsRatio), log.lnEpsRatio, std::sqrt(kc1Squared),
                               -0.5 * std::log(kc1Squared)};
  return CompleteK(selectivity) * CompleteKPrime(discrimination) /
         (CompleteKPrime(selectivity) * CompleteK(discrimination));
}

// The real order of the approximations with a closed form; nullopt for the others.
std::optional<double> ExactOrder(Approximation approximation, const ToleranceScheme& s,
                                 const LogScheme& log) {
  switch (approximation) {
    case Approximation::Butterworth:
      return log.lnEpsRatio / log.lnEdgeRatio;
    case Approximation::Chebyshev:
    case Approximation::InverseChebyshev:
      return AcoshOf(std::expm1(log.lnEpsRatio), log.lnEpsRatio) /
             AcoshOf(log.edgeExcess, log.lnEdgeRatio);
    case Approximation::Elliptic:
      return EllipticOrder(s, log);
    case Approximation::Bessel:
    case Approximation::LinkwitzRiley:
      break;
  }
  return std::nullopt;
}

double AttenuationDb(const PoleZeroGain& h, double omega) {
  return -PoleZeroGainDb(h, omega);
}

// The frequency where the monotonic attenuation of an all-pole prototype reaches `db`, by
// bisection on ln omega; nullopt when it is not reached within 1e-100..1e100 rad/s.
std::optional<double> FrequencyOfAttenuation(const PoleZeroGain& h, double db) {
  constexpr double kLimit = 1e100;
  double low = 1.0;
  double high = 1.0;
  if (AttenuationDb(h, 1.0) < db) {
    while (AttenuationDb(h, high) < db) {
      if (high >= kLimit) return std::nullopt;
      low = high;
      high *= 16.0;
    }
  } else {
    while (AttenuationDb(h, low) >= db) {
      if (low <= 1.0 / kLimit) return std::nullopt;
      high = low;
      low /= 16.0;
    }
  }
  // The bracket spans a factor 16; 48 halvings of its logarithm leave 1e-14 relative.
  for (int i = 0; i < 48; ++i) {
    const double middle = std::sqrt(low * high);
    (AttenuationDb(h, middle) < db ? low : high) = middle;
  }
  return std::sqrt(low * high);
}

// The Bessel or Linkwitz-Riley prototype of an order, designed once per process: designing
// all twenty Bessel prototypes takes most of a millisecond, scaling them far less.
const std::optional<AnalogPrototype>& AllPolePrototype(Approximation approximation, int order) {
  using Prototypes = std::array<std::optional<AnalogPrototype>, kMaxPrototypeOrder + 1>;
  const auto designAll = [](Approximation a) {
    Prototypes all;
    for (int n = kMinPrototypeOrder; n <= kMaxPrototypeOrder; ++n) {
      PrototypeRequest request;
      request.approximation = a;
      request.order = n;
      all[n] = DesignPrototype(request, nullptr);
    }
    return all;
  };
  static const Prototypes bessel = designAll(Approximation::Bessel);
  static const Prototypes linkwitzRiley = designAll(Approximation::LinkwitzRiley);
  return (approximation == Approximation::Bessel ? bessel : linkwitzRiley)[order];
}

// Whether the all-pole prototype of this order, scaled to d1 at f1, has at least d2 at f2.
bool ScaledPrototypeMeets(Approximation approximation, int order, const ToleranceScheme& s,
                          const LogScheme& log) {
  const std::optional<AnalogPrototype>& prototype = AllPolePrototype(approximation, order);
  if (!prototype) return false;
  const std::optional<double> passEdge = FrequencyOfAttenuation(prototype->transfer, s.d1);
  if (!passEdge) return false;
  const double lnStopEdge = std::log(*passEdge) + log.lnEdgeRatio;
  // An edge beyond 1e300 rad/s is evaluated there: the attenuation only grows further out.
  const double stopEdge = std::exp(std::fmin(lnStopEdge, std::log(1e300)));
  return AttenuationDb(prototype->transfer, stopEdge) >= s.d2;
}

std::string OrderText(double order) {
  return std::to_string(static_cast<long long>(order));
}

LeastOrderResult Impossible(std::string problem, double exactOrder = 0.0, int order = 0) {
  LeastOrderResult result;
  result.exactOrder = exactOrder;
  result.order = order;
  result.problem = std::move(problem);
  return result;
}

std::string TooHighText(const std::string& needs) {
  return "the scheme needs " + needs + "; the prototypes go up to order " +
         OrderText(kMaxPrototypeOrder);
}

LeastOrderResult SearchedOrder(Approximation approximation, const ToleranceScheme& s,
                               const LogScheme& log) {
  const int step = approximation == Approximation::LinkwitzRiley ? 2 : 1;
  for (int order = step; order <= kMaxPrototypeOrder; order += step) {
    if (ScaledPrototypeMeets(approximation, order, s, log)) {
      LeastOrderResult result;
      result.possible = true;
      result.order = order;
      return result;
    }
  }
  return Impossible(TooHighText("an order above " + OrderText(kMaxPrototypeOrder)));
}

LeastOrderResult ClosedFormOrder(double exact) {
  if (!std::isfinite(exact) || exact > 1e9) {
    return Impossible(TooHighText("an order far above " + OrderText(kMaxPrototypeOrder)));
  }
  const double whole = std::fmax(1.0, std::ceil(exact - kWholeOrderSlack));
  if (whole > kMaxPrototypeOrder) {
    return Impossible(TooHighText("order " + OrderText(whole)), exact, static_cast<int>(whole));
  }
  LeastOrderResult result;
  result.possible = true;
  result.exactOrder = exact;
  result.order = static_cast<int>(whole);
  return result;
}

// What is wrong with the scheme, or an empty text when it is one.
std::string SchemeProblem(const ToleranceScheme& s) {
  if (!std::isfinite(s.f1) || !std::isfinite(s.f2) || !std::isfinite(s.d1) ||
      !std::isfinite(s.d2)) {
    return "every edge and attenuation must be a finite number";
  }
  if (!(s.f1 > 0.0)) return "the pass-band edge f1 must be above 0";
  if (!(s.f2 > s.f1)) return "the stop-band edge f2 must be above the pass-band edge f1";
  if (!(s.d1 > 0.0)) return "the pass-band attenuation d1 must be above 0 dB";
  if (!(s.d2 > s.d1)) {
    return "the stop-band attenuation d2 must be above the pass-band attenuation d1";
  }
  return {};
}

std::string RangeText(double low, double high, const char* unit) {
  return GeneralText(low, 6) + " to " + GeneralText(high, 6) + " " + unit;
}

// Where the prototype takes d1 as its pass-band ripple or d2 as its stop-band attenuation, what
// is wrong with them, or an empty text: an order for a value the prototype cannot be designed
// with would be of no use.
std::string PrototypeRangeProblem(Approximation approximation, const ToleranceScheme& s) {
  const char* name = nullptr;
  bool ripple = false, stopband = false;
  switch (approximation) {
    case Approximation::Chebyshev:
      name = "Chebyshev", ripple = true;
      break;
    case Approximation::InverseChebyshev:
      name = "inverse Chebyshev", stopband = true;
      break;
    case Approximation::Elliptic:
      name = "elliptic", ripple = stopband = true;
      break;
    case Approximation::Butterworth:
    case Approximation::Bessel:
    case Approximation::LinkwitzRiley:
      return {};
  }
  const std::string prefix = std::string("for a ") + name + " filter ";
  if (ripple && !(s.d1 >= kMinRippleDb && s.d1 <= kMaxRippleDb)) {
    return prefix + "d1 is the pass-band ripple, which must be " +
           RangeText(kMinRippleDb, kMaxRippleDb, "dB");
  }
  if (stopband && !(s.d2 >= kMinStopbandDb && s.d2 <= kMaxStopbandDb)) {
    return prefix + "d2 is the stop-band attenuation, which must be " +
           RangeText(kMinStopbandDb, kMaxStopbandDb, "dB");
  }
  return {};
}

}  // namespace

LeastOrderResult LeastOrder(Approximation approximation, const ToleranceScheme& scheme) {
  if (std::string problem = SchemeProblem(scheme); !problem.empty()) {
    return Impossible(std::move(problem));
  }
  if (std::string problem = PrototypeRangeProblem(approximation, scheme); !problem.empty()) {
    return Impossible(std::move(problem));
  }
  LogScheme log;
  log.lnEpsRatio = 0.5 * (LnEpsSquared(scheme.d2) - LnEpsSquared(scheme.d1));
  log.edgeExcess = (scheme.f2 - scheme.f1) / scheme.f1;
  log.lnEdgeRatio =
      log.edgeExcess < 1.0 ? std::log1p(log.edgeExcess) : std::log(scheme.f2) - std::log(scheme.f1);
  log.edgeRatio = scheme.f1 / scheme.f2;
  // Attenuations a rounding apart need no rise: log.lnEpsRatio = 0 gives order 1 below.
  if (const std::optional<double> exact = ExactOrder(approximation, scheme, log)) {
    return ClosedFormOrder(*exact);
  }
  return SearchedOrder(approximation, scheme, log);
}

}  // namespace morvane
