#include "graphs/curve_buffer.h"

namespace morvane {

void FillGainCurve(DesignState&, FilterType, const AxisRange&, CurveBuffer&) {}
void FillPhaseCurve(DesignState&, FilterType, const AxisRange&, CurveBuffer&) {}
void FillGroupDelayCurve(DesignState&, FilterType, const AxisRange&, CurveBuffer&) {}
void FillTimeCurve(DesignState&, const AxisRange&, TimeResponse, CurveBuffer&) {}

}  // namespace morvane
