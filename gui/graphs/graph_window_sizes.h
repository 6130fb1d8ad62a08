#pragma once

// The sizes a graph window takes from its size buttons, and where it first opens.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace morvane::gui {

// Standard size by the width of the screen: 768 x 576 from 999 pixels, 640 x 480 from 799,
// else 533 x 400.
QSize StandardWindowSize(int screenWidth);
// Width and height times the factor, rounded (increase 4/3, decrease 3/4).
QSize ScaledWindowSize(QSize size, double factor);

// Where a graph window first opens: beside the anchor window (the main window), on its right
// where the screen has room, else on its left, else over its right part; the windows of a set
// (`index` 0 .. 3) stepped down (and on the right, across) so that each title bar stays
// visible. Always on the screen's available area.
QPoint BesideWindowPosition(QRect anchorFrame, QSize frameSize, QRect available, int index);

}  // namespace morvane::gui
