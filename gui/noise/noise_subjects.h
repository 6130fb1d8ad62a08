#pragma once

// What the Noise window analyses for the main window's stage and for a multi-stage filter.

#include <optional>

#include "cascade/cascade_design.h"
#include "design/design_session.h"
#include "noise/noise_window.h"

namespace morvane::gui {

// The page's active stage with the parts the session holds and its op amp; a passive page
// or a type without a circuit says so instead.
NoiseSubject StageNoiseSubject(const DesignSession& session);

// The whole filter joined into one circuit, its sections named ("R1_2", "U1_2"); a design
// with a problem says so instead.
NoiseSubject CascadeNoiseSubject(const CascadeDesign& design, const CascadeRequest& request,
                                 const std::optional<OpAmpModel>& opAmp);

}  // namespace morvane::gui
