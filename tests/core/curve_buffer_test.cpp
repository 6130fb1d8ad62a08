// Curve fillers: where the samples lie, which entries are written, and the time curves.
// Reference values from an independent double-precision calculation (python), fg = 1 kHz.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "graphs/curve_buffer.h"
#include "graphs/response.h"

namespace morvane {
namespace {

constexpr double kMinus3dB = -3.0102999566398120;

DesignState Initial(double Q = 0.7071) {
  DesignState s;
  s.Q = Q;
  s.D = 0.5 / Q;
  return s;
}

bool AllFinite(const CurveBuffer& b) {
  return std::all_of(b.X.begin(), b.X.end(), [](double x) { return std::isfinite(x); }) &&
         std::all_of(b.Y.begin(), b.Y.end(), [](double y) { return std::isfinite(y); });
}

// A linear axis from 0 Hz starts one step up, and the samples run to xmax + step.
TEST(CurveBuffer, LinearAxisFromZeroStartsAtDelta) {
  DesignState s = Initial();
  CurveBuffer b;
  FillGainCurve(s, FilterType::Lowpass, {0.0, 2540.0, false}, b);
  EXPECT_EQ(b.Count, 254);
  EXPECT_EQ(b.X[0], 10.0);
  EXPECT_EQ(b.X[99], 1000.0);
  EXPECT_NEAR(b.Y[99], kMinus3dB, 1e-9);
  EXPECT_EQ(b.X[254], 2550.0);
  EXPECT_EQ(b.X[255], 2560.0);  // X[N+1] is written, Y[N+1] is not
  EXPECT_EQ(b.Y[255], 0.0);
  EXPECT_LT(b.Y[254], -16.0);
  EXPECT_GT(b.Y[0], -1e-3);
}

TEST(CurveBuffer, LogarithmicAxisEndsAtXmax) {
  DesignState s = Initial();
  CurveBuffer b;
  FillGainCurve(s, FilterType::Lowpass, {10.0, 1e5, true}, b);
  const double ratio = std::pow(1e4, 1.0 / 254.0);
  EXPECT_EQ(b.X[0], 10.0);
  EXPECT_NEAR(b.X[127], 1000.0, 1000.0 * 1e-12);  // geometric middle
  EXPECT_NEAR(b.Y[127], kMinus3dB, 1e-9);
  EXPECT_NEAR(b.X[254], 1e5, 1e5 * 1e-12);
  EXPECT_NEAR(b.X[255], 1e5 * ratio, 1e5 * 1e-12);
  EXPECT_EQ(b.Y[255], 0.0);
}

// Every frequency filler sets fo first, as the graph windows never recalculate.
TEST(CurveBuffer, FrequencyFillersSetFo) {
  struct Case {
    FilterType type;
    void (*fill)(DesignState&, FilterType, const AxisRange&, CurveBuffer&);
    double fo;
  };
  const Case cases[] = {
      {FilterType::Lowpass, FillGainCurve, 1000.009590229925},
      {FilterType::Highpass, FillPhaseCurve, 999.9904098620466},
      {FilterType::Bandpass, FillGroupDelayCurve, 1000.009590229925},
  };
  for (const auto& c : cases) {
    DesignState s = Initial();
    s.fo = 0.0;
    CurveBuffer b;
    c.fill(s, c.type, {1.0, 1e5, true}, b);
    EXPECT_NEAR(s.fo, c.fo, c.fo * 1e-13);
  }
}

TEST(CurveBuffer, AllpassPhaseCurveRunsFrom0ToMinus360) {
  DesignState s = Initial();
  CurveBuffer b;
  FillPhaseCurve(s, FilterType::Allpass, {1.0, 1e6, true}, b);
  EXPECT_GT(b.Y[0], -0.2);
  EXPECT_LT(b.Y[254], -359.8);
  for (int i = 1; i <= 254; ++i) EXPECT_LE(b.Y[i], b.Y[i - 1]) << i;
}

TEST(CurveBuffer, GroupDelayCurvePeaksNearTheResonance) {
  DesignState s = Initial(5.0);
  CurveBuffer b;
  FillGroupDelayCurve(s, FilterType::Lowpass, {1.0, 1e6, true}, b);
  const auto peak = std::max_element(b.Y.begin(), b.Y.begin() + 255) - b.Y.begin();
  EXPECT_NEAR(b.X[static_cast<std::size_t>(peak)], s.fo, s.fo * 0.03);
  EXPECT_GT(*std::min_element(b.Y.begin(), b.Y.begin() + 255), 0.0);
}

// Axis ends the plot engine should never hand over still give finite samples, and a Count
// beyond the buffer never writes past it.
TEST(CurveBuffer, BadAxisAndCount) {
  struct Case {
    AxisRange axis;
    int count;
  };
  const Case cases[] = {
      {{0.0, 1e4, true}, 254},                                // log axis from 0 Hz
      {{-5.0, 1e4, true}, 254},    {{1e4, 1e4, false}, 254},  // empty range
      {{1.0, 1e4, false}, 100000}, {{1.0, 1e4, true}, -3},
  };
  for (const auto& c : cases) {
    DesignState s = Initial();
    CurveBuffer b;
    b.Count = c.count;
    FillGainCurve(s, FilterType::Lowpass, c.axis, b);
    FillPhaseCurve(s, FilterType::Bandstop, c.axis, b);
    FillGroupDelayCurve(s, FilterType::Highpass, c.axis, b);
    EXPECT_TRUE(AllFinite(b)) << "count " << c.count << " xmin " << c.axis.xmin;
    EXPECT_EQ(b.Count, c.count);
  }
}

TEST(CurveBuffer, StepCurve) {
  DesignState s = Initial();
  s.D = 3.0;
  CurveBuffer b;
  FillTimeCurve(s, {0.0, 2.54e-3, false}, TimeResponse::Step, b);  // dt = 10 us
  EXPECT_EQ(s.D, 0.5 / 0.7071);
  EXPECT_EQ(b.X[0], 0.0);
  EXPECT_NEAR(b.Y[0], 0.0, 1e-15);
  EXPECT_NEAR(b.X[30], 300e-6, 1e-18);
  EXPECT_NEAR(b.Y[30], 0.681555147579098, 1e-12);
  EXPECT_NEAR(b.X[250], 2.5e-3, 1e-17);
  for (std::size_t i = 251; i < 256; ++i) {
    EXPECT_EQ(b.X[i], 0.0);
    EXPECT_EQ(b.Y[i], 0.0);
  }
}

TEST(CurveBuffer, PulseCurvePeaksAtExactlyOne) {
  DesignState s = Initial();
  CurveBuffer b;
  FillTimeCurve(s, {0.0, 2.54e-3, false}, TimeResponse::Pulse, b);
  EXPECT_EQ(b.Y[0], 0.0);
  EXPECT_EQ(b.Y[17], 1.0);
  EXPECT_EQ(*std::max_element(b.Y.begin(), b.Y.begin() + 251), 1.0);
  EXPECT_NEAR(b.Y[5], 0.5874893810558423, 1e-9);
  EXPECT_NEAR(b.Y[100], -0.03460000386530184, 1e-9);
  EXPECT_EQ(b.Y[251], 0.0);
}

// Every damping, and time ranges far too short or far too long for the response.
TEST(CurveBuffer, PulseCurveOverExtremes) {
  struct Case {
    double Q;
    double fg;
    double xmax;
  };
  const Case cases[] = {
      {0.1, 1000.0, 2.54e-3}, {0.5, 1000.0, 2.54e-3},  {10000.0, 1000.0, 2.54e-3},
      {0.7071, 2e9, 1e-9},    {0.7071, 0.001, 1e3},    {0.7071, 2e9, 1e3},
      {0.7071, 1000.0, 0.0},  {10000.0, 0.001, 1e-12},
  };
  for (const auto& c : cases) {
    DesignState s = Initial(c.Q);
    s.fg = c.fg;
    CurveBuffer b;
    FillTimeCurve(s, {0.0, c.xmax, false}, TimeResponse::Pulse, b);
    SCOPED_TRACE(::testing::Message() << "Q " << c.Q << " fg " << c.fg << " xmax " << c.xmax);
    EXPECT_TRUE(AllFinite(b));
    EXPECT_EQ(b.Y[0], 0.0);
    const double peak = *std::max_element(b.Y.begin(), b.Y.begin() + 251);
    EXPECT_TRUE(peak == 1.0 || peak == 0.0);
  }
}

}  // namespace
}  // namespace morvane
