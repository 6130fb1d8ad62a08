#pragma once

// The noise density of a filter on the plot engine: the output density (green) and the same
// referred to the input (blue, dotted) over a logarithmic frequency axis, the density on a
// logarithmic axis too (decades of V/sqrt(Hz), drawn as log10 on the engine's linear y axis),
// the RMS over the band at the top right.

#include "graphs/axis_state.h"
#include "graphs/canvas.h"
#include "noise/noise_analysis.h"

namespace morvane {

// The axes for a picture of width x height pixels: x over the analysed band widened to whole
// decades; y (log10 of V/sqrt(Hz)) from the decade above the larger of the output's peak and
// the input-referred curve's least value, down to the decade below the least density shown, at
// most eight decades.
void SetNoiseAxes(const NoiseAnalysis& analysis, int width, int height, AxisState& a);

// The whole picture: SetNoiseAxes on the canvas's size, white ground, grid, axes, decade
// labels, texts and both curves. An analysis with a problem shows the problem alone.
void DrawNoisePicture(const NoiseAnalysis& analysis, AxisState& a, Canvas& canvas);

}  // namespace morvane
