#pragma once

// A sketch of the ladder as the series and parallel circuits program shows it above its
// element table: the source with RG at the left, series elements along the top line, shunt
// elements down to the ground line, RL at the right. Symbols as in IEC 60617: a capacitor two
// plates, an inductor a filled block, a resistor an open block. Each element is named as in
// the table, with its value below the name.

#include "graphs/canvas.h"
#include "network/ladder_network.h"

namespace morvane {

void DrawLadderSketch(const LadderNetwork& network, Canvas& canvas);

}  // namespace morvane
