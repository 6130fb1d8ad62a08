#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace morvane::gui {

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  window->move(screen->availableGeometry().center() - window->rect().center());
}

QPoint BesidePosition(const QRect& anchor, const QSize& size, const QRect& available) {
  int x = available.right() + 1 - size.width();  // neither side fits: as far right as it goes
  if (anchor.right() + 1 + size.width() <= available.right() + 1) {
    x = anchor.right() + 1;
  } else if (anchor.left() - size.width() >= available.left()) {
    x = anchor.left() - size.width();
  }
  x = std::max(x, available.left());
  const int lowest = available.bottom() + 1 - size.height();
  const int y = std::max(std::min(anchor.top(), lowest), available.top());
  return {x, y};
}

void PlaceBeside(QWidget* window, const QWidget* anchor) {
  const QScreen* screen = anchor->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // Before the first show the frame is not known yet: the window system's decoration is
  // allowed for as the anchor has it.
  const QSize decoration = anchor->frameGeometry().size() - anchor->size();
  const QPoint frame = BesidePosition(anchor->frameGeometry(), window->size() + decoration,
                                      screen->availableGeometry());
  window->move(frame);
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
