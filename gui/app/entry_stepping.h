#pragma once

// The arrow keys and the mouse wheel in an entry field step its value as the spin button
// beside it does: Up and a wheel turn away from the user raise it, Down and a turn towards
// lower it, one step per notch.

#include <functional>

class QLineEdit;

namespace morvane::gui {

// `step(true)` for a step up, `step(false)` for a step down.
void StepWithKeysAndWheel(QLineEdit* entry, std::function<void(bool up)> step);

// Name of the property of a spin button that names the entry field it steps.
inline constexpr const char* kSteppedEntryProperty = "steppedEntry";

}  // namespace morvane::gui
