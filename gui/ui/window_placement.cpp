#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace morvane::gui {

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  window->move(screen->availableGeometry().center() - window->rect().center());
}

void ShowInFront(QWidget* window) {
  if (window->isVisible()) {
    window->raise();
  } else {
    window->show();
  }
  window->activateWindow();
}

}  // namespace morvane::gui
