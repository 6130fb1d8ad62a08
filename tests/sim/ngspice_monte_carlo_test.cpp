// ngspice's Monte Carlo as the tolerance checks and bench_tolerance run it: the sweep it was
// asked for, the statistics it prints read back, the tolerances on the parts they belong to,
// and a run that went wrong told as an error, not as numbers.

#include "ngspice_monte_carlo.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "cascade/cascade_design.h"
#include "tolerance/tolerance_analysis.h"

namespace morvane::sim {
namespace {

CascadeDesign MfbLowpass(int order) {
  CascadeRequest r;
  r.order = order;
  r.fg = 1000.0;
  r.topology = Topology::Mfb;
  return DesignCascade(r);
}

struct SweepCase {
  const char* name;
  AcSweep sweep;
  std::size_t points;
};
void PrintTo(const SweepCase& c, std::ostream* os) {
  *os << c.name;
}

class SpiceMonteCarloSweep : public testing::TestWithParam<SweepCase> {};

// Without tolerances every run is the nominal circuit: at every frequency of the sweep the mean
// is the designed gain and the spread nothing.
TEST_P(SpiceMonteCarloSweep, WithoutTolerancesEveryRunIsTheNominalGain) {
  const CascadeDesign d = MfbLowpass(4);
  SpiceMonteCarloRequest request;
  request.runs = 3;
  request.tolerances = {0.0, 0.0, 0.0, ToleranceDistribution::Uniform, 1};
  request.sweep = GetParam().sweep;
  const SpiceMonteCarlo spice = RunSpiceMonteCarlo(MonteCarloNetlist(d, request));
  ASSERT_TRUE(spice.Ok()) << spice.error.substr(0, 2000);
  ASSERT_EQ(spice.frequencies.size(), GetParam().points);
  EXPECT_NEAR(spice.frequencies.front(), request.sweep.fromHz, 1e-9 * request.sweep.fromHz);
  EXPECT_NEAR(spice.frequencies.back(), request.sweep.toHz, 1e-9 * request.sweep.toHz);

  MonteCarloRequest ours;
  ours.runs = 1;
  ours.tolerances = request.tolerances;
  ours.frequencies = spice.frequencies;
  const MonteCarloResult nominal = RunMonteCarlo(*ToleranceSectionsOf(SectionCircuitsOf(d)), ours);
  for (std::size_t i = 0; i < spice.frequencies.size(); ++i) {
    const double gain = nominal.band.meanGain[i];
    EXPECT_NEAR(spice.meanGain[i], gain, 1e-6 * gain) << "at " << spice.frequencies[i] << " Hz";
    EXPECT_NEAR(spice.stdGain[i], 0.0, 1e-6 * gain) << "at " << spice.frequencies[i] << " Hz";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sweeps, SpiceMonteCarloSweep,
    testing::Values(SweepCase{"ThreeLinear", {AcSweep::Spacing::Linear, 3, 500.0, 1500.0}, 3},
                    SweepCase{"FiftyADecade", {AcSweep::Spacing::Decade, 50, 10.0, 100e3}, 201},
                    SweepCase{"TenADecade", {AcSweep::Spacing::Decade, 10, 100.0, 1000.0}, 11}),
    [](const testing::TestParamInfo<SweepCase>& info) { return info.param.name; });

struct ToleranceCase {
  const char* name;
  double resistorPercent, capacitorPercent;
  bool spreadAtLowFrequency;  // far below f0 the gain of the stage is R3/R1 alone
};
void PrintTo(const ToleranceCase& c, std::ostream* os) {
  *os << c.name;
}

class SpiceMonteCarloTolerances : public testing::TestWithParam<ToleranceCase> {};

TEST_P(SpiceMonteCarloTolerances, ReachTheirParts) {
  SpiceMonteCarloRequest request;
  request.runs = 200;
  request.tolerances = {GetParam().resistorPercent, GetParam().capacitorPercent, 0.0,
                        ToleranceDistribution::Uniform, 1};
  request.sweep = {AcSweep::Spacing::Linear, 3, 1.0, 1000.0};  // 1 Hz, 500.5 Hz, f0
  const SpiceMonteCarlo spice = RunSpiceMonteCarlo(MonteCarloNetlist(MfbLowpass(2), request));
  ASSERT_TRUE(spice.Ok()) << spice.error.substr(0, 2000);
  ASSERT_EQ(spice.stdGain.size(), 3u);
  // Each tolerance of 1 % or more spreads the gain at f0 by well over 0.1 %.
  EXPECT_EQ(spice.stdGain[0] > 1e-3, GetParam().spreadAtLowFrequency);
  EXPECT_GT(spice.stdGain[2], 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Parts, SpiceMonteCarloTolerances,
                         testing::Values(ToleranceCase{"Resistors", 1.0, 0.0, true},
                                         ToleranceCase{"Capacitors", 0.0, 5.0, false},
                                         ToleranceCase{"Both", 1.0, 5.0, true}),
                         [](const testing::TestParamInfo<ToleranceCase>& info) {
                           return info.param.name;
                         });

// A circuit without the node "out": ngspice analyses nothing it can print, which must come back
// as an error.
TEST(SpiceMonteCarlo, AMissingOutputIsAnError) {
  SpiceMonteCarloRequest request;
  request.runs = 2;
  std::string netlist = MonteCarloNetlist(MfbLowpass(2), request);
  ASSERT_FALSE(netlist.empty());
  for (std::size_t at = netlist.find(" out"); at != std::string::npos;
       at = netlist.find(" out", at + 1)) {
    netlist.replace(at, 4, " vo ");
  }
  const SpiceMonteCarlo spice = RunSpiceMonteCarlo(netlist);
  EXPECT_FALSE(spice.Ok());
  EXPECT_TRUE(spice.frequencies.empty());
}

}  // namespace
}  // namespace morvane::sim
