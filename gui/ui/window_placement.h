#pragma once

// Placing and raising the program's secondary windows.

class QWidget;

namespace morvane::gui {

// Moves a top-level window, at its current size, to the centre of its screen. Called before
// the first show, so the window system keeps the position.
void CentreOnScreen(QWidget* window);

// Shows a window without blocking the others; one already shown comes to the front.
void ShowInFront(QWidget* window);

}  // namespace morvane::gui
