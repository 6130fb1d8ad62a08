#include "lc/passive_transfer.h"

#include <algorithm>
#include <cmath>

#include "circuit/circuit_transfer.h"
#include "lc/lc_circuit.h"

namespace morvane {

namespace {

std::optional<Circuit> PassiveCircuit(const DesignState& s, const DesignChoices& c) {
  if (s.topology == Topology::LcLadder) return LadderCircuit(s, c);
  if (s.topology != Topology::Diplexer) return std::nullopt;
  return DiplexerCircuit(
      s, c, c.type == FilterType::Highpass ? DiplexerOutput::Highpass : DiplexerOutput::Lowpass);
}

// |H| where the filter passes: at s = 0 for a lowpass, for a highpass far above its poles
// (a million times the largest: the response there is flat to far below a display digit).
double PassBandGain(const PoleZeroGain& h, bool highpass) {
  if (!highpass) return std::abs(EvaluateAt(h, Complex(0.0, 0.0)));
  double largest = 0.0;
  for (const Complex& p : h.poles) largest = std::max(largest, std::abs(p));
  return std::abs(EvaluateAt(h, Complex(0.0, 1e6 * largest)));
}

}  // namespace

std::optional<PoleZeroGain> PassiveTransfer(const DesignState& s, const DesignChoices& c) {
  const std::optional<Circuit> circuit = PassiveCircuit(s, c);
  if (!circuit) return std::nullopt;
  const std::optional<RationalTransfer> rational = CircuitTransfer(*circuit);
  if (!rational) return std::nullopt;
  PoleZeroGain h = PoleZeroOf(*rational);
  if (h.poles.empty()) return std::nullopt;
  const double passBand = PassBandGain(h, c.type == FilterType::Highpass);
  if (!(passBand > 0.0) || !std::isfinite(passBand)) return std::nullopt;
  h.gain /= passBand;
  return h;
}

double WrappedPhase(double degrees) {
  if (!std::isfinite(degrees)) return degrees;
  double wrapped = std::remainder(degrees, 360.0);  // [-180, 180]
  if (wrapped <= -180.0) wrapped += 360.0;
  return wrapped;
}

}  // namespace morvane
