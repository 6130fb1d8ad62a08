#include "graphs/dialog_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace morvane::gui {

void PlaceOnScreen(QWidget& widget, QPoint topLeft) {
  widget.adjustSize();
  QScreen* screen = QGuiApplication::screenAt(topLeft);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    const QSize size = widget.frameGeometry().size();
    topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width())));
    topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height())));
  }
  widget.move(topLeft);
}

}  // namespace morvane::gui
