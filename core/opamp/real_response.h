#pragma once

// What a real op amp does to a stage or section: its circuit analysed with the amplifier's
// model (gain-bandwidth, second pole, output resistance, input capacitance) beside the same
// circuit with ideal amplifiers. The figures compare like with like: f0 and Q of the pole
// pair nearest the designed f0, the gain at the reference, and the peaking of the real
// response over the ideal gain.

#include <optional>
#include <string>

#include "circuit/built_figures.h"
#include "circuit/circuit.h"
#include "opamp/opamp_model.h"

namespace morvane {

struct CascadeDesign;

struct RealAmplifierFigures {
  std::string opAmp;  // the model's name
  BuiltFigures ideal;
  BuiltFigures real;
  // The largest gain of the real response (from a decade below f0 to a decade above) over the
  // ideal circuit's gain at its reference, dB.
  double peakingDb = 0.0;
  PoleZeroGain transfer;  // the real circuit, rad/s, its sign included
  // A pole in the right half-plane: the circuit oscillates with this op amp (its
  // gain-bandwidth is too low for the stage); its figures then describe no filter.
  bool unstable = false;
};

// The circuit (its op amps as they are drawn) with the model; `designedF0` (Hz) picks the
// pole pair. None when either circuit cannot be analysed.
std::optional<RealAmplifierFigures> RealAmplifierFiguresOf(Circuit circuit, const OpAmpModel& model,
                                                           GainReference reference, bool notch,
                                                           double designedF0);

// "With TL072: f0 9.871 kHz (-1.29 %), Q 0.7312 (+3.41 %), gain -1.000 (+0.00 %), peaking
// 0.08 dB", or "With LM358: unstable: poles at 17.10 kHz in the right half-plane (the op amp
// is too slow for this stage)"
std::string RealAmplifierLine(const RealAmplifierFigures& figures);

// A single stage of the pages: the circuit the state's part values give.
std::optional<RealAmplifierFigures> StageRealAmplifier(const DesignState& s, FilterType type,
                                                       const OpAmpModel& model);

// Each section of a cascade with the model; an entry is empty where its section cannot be
// analysed, and all are for a design with a problem.
std::vector<std::optional<RealAmplifierFigures>> CascadeRealAmplifier(const CascadeDesign& design,
                                                                      const OpAmpModel& model);

// The product of the sections' real transfers: the cascade's real response (each section
// driven by the one before, whose closed-loop output resistance is far below the next input).
std::optional<PoleZeroGain> CascadeRealTransfer(
    const std::vector<std::optional<RealAmplifierFigures>>& sections);

}  // namespace morvane
