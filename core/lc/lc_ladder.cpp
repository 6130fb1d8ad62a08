#include "lc/lc_ladder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>

namespace morvane {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegreesPerRadian = 180.0 / kPi;
constexpr int kRows = 10;

// Beyond this the squared frequency still fits a double; the response is 0 there anyway.
constexpr double kMaxNormalisedFrequency = 1e100;

int OrderOf(int order) {
  return std::clamp(order, 2, kRows);
}

// The entry clamps already hold the ripple there; kept here so epsilon stays in (0, 1).
double Epsilon(double rippleDb) {
  const double ripple = std::clamp(rippleDb, 0.01, 3.0);
  return std::sqrt(std::pow(10.0, ripple / 10.0) - 1.0);
}

// Omega of the -3 dB point in units of the ripple-band edge.
double ChebyshevScale(double eps, int n) {
  return std::cosh(std::acosh(1.0 / eps) / n);
}

bool Positive(double x) {
  return x > 0.0 && std::isfinite(x);
}

double S(int m, int n) {
  return 2.0 * std::sin(m * kPi / (2.0 * n));
}
double C(int m, int n) {
  return 2.0 * std::cos(m * kPi / (2.0 * n));
}

void ButterworthG(int n, double RL, double RG, std::array<double, 11>& g) {
  // |r - 1| / (r + 1) without forming r, so extreme ratios stay exact.
  const double alpha = -std::pow(std::fabs(RL - RG) / (RL + RG), 1.0 / n);
  g[1] = S(1, n) / (1.0 - alpha);
  for (int k = 2; k <= n; ++k) {
    g[k] = S(2 * k - 3, n) * S(2 * k - 1, n) /
           ((1.0 + alpha * alpha - alpha * C(2 * k - 2, n)) * g[k - 1]);
  }
}

// Returns false for the even-order case that the formulas cannot meet (K >= 1).
bool ChebyshevG(int n, double eps, double RL, double RG, std::array<double, 11>& g) {
  const double matched = 4.0 * (RL / (RL + RG)) * (RG / (RL + RG));
  const double K = n % 2 == 1 ? matched : (1.0 + eps * eps) * matched;
  if (K >= 1.0 && n % 2 == 0) return false;
  // Odd n reaches K = 1 only at RL = RG; rounding must not push the roots below zero.
  const double mismatch = std::max(1.0 - K, 0.0);
  const double Y = std::pow(std::sqrt(1.0 / (eps * eps) + 1.0) + 1.0 / eps, 1.0 / n);
  const double X =
      -std::pow(std::sqrt(1.0 + mismatch / (eps * eps)) + std::sqrt(mismatch) / eps, 1.0 / n);
  const double Yd = Y - 1.0 / Y;
  const double Xd = X - 1.0 / X;
  g[1] = 2.0 * S(1, n) / (Yd - Xd);
  for (int k = 2; k <= n; ++k) {
    const double s = S(2 * k - 2, n);
    g[k] = 4.0 * S(2 * k - 3, n) * S(2 * k - 1, n) /
           (g[k - 1] * (s * s + Yd * Yd - Yd * Xd * C(2 * k - 2, n) + Xd * Xd));
  }
  return true;
}

LadderDesign DesignPrototype(const LadderInput& in) {
  LadderDesign p;
  p.n = OrderOf(in.order);
  const double RG = in.rg;
  const double RL = in.rl;
  const bool chebyshev = in.chebyshev;
  const double eps = Epsilon(in.rippleDb);
  if (chebyshev) p.frequencyScale = ChebyshevScale(eps, p.n);
  if (!Positive(RG) || !Positive(RL) || !Positive(in.fg)) {
    p.fault = LadderFault::BadTerminations;
    return p;
  }
  if (chebyshev) {
    if (!ChebyshevG(p.n, eps, RL, RG, p.g)) {
      p.g.fill(0.0);
      p.fault = LadderFault::ChebyshevEvenMatched;
      return p;
    }
  } else {
    ButterworthG(p.n, RL, RG, p.g);
  }
  // The formulas see only |RL - RG| / (RL + RG): they give the network for RL >= RG at odd n
  // and RL <= RG at even n. An odd ladder turned round serves the reciprocal ratio; an even
  // one turned round would start with a series element, so there is none.
  if (RL < RG && p.n % 2 == 1) {
    p.mirrored = true;
  } else if (RL > RG && p.n % 2 == 0) {
    p.g.fill(0.0);
    p.fault = LadderFault::EvenLoadAboveSource;
  }
  return p;
}

std::vector<LadderElement> BuildElements(const LadderDesign& p, const LadderInput& in) {
  std::vector<LadderElement> elements;
  if (!p.Valid()) return elements;
  const bool highpass = in.type == FilterType::Highpass;
  const double R = p.mirrored ? in.rl : in.rg;
  // Chebyshev values are normalised to the ripple-band edge, which lies below fg (lowpass)
  // or above it (highpass) by the scale.
  const double w = 2.0 * kPi * in.fg * (highpass ? p.frequencyScale : 1.0 / p.frequencyScale);
  for (int k = 1; k <= p.n; ++k) {
    const double g = p.g[static_cast<std::size_t>(p.mirrored ? p.n + 1 - k : k)];
    const bool shunt = k % 2 == 1;
    LadderElement e;
    e.shunt = shunt;
    if (!highpass) {
      e.kind = shunt ? 'C' : 'L';
      e.value = shunt ? g / (w * R) : R * g / w;
    } else {
      e.kind = shunt ? 'L' : 'C';
      e.value = shunt ? R / (w * g) : 1.0 / (w * R * g);
    }
    elements.push_back(e);
  }
  return elements;
}

std::complex<double> Pole(int k, int n, bool chebyshev, double eps) {
  const double theta = (2 * k - 1) * kPi / (2.0 * n);
  // The middle pole of an odd order is real; cos(pi/2) would leave a residue of 6e-17.
  const double re = -std::sin(theta);
  const double im = 2 * k - 1 == n ? 0.0 : std::cos(theta);
  if (!chebyshev) return {re, im};
  const double a = std::asinh(1.0 / eps) / n;
  const double w = ChebyshevScale(eps, n);
  return {re * std::sinh(a) / w, im * std::cosh(a) / w};
}

// The poles of the normalised response and the coefficients of its factors
// 1 + a p + b p^2 (1 + a p for the real pole of an odd order).
void ComputePoles(LadderDesign& p, bool chebyshev, double eps) {
  const int n = p.n;
  for (int k = 1; k <= n; ++k) p.poles[static_cast<std::size_t>(k)] = Pole(k, n, chebyshev, eps);
  const int pairs = (n + 1) / 2;
  for (int i = 1; i <= pairs; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const std::complex<double> pole = p.poles[index];
    const double modulus = std::abs(pole);
    if (n % 2 == 1 && i == pairs) {
      p.coefA[index] = 1.0 / modulus;
    } else {
      p.coefA[index] = -2.0 * pole.real() / (modulus * modulus);
      p.coefB[index] = 1.0 / (modulus * modulus);
      p.poleQ[index] = modulus / (-2.0 * pole.real());
    }
  }
}

// One angle addition of the polar product: a single step back into -360 .. 360.
double ReduceAngle(double degrees) {
  if (degrees > 360.0) return degrees - 360.0;
  if (degrees < -360.0) return degrees + 360.0;
  return degrees;
}

}  // namespace

