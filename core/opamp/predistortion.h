#pragma once

// Pre-distortion: a real op amp (finite gain-bandwidth, second pole, output resistance, input
// capacitance) moves a stage's f0 and Q, so the circuit is designed for adjusted targets f0'
// and Q' chosen such that the circuit WITH the amplifier has the f0 and Q wanted. The search
// is a damped Newton iteration on the logarithms of f0' and Q' (f0' alone for a first-order
// stage), the real figures those RealAmplifierFiguresOf gives. Where no adjusted design reaches
// the target, or the adjusted design cannot be built, it says why; the caller then keeps the
// plain design.
//
// The circuit comes from a function of (f0', Q'), so the same search serves the sections of
// a cascade and the stages of the pages.

#include <functional>
#include <optional>
#include <string>

#include "circuit/built_figures.h"
#include "circuit/circuit.h"
#include "opamp/opamp_model.h"

namespace morvane {

// The circuit designed for f0 (Hz) and Q; none when it cannot be built for them.
using CircuitForTargets = std::function<std::optional<Circuit>(double f0, double q)>;

struct PredistortionTarget {
  double f0 = 1000.0;  // Hz: the pole frequency (centre of a bandpass) wanted with the op amp
  double q = 0.7071;   // ignored for a first-order stage
  GainReference reference = GainReference::Dc;
  bool notch = false;
  bool firstOrder = false;
};

// The real figures within this of the target count as met (0.5 %); the search aims tighter.
inline constexpr double kPredistortionTolerance = 0.005;

struct Predistortion {
  std::string problem;  // why the target cannot be met; empty when it is
  double f0 = 0.0;      // Hz: what the circuit is designed for
  double q = 0.0;
  double realF0 = 0.0;  // Hz: what it has with the op amp (the last try where it failed)
  double realQ = 0.0;
  int steps = 0;  // Newton steps taken
  bool Achieved() const { return problem.empty(); }
};

Predistortion Predistort(const CircuitForTargets& design, const OpAmpModel& model,
                         const PredistortionTarget& target);

// "Pre-distorted for TL072: designed for f0 9.871 kHz, Q 0.7312; with the op amp f0 10.00 kHz,
// Q 0.7071", or "No pre-distortion for LM358: <problem>".
std::string PredistortionLine(const Predistortion& p, const OpAmpModel& model, bool firstOrder);

}  // namespace morvane
