#include "graphs/graph_controls.h"

#include <QHBoxLayout>

#include "graphs/graph_button_glyphs.h"

namespace morvane::gui {

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
