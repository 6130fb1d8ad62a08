#include "filters/frequency_transform.h"

#include <array>
#include <cmath>

namespace morvane {
namespace {

bool IsPositiveFinite(double x) {
  return std::isfinite(x) && x > 0.0;
}

bool IsFinite(Complex z) {
  return std::isfinite(z.real()) && std::isfinite(z.imag());
}

bool IsBandKind(FilterKind kind) {
  return kind == FilterKind::Bandpass || kind == FilterKind::Bandstop;
}

bool MovesZeroAtOriginToInfinity(FilterKind kind) {
  return kind == FilterKind::Highpass || kind == FilterKind::Bandstop;
}

// The two roots of s^2 - 2 b s + c^2 = 0 (c > 0): b +- sqrt(b^2 - c^2). The root of larger
// magnitude comes from adding two terms that do not cancel, the other from the product c^2,
// so neither a narrow band (b small) nor a wide one (b large) loses digits. A real b gives
// either two real roots or an exact conjugate pair.
std::array<Complex, 2> BandRootPair(Complex b, double c) {
  const double c2 = c * c;
  if (b.imag() == 0.0) {
    const double br = b.real();
    const double discriminant = (br - c) * (br + c);
    if (discriminant < 0.0) {
      const double spread = std::sqrt(-discriminant);
      return {Complex(br, spread), Complex(br, -spread)};
    }
    const double larger = br + std::copysign(std::sqrt(discriminant), br);
    return {Complex(larger, 0.0), Complex(c2 / larger, 0.0)};
  }
  const Complex d = std::sqrt((b - c) * (b + c));
  const Complex larger = (std::conj(b) * d).real() >= 0.0 ? b + d : b - d;
  return {larger, c2 / larger};
}

// Maps a root in the upper half-plane or on the real axis and mirrors the rest, so that a
// conjugate pair of prototype roots gives exact conjugates.
template <typename Map>
auto MapMirrored(Complex root, const Map& map) {
  if (root.imag() >= 0.0) return map(root);
  auto images = map(std::conj(root));
  for (Complex& image : images) image = std::conj(image);
  return images;
}

std::array<Complex, 2> BandpassImages(Complex root, double wm, double bandwidth) {
  return MapMirrored(root, [&](Complex r) { return BandRootPair(r * (0.5 * bandwidth), wm); });
}

std::array<Complex, 2> BandstopImages(Complex root, double wm, double bandwidth) {
  return MapMirrored(root, [&](Complex r) { return BandRootPair((0.5 * bandwidth) / r, wm); });
}

std::array<Complex, 1> HighpassImage(Complex root, double omega) {
  return MapMirrored(root, [&](Complex r) { return std::array<Complex, 1>{omega / r}; });
}

template <typename Images>
std::vector<Complex> MapAll(const std::vector<Complex>& roots, const Images& images) {
  std::vector<Complex> mapped;
  for (const Complex& root : roots) {
    for (const Complex& image : images(root)) mapped.push_back(image);
  }
  return mapped;
}

// The prototype's gain at s = 0, real for conjugate-paired roots.
double DcGain(const PoleZeroGain& prototype) {
  return EvaluateAt(prototype, Complex(0.0, 0.0)).real();
}

PoleZeroGain Transform(const PoleZeroGain& prototype, FilterKind kind, double omega,
                       double bandwidth) {
  // TransformProblem has made sure there are no more zeros than poles.
  const std::size_t infinite_zeros = prototype.poles.size() - prototype.zeros.size();
  PoleZeroGain result;
  switch (kind) {
    case FilterKind::Lowpass:
      for (const Complex& p : prototype.poles) result.poles.push_back(p * omega);
      for (const Complex& z : prototype.zeros) result.zeros.push_back(z * omega);
      result.gain = prototype.gain * std::pow(omega, static_cast<double>(infinite_zeros));
      break;
    case FilterKind::Highpass: {
      const auto image = [&](Complex r) { return HighpassImage(r, omega); };
      result.poles = MapAll(prototype.poles, image);
      result.zeros = MapAll(prototype.zeros, image);
      result.zeros.insert(result.zeros.end(), infinite_zeros, Complex(0.0, 0.0));
      result.gain = DcGain(prototype);
      break;
    }
    case FilterKind::Bandpass: {
      const auto images = [&](Complex r) { return BandpassImages(r, omega, bandwidth); };
      result.poles = MapAll(prototype.poles, images);
      result.zeros = MapAll(prototype.zeros, images);
      result.zeros.insert(result.zeros.end(), infinite_zeros, Complex(0.0, 0.0));
      result.gain = prototype.gain * std::pow(bandwidth, static_cast<double>(infinite_zeros));
      break;
    }
    case FilterKind::Bandstop: {
      const auto images = [&](Complex r) { return BandstopImages(r, omega, bandwidth); };
      result.poles = MapAll(prototype.poles, images);
      result.zeros = MapAll(prototype.zeros, images);
      for (std::size_t i = 0; i < infinite_zeros; ++i) {
        result.zeros.emplace_back(0.0, omega);
        result.zeros.emplace_back(0.0, -omega);
      }
      result.gain = DcGain(prototype);
      break;
    }
  }
  return result;
}

bool AllFinite(const PoleZeroGain& h) {
  if (!std::isfinite(h.gain)) return false;
  for (const Complex& p : h.poles) {
    if (!IsFinite(p)) return false;
  }
  for (const Complex& z : h.zeros) {
    if (!IsFinite(z)) return false;
  }
  return true;
}

}  // namespace

std::string TransformProblem(const PoleZeroGain& prototype, FilterKind kind, double omega,
                             double bandwidth) {
  if (!IsPositiveFinite(omega)) {
    return IsBandKind(kind) ? "the centre frequency must be a positive finite number"
                            : "the corner frequency must be a positive finite number";
  }
  if (IsBandKind(kind) && !IsPositiveFinite(bandwidth)) {
    return "the bandwidth must be a positive finite number";
  }
  if (!std::isfinite(prototype.gain)) return "the prototype's gain must be finite";
  for (const Complex& p : prototype.poles) {
    if (!IsFinite(p) || !(p.real() < 0.0)) {
      return "the prototype's poles must lie in the left half-plane";
    }
  }
  for (const Complex& z : prototype.zeros) {
    if (!IsFinite(z)) return "the prototype's zeros must be finite";
    if (MovesZeroAtOriginToInfinity(kind) && z == Complex(0.0, 0.0)) {
      return "a prototype zero at s = 0 has no image in a highpass or bandstop";
    }
  }
  if (prototype.zeros.size() > prototype.poles.size()) {
    return "the prototype has more zeros than poles";
  }
  return {};
}

std::optional<PoleZeroGain> TransformPrototype(const PoleZeroGain& prototype, FilterKind kind,
                                               double omega, double bandwidth, std::string& error) {
  error = TransformProblem(prototype, kind, omega, bandwidth);
  if (!error.empty()) return std::nullopt;
  PoleZeroGain result = Transform(prototype, kind, omega, bandwidth);
  if (!AllFinite(result)) {
    error = "the transformed filter is out of the range of numbers (frequency too high or low)";
    return std::nullopt;
  }
  return result;
}

}  // namespace morvane
