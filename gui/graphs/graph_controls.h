#pragma once

// The menus and button bars of the graph windows, built from tables of commands: the graph
// windows and the pole-zero plot share the look, the names and the way a row becomes a
// control.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <span>

class QHBoxLayout;
class QLabel;
class QWidget;

namespace morvane::gui {

template <typename Window>
struct MenuCommand {
  const char* menu;  // a new menu starts where this differs from the previous row
  const char* name;
  const char* caption;
  const char* shortcut;
  void (Window::*handler)();  // null: the command closes the window
};

template <typename Window>
struct BarButton {
  const char* name;
  const char* text;  // empty: a glyph
  const char* hint;
  void (Window::*handler)();  // null: the button closes the window
};

// The bar under the menu bar ("ButtonBar", `height` high) and the layout its buttons go into.
QWidget* AddButtonBar(QWidget* window, int height, QHBoxLayout*& buttons);
// The sunken panel under the picture that shows the readout ("CurrentPanel").
QLabel* MakeCurrentPanel(QWidget* window, int height);

// A menu item of that name and caption (with its shortcut when not empty).
QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption, const char* shortcut);
// A flat tool button of the bar: bold text, or the glyph of its name.
QToolButton* AddBarButton(QWidget* bar, QHBoxLayout* layout, const char* name, const char* text,
                          const char* hint);

// The table's commands as menus of the menu bar, in its order.
template <typename Window>
void AddMenuCommands(Window* window, QMenuBar* menuBar,
                     std::span<const MenuCommand<Window>> commands) {
  QMenu* menu = nullptr;
  QString title;
  for (const MenuCommand<Window>& c : commands) {
    if (!menu || title != c.menu) {
      title = c.menu;
      menu = menuBar->addMenu(title);
    }
    QAction* action = AddMenuItem(menu, c.name, c.caption, c.shortcut);
    if (c.handler) {
      QObject::connect(action, &QAction::triggered, window, c.handler);
    } else {
      QObject::connect(action, &QAction::triggered, window, &QWidget::close);
    }
  }
}

// The table's buttons on the bar, in its order.
template <typename Window>
void AddBarButtons(Window* window, QWidget* bar, QHBoxLayout* layout,
                   std::span<const BarButton<Window>> buttons) {
  for (const BarButton<Window>& b : buttons) {
    QToolButton* button = AddBarButton(bar, layout, b.name, b.text, b.hint);
    if (b.handler) {
      QObject::connect(button, &QToolButton::clicked, window, b.handler);
    } else {
      QObject::connect(button, &QToolButton::clicked, window, &QWidget::close);
    }
  }
}

}  // namespace morvane::gui
