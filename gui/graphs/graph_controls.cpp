#include "graphs/graph_controls.h"

#include <QHBoxLayout>
#include <QLabel>

#include "graphs/graph_button_glyphs.h"

namespace morvane::gui {

QWidget* AddButtonBar(QWidget* window, int height, QHBoxLayout*& buttons) {
  auto* bar = new QWidget(window);
  bar->setObjectName("ButtonBar");
  bar->setFixedHeight(height);
  buttons = new QHBoxLayout(bar);
  buttons->setContentsMargins(3, 2, 3, 2);
  buttons->setSpacing(2);
  return bar;
}

QLabel* MakeCurrentPanel(QWidget* window, int height) {
  auto* panel = new QLabel(window);
  panel->setObjectName("CurrentPanel");
  panel->setFixedHeight(height);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setIndent(4);
  return panel;
}

QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption, const char* shortcut) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(name);
  if (*shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
  return action;
}

QToolButton* AddBarButton(QWidget* bar, QHBoxLayout* layout, const char* name, const char* text,
                          const char* hint) {
  auto* button = new QToolButton(bar);
  button->setObjectName(name);
  button->setToolTip(QString::fromUtf8(hint));
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoRaise(true);
  button->setMinimumSize(26, 26);
  if (*text) {
    button->setText(QString::fromUtf8(text));
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
  } else {
    button->setIcon(GraphButtonGlyph(name));
  }
  layout->addWidget(button);
  return button;
}

}  // namespace morvane::gui
