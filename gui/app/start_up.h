#pragma once

// The program's start-up, in order: the main window is created, the splash screen shown at
// once, the design initialised (type from the command line, the default design file, one
// recalculation), the splash held 2000 ms after that while events are processed, then
// destroyed, and the main window shown. A failure while initialising still ends with the
// main window shown, and is reported.

#include <QString>
#include <functional>

#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "app/start_options.h"

namespace morvane::gui {

class PlatformServices;

class StartUp {
 public:
  static constexpr int kSplashHoldMs = 2000;

  StartUp(PlatformServices& services, StartOptions options);

  // Runs the start-up up to the shown main window. False when initialising failed; the
  // failure has been reported and the program should end without running.
  bool Run();

  MainWindow& Window() { return window_; }
  SecondaryWindows& Windows() { return windows_; }

  // Replaceable for tests: the initialisation and the hold time.
  std::function<void(MainWindow&)> initialise;
  int splashHoldMs = kSplashHoldMs;

 private:
  PlatformServices& services_;
  StartOptions options_;
  MainWindow window_;
  SecondaryWindows windows_;
};

// Waits `ms` milliseconds while the event loop keeps dispatching, so visible windows paint.
void HoldWhileProcessingEvents(int ms);

}  // namespace morvane::gui
