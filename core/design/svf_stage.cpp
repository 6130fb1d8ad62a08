#include "design/svf_stage.h"

namespace morvane {

void DesignSvf3Stage(DesignState&, const RecalcInputs&, FieldSink&) {}
void DesignSvf4Stage(DesignState&, const RecalcInputs&, FieldSink&) {}

}  // namespace morvane
