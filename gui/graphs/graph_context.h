#pragma once

// What the four graph windows share: the design, the desktop, the one set of axes, and the
// dialogs that exist once for all of them.

#include "graphs/axis_state.h"

namespace morvane {
class DesignSession;
}

namespace morvane::gui {

class AxisScaleDialog;
class GraphHelpBox;
class GraphOutputServices;
class PlatformServices;
class SweepModeDialog;

struct GraphContext {
  DesignSession& session;
  PlatformServices& platform;
  GraphOutputServices& output;
  AxisScaleDialog& axisDialog;
  SweepModeDialog& sweepMode;
  GraphHelpBox& helpBox;
  AxisState axes;
  // The window whose drawing the axes last came from.
  const void* lastDrawer = nullptr;
};

}  // namespace morvane::gui
