#include "circuit/built_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "numerics/polynomial_roots.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

}  // namespace

GainReference ReferenceOfSectionKind(std::string_view kind) {
  if (kind == "bandpass") return GainReference::Centre;
  if (kind == "highpass" || kind == "first-order-highpass" || kind == "highpass-notch") {
    return GainReference::HighFrequency;
  }
  return GainReference::Dc;
}

GainReference ReferenceOfStageType(FilterType type) {
  switch (type) {
    case FilterType::Highpass:
      return GainReference::HighFrequency;
    case FilterType::Bandpass:
      return GainReference::Centre;
    default:
      return GainReference::Dc;
  }
}

const char* SectionKindOfStageType(FilterType type) {
  switch (type) {
    case FilterType::Highpass:
      return "highpass";
    case FilterType::Bandpass:
      return "bandpass";
    case FilterType::Bandstop:
      return "notch";
    case FilterType::EllipticLowpass:
      return "lowpass-notch";
    default:
      return "lowpass";
  }
}

bool IsNotchSectionKind(std::string_view kind) {
  return kind == "notch" || StartsWith(kind, "lowpass-notch") || StartsWith(kind, "highpass-notch");
}

namespace {

// f0, Q and fz from the roots, for any order: the complex pole pair of the highest Q (or the
// one nearest `nearHz` in frequency ratio, when given), else the two smallest real poles (or
// the one); the zero pair nearest the j omega axis.
void PolesAndZeros(const RationalTransfer& transfer, bool notch, std::optional<double> nearHz,
                   BuiltFigures& f) {
  // The zeros only where a notch asks for them: finding roots is most of the work.
  std::vector<Complex> poles = PolynomialRoots(transfer.denominator);
  for (Complex& p : poles) p *= transfer.scale;
  bool complexPair = false;
  double nearest = INFINITY;
  for (const Complex& p : poles) {
    if (p.imag() <= 0.0) continue;
    const double q = std::abs(p) / (-2.0 * p.real());
    const double distance = nearHz ? std::abs(std::log(std::abs(p) / (kTwoPi * *nearHz))) : -q;
    if (distance < nearest) {
      nearest = distance;
      complexPair = true;
      f.f0 = std::abs(p) / kTwoPi;
      f.q = q;
    }
  }
  if (!complexPair) {
    std::vector<double> real;
    for (const Complex& p : poles) real.push_back(p.real());
    std::sort(real.begin(), real.end(),
              [](double a, double b) { return std::abs(a) < std::abs(b); });
    if (real.size() == 1) {
      f.f0 = std::abs(real[0]) / kTwoPi;
      f.q = 0.5;
    } else {
      const double product = real[0] * real[1];
      f.f0 = std::sqrt(std::abs(product)) / kTwoPi;
      f.q = std::sqrt(std::abs(product)) / std::abs(real[0] + real[1]);
    }
  }
  if (notch) {
    double nearest = INFINITY;
    for (Complex z : PolynomialRoots(transfer.numerator)) {
      z *= transfer.scale;
      if (z.imag() <= 0.0) continue;
      const double offAxis = std::abs(z.real()) / std::abs(z);
      if (offAxis < nearest) {
        nearest = offAxis;
        f.fz = std::abs(z) / kTwoPi;
      }
    }
  }
}

// f0, Q and fz of a transfer of second order or less, from its coefficients: what the roots
// give, without finding them (tolerance runs need thousands).
bool LowOrderFigures(const RationalTransfer& h, bool notch, BuiltFigures& f) {
  const std::vector<double>& d = h.denominator;
  const std::vector<double>& n = h.numerator;
  if (d.size() < 2 || d.size() > 3 || n.size() > 3) return false;
  if (d.size() == 2) {
    f.f0 = h.scale * std::abs(d[0]) / kTwoPi;
    f.q = 0.5;
  } else {
    // u^2 + d1 u + d0: |p| = sqrt(d0), Q = sqrt(d0) / d1, for complex and real poles alike.
    f.f0 = h.scale * std::sqrt(std::abs(d[0])) / kTwoPi;
    f.q = std::sqrt(std::abs(d[0])) / d[1];
  }
  // A complex zero pair n2 u^2 + n1 u + n0 lies at |z| = sqrt(n0 / n2).
  if (notch && n.size() == 3 && n[1] * n[1] < 4.0 * n[0] * n[2]) {
    f.fz = h.scale * std::sqrt(n[0] / n[2]) / kTwoPi;
  }
  return true;
}

}  // namespace

std::optional<BuiltFigures> FiguresOf(const RationalTransfer& transfer, GainReference reference,
                                      bool notch, std::optional<double> nearHz) {
  if (transfer.denominator.size() < 2) return std::nullopt;  // no pole
  BuiltFigures f;
  if (!LowOrderFigures(transfer, notch, f)) PolesAndZeros(transfer, notch, nearHz, f);
  switch (reference) {
    case GainReference::Dc:
      f.gain = (transfer.numerator.empty() ? 0.0 : transfer.numerator[0]) / transfer.denominator[0];
      break;
    case GainReference::HighFrequency:
      if (transfer.numerator.size() == transfer.denominator.size()) {
        f.gain = transfer.numerator.back();
      } else if (nearHz) {
        // Falling again at high frequencies (a real amplifier): the gain a decade above f0.
        const Complex h = EvaluateAt(transfer, Complex(0.0, 10.0 * kTwoPi * f.f0));
        f.gain = std::copysign(std::abs(h), h.real());
      }
      break;
    case GainReference::Centre: {
      const Complex h = EvaluateAt(transfer, Complex(0.0, kTwoPi * f.f0));
      f.gain = std::copysign(std::abs(h), h.real());
      break;
    }
  }
  if (!std::isfinite(f.gain) || !std::isfinite(f.f0) || !std::isfinite(f.q)) return std::nullopt;
  return f;
}

double ErrorPercent(double built, double designed) {
  return 100.0 * (built - designed) / designed;
}

}  // namespace morvane