LadderDesign DesignLadder(const LadderInput& in) {
  LadderDesign p = DesignPrototype(in);
  ComputePoles(p, in.chebyshev, Epsilon(in.rippleDb));
  p.elements = BuildElements(p, in);
  return p;
}

LadderInput LadderInputOf(const DesignState& s, FilterType type, bool chebyshev) {
  return {.order = s.LCOrder,
          .chebyshev = chebyshev,
          .rippleDb = s.rippleDb,
          .rg = s.Zin,
          .rl = s.RL,
          .fg = s.fg,
          .type = type};
}

std::vector<LadderElement> LadderElements(const DesignState& s, const DesignChoices& c) {
  return DesignLadder(LadderInputOf(s, c.type, c.ladderChebyshev)).elements;
}

double ChebyshevCutOffScale(int n, double rippleDb) {
  return ChebyshevScale(Epsilon(rippleDb), std::clamp(n, 2, kRows));
}

PolarValue PolarFromRectangular(double re, double im) {
  PolarValue p;
  p.magnitude = std::hypot(re, im);
  if (im == 0.0) {
    p.angle = re < 0.0 ? 180.0 : 0.0;
  } else if (re == 0.0) {
    p.angle = im < 0.0 ? -90.0 : 90.0;
  } else {
    p.angle = std::atan(im / re) * kDegreesPerRadian;
    if (re < 0.0) p.angle += im < 0.0 ? -180.0 : 180.0;
  }
  return p;
}

double FoldLadderPhase(double degrees) {
  if (degrees >= 270.0) degrees -= 360.0;
  if (degrees < -90.0) degrees += 360.0;
  return degrees;
}

PolarValue LadderResponse(const DesignState& s, FilterType type, double f) {
  // A highpass is the lowpass at p -> 1/p, which takes j*f/fg to -j*fg/f: the same
  // magnitude and the phase lead of a highpass rather than a lag.
  double w = type == FilterType::Highpass ? -s.fg / f : f / s.fg;
  // f = 0 of a highpass must give 0, not 0 * inf.
  if (std::isnan(w)) w = kMaxNormalisedFrequency;
  if (std::fabs(w) > kMaxNormalisedFrequency) w = std::copysign(kMaxNormalisedFrequency, w);
  PolarValue product;
  const int factors = OrderOf(s.LCOrder) / 2 + 1;
  for (int k = 1; k <= factors; ++k) {
    const auto i = static_cast<std::size_t>(k);
    const PolarValue factor =
        PolarFromRectangular(1.0 - s.LadderCoefB[i] * w * w, s.LadderCoefA[i] * w);
    product.magnitude *= factor.magnitude;
    product.angle = ReduceAngle(product.angle + factor.angle);
  }
  PolarValue h;
  h.magnitude = product.magnitude == 0.0 ? 1e20 : 1.0 / product.magnitude;
  h.angle = -product.angle;
  return h;
}

}  // namespace morvane
