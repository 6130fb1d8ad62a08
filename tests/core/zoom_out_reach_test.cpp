// Zooming out, click after click, on every graph: the clicks stop being taken before any
// axis end, sample or label turns into a number the machine cannot hold.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "graphs/axis_operations.h"
#include "graphs/graph_axis_rules.h"
#include "graphs/graph_picture.h"
#include "graphs/svg_canvas.h"

namespace morvane {
namespace {

struct ZoomCase {
  GraphKind kind;
  FilterType type;
  double fg;
  bool logarithmic;
};

bool FiniteSamples(GraphKind kind, const CurveBuffer& buffer) {
  const int last = LastScannedSample(kind, buffer);
  for (int i = 0; i <= last && i < static_cast<int>(buffer.X.size()); ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (!std::isfinite(buffer.X[at]) || !std::isfinite(buffer.Y[at])) return false;
  }
  return true;
}

TEST(ZoomOutReach, StopsWhileEverythingIsFinite) {
  const ZoomCase cases[] = {
      {GraphKind::Gain, FilterType::Lowpass, 1000, true},
      {GraphKind::Gain, FilterType::Lowpass, 1000, false},
      {GraphKind::Gain, FilterType::Bandstop, 0.01, true},
      {GraphKind::Phase, FilterType::Highpass, 1e6, true},
      {GraphKind::Phase, FilterType::EllipticLowpass, 50, false},
      {GraphKind::GroupDelay, FilterType::Bandpass, 1e6, true},
      {GraphKind::GroupDelay, FilterType::Allpass, 10, false},
      {GraphKind::TimeResponse, FilterType::Lowpass, 1000, false},
      {GraphKind::TimeResponse, FilterType::Bandpass, 1e-3, false},
  };
  for (const ZoomCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    SCOPED_TRACE(c.fg);
    DesignState s;
    s.fg = c.fg;
    s.Q = 2;
    s.D = 0.25;
    AxisState a;
    CurveBuffer buffer;
    SetPlainCurveStyle(a);
    StartGraph(c.kind, s, c.type, a, buffer);
    if (c.kind != GraphKind::TimeResponse) {
      a.xMode = c.logarithmic ? AxisMode::Logarithmic : AxisMode::Linear;
    }
    int taken = 0;
    for (int click = 0; click < 3000; ++click) {
      AxisState zoomed = a;
      ZoomOut(zoomed);
      if (!WithinZoomOutReach(c.kind, s, zoomed)) break;
      a = zoomed;
      ++taken;
    }
    // Far beyond the dialog's ranges, yet refused long before the numbers run out.
    EXPECT_GE(taken, 8);  // a decade at each end per click on a logarithmic axis
    EXPECT_LT(taken, 300);
    RefillGraph(c.kind, s, c.type, false, a, buffer);
    EXPECT_TRUE(FiniteSamples(c.kind, buffer));
    SvgCanvas canvas(kOpenedPictureWidth, kOpenedPictureHeight);
    DrawGraphPicture(c.kind, false, a, canvas, buffer);
    const std::string svg = canvas.Document();
    EXPECT_EQ(svg.find("inf"), std::string::npos);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
  }
}

// A window's starting axes are always within reach, whatever the design's frequency.
TEST(ZoomOutReach, StartingAxesAreWithinReach) {
  for (GraphKind kind :
       {GraphKind::Gain, GraphKind::Phase, GraphKind::GroupDelay, GraphKind::TimeResponse}) {
    for (double fg : {1e-4, 1.0, 1e3, 1e7}) {
      DesignState s;
      s.fg = fg;
      AxisState a;
      CurveBuffer buffer;
      StartGraph(kind, s, FilterType::Lowpass, a, buffer);
      EXPECT_TRUE(WithinZoomOutReach(kind, s, a)) << static_cast<int>(kind) << " " << fg;
    }
  }
}

}  // namespace
}  // namespace morvane
