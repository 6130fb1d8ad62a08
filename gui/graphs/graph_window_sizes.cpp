#include "graphs/graph_window_sizes.h"

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

}  // namespace morvane::gui
