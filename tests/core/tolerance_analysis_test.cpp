// Tolerances of the parts: sensitivities and the worst case against the closed forms of the
// Sallen-Key lowpass, Monte Carlo spreads against their first-order statistics, the gain band
// and the yield at their limits, and the seed repeating the runs.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cascade/cascade_design.h"
#include "numerics/standard_series.h"
#include "tolerance/tolerance_analysis.h"
#include "tolerance/value_search.h"

namespace morvane {
namespace {

// Unity-gain Sallen-Key lowpass: f0 = 1 / (2 pi sqrt(R1 R2 C1 C2)),
// Q = sqrt(R1 R2 C1 C2) / (C2 (R1 + R2)).
constexpr double kR1 = 10e3, kR2 = 22e3, kC1 = 10e-9, kC2 = 2.2e-9;

ToleranceSection SallenKey() {
  Circuit c;
  c.opAmps = {{"p", "out", "out"}};
  c.parts = {{"R1", "in", "a", kR1},
             {"R2", "a", "p", kR2},
             {"C1", "a", "out", kC1},
             {"C2", "p", "0", kC2}};
  const auto sections = ToleranceSectionsOf({{c, "lowpass", std::nullopt}});
  EXPECT_TRUE(sections);
  return sections->at(0);
}

TEST(Tolerance, SensitivitiesAreTheClosedForms) {
  const ToleranceSection s = SallenKey();
  EXPECT_NEAR(s.nominal.f0, 1.0 / (2.0 * std::numbers::pi * std::sqrt(kR1 * kR2 * kC1 * kC2)),
              1e-9 * s.nominal.f0);
  const auto found = Sensitivities(s);
  ASSERT_EQ(found.size(), 4u);
  const double r1Share = kR1 / (kR1 + kR2);
  // part, S(f0), S(Q)
  const std::tuple<const char*, double, double> expected[] = {{"R1", -0.5, 0.5 - r1Share},
                                                              {"R2", -0.5, r1Share - 0.5},
                                                              {"C1", -0.5, 0.5},
                                                              {"C2", -0.5, -0.5}};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto& [part, f0, q] = expected[i];
    EXPECT_EQ(found[i].part, part);
    EXPECT_NEAR(found[i].f0, f0, 1e-6) << part;
    EXPECT_NEAR(found[i].q, q, 1e-6) << part;
    EXPECT_NEAR(found[i].gain, 0.0, 1e-6) << part;
  }
}

TEST(Tolerance, WorstCaseIsTheCornerOfTheBox) {
  const ToleranceSection s = SallenKey();
  Tolerances t;
  t.resistorPercent = 1.0;
  t.capacitorPercent = 5.0;
  const WorstCase w = WorstCaseOf(s, t);
  EXPECT_TRUE(w.vertices);
  // Every part at its lower end gives the highest f0, every one at its upper end the lowest.
  EXPECT_NEAR(w.f0Max, s.nominal.f0 / (0.99 * 0.95), 1e-9 * s.nominal.f0);
  EXPECT_NEAR(w.f0Min, s.nominal.f0 / (1.01 * 1.05), 1e-9 * s.nominal.f0);
  // Q is highest with C1 up, C2 down, and R1 up, R2 down (S(Q, R1) = 1/2 - R1 / (R1 + R2) > 0).
  const auto q = [](double r1, double r2, double c1, double c2) {
    return std::sqrt(r1 * r2 * c1 * c2) / (c2 * (r1 + r2));
  };
  EXPECT_NEAR(w.qMax, q(kR1 * 1.01, kR2 * 0.99, kC1 * 1.05, kC2 * 0.95), 1e-9);
  EXPECT_NEAR(w.gainMin, 1.0, 1e-12);
  EXPECT_NEAR(w.gainMax, 1.0, 1e-12);
}

// f0 is (R1 R2 C1 C2)^(-1/2): its relative spread is half the root of the summed variances,
// t^2 / 3 for a uniform part and (t/3)^2 for a Gaussian one (a little less, cut at 3 sigma).
TEST(Tolerance, MonteCarloSpreadsAreTheFirstOrderOnes) {
  const ToleranceSection s = SallenKey();
  for (ToleranceDistribution d :
       {ToleranceDistribution::Uniform, ToleranceDistribution::Gaussian}) {
    MonteCarloRequest r;
    r.runs = 20000;
    r.tolerances = {2.0, 5.0, 5.0, d, 7};
    const MonteCarloResult m = RunMonteCarlo({s}, r);
    ASSERT_EQ(m.runs, 20000);
    const double variance = d == ToleranceDistribution::Uniform
                                ? 2.0 * (0.02 * 0.02 + 0.05 * 0.05) / 3.0
                                : 2.0 * (0.02 * 0.02 + 0.05 * 0.05) / 9.0;
    const double expected = 0.5 * std::sqrt(variance) * s.nominal.f0;
    const Statistics& f0 = m.sections[0].f0;
    EXPECT_NEAR(f0.std, expected, 0.04 * expected) << static_cast<int>(d);
    EXPECT_NEAR(f0.mean, s.nominal.f0, 0.002 * s.nominal.f0);
    EXPECT_LE(f0.min, f0.p5);
    EXPECT_LT(f0.p5, f0.mean);
    EXPECT_LT(f0.mean, f0.p95);
    EXPECT_LE(f0.p95, f0.max);
    EXPECT_LE(f0.max, s.nominal.f0 / (0.98 * 0.95) * (1 + 1e-12));  // never beyond the box
  }
}

TEST(Tolerance, TheSeedRepeatsTheRuns) {
  const ToleranceSection s = SallenKey();
  MonteCarloRequest r;
  r.runs = 500;
  r.tolerances.seed = 42;
  const MonteCarloResult a = RunMonteCarlo({s}, r), b = RunMonteCarlo({s}, r);
  r.tolerances.seed = 43;
  const MonteCarloResult c = RunMonteCarlo({s}, r);
  EXPECT_EQ(a.sections[0].q.mean, b.sections[0].q.mean);
  EXPECT_EQ(a.band.p95Db, b.band.p95Db);
  EXPECT_NE(a.sections[0].q.mean, c.sections[0].q.mean);
}

// A 4th-order Butterworth lowpass at 1 kHz: with no tolerance the band is the nominal curve
// and a mask it meets is met by every run; with tolerances the band widens in order, and a
// mask too tight for the spread is met by some runs only.
TEST(Tolerance, BandAndYield) {
  CascadeRequest request;
  request.order = 4;
  const CascadeDesign d = DesignCascade(request);
  const auto sections = ToleranceSectionsOf(SectionCircuitsOf(d));
  ASSERT_TRUE(sections);
  MonteCarloRequest r;
  r.runs = 2000;
  r.fromHz = 100.0;
  r.toHz = 10e3;
  r.passbandGain = 1.0;
  r.mask = ToleranceMask{500.0, 0.5, 3000.0, 35.0};
  r.tolerances = {0.0, 0.0, 0.0, ToleranceDistribution::Uniform, 1};
  const MonteCarloResult exact = RunMonteCarlo(*sections, r);
  for (std::size_t i = 0; i < exact.band.frequencies.size(); ++i) {
    EXPECT_NEAR(exact.band.minDb[i], exact.band.nominalDb[i], 1e-9);
    EXPECT_NEAR(exact.band.maxDb[i], exact.band.nominalDb[i], 1e-9);
  }
  ASSERT_TRUE(exact.yield);
  EXPECT_EQ(*exact.yield, 1.0);
  // The corner's -3 dB at 1 kHz, nominal.
  r.tolerances = {1.0, 5.0, 5.0, ToleranceDistribution::Uniform, 1};
  r.mask = ToleranceMask{900.0, 2.0, 3000.0, 38.0};
  const MonteCarloResult spread = RunMonteCarlo(*sections, r);
  for (std::size_t i = 0; i < spread.band.frequencies.size(); ++i) {
    EXPECT_LE(spread.band.minDb[i], spread.band.p5Db[i]);
    EXPECT_LE(spread.band.p5Db[i], spread.band.p95Db[i]);
    EXPECT_LE(spread.band.p95Db[i], spread.band.maxDb[i]);
  }
  ASSERT_TRUE(spread.yield);
  EXPECT_GT(*spread.yield, 0.05);
  EXPECT_LT(*spread.yield, 0.95);
  // The capacitors (5 %) matter more than the resistors (1 %).
  ASSERT_FALSE(spread.importance.empty());
  EXPECT_EQ(spread.importance[0].part[0], 'C');
}

// The phase and delay bands: nominal at the closed forms of the Sallen-Key lowpass (at f0
// -90 degrees and 2Q / w0, near DC 1 / (Q w0)), no spread without tolerances, ordered with
// them; and finite beside the zero of a notch, where the delay has a pole.
TEST(Tolerance, PhaseAndDelayBands) {
  const ToleranceSection s = SallenKey();
  const double f0 = s.nominal.f0, w0 = 2.0 * std::numbers::pi * f0, q = s.nominal.q;
  MonteCarloRequest r;
  r.runs = 500;
  r.frequencies = {f0 / 1000.0, f0, 10.0 * f0};
  r.phaseAndDelay = true;
  r.tolerances = {0.0, 0.0, 0.0, ToleranceDistribution::Uniform, 1};
  const MonteCarloResult exact = RunMonteCarlo({s}, r);
  ASSERT_TRUE(exact.phaseDegrees && exact.groupDelay);
  const SpreadBand& phase = *exact.phaseDegrees;
  const SpreadBand& delay = *exact.groupDelay;
  EXPECT_NEAR(delay.nominal[0], 1.0 / (q * w0), 1e-5 / (q * w0));
  EXPECT_NEAR(phase.nominal[1], -90.0, 1e-9);
  EXPECT_NEAR(delay.nominal[1], 2.0 * q / w0, 1e-12 / w0);
  EXPECT_LT(phase.nominal[2], -170.0);  // continuous past -180 would be below; it is not
  for (const SpreadBand* b : {&phase, &delay}) {
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(b->min[i], b->nominal[i], 1e-5 * std::abs(b->nominal[i]));
      EXPECT_NEAR(b->max[i], b->nominal[i], 1e-5 * std::abs(b->nominal[i]));
    }
  }
  r.tolerances = {1.0, 5.0, 5.0, ToleranceDistribution::Uniform, 1};
  const MonteCarloResult spread = RunMonteCarlo({s}, r);
  for (const SpreadBand* b : {&*spread.phaseDegrees, &*spread.groupDelay}) {
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_LE(b->min[i], b->p5[i]);
      EXPECT_LT(b->p5[i], b->p95[i]);
      EXPECT_LE(b->p95[i], b->max[i]);
    }
  }
  // At f0 the phase moves by 2Q per relative change of f0 (rad): f0 spreads by a few percent.
  EXPECT_LT(spread.phaseDegrees->max[1] - spread.phaseDegrees->min[1], 2.0 * q * 0.12 * 57.3);

  CascadeRequest notch;
  notch.kind = FilterKind::Bandstop;
  notch.order = 1;
  notch.fm = 50.0;
  notch.bandwidth = 10.0;
  const auto sections = ToleranceSectionsOf(SectionCircuitsOf(DesignCascade(notch)));
  ASSERT_TRUE(sections);
  r.frequencies = {40.0, 50.0, 60.0};
  const MonteCarloResult atZero = RunMonteCarlo(*sections, r);
  for (const SpreadBand* b : {&*atZero.phaseDegrees, &*atZero.groupDelay}) {
    for (const auto* v : {&b->min, &b->p5, &b->nominal, &b->p95, &b->max}) {
      for (double x : *v) EXPECT_TRUE(std::isfinite(x));
    }
  }
}

}  // namespace
}  // namespace morvane

