#pragma once

// A graph window's picture without the window: its starting axes, its curve and its drawing,
// the same for all four windows but for the filler, the texts and the gain window's
// reference lines. The windows and morvane-cli plot draw through these, so a picture saved
// from a window and one made on the command line come out alike.

#include <span>
#include <string>

#include "design/design_state.h"
#include "graphs/axis_state.h"
#include "graphs/canvas.h"
#include "graphs/curve_buffer.h"
#include "graphs/graph_kind.h"
#include "graphs/graph_profile.h"
#include "graphs/tolerance_bands.h"

namespace morvane {

// The design's curve with a real op amp, sampled on the design curve's x values.
struct OpAmpCurve {
  const CurveBuffer& samples;
  std::string opAmp;  // the model's name
};
inline constexpr Colour kOpAmpCurveColour{200, 95, 0};
// What names the curve in the legend and its CSV column: "with TL072".
std::string OpAmpCurveName(const OpAmpCurve& curve);

// A phase curve drawn beside `reference` (the same x values) moved by whole turns onto the
// reference's branch, so that like phases are drawn alike: the first samples end up less
// than 180° apart.
void AlignPhaseBranch(const CurveBuffer& reference, CurveBuffer& curve);

// The curve style a window sets when it is created: the line alone, no markers, no bars.
void SetPlainCurveStyle(AxisState& a);

// What a window does when it is shown: the full sample count and its starting axes.
void StartGraph(GraphKind kind, const DesignState& s, FilterType type, AxisState& a,
                CurveBuffer& buffer);

// The window's response sampled over the x range in force; `pulse` picks h(t) over s(t).
void FillGraphCurve(GraphKind kind, DesignState& s, FilterType type, const AxisState& a, bool pulse,
                    CurveBuffer& buffer);
// Snaps the x range to what will be drawn, then fills over it.
void RefillGraph(GraphKind kind, DesignState& s, FilterType type, bool pulse, AxisState& a,
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
// The same with the texts of `profile` and, under the curve, each section's own curve as a
// line in a light colour of its own, the sections' numbers in those colours at the top right.
// Without sections it draws what the form above draws.
// With `asBuilt`, the curve of the circuit as built too, dotted in red and named "as built"
// under the curve's name. With `opAmp`, the design with that real op amp, a bold dark orange
// line named "with TL072" below. With `spread`, a tolerance analysis's band under every
// curve, named "tolerance band" below.
void DrawGraphPicture(const GraphProfile& profile, GraphKind kind, bool pulse, AxisState& a,
                      Canvas& canvas, const CurveBuffer& buffer,
                      std::span<const CurveBuffer> sections, const CurveBuffer* asBuilt = nullptr,
                      const SpreadCurve* spread = nullptr, const OpAmpCurve* opAmp = nullptr);
// The colour of the section curve with that index (from 0).
Colour SectionCurveColour(std::size_t index);

// The picture of a window just opened on the design, on a canvas of the window's image size:
// StartGraph, RefillGraph, RaiseTopToPeak and DrawGraphPicture in the window's order.
void DrawOpenedGraph(GraphKind kind, DesignState& s, FilterType type, bool pulse, AxisState& a,
                     CurveBuffer& buffer, Canvas& canvas);

// The drawn samples as CSV: the header naming the units ("f/Hz,V/dB"), then one "x,y" line
// per sample with 17 significant digits, so the numbers read back exactly.
std::string GraphSamplesCsv(GraphKind kind, bool pulse, const CurveBuffer& buffer);
// The same with the header of `profile` and a column for each section's samples, named by the
// curve's column and the section's number ("V/dB section 2"); the sections are sampled on
// the curve's x values.
// With `asBuilt`, a column of its samples ("V/dB as built"); with `opAmp`, a last column of
// the curve with the op amp ("V/dB with TL072").
std::string GraphSamplesCsv(const GraphProfile& profile, GraphKind kind, bool pulse,
                            const CurveBuffer& buffer, std::span<const CurveBuffer> sections,
                            const CurveBuffer* asBuilt = nullptr,
                            const OpAmpCurve* opAmp = nullptr);

// The image a window shows when it is first opened, between its button bar and its status
// panel: the window's least height, 350, less a menu bar of 19 pixels (as Qt draws off
// screen; a taller menu bar leaves a shorter image) and the two bars. morvane-cli plot
// draws at this size unless told otherwise.
inline constexpr int kOpenedPictureWidth = 522;
inline constexpr int kOpenedPictureHeight = 274;

}  // namespace morvane
