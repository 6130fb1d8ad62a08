#pragma once

// The tolerance window and the value search in the random session: analyses started with
// random runs, tolerances and hostile mask texts, cancelled or left running while the session
// goes on typing, the window closed and opened again; value search sets applied (to the
// shadow session too). After each action the window must show no "nan" or "inf" and the
// session must be where the shadow is.

#include <QString>

#include "support/session_texts.h"

namespace morvane {
class DesignSession;
}

namespace morvane::gui {
class MainWindow;
class SecondaryWindows;
}  // namespace morvane::gui

namespace morvane::gui::test {

class ToleranceSession {
 public:
  ToleranceSession(MainWindow& main, SecondaryWindows& windows, DesignSession& shadow,
                   HostileTexts& texts);

  // One action; returns what it did.
  QString Step();
  // Empty when the tolerance window and the value search show nothing that breaks a rule.
  QString Check();

 private:
  QString ToleranceCommand();
  QString ValueSearchCommand();

  MainWindow& main_;
  SecondaryWindows& windows_;
  DesignSession& shadow_;
  HostileTexts& texts_;
  bool toleranceOpened_ = false;
};

}  // namespace morvane::gui::test
