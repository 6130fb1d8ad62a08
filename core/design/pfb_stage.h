#pragma once

#include "design/stage_design.h"

namespace morvane {

struct PfbInput {
  StageRequirement stage;
  bool offsetCompensation = true;  // R3 chosen so the op amp sees equal DC resistances
  double r3 = 1000.0;              // R3 where it is not chosen for offset compensation, Ohm
  double fnfp = 2.0;               // elliptical lowpass: zero frequency over pole frequency
};

// Second-order stage with positive feedback around one non-inverting op amp (Sallen-Key
// family): all six filter types, the elliptical lowpass with a transmission zero at fnfp*fo.
// Bandpass and bandstop raise Q to 0.5, where the gain network reaches a follower.
StageDesign DesignPfbStage(const PfbInput& in);

}  // namespace morvane
