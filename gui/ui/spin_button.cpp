#include "ui/spin_button.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "ui/glyphs.h"

namespace morvane::gui {

namespace {

constexpr int kWidth = 15;
constexpr int kHalfHeight = 10;

QToolButton* MakeHalf(const QString& name, const QString& hint, bool up, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(SpinArrowGlyph(up));
  button->setIconSize(QSize(7, 4));
  button->setFixedSize(kWidth, kHalfHeight);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolTip(hint);
  button->setStatusTip(hint);
  return button;
}

}  // namespace

SpinButton::SpinButton(const QString& name, const QString& hint, QWidget* parent)
    : QWidget(parent) {
  setObjectName(name);
  setToolTip(hint);
  setStatusTip(hint);
  up_ = MakeHalf(name + "Up", hint, true, this);
  down_ = MakeHalf(name + "Down", hint, false, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setFixedSize(kWidth, 2 * kHalfHeight);
  connect(up_, &QToolButton::clicked, this, &SpinButton::up);
  connect(down_, &QToolButton::clicked, this, &SpinButton::down);
}

}  // namespace morvane::gui
