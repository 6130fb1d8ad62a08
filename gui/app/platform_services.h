#pragma once

// What the window asks of the desktop beyond its own widgets. Tests replace it, so no real
// beep sounds and no modal box blocks a test.

#include <QString>

class QWidget;

namespace morvane::gui {

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;
  // The system's warning beep.
  virtual void Beep() = 0;
  // A modal message box over `parent`; returns when the user closed it.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
};

// The real desktop.
class DesktopServices : public PlatformServices {
 public:
  void Beep() override;
  void ShowMessage(QWidget* parent, const QString& text) override;
};

}  // namespace morvane::gui
