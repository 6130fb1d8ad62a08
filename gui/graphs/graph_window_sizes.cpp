#include "graphs/graph_window_sizes.h"

#include <algorithm>

#include "graphs/plot_mapping.h"

namespace morvane::gui {

QSize StandardWindowSize(int screenWidth) {
  if (screenWidth >= 999) return {768, 576};
  if (screenWidth >= 799) return {640, 480};
  return {533, 400};
}

QSize ScaledWindowSize(QSize size, double factor) {
  return {RoundPixel(size.width() * factor), RoundPixel(size.height() * factor)};
}

QPoint BesideWindowPosition(QRect anchorFrame, QSize frameSize, QRect available, int index) {
  constexpr int kStep = 28;
  // Apart by more than a window frame, which a window not yet shown does not count.
  constexpr int kGap = 8;
  const int shift = kStep * std::max(index, 0);
  int x = anchorFrame.right() + 1 + kGap + shift;
  if (x + frameSize.width() - 1 > available.right()) {
    const int left = anchorFrame.left() - kGap - frameSize.width();
    x = left >= available.left() ? left : available.right() + 1 - frameSize.width() - shift;
  }
  const int rightmost = std::max(available.left(), available.right() + 1 - frameSize.width());
  const int lowest = std::max(available.top(), available.bottom() + 1 - frameSize.height());
  return {std::clamp(x, available.left(), rightmost),
          std::clamp(anchorFrame.top() + shift, available.top(), lowest)};
}

}  // namespace morvane::gui
