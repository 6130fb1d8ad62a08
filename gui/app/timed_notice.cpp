#include "app/timed_notice.h"

#include <QTimer>

namespace morvane::gui {

TimedNotice::TimedNotice(QWidget* parent) : QLabel(parent), timer_(new QTimer(this)) {
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, [this] {
    setToolTip({});
    hide();
  });
  hide();
}

void TimedNotice::Show(const QString& text, int ms) {
  setToolTip(text);
  setText(fontMetrics().elidedText(text, Qt::ElideRight, maximumWidth()));
  show();
  timer_->start(ms);
}

QString TimedNotice::Notice() const {
  return isVisibleTo(parentWidget()) ? toolTip() : QString();
}

}  // namespace morvane::gui
