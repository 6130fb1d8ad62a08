#pragma once

#include <optional>

#include "design/design_choices.h"
#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/stage_design.h"
#include "opamp/predistortion.h"

namespace morvane {

// The driver behind every change: keeps Q and D in step, computes the shared quantities,
// runs the design of the topology (a pure function), keeps its values in the state and hands
// them to the presenter, then the information panel and the readout at f.
void Recalculate(ChangedEntry changed, Topology topology, DesignState& state,
                 const DesignChoices& choices, FieldSink& out);

// The stage design of an active topology for the state's entries and the choices, pre-distorted
// where PredistortedStageOf does.
StageDesign DesignStageOf(Topology topology, const DesignState& s, const DesignChoices& c);

// The stage design and, with c.predistort and a real op amp on an MFB or PFB lowpass, highpass
// or bandpass whose plain design is realizable, the pre-distortion's outcome. Where it is
// achieved the parts are those of the design for its adjusted f0 and Q, and the design's Q
// stays the plain design's (the page shows the entries); else the plain design.
struct StagePredistortion {
  StageDesign design;
  std::optional<Predistortion> outcome;
};
StagePredistortion PredistortedStageOf(Topology topology, const DesignState& s,
                                       const DesignChoices& c);

// The parts the stage is built with: the user's chosen values where they still apply to this
// design, else the design's parts, every resistor rounded to the series when asked.
StageParts BuiltParts(const StageDesign& design, Topology topology, const DesignChoices& c,
                      int seriesR);
// Whether chosen values apply to this design, and to the state's stage as it is designed now.
bool ChosenValuesApply(const DesignChoices& c, Topology topology, const StageDesign& design);
bool ChosenValuesInForce(const DesignState& s, const DesignChoices& c);

// fo for the checked type: the resonance of the second-order lowpass whose -3 dB point is fg,
// mirrored to fg*sqrt(e) for the highpass.
double ResonanceFrequency(double fg, double Q, FilterType type);

// Peaking of the response due to resonance, dB (0 for Q^2 <= 0.5).
double PeakingDb(double Q);

}  // namespace morvane
