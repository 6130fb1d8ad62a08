#pragma once

// Hints appear 200 ms after the mouse comes to rest on a control and stay 4000 ms.

class QApplication;

namespace morvane::gui {

inline constexpr int kHintDelayMs = 200;
inline constexpr int kHintShownMs = 4000;

void InstallHintTimes(QApplication& app);

}  // namespace morvane::gui
