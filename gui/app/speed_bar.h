#pragma once

// The row of speed buttons across the top of the main window. The buttons are named as in
// the design (ExitBtn, RechenButton, VdbBtn, ...); the window connects them by name.

class QWidget;

namespace morvane::gui {

inline constexpr int kSpeedBarHeight = 30;

QWidget* MakeSpeedBar(QWidget* parent);

}  // namespace morvane::gui
