#include "network/network_response.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvane {

namespace {

using Complex = std::complex<double>;
constexpr Complex kJ{0.0, 1.0};

// A chain matrix with its derivative by omega, so the group delay comes out exactly:
// [V1; I1] = [a b; c d] [V2; I2].
struct Chain {
  Complex a = 1.0, b = 0.0, c = 0.0, d = 1.0;
  Complex da = 0.0, db = 0.0, dc = 0.0, dd = 0.0;
};

Chain Times(const Chain& x, const Chain& y) {
  Chain r;
  r.a = x.a * y.a + x.b * y.c;
  r.b = x.a * y.b + x.b * y.d;
  r.c = x.c * y.a + x.d * y.c;
  r.d = x.c * y.b + x.d * y.d;
  r.da = x.da * y.a + x.a * y.da + x.db * y.c + x.b * y.dc;
  r.db = x.da * y.b + x.a * y.db + x.db * y.d + x.b * y.dd;
  r.dc = x.dc * y.a + x.c * y.da + x.dd * y.c + x.d * y.dc;
  r.dd = x.dc * y.b + x.c * y.db + x.dd * y.d + x.d * y.dd;
  return r;
}

// An impedance or admittance with its derivative by omega.
struct Immittance {
  Complex value;
  Complex slope;
};

// Held finite where an ideal part makes it infinite (an exact resonance without loss).
Immittance Inverse(const Immittance& x) {
  if (std::abs(x.value) < 1.0 / kLargestImpedance) return {kLargestImpedance, 0.0};
  return {1.0 / x.value, -x.slope / (x.value * x.value)};
}

// Capacitor element: Lx, Rx, Cx in series.
Immittance CapacitorImpedance(const NetworkElement& e, double w) {
  return {e.Rx + kJ * w * e.Lx + 1.0 / (kJ * w * e.Cx), kJ * e.Lx + kJ / (w * w * e.Cx)};
}

// Inductor element: Lx in series with Rx, Cx across both.
Immittance InductorAdmittance(const NetworkElement& e, double w) {
  const Immittance branch = Inverse({e.Rx + kJ * w * e.Lx, kJ * e.Lx});
  return {branch.value + kJ * w * e.Cx, branch.slope + kJ * e.Cx};
}

Immittance ElementImpedance(const NetworkElement& e, double w) {
  return e.kind == ElementKind::Capacitor ? CapacitorImpedance(e, w)
                                          : Inverse(InductorAdmittance(e, w));
}

Immittance ElementAdmittance(const NetworkElement& e, double w) {
  return e.kind == ElementKind::Inductor ? InductorAdmittance(e, w)
                                         : Inverse(CapacitorImpedance(e, w));
}

Chain SeriesChain(const Immittance& z) {
  Chain c;
  c.b = z.value;
  c.db = z.slope;
  return c;
}

Chain ShuntChain(const Immittance& y) {
  Chain c;
  c.c = y.value;
  c.dc = y.slope;
  return c;
}

// The elements from the source to the load, without RG.
Chain LadderChain(const LadderNetwork& network, double f) {
  const double w = 2.0 * std::numbers::pi * f;
  Chain chain;
  for (const NetworkElement& e : ElementsFromSource(network)) {
    chain = Times(
        chain, e.shunt ? ShuntChain(ElementAdmittance(e, w)) : SeriesChain(ElementImpedance(e, w)));
  }
  return chain;
}

// Vsource / V(out) and its derivative by omega, RG in front and RL behind the ladder.
Immittance SourceOverOutput(const LadderNetwork& network, double f) {
  const Chain chain = Times(SeriesChain({network.rg, 0.0}), LadderChain(network, f));
  return {chain.a + chain.b / network.rl, chain.da + chain.db / network.rl};
}

double Degrees(Complex x) {
  const double degrees = std::arg(x) * 180.0 / std::numbers::pi;
  // arg gives [-180, 180]; -180 is the same angle as 180.
  return degrees <= -180.0 ? 180.0 : degrees;
}

double FiniteOr(double x, double fallback) {
  return std::isfinite(x) ? x : fallback;
}

}  // namespace

std::complex<double> NetworkTransfer(const LadderNetwork& network, double f) {
  const Complex inverse = SourceOverOutput(network, f).value;
  if (!(std::abs(inverse) < kLargestImpedance)) return 0.0;
  return 1.0 / inverse;
}

std::complex<double> InputImpedance(const LadderNetwork& network, double f) {
  const Chain chain = LadderChain(network, f);
  const Complex numerator = chain.a * network.rl + chain.b;
  const Complex denominator = chain.c * network.rl + chain.d;
  if (std::abs(denominator) * kLargestImpedance <= std::abs(numerator)) return kLargestImpedance;
  return numerator / denominator;
}

NetworkPoint AnalyseNetwork(const LadderNetwork& network, double f) {
  NetworkPoint p;
  p.f = f;
  const Immittance inverse = SourceOverOutput(network, f);
  const double magnitude = std::abs(inverse.value);
  if (std::isfinite(magnitude) && magnitude > 0.0) {
    p.gainDb = std::max(kLeastGainDb, -20.0 * std::log10(magnitude));
    p.phaseDegrees = Degrees(1.0 / inverse.value);
    // phase = -arg(inverse), so -d(phase)/d(omega) = Im(inverse' / inverse).
    p.groupDelay = FiniteOr(std::imag(inverse.slope / inverse.value), 0.0);
  }
  const Complex zin = InputImpedance(network, f);
  p.inputOhms = std::min(FiniteOr(std::abs(zin), kLargestImpedance), kLargestImpedance);
  p.inputPhaseDegrees = FiniteOr(Degrees(zin), 0.0);
  const double reflection = std::abs((zin - network.rg) / (zin + network.rg));
  p.returnLossDb =
      std::isfinite(reflection)
          ? std::clamp(-20.0 * std::log10(std::max(reflection, 1e-15)), 0.0, kMostReturnLossDb)
          : 0.0;
  return p;
}

std::vector<double> SweepFrequencies(double from, double to, int points, bool logarithmic) {
  const int n = std::max(points, 2);
  std::vector<double> f(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / (n - 1);
    f[static_cast<std::size_t>(i)] =
        logarithmic ? from * std::pow(to / from, t) : from + (to - from) * t;
  }
  // The ends exactly as asked, whatever the rounding of the steps.
  f.front() = from;
  f.back() = to;
  return f;
}

std::vector<NetworkPoint> AnalyseNetwork(const LadderNetwork& network,
                                         const std::vector<double>& frequencies) {
  std::vector<NetworkPoint> points;
  points.reserve(frequencies.size());
  for (double f : frequencies) points.push_back(AnalyseNetwork(network, f));
  return points;
}

}  // namespace morvane
