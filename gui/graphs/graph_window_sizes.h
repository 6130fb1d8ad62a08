#pragma once

// The sizes a graph window takes from its size buttons.

#include <QSize>

namespace morvane::gui {

// Standard size by the width of the screen: 768 x 576 from 999 pixels, 640 x 480 from 799,
// else 533 x 400.
QSize StandardWindowSize(int screenWidth);
// Width and height times the factor, rounded (increase 4/3, decrease 3/4).
QSize ScaledWindowSize(QSize size, double factor);

}  // namespace morvane::gui
