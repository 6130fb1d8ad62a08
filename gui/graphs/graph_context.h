#pragma once

// What the four graph windows of one set share: where their curves come from, the desktop,
// the one set of axes, and the dialogs that exist once for all of them.

#include "graphs/axis_state.h"

namespace morvane {
class DesignSession;
class ResponseSource;
}  // namespace morvane

namespace morvane::gui {

class AxisScaleDialog;
class GraphHelpBox;
class GraphOutputServices;
class PlatformServices;
class SweepModeDialog;

struct GraphContext {
  ResponseSource& source;
  // The main window's design and the dialog that tunes its fg and Q; both null for a source
  // the sweep mode cannot tune (a multi-stage filter).
  DesignSession* session;
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
