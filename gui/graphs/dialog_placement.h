#pragma once

// Where the graph dialogs appear: at a point given by the window that opens them, moved as
// little as needed to stay whole on that point's screen.

#include <QPoint>

class QWidget;

namespace morvane::gui {

void PlaceOnScreen(QWidget& widget, QPoint topLeft);

}  // namespace morvane::gui
