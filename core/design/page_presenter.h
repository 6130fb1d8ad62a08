#pragma once

// The one presenter: turns designs into the texts of the main window's result fields and
// grids, addressed by control name. Which value goes to which field, with which format,
// is written down here and nowhere else.

#include <vector>

#include "design/buildable_range.h"
#include "design/design_choices.h"
#include "design/design_state.h"
#include "design/field_sink.h"
#include "design/stage_design.h"
#include "lc/lc_diplexer.h"
#include "lc/lc_ladder.h"

namespace morvane {

// A topology page's result fields after its stage design (already applied to `s`).
void PresentStagePage(Topology topology, FilterType type, const StageDesign& design,
                      const DesignState& s, FieldSink& out);

// The information panel (noise bandwidth, group delay, rise time, overshoot).
void PresentInformationPanel(const DesignState& s, FilterType type, FieldSink& out);
// The information panel of the LC ladder: fg, its angular frequency and blanks.
void PresentLadderPanel(const DesignState& s, FieldSink& out);
// The readout at f (values already in the state).
void PresentReadout(const DesignState& s, FieldSink& out);

// The pole grid and the element grid of the LC page, and what the window says about a
// ladder that cannot be built.
void PresentLadder(const LadderDesign& ladder, FilterType type, FieldSink& out);
// Both element grids of the diplexer page.
void PresentDiplexer(const DiplexerInput& diplexer, FieldSink& out);

// The components that cannot be bought, by the fields and grid cells that show them (pure
// functions; the Present functions send them to the sink). A stage's parts that its circuit
// does not have, and an R4 shown as infinite, are not checked, nor is an unrealizable stage.
std::vector<ComponentWarning> StagePageWarnings(Topology topology, const StageDesign& design);
std::vector<ComponentWarning> LadderWarnings(const LadderDesign& ladder);
std::vector<ComponentWarning> DiplexerWarnings(const std::vector<LadderElement>& lowpassBranch,
                                               const std::vector<LadderElement>& highpassBranch);

// What the window says about a stage that cannot be built.
const char* NotRealizableNotice(NotRealizable why);

// Q and D entries after one of them changed.
void PresentLinkedEntry(ChangedEntry changed, const DesignState& s, FieldSink& out);

}  // namespace morvane
