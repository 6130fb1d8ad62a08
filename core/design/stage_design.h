#pragma once

// What every second-order active stage design takes and gives. A design is a pure function:
// numbers in, component values out, nothing read from or written to anywhere else, so the
// single-stage pages, the sections of a cascade and analyses that design thousands of
// variants all call the same code.

#include <optional>

#include "design/design_state.h"

namespace morvane {

// The requirement every active stage shares.
struct StageRequirement {
  FilterType type = FilterType::Lowpass;
  double fg = 1000.0;  // -3 dB frequency (centre frequency of the band types), Hz
  double fo = 1000.0;  // pole frequency for this fg, Q and type (ResonanceFrequency)
  double q = 0.7071;
  double gain = 1.0;    // the gain asked for
  double zin = 1000.0;  // input impedance, Ohm: sets the impedance level
  int seriesR = 4;      // standard series codes (1 = E6 .. 5 = E96)
  int seriesC = 1;
};

// The parts of the circuit, by their names in its picture; a part the circuit does not have
// for this type stays empty.
struct StageParts {
  std::optional<double> R0{}, R1{}, R2{}, R3{}, R4{}, R5{}, R6{};
  std::optional<double> C1{}, C2{}, C3{};
  bool operator==(const StageParts&) const = default;
};

// Why a circuit cannot be built from the values asked for.
enum class NotRealizable {
  No,
  EllipticQTooLow,     // the elliptical lowpass needs Q above 0.5
  EllipticZeroTooLow,  // ... and a Q or fn/fo that keeps R4 positive
  ElementOutOfRange,   // an element value came out zero, negative or infinite
};

struct StageDesign {
  StageParts parts;
  // The gain the circuit realises; empty where the design leaves it as it was (a type the
  // topology does not build).
  std::optional<double> gain;
  double q = 0.7071;            // the Q the circuit has: raised where the circuit needs it
  bool typeNotOffered = false;  // the topology has no circuit for this type (the window beeps)
  NotRealizable notRealizable = NotRealizable::No;
  bool Realizable() const { return notRealizable == NotRealizable::No; }
};

// Every resistor the parts have rounded to the nearest value of the series; an absent PFB R4
// (infinite) stays absent.
void RoundResistors(StageParts& parts, int series);

// Puts the parts, gain and Q of a realizable design into the state; the values of parts the
// design does not have stay as they were (the page shows what it last held).
void ApplyStageDesign(const StageDesign& design, DesignState& s);

// The recommended gain-bandwidth product of a stage, Hz.
double RecommendedGbwp(Topology topology, double gain, double q, double fo);

}  // namespace morvane
