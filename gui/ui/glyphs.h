#pragma once

// The small pictures of the main window, drawn rather than loaded: speed-bar glyphs, spin
// arrows, the response shapes of the filter types and the readout icons; and the program icon.

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <functional>
#include <string_view>

#include "design/design_state.h"

namespace morvane::gui {

// An icon that `painting` draws in the coordinates of `size`, at whatever pixel size a screen
// asks for: sharp at 1.5x and 2x, where a pixmap of the logical size would be enlarged.
QIcon PaintedIcon(QSize size, std::function<void(QPainter&)> painting);

// Glyph of a speed-bar button by the button's name; a null icon for an unknown name.
QIcon SpeedBarGlyph(std::string_view button);
QIcon SpinArrowGlyph(bool up);
// Gain curve of the filter type, for the Filter Type panel.
QPixmap ResponseShapeIcon(FilterType type);
// Icon of a readout row: 0 |V(f)|, 1 V(dB), 2 phase, 3 group delay.
QPixmap ReadoutIcon(int row);
// The program's icon (resources/icons/morvane.svg) in the sizes of the desktop's icon theme.
QIcon ProgramIcon();

}  // namespace morvane::gui
