#include "design/stage_figures.h"

namespace morvane {

void WriteInformationPanel(const DesignState&, FilterType, FieldSink&) {}
void WriteReadout(DesignState&, FilterType, FieldSink&) {}

}  // namespace morvane
