#pragma once

// What the four graph windows of one set share: where their curves come from, the desktop,
// the one set of axes, and the dialogs that exist once for all of them.

#include "graphs/axis_state.h"

namespace morvane {
class ResponseSource;
}  // namespace morvane

namespace morvane::gui {

class AxisScaleDialog;
class GraphHelpBox;
class GraphOutputServices;
class PlatformServices;
class SweepModeDialog;
class SweepTarget;

struct GraphContext {
  ResponseSource& source;
  // What the sweep mode tunes in the design shown, and its dialog; both null where there is
  // nothing to tune.
  SweepTarget* sweepTarget;
  PlatformServices& platform;
  GraphOutputServices& output;
  AxisScaleDialog& axisDialog;
  SweepModeDialog* sweepMode;
  GraphHelpBox& helpBox;
  AxisState axes;
  // The window whose drawing the axes last came from.
  const void* lastDrawer = nullptr;
};

}  // namespace morvane::gui
