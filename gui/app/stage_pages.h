#pragma once

// The notebook pages of the five active stages (MFB, PFB, SVF with 3 and 4 op amps,
// Fliege): circuit diagram with its characterisation, constraint controls, result rows.

#include "design/design_state.h"

class QLabel;
class QSize;
class QWidget;

namespace morvane::gui {

// Name of the property of a diagram label that holds the resource name of its picture.
inline constexpr const char* kPictureNameProperty = "pictureName";
// Name of the property of a page's characterisation line ("Characterisation1" ..) that keeps
// its own text while the line shows the stage as built.
inline constexpr const char* kCharacterisationProperty = "characterisation";

QWidget* MakeStagePage(Topology topology, QWidget* parent);

// A diagram label that takes the room its layout gives it, never less than `smallest`, and
// draws its picture (named by kPictureNameProperty) anew to fit whenever its size changes.
void KeepPictureFitted(QLabel* diagram, QSize smallest);

}  // namespace morvane::gui