namespace morvane {
namespace {

// The value search: never worse than the nearest rounding, every resistor a series value, the
// capacitors kept, the alternatives in order; and for the 50 Hz notch a notch far closer to
// 50 Hz than the nearest values give.
TEST(ValueSearch, NeverWorseThanTheNearestRounding) {
  const std::tuple<Approximation, FilterKind, int, Topology> filters[] = {
      {Approximation::Butterworth, FilterKind::Lowpass, 5, Topology::Mfb},
      {Approximation::Chebyshev, FilterKind::Highpass, 4, Topology::Pfb},
      {Approximation::Butterworth, FilterKind::Bandpass, 2, Topology::Svf3},
      {Approximation::Elliptic, FilterKind::Bandpass, 2, Topology::Svf4},
      {Approximation::Butterworth, FilterKind::Bandstop, 1, Topology::Fliege},
  };
  for (const auto& [a, kind, order, topology] : filters) {
    CascadeRequest r;
    r.approximation = a;
    r.kind = kind;
    r.order = order;
    r.topology = topology;
    r.circuit.seriesR = 3;
    for (const CascadeSection& s : DesignCascade(r).sections) {
      const auto designed = ToleranceSectionsOf({{s.circuit.circuit, s.plan.kind, {}}});
      ASSERT_TRUE(designed);
      const std::vector<ValueChoice> best =
          BestResistorRoundings(s.circuit.circuit, s.plan.kind, designed->at(0).nominal, 3, 4);
      ASSERT_FALSE(best.empty());
      for (std::size_t i = 1; i < best.size(); ++i) EXPECT_LE(best[i - 1].score, best[i].score);
      Circuit nearest = s.circuit.circuit;
      for (std::size_t i = 0; i < nearest.parts.size(); ++i) {
        CircuitPart& p = nearest.parts[i];
        if (p.name[0] == 'R') {
          p.value = NearestSeriesValue(3, p.value);
          EXPECT_EQ(NearestSeriesValue(3, best[0].values[i]), best[0].values[i]) << p.name;
        } else {
          EXPECT_EQ(best[0].values[i], p.value) << p.name;
        }
      }
      const auto rounded = ToleranceSectionsOf({{nearest, s.plan.kind, {}}});
      ASSERT_TRUE(rounded);
      EXPECT_LE(best[0].score,
                ValueChoiceScore(rounded->at(0).nominal, designed->at(0).nominal) + 1e-12)
          << s.plan.kind;
    }
  }
}

TEST(ValueSearch, TheFiftyHertzNotchMovesBackToFifty) {
  CascadeRequest r;
  r.kind = FilterKind::Bandstop;
  r.order = 1;
  r.fm = 50.0;
  r.bandwidth = 10.0;
  r.topology = Topology::Svf4;
  r.circuit.seriesR = 3;
  r.circuit.roundResistors = true;
  const CascadeSection nearest = DesignCascade(r).sections.at(0);
  r.circuit.bestValues = true;
  const CascadeSection best = DesignCascade(r).sections.at(0);
  ASSERT_TRUE(nearest.asBuilt && best.asBuilt && best.asBuilt->fz);
  EXPECT_GT(std::abs(*nearest.asBuilt->fz / 50.0 - 1.0), 0.03);
  EXPECT_LT(std::abs(*best.asBuilt->fz / 50.0 - 1.0), 0.015);
}

}  // namespace
}  // namespace morvane
