#include "circuit/built_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

bool IsNotchSectionKind(std::string_view kind) {
  return kind == "notch" || StartsWith(kind, "lowpass-notch") || StartsWith(kind, "highpass-notch");
}

std::optional<BuiltFigures> FiguresOf(const RationalTransfer& transfer, GainReference reference,
                                      bool notch) {
  const PoleZeroGain pzg = PoleZeroOf(transfer);
  if (pzg.poles.empty()) return std::nullopt;
  BuiltFigures f;
  // The complex pair of the highest Q; without one, the two smallest real poles (or the one).
  double bestQ = -1.0;
  for (const Complex& p : pzg.poles) {
    if (p.imag() <= 0.0) continue;
    const double q = std::abs(p) / (-2.0 * p.real());
    if (q > bestQ) {
      bestQ = q;
      f.f0 = std::abs(p) / kTwoPi;
      f.q = q;
    }
  }
  if (bestQ < 0.0) {
    std::vector<double> real;
    for (const Complex& p : pzg.poles) real.push_back(p.real());
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
    for (const Complex& z : pzg.zeros) {
      if (z.imag() <= 0.0) continue;
      const double offAxis = std::abs(z.real()) / std::abs(z);
      if (offAxis < nearest) {
        nearest = offAxis;
        f.fz = std::abs(z) / kTwoPi;
      }
    }
  }
  switch (reference) {
    case GainReference::Dc:
      f.gain = EvaluateAt(transfer, 0.0).real();
      break;
    case GainReference::HighFrequency:
      f.gain = transfer.numerator.size() == transfer.denominator.size() ? transfer.numerator.back()
                                                                        : 0.0;
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
