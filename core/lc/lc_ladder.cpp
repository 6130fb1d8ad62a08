#include "lc/lc_ladder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "design/field_names.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegreesPerRadian = 180.0 / kPi;
constexpr int kRows = 10;

constexpr const char* kBlank = " ";
constexpr const char* kNoValue = "-";
constexpr const char* kUndefined = "undefiniert";
constexpr const char* kChebyshevEvenMessage = "For geraden n RG must be quite different from RL.";
constexpr const char* kEvenLoadNotice =
    "Even n needs RL <= RG: no ladder starting with a shunt element gives this response into a "
    "larger load. Lower RL or choose an odd n.";

// Beyond this the squared frequency still fits a double; the response is 0 there anyway.
constexpr double kMaxNormalisedFrequency = 1e100;

enum class LadderFault {
  None,
  ChebyshevEvenMatched,  // even n, K >= 1: the message box
  EvenLoadAboveSource,   // even n, RL > RG: no shunt-first ladder exists
  BadTerminations,       // a resistance or fg that is not positive
};

// The normalised prototype and how the circuit is built from it.
struct LadderPrototype {
  int n = 2;
  std::array<double, 11> g{};  // as the formulas give them; all 0 when there is no network
  bool mirrored = false;
  double frequencyScale = 1.0;
  LadderFault fault = LadderFault::None;
  bool Valid() const { return fault == LadderFault::None; }
};

int OrderOf(const DesignState& s) {
  return std::clamp(s.LCOrder, 2, kRows);
}

// The entry clamps already hold the ripple there; kept here so epsilon stays in (0, 1).
double Epsilon(double rippleDb) {
  const double ripple = std::clamp(rippleDb, 0.01, 3.0);
  return std::sqrt(std::pow(10.0, ripple / 10.0) - 1.0);
}

double EpsilonOf(const DesignState& s) {
  return Epsilon(s.Welligkeit);
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

LadderPrototype DesignPrototype(const DesignState& s, const RecalcInputs& in) {
  LadderPrototype p;
  p.n = OrderOf(s);
  const double RG = s.Zin;
  const double RL = s.RL;
  const bool chebyshev = in.RadioButtonTscheb;
  const double eps = EpsilonOf(s);
  if (chebyshev) p.frequencyScale = ChebyshevScale(eps, p.n);
  if (!Positive(RG) || !Positive(RL) || !Positive(s.fg)) {
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

std::vector<LadderElement> BuildElements(const LadderPrototype& p, const DesignState& s,
                                         FilterType type) {
  std::vector<LadderElement> elements;
  if (!p.Valid()) return elements;
  const bool highpass = type == FilterType::Highpass;
  const double R = p.mirrored ? s.RL : s.Zin;
  // Chebyshev values are normalised to the ripple-band edge, which lies below fg (lowpass)
  // or above it (highpass) by the scale.
  const double w = 2.0 * kPi * s.fg * (highpass ? p.frequencyScale : 1.0 / p.frequencyScale);
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

void WritePoleGrid(DesignState& s, bool chebyshev, double eps, FieldSink& out) {
  const int n = OrderOf(s);
  const auto grid = field::StringGridAlignPN;
  std::array<std::complex<double>, 11> poles{};
  for (int k = 1; k <= kRows; ++k) {
    if (k <= n) {
      poles[static_cast<std::size_t>(k)] = Pole(k, n, chebyshev, eps);
      out.WriteCell(grid, 0, k, FormatInteger(k));
      out.WriteCell(grid, 1, k, FormatValue(6, 2, poles[static_cast<std::size_t>(k)].real()));
      out.WriteCell(grid, 2, k, FormatValue(6, 2, poles[static_cast<std::size_t>(k)].imag()));
    } else {
      for (int column = 0; column <= 2; ++column) out.WriteCell(grid, column, k, kBlank);
    }
  }

  const int pairs = (n + 1) / 2;
  for (int i = 1; i <= kRows; ++i) {
    auto& a = s.LadderCoefA[static_cast<std::size_t>(i)];
    auto& b = s.LadderCoefB[static_cast<std::size_t>(i)];
    if (i > pairs) {
      a = b = 0.0;
      for (int column = 3; column <= 5; ++column) out.WriteCell(grid, column, i, kBlank);
      continue;
    }
    const std::complex<double> p = poles[static_cast<std::size_t>(i)];
    const double modulus = std::abs(p);
    if (n % 2 == 1 && i == pairs) {
      a = 1.0 / modulus;
      b = 0.0;
      out.WriteCell(grid, 3, i, FormatValue(6, 2, a));
      out.WriteCell(grid, 4, i, kNoValue);
      out.WriteCell(grid, 5, i, kNoValue);
    } else {
      a = -2.0 * p.real() / (modulus * modulus);
      b = 1.0 / (modulus * modulus);
      out.WriteCell(grid, 3, i, FormatValue(6, 2, a));
      out.WriteCell(grid, 4, i, FormatValue(6, 2, b));
      out.WriteCell(grid, 5, i, FormatFixed(6, 3, modulus / (-2.0 * p.real())));
    }
  }
  s.LadderCoefA[0] = s.LadderCoefB[0] = 0.0;
}

std::string ElementName(char kind, int k) {
  return std::string(1, kind) + FormatInteger(k);
}

std::string ElementText(const LadderElement& e) {
  return FormatValue(6, 2, e.value) + (e.kind == 'C' ? "F" : "H");
}

void WriteElementGrid(int n, FilterType type, const std::vector<LadderElement>& elements,
                      FieldSink& out) {
  const auto grid = field::StringAlignGridLC;
  const bool highpass = type == FilterType::Highpass;
  for (int k = 1; k <= kRows; ++k) {
    if (k > n) {
      out.WriteCell(grid, 0, k, kBlank);
      out.WriteCell(grid, 1, k, kBlank);
      continue;
    }
    const bool odd = k % 2 == 1;
    out.WriteCell(grid, 0, k, ElementName(odd != highpass ? 'C' : 'L', k));
    out.WriteCell(
        grid, 1, k,
        elements.empty() ? kUndefined : ElementText(elements[static_cast<std::size_t>(k - 1)]));
  }
}

// One angle addition of the polar product: a single step back into -360 .. 360.
double ReduceAngle(double degrees) {
  if (degrees > 360.0) return degrees - 360.0;
  if (degrees < -360.0) return degrees + 360.0;
  return degrees;
}

}  // namespace

void ComputeLadder(DesignState& s, const RecalcInputs& in, FieldSink& out) {
  const LadderPrototype p = DesignPrototype(s, in);
  s.LadderG = p.g;
  s.LadderMirrored = p.mirrored;
  s.LadderFrequencyScale = p.frequencyScale;

  WritePoleGrid(s, in.RadioButtonTscheb, EpsilonOf(s), out);
  WriteElementGrid(p.n, in.type, BuildElements(p, s, in.type), out);

  if (p.fault == LadderFault::ChebyshevEvenMatched) out.Message(kChebyshevEvenMessage);
  if (p.fault == LadderFault::EvenLoadAboveSource) out.Notice(kEvenLoadNotice);
}

std::vector<LadderElement> LadderElements(const DesignState& s, const RecalcInputs& in) {
  return BuildElements(DesignPrototype(s, in), s, in.type);
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
  const int factors = OrderOf(s) / 2 + 1;
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
