#pragma once

// The ladder of the series and parallel circuits program on the plot engine: one quantity of
// its response over the swept band (green), the ideal ladder's beside it (blue, dotted).
// The input impedance is drawn as log10 of Ohm on the engine's linear y axis, with decade
// labels.

#include <string>
#include <string_view>
#include <vector>

#include "graphs/axis_state.h"
#include "graphs/canvas.h"
#include "network/network_response.h"

namespace morvane {

enum class NetworkQuantity { Gain, Phase, GroupDelay, InputImpedance, ReturnLoss };

struct NetworkCurves {
  std::vector<NetworkPoint> real;
  std::vector<NetworkPoint> ideal;  // the same frequencies without the parasitics
  bool logarithmic = true;          // the frequency axis
  std::string problem;              // shown alone when not empty
};

// The quantity as drawn: dB, degrees, seconds, log10 of Ohm, dB.
double DrawnValue(const NetworkPoint& p, NetworkQuantity quantity);
// The axis name: "Gain in dB", "|Zin| in Ω", ...
std::string_view QuantityName(NetworkQuantity quantity);

// The axes for a picture of width x height pixels: x over the swept band; y over both curves,
// widened to whole steps. The gain shows at most 120 dB below its peak; the delay leaves
// out the spikes of notches where the gain is 60 dB below its peak.
void SetNetworkAxes(const NetworkCurves& curves, NetworkQuantity quantity, int width, int height,
                    AxisState& a);

void DrawNetworkPicture(const NetworkCurves& curves, NetworkQuantity quantity, AxisState& a,
                        Canvas& canvas);

}  // namespace morvane
