// The MFB stage against the values worked out for the initial state
// (fg 1 kHz, Q 0.7071, Vu 1, Zin 1 kOhm, capacitors E6, equal capacitors tried).

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "design/design_state.h"
#include "design/recalculate.h"
#include "stage_test_support.h"

namespace morvane {
namespace {

using testing::RecordingSink;

using testing::Designed;

Designed DesignMfb(FilterType type, DesignState state = {}, bool equalCapacitors = true) {
  DesignChoices in;
  in.type = type;
  in.mfbEqualCapacitors = equalCapacitors;
  return testing::DesignStage(Topology::Mfb, in, state);
}

TEST(MfbStage, LowpassOfTheInitialState) {
  const auto d = DesignMfb(FilterType::Lowpass);
  const DesignState& s = d.state;
  EXPECT_DOUBLE_EQ(s.C2, 150e-9);  // 0.9 x 225 nF rounded down in E6
  EXPECT_DOUBLE_EQ(s.C1, 680e-9);  // 1.1 x 4 x 150 nF = 660 nF rounded up
  EXPECT_NEAR(s.R3, 492.9, 0.05);
  EXPECT_DOUBLE_EQ(s.R1, s.R3);  // gain 1
  EXPECT_NEAR(s.R2, 503.8, 0.05);
  EXPECT_DOUBLE_EQ(s.VuActual, 1.0);
  EXPECT_EQ(d.sink.At("C31Ausgabe"), "not needed");
  EXPECT_EQ(d.sink.At("C21Ausgabe"), "  150.00n");
  EXPECT_EQ(d.sink.At("C11Ausgabe"), "  680.00n");
  EXPECT_EQ(d.sink.At("R11Ausgabe"), "  492.910");
  EXPECT_EQ(d.sink.At("R31Ausgabe"), "  492.910");
  EXPECT_EQ(d.sink.At("R21Ausgabe"), "  503.810");
  EXPECT_EQ(d.sink.At("Vu1Ausgabe"), "    1.000");
  EXPECT_EQ(d.sink.At("dVu1Ausgabe"), "   0.00");
  EXPECT_NEAR(s.fo, 1000.0, 0.01);
  EXPECT_EQ(d.sink.At("GBWPAusgabe"), "   20.00k");
  EXPECT_EQ(d.sink.beeps, 0);
}

TEST(MfbStage, HighpassOfTheInitialState) {
  const auto d = DesignMfb(FilterType::Highpass);
  const DesignState& s = d.state;
  EXPECT_DOUBLE_EQ(s.C1, 150e-9);
  EXPECT_DOUBLE_EQ(s.C2, 150e-9);
  EXPECT_DOUBLE_EQ(s.C3, 150e-9);
  EXPECT_NEAR(s.R1, 500.2, 0.05);
  EXPECT_NEAR(s.R2, 2251.0, 0.5);
  EXPECT_EQ(d.sink.At("R31Ausgabe"), "not needed");
  EXPECT_EQ(d.sink.At("C31Ausgabe"), "  150.00n");
  EXPECT_EQ(d.sink.At("R21Ausgabe"), "    2.25k");
}

// The highpass circuit (C1 in, R1 to ground, C2 to the inverting input, R2 feedback, C3 from
// node A to the output) has w0^2 = 1/(C2 C3 R1 R2), w0/Q = 1/(R1 (C1 + C2 + C3)) and the
// gain C1/C3: it must resonate at fo with the entered Q for every gain, not just Vu = 1.
TEST(MfbStage, HighpassMeetsFoAndQAtEveryGain) {
  struct Case {
    double Vu;
    double Q;
  };
  for (const Case c : {Case{0.1, 0.7071}, Case{1.0, 0.7071}, Case{3.3, 0.5}, Case{10.0, 2.0},
                       Case{1000.0, 20.0}}) {
    DesignState start;
    start.Vu = c.Vu;
    start.Q = c.Q;
    const DesignState s = DesignMfb(FilterType::Highpass, start).state;
    const double w0 = 1.0 / std::sqrt(s.C2 * s.C3 * s.R1 * s.R2);
    const double Q = 1.0 / (w0 * s.R1 * (s.C1 + s.C2 + s.C3));
    EXPECT_NEAR(w0 / (2.0 * std::numbers::pi), s.fo, s.fo * 1e-12) << c.Vu;
    EXPECT_NEAR(Q, c.Q, c.Q * 1e-12) << c.Vu;
    EXPECT_NEAR(s.C1 / s.C3, c.Vu, c.Vu * 1e-12) << c.Vu;
  }
}

TEST(MfbStage, BandpassOfTheInitialState) {
  const auto d = DesignMfb(FilterType::Bandpass);
  const DesignState& s = d.state;
  EXPECT_NEAR(s.VuActual, 0.95, 1e-4);  // 1.9 Q^2 < 1 limits the centre gain
  EXPECT_DOUBLE_EQ(s.C1, 330e-9);
  EXPECT_DOUBLE_EQ(s.C2, 330e-9);
  EXPECT_NEAR(s.R1, 359.0, 0.05);
  EXPECT_NEAR(s.R2, 6821.0, 1.0);
  EXPECT_NEAR(s.R3, 682.1, 0.05);
  EXPECT_EQ(d.sink.At("dVu1Ausgabe"), "       -");
  EXPECT_EQ(d.sink.At("C31Ausgabe"), "not needed");
  // The band types show the bandwidth in the resonance field and 2 pi fg beside it.
  EXPECT_EQ(d.sink.At("foAusgabe"), "    1.41k");
  EXPECT_EQ(d.sink.At("woAusgabe"), "    6.28k");
}

TEST(MfbStage, LowQLowpassTakesEqualCapacitorsOnlyWhenAsked) {
  DesignState start;
  start.Q = 0.3;  // k = 4 Q^2 (Vu + 1) = 0.72 < 1
  const auto equal = DesignMfb(FilterType::Lowpass, start, true);
  EXPECT_DOUBLE_EQ(equal.state.C1, equal.state.C2);

  const auto unequal = DesignMfb(FilterType::Lowpass, start, false);
  // C2 = 0.9 / (2 pi 0.3 1k 1k) = 477 nF -> 470 nF; C1 = up(1.1 x 0.72 x 470 nF = 372 nF).
  EXPECT_DOUBLE_EQ(unequal.state.C2, 470e-9);
  EXPECT_DOUBLE_EQ(unequal.state.C1, 470e-9);
  DesignState e12 = start;
  e12.ESeriesC = 2;
  const auto fine = DesignMfb(FilterType::Lowpass, e12, false);
  EXPECT_DOUBLE_EQ(fine.state.C2, 470e-9);
  EXPECT_DOUBLE_EQ(fine.state.C1, 390e-9);
  EXPECT_GT(fine.state.R2, 0.0);
  EXPECT_GT(fine.state.R3, 0.0);
}

TEST(MfbStage, TypesNotDesignedKeepTheElements) {
  struct Case {
    FilterType type;
    int beeps;
  };
  for (const Case c : {Case{FilterType::Allpass, 1}, Case{FilterType::Bandstop, 1},
                       Case{FilterType::EllipticLowpass, 0}}) {
    DesignState before = DesignMfb(FilterType::Lowpass).state;
    RecordingSink sink;
    DesignChoices in;
    in.type = c.type;
    DesignState s = before;
    Recalculate(ChangedEntry::Any, Topology::Mfb, s, in, sink);
    EXPECT_EQ(sink.beeps, c.beeps);
    EXPECT_EQ(s.R1, before.R1);
    EXPECT_EQ(s.C1, before.C1);
    EXPECT_EQ(s.C2, before.C2);
    // The common outputs are still written from the state.
    EXPECT_EQ(sink.At("R11Ausgabe"), "  492.910");
    EXPECT_FALSE(sink.Has("R31Ausgabe"));
    EXPECT_FALSE(sink.Has("C31Ausgabe"));
    const bool dash = c.type != FilterType::EllipticLowpass;
    EXPECT_EQ(sink.At("dVu1Ausgabe") == "       -", dash);
  }
}

TEST(MfbStage, GainAndQAcrossTheirRangesGivePositiveFiniteElements) {
  for (FilterType type : {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass}) {
    for (double Q : {0.1, 0.5, 0.7071, 3.0, 100.0, 10000.0}) {
      for (double Vu : {0.1, 1.0, 50.0, 1e6}) {
        DesignState s;
        s.Q = Q;
        s.Vu = Vu;
        const auto d = DesignMfb(type, s);
        for (double x : {d.state.R1, d.state.R2, d.state.C1, d.state.C2, d.state.VuActual}) {
          EXPECT_TRUE(std::isfinite(x) && x > 0) << "Q " << Q << " Vu " << Vu;
        }
      }
    }
  }
}

}  // namespace
}  // namespace morvane
