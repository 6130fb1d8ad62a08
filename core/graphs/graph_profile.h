#pragma once

// What sets the four graph windows apart: names and texts, which controls they offer, the
// readout under the mouse. One table for the windows, morvane-cli plot and the tests.

#include <optional>
#include <string>
#include <string_view>

#include "graphs/curve_buffer.h"
#include "graphs/graph_kind.h"

namespace morvane {

struct GraphProfile {
  std::string_view formName;  // objectName of the window
  std::string_view caption;
  std::string_view title;            // the pulse variant below for the time window
  std::string_view curveName;        // top left of the picture
  std::string_view pulseTitle = {};  // time window with h(t) selected; empty elsewhere
  std::string_view pulseCurveName = {};
  std::string_view xAxisName;
  std::string_view yAxisName;
  std::string_view sweepLabel;  // label of the first value in the sweep mode
  std::string_view csvHeader;   // first line of the exported samples, naming the units
  std::string_view pulseCsvHeader = {};
  bool xLogAvailable;
  bool referenceLines;  // the peak, -1 dB and -3 dB lines of the gain window
};

const GraphProfile& ProfileOf(GraphKind kind);
// The windows of a multi-stage filter: their own names and captions, titles without the
// single stage's "Lowpass", the same axes, readout and CSV columns.
const GraphProfile& CascadeProfileOf(GraphKind kind);

// The status panel's text for the world point (x, y) under the mouse.
std::string ReadoutText(GraphKind kind, double x, double y);

// The value a drawn curve takes at x, interpolated between its samples (linearly in log f on
// a logarithmic axis); none outside the samples or where a neighbour is not finite. The
// frequency curves hold samples 0 .. Count, the time curves 0 .. kTimeSamples - 1.
std::optional<double> CurveValueAt(GraphKind kind, const CurveBuffer& curve, double x,
                                   bool logarithmic);

// The readout's note of another curve at the cursor: " | with TL072: -3.412 dB".
std::string CurveReadoutText(GraphKind kind, const std::string& name, double y);

}  // namespace morvane
