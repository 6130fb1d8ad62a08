#pragma once

// The windows the main window's commands open besides itself; SecondaryWindows and
// GraphWindows open them.

namespace morvane::gui {

enum class SecondaryWindow {
  SweepFactor,  // the graphs' sweep factor, a modal dialog
  TopologyProposal,
  GainGraph,
  PhaseGraph,
  GroupDelayGraph,
  TimeResponseGraph,
  FilterOrder,
  Help,
  About,
};

}  // namespace morvane::gui
