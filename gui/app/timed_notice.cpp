#include "app/timed_notice.h"

#include <QTimer>

namespace morvane::gui {

TimedNotice::TimedNotice(QWidget* parent) : StatusNotice(parent), timer_(new QTimer(this)) {
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, [this] {
    SetNotice({});
    emit shownOrHidden();
  });
  hide();
}

void TimedNotice::Show(const QString& text, int ms) {
  SetNotice(text);
  emit shownOrHidden();
  timer_->start(ms);
}

QString TimedNotice::Notice() const {
  return isVisibleTo(parentWidget()) ? WholeText() : QString();
}

}  // namespace morvane::gui
