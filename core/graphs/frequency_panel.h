#pragma once

// One curve over a logarithmic frequency axis on the plot engine, as the companion programs
// draw their gain, phase and impedance: the x axis over whole decades, the y axis fitted to
// the curve in round steps (linear), or in decades with unit-prefixed labels (logarithmic,
// drawn as log10 on the engine's linear y axis). A panel with a problem shows the problem
// alone.

#include <string>
#include <vector>

#include "graphs/axis_state.h"
#include "graphs/canvas.h"

namespace morvane {

enum class PanelScale : std::uint8_t { Linear, Decades };

struct FrequencyPanel {
  std::string title;  // at the top, in the curve's colour
  std::string yName;  // beside the y axis: "dB", "°", "Ω"
  std::vector<double> f{};
  std::vector<double> y{};
  PanelScale scale = PanelScale::Linear;
  // The least range of the linear y axis: a flat curve still gets an axis of this height.
  double leastSpan = 10.0;
  // The linear y axis ends no lower than this below the curve's top (a deep notch would
  // squeeze the rest of the curve into a line).
  double deepestSpan = 1e300;
  // The linear y axis's step; 0 takes a 1-2-5 step for about five to ten ticks.
  double step = 0.0;
  Colour colour = kBlue;
  std::string problem{};
};

// `points` frequencies spaced evenly on a logarithmic axis from `from` to `to`.
std::vector<double> LogFrequencies(double from, double to, int points);
// The decades around f: from the decade `below` decades under f's to the one `above` over it,
// with f itself among the points (a peak or a notch there is drawn to its tip).
std::vector<double> DecadesAround(double f, int below, int above, int points);
// The ascending frequencies with f among them (a peak or a notch at f is drawn to its tip).
std::vector<double> WithFrequency(std::vector<double> frequencies, double f);

// The y range and step the panel takes: the panel's step or a 1-2-5 step giving about five to
// ten ticks, the ends on whole steps around the curve (linear); whole decades of log10 y
// (decades).
void SetPanelAxes(const FrequencyPanel& panel, int width, int height, AxisState& a);
void DrawFrequencyPanel(const FrequencyPanel& panel, AxisState& a, Canvas& canvas);

}  // namespace morvane
