// The driver: Q/D linkage, shared quantities, the readout-only code.

#include <gtest/gtest.h>

#include <cmath>

#include "design/design_state.h"
#include "design/recalculate.h"
#include "stage_test_support.h"

namespace morvane {
namespace {

using testing::RecordingSink;

TEST(SharedQuantities, ResonanceAndPeakingAtTheListedQ) {
  struct Case {
    double Q;
    FilterType type;
    double foOverFg;
    double dVu;
  };
  const Case cases[] = {
      {0.7071, FilterType::Lowpass, 1.0, 0.0},  // Q^2 = 0.49999 is not above 0.5
      {0.7071, FilterType::Highpass, 1.0, 0.0},
      {0.5, FilterType::Lowpass, 1.0 / std::sqrt(std::sqrt(2.0) - 1.0), 0.0},  // about 1.554
      {0.5, FilterType::Highpass, std::sqrt(std::sqrt(2.0) - 1.0), 0.0},       // about 0.6436
      {1.0, FilterType::Lowpass, 0.78615, 20.0 * std::log10(1.0 / std::sqrt(0.75))},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(ResonanceFrequency(1000.0, c.Q, c.type) / 1000.0, c.foOverFg, 2e-5) << "Q " << c.Q;
    EXPECT_NEAR(PeakingDb(c.Q), c.dVu, 1e-12) << "Q " << c.Q;
  }
  EXPECT_NEAR(PeakingDb(1.0), 1.2494, 1e-4);
}

TEST(Recalculate, QEntryWritesDAndDEntryWritesQ) {
  DesignState s;
  DesignChoices in;
  RecordingSink sink;
  s.Q = 2.0;
  Recalculate(ChangedEntry::Q, Topology::Mfb, s, in, sink);
  EXPECT_DOUBLE_EQ(s.D, 0.25);
  EXPECT_EQ(sink.At("DEingabe"), "  250.00m");
  EXPECT_FALSE(sink.Has("QEingabe"));

  RecordingSink sink2;
  s.D = 0.1;
  Recalculate(ChangedEntry::D, Topology::Mfb, s, in, sink2);
  EXPECT_DOUBLE_EQ(s.Q, 5.0);
  EXPECT_EQ(sink2.At("QEingabe"), "    5.000");
  EXPECT_FALSE(sink2.Has("DEingabe"));
}

TEST(Recalculate, ReadoutFrequencyCodeLeavesTheElementsAlone) {
  DesignState s;
  DesignChoices in;
  RecordingSink first;
  Recalculate(ChangedEntry::Any, Topology::Mfb, s, in, first);
  s.fg = 2000.0;  // would change every element if the stage ran
  const DesignState before = s;
  RecordingSink sink;
  Recalculate(ChangedEntry::ReadoutFrequency, Topology::Mfb, s, in, sink);
  EXPECT_FALSE(sink.Has("R11Ausgabe"));
  EXPECT_FALSE(sink.Has("C11Ausgabe"));
  EXPECT_EQ(s.R1, before.R1);
  EXPECT_EQ(s.C1, before.C1);
}

TEST(Recalculate, PassiveLadderFillsItsFigureFieldsWithDashes) {
  DesignState s;
  DesignChoices in;
  RecordingSink sink;
  Recalculate(ChangedEntry::Any, Topology::LcLadder, s, in, sink);
  EXPECT_EQ(sink.At("foAusgabe"), "    1.00k");
  EXPECT_EQ(sink.At("woAusgabe"), "    6.28k");
  for (const char* name : {"BrAusgabe", "GBWPAusgabe", "trAusgabe", "tgrAusgabe", "OSAusgabe"}) {
    EXPECT_EQ(sink.At(name), "     -") << name;
  }
}

}  // namespace
}  // namespace morvane
