#include "graphs/response_source.h"

namespace morvane {

void ResponseSource::FillSections(GraphKind, const AxisState&, bool,
                                  std::vector<CurveBuffer>& buffers) const {
  buffers.clear();
}

bool WithinZoomOutReach(const ResponseSource& source, GraphKind kind, const AxisState& zoomed) {
  return WithinZoomOutReach(zoomed,
                            [&](AxisEnd end) { return source.AxisEndLimits(kind, end, zoomed); });
}

}  // namespace morvane
