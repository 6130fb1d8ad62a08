#pragma once

// The notebook pages of the passive LC ladder and the LC diplexer: their order and
// approximation controls and the grids the design fills.

class QWidget;

namespace morvane::gui {

QWidget* MakeLadderPage(QWidget* parent);
QWidget* MakeDiplexerPage(QWidget* parent);

}  // namespace morvane::gui
