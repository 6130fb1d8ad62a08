// Options > Round Resistors on the single stages: every resistor of the page becomes a series
// value, the figures as designed are the design's own, and the figures as built are those of
// the rounded circuit; the passive pages have none, and the option off designs as before.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "circuit/circuit.h"
#include "design/design_session.h"
#include "numerics/standard_series.h"
#include "tolerance/stage_value_search.h"
#include "tolerance/value_search.h"

namespace morvane {
namespace {

bool InSeries(int series, double x) {
  return NearestSeriesValue(series, x) == x;
}

constexpr FilterType kTypes[] = {FilterType::Lowpass,  FilterType::Highpass,
                                 FilterType::Bandpass, FilterType::Bandstop,
                                 FilterType::Allpass,  FilterType::EllipticLowpass};

class RoundedStage : public testing::TestWithParam<Topology> {};

TEST_P(RoundedStage, EveryTypeItBuilds) {
  const Topology topology = GetParam();
  for (FilterType type : kTypes) {
    if (!StageCircuitExists(topology, type)) continue;
    SCOPED_TRACE(static_cast<int>(type));
    DesignSession plain, rounded;
    for (DesignSession* s : {&plain, &rounded}) {
      s->Start();
      s->SelectTopology(topology);
      s->SelectFilterType(type);
      s->SelectResistorSeries(3);  // E24
      s->TypeEntry("fgEingabe", "1234");
      s->TypeEntry("QEingabe", "2.2");
    }
    rounded.SetResistorRounding(true);
    EXPECT_FALSE(plain.AsBuilt());
    const auto& b = rounded.AsBuilt();
    ASSERT_TRUE(b);
    // Designed: the design's own Q (as it raised it) and resonance.
    EXPECT_NEAR(b->designed.q, rounded.State().Q, 1e-9 * rounded.State().Q);
    // Every resistor the circuit has is an E24 value in the state and in the netlist's parts.
    const DesignState& s = rounded.State();
    const StageParts parts{s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3};
    for (const CircuitPart& part : StageCircuit(topology, type, parts).parts) {
      if (part.name[0] == 'R') {
        EXPECT_TRUE(InSeries(3, part.value)) << part.name << " " << part.value;
      }
    }
    // Rounding moves f0 by a few percent; Q can move more (the Sallen-Key stage's Q hangs on
    // 3 - K, and E24 moves K = 1 + R3/R4 by up to 4 %: about 20 % at Q = 2.2).
    EXPECT_LT(std::abs(b->built.f0 / b->designed.f0 - 1.0), 0.06);
    EXPECT_LT(std::abs(b->built.q / b->designed.q - 1.0), 0.25);
    // The plain session keeps its computed values, which the rounding changed somewhere.
    const DesignState& p = plain.State();
    EXPECT_TRUE(p.R1 != s.R1 || p.R2 != s.R2 || p.R3 != s.R3 || p.R4 != s.R4 || p.R5 != s.R5 ||
                p.R6 != s.R6 || p.R0 != s.R0);
    rounded.SetResistorRounding(false);
    EXPECT_FALSE(rounded.AsBuilt());
    EXPECT_EQ(rounded.State().R1, p.R1);
    EXPECT_EQ(rounded.State().R2, p.R2);
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, RoundedStage,
                         testing::Values(Topology::Mfb, Topology::Pfb, Topology::Svf3,
                                         Topology::Svf4, Topology::Fliege));

// The value search on every type of every page, the capacitance from Zin and from the page's
// entry: its best set is at least as close as nearest rounding at the design's own level,
// every value is a series value, and taking it builds exactly the figures it promised, until
// an entry changes.
struct SearchCase {
  Topology topology;
  bool enteredCapacitance;
};

class ValueSearch : public testing::TestWithParam<SearchCase> {};

TEST_P(ValueSearch, EveryTypeItBuilds) {
  const auto [topology, entered] = GetParam();
  for (FilterType type : kTypes) {
    if (!StageCircuitExists(topology, type)) continue;
    SCOPED_TRACE(static_cast<int>(type));
    DesignSession session;
    session.Start();
    session.SelectTopology(topology);
    session.SelectFilterType(type);
    session.SelectResistorSeries(3);   // E24
    session.SelectCapacitorSeries(2);  // E12
    if (entered) {
      for (const char* box : {"CCheckBox3", "CCheckBox4", "CCheckBox5"}) {
        session.SetCheckBox(box, false);
      }
    }
    ASSERT_EQ(CapacitanceIsEntered(topology, session.Choices()), entered);
    session.TypeEntry("fgEingabe", "1234");
    session.TypeEntry("QEingabe", "2.2");
    session.SetResistorRounding(true);
    const StageAsBuilt nearest = *session.AsBuilt();
    session.SetResistorRounding(false);

    const auto choices = StageValueChoices(session.State(), session.Choices(), 5);
    ASSERT_FALSE(choices.empty());
    EXPECT_TRUE(std::is_sorted(choices.begin(), choices.end(),
                               [](const auto& a, const auto& b) { return a.score < b.score; }));
    const StageValueChoice& best = choices.front();
    EXPECT_LE(best.score, ValueChoiceScore(nearest.built, nearest.designed) + 1e-12);
    EXPECT_EQ(best.levelIsCapacitance, entered);

    session.TakeChosenValues(best.parts, best.level, best.levelIsCapacitance);
    ASSERT_TRUE(session.ValuesChosen());
    const auto& taken = session.AsBuilt();
    ASSERT_TRUE(taken);
    EXPECT_NEAR(taken->built.f0, best.built.f0, 1e-9 * best.built.f0);
    EXPECT_NEAR(taken->built.q, best.built.q, 1e-9 * best.built.q);
    EXPECT_NEAR(taken->designed.f0, best.designed.f0, 1e-9 * best.designed.f0);
    const DesignState& s = session.State();
    const StageParts parts{s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3};
    EXPECT_EQ(parts, WithCircuitValues(parts, StageCircuit(topology, type, best.parts)));
    // The page's resistors in the circuit are series values (its capacitors are what the
    // design makes of the series: a twin-T has 2C, the elliptical lowpass computes C3; twins
    // such as R1A = 2 R1 follow their originals).
    for (const CircuitPart& part : StageCircuit(topology, type, parts).parts) {
      if (part.name.size() == 2 && part.name[0] == 'R' && part.value < kInfiniteR4) {
        EXPECT_TRUE(InSeries(3, part.value)) << part.name << " " << part.value;
      }
    }
    // A new entry designs afresh.
    session.TypeEntry("fgEingabe", "1300");
    EXPECT_FALSE(session.ValuesChosen());
    EXPECT_FALSE(session.AsBuilt());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ValueSearch,
    testing::Values(SearchCase{Topology::Mfb, false}, SearchCase{Topology::Pfb, false},
                    SearchCase{Topology::Svf3, false}, SearchCase{Topology::Svf3, true},
                    SearchCase{Topology::Svf4, false}, SearchCase{Topology::Svf4, true},
                    SearchCase{Topology::Fliege, false}, SearchCase{Topology::Fliege, true}));

TEST(RoundedStage, PassivePagesHaveNoFiguresAsBuilt) {
  for (Topology t : {Topology::LcLadder, Topology::Diplexer}) {
    DesignSession session;
    session.Start();
    session.SetResistorRounding(true);
    session.SelectTopology(t);
    EXPECT_FALSE(session.AsBuilt()) << static_cast<int>(t);
    EXPECT_TRUE(StageValueChoices(session.State(), session.Choices(), 3).empty());
  }
}

// The follower's absent R4 stays absent, the others take series values.
TEST(RoundedStage, RoundResistorsKeepsTheInfiniteR4) {
  StageParts parts{.R1 = 1234.0, .R2 = 5.6e3, .R4 = 2 * kInfiniteR4, .C1 = 1e-9};
  RoundResistors(parts, 1);
  EXPECT_EQ(*parts.R1, 1500.0);  // nearer by ratio than 1000
  EXPECT_EQ(*parts.R2, 4700.0);
  EXPECT_EQ(*parts.R4, 2 * kInfiniteR4);
  EXPECT_EQ(*parts.C1, 1e-9);
  EXPECT_FALSE(parts.R0);
}

}  // namespace
}  // namespace morvane
