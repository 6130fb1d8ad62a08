#include "app/status_notice.h"

#include <algorithm>

namespace morvane::gui {

StatusNotice::StatusNotice(QWidget* parent) : QLabel(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void StatusNotice::SetNotice(const QString& text) {
  whole_ = text;
  setToolTip(text);
  Elide();
  updateGeometry();
  setVisible(!text.isEmpty());
}

QSize StatusNotice::sizeHint() const {
  const QMargins m = contentsMargins();
  return {fontMetrics().horizontalAdvance(whole_) + m.left() + m.right() + 2 * margin(),
          QLabel::sizeHint().height()};
}

QSize StatusNotice::minimumSizeHint() const {
  return {0, QLabel::minimumSizeHint().height()};
}

void StatusNotice::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void StatusNotice::Elide() {
  setText(fontMetrics().elidedText(whole_, Qt::ElideRight, std::max(0, contentsRect().width())));
}

NoticeWidths NoticeRoom(int barWidth, bool programShown, bool designShown) {
  // The bar's own margins and the gaps between its widgets come off the notices' share.
  constexpr int kGaps = 16;
  const int room = std::max(0, barWidth - barWidth / 3 - kGaps);
  const int shown = (programShown ? 1 : 0) + (designShown ? 1 : 0);
  if (shown == 0) return {};
  const int each = room / shown;
  return {programShown ? each : 0, designShown ? each : 0};
}

}  // namespace morvane::gui
