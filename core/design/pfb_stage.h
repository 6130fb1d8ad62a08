#pragma once

#include "design/stage_design.h"

namespace morvane {

struct PfbInput {
  StageRequirement stage;
  bool offsetCompensation = true;  // R3 chosen so the op amp sees equal DC resistances
  double r3 = 1000.0;              // R3 where it is not chosen for offset compensation, Ohm
  double fnfp = 2.0;               // elliptical lowpass: zero frequency over pole frequency
  bool equalCapacitors = true;     // lowpass and highpass: equal capacitors, else unity gain
};

// Second-order stage with positive feedback around one non-inverting op amp (Sallen-Key
// family): all six filter types, the elliptical lowpass with a transmission zero at fnfp*fo.
// Bandpass and bandstop raise Q to 0.5, where the gain network reaches a follower. Without
// equal capacitors the lowpass and highpass are built as followers (gain 1, no R4).
StageDesign DesignPfbStage(const PfbInput& in);

// The Sallen-Key lowpass (R1 from the input to node a, R2 from a to the op amp's noninverting
// input, C1 from a to the output, C2 from that input to ground) for an amplifier gain K >= 1,
// with capacitors of the series that need not be equal: C2 from the impedance level, C1 the
// series value above 1.1 times the least ratio C1/C2 = 1 / (1/(4 Q^2) + K - 1) for which the
// resistors are real (4 Q^2 at unity gain), or C1 = C2 where that ratio is at most 1; R1 and R2
// from w0^2 = 1/(R1 R2 C1 C2) and 1/Q = w0 (C2 (R1 + R2) + (1 - K) R1 C1). Poles at fo.
StageParts SallenKeyLowpassUnequalCapacitors(const StageRequirement& s, double K);

}  // namespace morvane
