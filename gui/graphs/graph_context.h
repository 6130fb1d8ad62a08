#pragma once

// What the four graph windows of one set share: where their curves come from, the desktop,
// the curve style, and the dialogs that exist once for all of them. Each window keeps its own
// axes.

#include "graphs/axis_state.h"

class QWidget;

namespace morvane {
class ResponseSource;
}  // namespace morvane

namespace morvane::gui {

class AxisScaleDialog;
class GraphHelpBox;
class GraphWindow;
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
  // Line, line with markers or bars: the dot button of any window switches all of them.
  CurveStyle style;
  // The window that drew or was turned to last (null before any); its axes are the set's
  // current axes for the owner.
  GraphWindow* current = nullptr;
  // The window the graph windows first open beside (null: where the desktop puts them).
  const QWidget* anchor = nullptr;
};

}  // namespace morvane::gui
