#include "network/ladder_network.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvane {

namespace {

double Omega(double f) {
  return 2.0 * std::numbers::pi * f;
}

bool PositiveFinite(double x) {
  return std::isfinite(x) && x > 0.0;
}

bool NonNegativeFinite(double x) {
  return std::isfinite(x) && x >= 0.0;
}

}  // namespace

double ElementValue(const NetworkElement& e) {
  return e.kind == ElementKind::Inductor ? e.Lx : e.Cx;
}

void SetElementValue(NetworkElement& e, double value) {
  (e.kind == ElementKind::Inductor ? e.Lx : e.Cx) = value;
}

std::optional<double> SelfResonance(const NetworkElement& e) {
  if (!(e.Lx > 0.0) || !(e.Cx > 0.0)) return std::nullopt;
  const double f = 1.0 / (2.0 * std::numbers::pi * std::sqrt(e.Lx * e.Cx));
  if (!std::isfinite(f)) return std::nullopt;
  return f;
}

void SetSelfResonance(NetworkElement& e, double f) {
  const double w = Omega(f);
  if (e.kind == ElementKind::Inductor) {
    e.Cx = 1.0 / (w * w * e.Lx);
  } else {
    e.Lx = 1.0 / (w * w * e.Cx);
  }
}

std::optional<double> QualityAt(const NetworkElement& e, double f) {
  if (!(e.Rx > 0.0)) return std::nullopt;
  const double w = Omega(f);
  const double q = e.kind == ElementKind::Inductor ? w * e.Lx / e.Rx : 1.0 / (w * e.Cx * e.Rx);
  if (!std::isfinite(q)) return std::nullopt;
  return q;
}

void SetQualityAt(NetworkElement& e, double q, double f) {
  const double w = Omega(f);
  e.Rx = e.kind == ElementKind::Inductor ? w * e.Lx / q : 1.0 / (w * e.Cx * q);
}

LadderNetwork IdealNetwork(const LadderNetwork& network) {
  LadderNetwork ideal = network;
  for (NetworkElement& e : ideal.elements) {
    e.Rx = 0.0;
    (e.kind == ElementKind::Inductor ? e.Cx : e.Lx) = 0.0;
  }
  return ideal;
}

std::vector<NetworkElement> ElementsFromSource(const LadderNetwork& network) {
  std::vector<NetworkElement> elements = network.elements;
  if (network.turnedRound) std::reverse(elements.begin(), elements.end());
  return elements;
}

std::string ElementName(const LadderNetwork& network, std::size_t index) {
  const char letter =
      index < network.elements.size() && network.elements[index].kind == ElementKind::Capacitor
          ? 'C'
          : 'L';
  return std::string(1, letter) + std::to_string(index + 1);
}

std::string NetworkProblem(const LadderNetwork& network) {
  if (!PositiveFinite(network.rg)) return "RG must be a resistance above zero.";
  if (!PositiveFinite(network.rl)) return "RL must be a resistance above zero.";
  if (!PositiveFinite(network.f)) return "The frequency f must be above zero.";
  if (network.elements.empty()) return "The circuit has no elements.";
  for (std::size_t i = 0; i < network.elements.size(); ++i) {
    const NetworkElement& e = network.elements[i];
    const std::string name = ElementName(network, i);
    if (!PositiveFinite(ElementValue(e))) {
      return name + ": the " + (e.kind == ElementKind::Inductor ? "inductance" : "capacitance") +
             " must be above zero.";
    }
    if (!NonNegativeFinite(e.Lx) || !NonNegativeFinite(e.Rx) || !NonNegativeFinite(e.Cx)) {
      return name + ": Lx, Rx and Cx must not be negative.";
    }
  }
  return {};
}

}  // namespace morvane
