#pragma once

// Placing and raising the program's secondary windows.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace morvane::gui {

// Moves a top-level window, at its current size, to the centre of its screen. Called before
// the first show, so the window system keeps the position.
void CentreOnScreen(QWidget* window);

// Where a window of `size` (frame included) goes beside `anchor` (a frame) on the screen's
// `available` area: to the right if it fits there, else to the left, else against the
// screen's right edge; top-aligned with the anchor and kept on the screen.
QPoint BesidePosition(const QRect& anchor, const QSize& size, const QRect& available);

// Moves a top-level window beside another one (see BesidePosition). Called before the
// first show.
void PlaceBeside(QWidget* window, const QWidget* anchor);

// Shows a window without blocking the others; one already shown comes to the front.
void ShowInFront(QWidget* window);

}  // namespace morvane::gui
