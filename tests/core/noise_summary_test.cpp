// What the Noise window makes of an analysis: the starting band a decade either side within
// 1 Hz .. 100 MHz, shares of the noise power that add up to the whole, the CSV with a blank
// where the filter passes nothing, and density axes of whole decades.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "cascade/cascade_circuit.h"
#include "cascade/cascade_design.h"
#include "graphs/noise_picture.h"
#include "noise/noise_summary.h"

namespace morvane {
namespace {

TEST(NoiseSummary, DefaultBandIsADecadeEitherSideWithinLimits) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double low, high, from, to;
  } cases[] = {{1e3, 1e3, 100, 10e3},    {900, 1100, 90, 11e3},    {2, 5, 1, 50},
               {50e6, 60e6, 5e6, 100e6}, {0, 1e3, 10, 100e3},      {kNaN, 1e3, 10, 100e3},
               {1e3, 100, 10, 100e3},    {1e12, 1e12, 10e6, 100e6}};
  for (const auto& c : cases) {
    const NoiseRequest r = DefaultNoiseBand(c.low, c.high);
    EXPECT_DOUBLE_EQ(r.fFrom, c.from) << c.low;
    EXPECT_DOUBLE_EQ(r.fTo, c.to) << c.high;
    EXPECT_TRUE(NoiseRequestProblem(r).empty());
  }
}

TEST(NoiseSummary, SharesAddUpAndAxesHoldTheCurves) {
  CascadeRequest request;
  request.order = 6;
  Circuit circuit = JoinedCascadeCircuit(DesignCascade(request));
  circuit.opAmpModel = FindOpAmp(BuiltInOpAmps(), "TL072");
  const NoiseAnalysis analysis = AnalyseNoise(circuit, {10, 30e3, 400, 25});
  const NoiseSummary s = SummariseNoise(analysis);
  for (const auto* shares : {&s.parts, &s.sections}) {
    double percent = 0.0;
    for (const NoiseShare& share : *shares) percent += share.percent;
    EXPECT_NEAR(percent, 100.0, 1e-6);
  }
  EXPECT_EQ(s.sections.size(), 3u);
  EXPECT_NEAR(s.inputRms * s.peakGain, s.rms, 1e-15);

  AxisState a;
  SetNoiseAxes(analysis, 522, 274, a);
  EXPECT_EQ(a.ymax, std::floor(a.ymax));
  EXPECT_LE(a.ymax - a.ymin, 8.0);
  EXPECT_GE(a.ymax - a.ymin, 2.0);
  EXPECT_GT(a.ymax, std::log10(analysis.outputDensity.front()));
  EXPECT_DOUBLE_EQ(a.xmin, 10.0);
  EXPECT_DOUBLE_EQ(a.xmax, 100e3);

  // A 6th-order lowpass at 1 kHz stays within 240 dB of its peak up to 30 kHz: every line has
  // an input-referred value; with ideal op amps it falls below by 1 MHz, and the column is
  // blank there.
  const std::string csv = NoiseDensityCsv(analysis);
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "f/Hz,output V/sqrt(Hz),input-referred V/sqrt(Hz),gain");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 401);
  EXPECT_EQ(csv.find(",,"), std::string::npos);
  circuit.opAmpModel.reset();
  EXPECT_NE(NoiseDensityCsv(AnalyseNoise(circuit, {10, 1e6, 400, 25})).find(",,"),
            std::string::npos);
}

TEST(NoiseSummary, TextsNeverShowNonNumbers) {
  EXPECT_EQ(MicrovoltText(12.346e-6), "12.35 µV");
  EXPECT_EQ(MicrovoltText(0.0), "0 µV");
  EXPECT_EQ(MicrovoltText(std::numeric_limits<double>::quiet_NaN()), "0 µV");
  EXPECT_EQ(DbvText(1e-5), "-100.0 dBV");
  EXPECT_EQ(DbvText(0.0), "-∞ dBV");
}

}  // namespace
}  // namespace morvane
