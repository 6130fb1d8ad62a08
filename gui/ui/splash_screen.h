#pragma once

// The borderless window shown while the program starts: icon, name and version on a
// lowered light-yellow panel.

#include <QWidget>

namespace morvane::gui {

class SplashScreen : public QWidget {
  Q_OBJECT

 public:
  explicit SplashScreen(QWidget* parent = nullptr);

  // Shows the splash centred on the screen and paints it before returning.
  void ShowNow();
};

}  // namespace morvane::gui
