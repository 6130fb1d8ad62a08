#pragma once

// The three regions across the top of the main window: the Input group, the Informationen
// panel with the figures of the stage, and the Frequency Response readout at f.

class QFrame;
class QWidget;

namespace morvane::gui {

QFrame* MakeInputGroup(QWidget* parent);
QFrame* MakeInformationPanel(QWidget* parent);
QFrame* MakeFrequencyResponsePanel(QWidget* parent);

}  // namespace morvane::gui
