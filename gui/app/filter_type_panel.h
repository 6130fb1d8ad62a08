#pragma once

// The Filter Type panel (Panel1): six radio buttons in two columns, each beside an icon of
// its response shape. The buttons form the exclusive QButtonGroup "FilterTypeButtons",
// each with its FilterType as id.

class QFrame;
class QWidget;

namespace morvane::gui {

QFrame* MakeFilterTypePanel(QWidget* parent);

}  // namespace morvane::gui
