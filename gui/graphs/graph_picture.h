#pragma once

// Filling a window's curve and drawing its picture: the same for all four windows but for
// the filler, the texts and the gain window's reference lines. Free of Qt.

#include "design/design_state.h"
#include "graphs/axis_state.h"
#include "graphs/canvas.h"
#include "graphs/curve_buffer.h"
#include "graphs/graph_kind.h"

namespace morvane::gui {

// The window's response sampled over the x range in force; `pulse` picks h(t) over s(t).
void FillGraphCurve(GraphKind kind, DesignState& s, FilterType type, const AxisState& a, bool pulse,
                    CurveBuffer& buffer);

// The samples the curve drawing takes (0 .. count - 1) and the last one autoscaling scans
// (0 .. count). The time curve holds samples 0 .. 250 only, whatever the buffer's Count.
int DrawnSampleCount(GraphKind kind, const CurveBuffer& buffer);
int LastScannedSample(GraphKind kind, const CurveBuffer& buffer);

// The whole picture from the shared axes and the window's samples: white ground, grid,
// axes, labels, texts, the curve in the current style and, for the gain window, reference
// lines at the peak, 1 dB and 3 dB below it.
void DrawGraphPicture(GraphKind kind, bool pulse, AxisState& a, Canvas& canvas,
                      const CurveBuffer& buffer);

}  // namespace morvane::gui
