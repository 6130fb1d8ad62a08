#include "design/fliege_stage.h"

namespace morvane {

void DesignFliegeStage(DesignState&, const RecalcInputs&, FieldSink&) {}

}  // namespace morvane
