#include "graphs/response.h"

namespace morvane {

void UpdatePoleFrequency(DesignState&, FilterType) {}
double MagnitudeAt(const DesignState&, FilterType, double) { return 0.0; }
double GainDbAt(const DesignState&, FilterType, double) { return 0.0; }
double PhaseAt(const DesignState&, FilterType, double) { return 0.0; }
double GroupDelayAt(const DesignState&, FilterType, double) { return 0.0; }
double StepResponseAt(DesignState&, double) { return 0.0; }

}  // namespace morvane
