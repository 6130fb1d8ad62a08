#include "lc/lc_ladder.h"

namespace morvane {

// Placeholder until the ladder design lands.
void ComputeLadder(DesignState&, const RecalcInputs&, FieldSink&) {}
std::vector<LadderElement> LadderElements(const DesignState&, const RecalcInputs&) { return {}; }
PolarValue LadderResponse(const DesignState&, FilterType, double) { return {}; }

}  // namespace morvane
