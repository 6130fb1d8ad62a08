#include "design/pfb_stage.h"

namespace morvane {

void DesignPfbStage(DesignState&, const RecalcInputs&, FieldSink&) {}

}  // namespace morvane
