#include "graphs/sweep_target.h"

#include "design/design_session.h"
#include "graphs/sweep_mode_dialog.h"

namespace morvane::gui {

SweepValues SessionSweepTarget::Values(const QString& firstLabel) const {
  const DesignState& s = session_.State();
  return {
      {firstLabel, s.fg, SweepModeDialog::kX1Limits.lower, SweepModeDialog::kX1Limits.upper},
      SweepValue{"Q=", s.Q, SweepModeDialog::kX2Limits.lower, SweepModeDialog::kX2Limits.upper}};
}

void SessionSweepTarget::Apply(double first, double second) {
  DesignState& s = session_.MutableState();
  s.fg = first;
  s.Q = second;
  s.D = 0.5 / second;
}

}  // namespace morvane::gui
