#include "app/entry_stepping.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace morvane::gui {

namespace {

// One notch of a common mouse wheel; touchpads send fractions of it.
constexpr int kNotch = 120;

class EntryStepper : public QObject {
 public:
  EntryStepper(std::function<void(bool)> step, QObject* parent)
      : QObject(parent), step_(std::move(step)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::Wheel) return false;
    // Events also come while the entry is being destroyed, when it is no QLineEdit any more.
    const auto* entry = qobject_cast<const QLineEdit*>(watched);
    if (!entry || !entry->isEnabled() || entry->isReadOnly()) return false;
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
      step_(key == Qt::Key_Up);
      return true;
    }
    if (event->type() == QEvent::Wheel) {
      turned_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
      for (; turned_ >= kNotch; turned_ -= kNotch) step_(true);
      for (; turned_ <= -kNotch; turned_ += kNotch) step_(false);
      return true;
    }
    return false;
  }

 private:
  std::function<void(bool)> step_;
  int turned_ = 0;  // wheel turn not yet stepped, in eighths of a degree
};

}  // namespace

void StepWithKeysAndWheel(QLineEdit* entry, std::function<void(bool up)> step) {
  entry->installEventFilter(new EntryStepper(std::move(step), entry));
}

}  // namespace morvane::gui
