// The window's handlers without widgets: typing, spinning, Make calculations.

#include <gtest/gtest.h>

#include "design/design_session.h"
#include "design/field_names.h"

namespace morvane {
namespace {

DesignSession Started() {
  DesignSession session;
  session.Start();
  return session;
}

TEST(DesignSession, StartFillsEveryEntryAndDesignsTheMfbLowpass) {
  const DesignSession session = Started();
  EXPECT_EQ(session.FieldText("fgEingabe"), "    1.00k");
  EXPECT_EQ(session.FieldText("fEingabe"), "    1.0k");
  EXPECT_EQ(session.FieldText("QEingabe"), "  707.10m");
  EXPECT_EQ(session.FieldText("DEingabe"), "  707.11m");
  EXPECT_EQ(session.FieldText("VuEingabe"), "    1.000");
  EXPECT_EQ(session.FieldText("q2Eingabe"), "   2.000");
  // C1 is also a result of every stage: with no design file the MFB lowpass value stays.
  EXPECT_EQ(session.FieldText("C12Eingabe4"), "  680.00n");
  EXPECT_EQ(session.FieldText("C11Ausgabe"), "  680.00n");
  EXPECT_EQ(session.FieldText("R12Ausgabe"), std::string(field::kUnwritten));
  EXPECT_EQ(session.BeepCount(), 0);
}

TEST(DesignSession, ArgumentPreselectsTheType) {
  struct Case {
    const char* argument;
    FilterType type;
  };
  for (const Case c : {Case{"H", FilterType::Highpass}, Case{"B", FilterType::Bandpass},
                       Case{"h", FilterType::Lowpass}, Case{"HP", FilterType::Lowpass},
                       Case{"X", FilterType::Lowpass}}) {
    DesignSession session;
    session.Start(c.argument);
    EXPECT_EQ(session.Type(), c.type) << c.argument;
  }
}

TEST(DesignSession, EveryWrittenFieldIsAFieldOfTheWindow) {
  DesignSession session = Started();
  for (FilterType type : {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass}) {
    session.SelectFilterType(type);
  }
  for (const auto& [name, text] : session.Fields()) {
    const bool known = field::IsEntryField(name) ||
                       std::find(field::ResultFields().begin(), field::ResultFields().end(),
                                 name) != field::ResultFields().end();
    EXPECT_TRUE(known) << name;
  }
}

TEST(DesignSession, ClearedFrequencyIsClampedAndShownAfterMakeCalculations) {
  DesignSession session = Started();
  session.TypeEntry("fgEingabe", "");
  EXPECT_DOUBLE_EQ(session.State().fg, 0.001);
  EXPECT_EQ(session.FieldText("fgEingabe"), "");  // a handler never rewrites its own field
  session.MakeCalculations();
  EXPECT_EQ(session.FieldText("fgEingabe"), "    1.00m");

  session.TypeEntry("fgEingabe", "1,5k");
  session.MakeCalculations();
  EXPECT_EQ(session.FieldText("fgEingabe"), "    1.50k");
  session.TypeEntry("fgEingabe", "5e10");
  EXPECT_DOUBLE_EQ(session.State().fg, 2e9);
}

TEST(DesignSession, GainLimitsFollowTheTopology) {
  DesignSession session = Started();
  session.TypeEntry("VuEingabe", "0.5");
  EXPECT_DOUBLE_EQ(session.State().Vu, 0.5);
  session.SelectTopology(Topology::Pfb);  // rewriting the gain clamps it for the PFB page
  EXPECT_DOUBLE_EQ(session.State().Vu, 1.0);
  session.TypeEntry("VuEingabe", "0.5");
  EXPECT_DOUBLE_EQ(session.State().Vu, 1.0);
}

TEST(DesignSession, QAndDFollowEachOtherWithoutFeedback) {
  DesignSession session = Started();
  session.TypeEntry("QEingabe", "20");
  EXPECT_DOUBLE_EQ(session.State().Q, 20.0);
  EXPECT_DOUBLE_EQ(session.State().D, 0.025);
  EXPECT_EQ(session.FieldText("DEingabe"), "   25.00m");
  EXPECT_EQ(session.FieldText("QEingabe"), "20");

  session.TypeEntry("DEingabe", "0.1");
  EXPECT_DOUBLE_EQ(session.State().Q, 5.0);
  EXPECT_EQ(session.FieldText("QEingabe"), "    5.000");
  EXPECT_EQ(session.FieldText("DEingabe"), "0.1");
}

TEST(DesignSession, DampingFieldCarriesTheLoadOnTheLadderPage) {
  DesignSession session = Started();
  session.SelectTopology(Topology::LcLadder);
  const double D = session.State().D;
  session.TypeEntry("DEingabe", "50");
  EXPECT_DOUBLE_EQ(session.State().RL, 50.0);
  EXPECT_DOUBLE_EQ(session.State().D, D);
}

TEST(DesignSession, CapacitanceEntrySetsBothCapacitors) {
  DesignSession session = Started();
  session.SelectTopology(Topology::Svf3);
  session.SetCheckBox("CCheckBox3", false);  // otherwise the design chooses C1 itself
  session.TypeEntry("C12Eingabe3", "2e-3");
  EXPECT_DOUBLE_EQ(session.State().C1, 0.001);
  EXPECT_DOUBLE_EQ(session.State().C2, 0.001);
}

TEST(DesignSession, ReadoutFrequencyChangesOnlyTheReadout) {
  DesignSession session = Started();
  const std::string r1 = session.FieldText("R11Ausgabe");
  session.TypeEntry("fEingabe", "2k");
  EXPECT_DOUBLE_EQ(session.State().f, 2000.0);
  EXPECT_EQ(session.FieldText("R11Ausgabe"), r1);
}

TEST(DesignSession, SpinButtonsStepAsTheSweepFactorSays) {
  struct Case {
    double sweep;
    const char* button;
    SpinDirection direction;
    std::vector<double> values;  // the value after each click
    double DesignState::*member;
  };
  const auto up = SpinDirection::Up;
  const auto down = SpinDirection::Down;
  const Case cases[] = {
      {1.02, "SpinButtonfg", up, {1020, 1070, 1120}, &DesignState::fg},
      {2.0, "SpinButtonfg", up, {2000, 4000}, &DesignState::fg},
      {2.0, "SpinButtonfg", down, {500}, &DesignState::fg},
      {1.01, "SpinButtonZin", up, {1020}, &DesignState::Zin},
      {1.01, "SpinButtonZin", down, {976}, &DesignState::Zin},
      {1.02, "SpinButtonZin", up, {1050}, &DesignState::Zin},
      {1.02, "SpinButtonZin", down, {953}, &DesignState::Zin},
      {1.2, "SpinButtonZin", up, {1500}, &DesignState::Zin},
      {1.2, "SpinButtonZin", down, {680}, &DesignState::Zin},
      {1.005, "SpinButtonZin", up, {1005}, &DesignState::Zin},
  };
  for (const Case& c : cases) {
    DesignSession session = Started();
    session.MutableState().Sweep = c.sweep;
    for (double expected : c.values) {
      ASSERT_TRUE(session.Spin(c.button, c.direction));
      EXPECT_NEAR(session.State().*c.member, expected, expected * 1e-12)
          << c.button << " sweep " << c.sweep;
    }
  }
}

TEST(DesignSession, QSpinWritesTheQFieldAndTheDampingFollows) {
  DesignSession session = Started();
  session.TypeEntry("QEingabe", "1");
  ASSERT_TRUE(session.Spin("SpinButtonQ", SpinDirection::Up));
  EXPECT_DOUBLE_EQ(session.State().Q, 1.02);
  EXPECT_EQ(session.FieldText("QEingabe"), "   1.0200");
  EXPECT_DOUBLE_EQ(session.State().D, 0.5 / 1.02);
  EXPECT_FALSE(session.Spin("SpinButtonNone", SpinDirection::Up));
}

TEST(DesignSession, AllpassOnTheMfbPageBeepsOncePerRecalculation) {
  DesignSession session = Started();
  session.SelectTopology(Topology::Pfb);
  session.SelectFilterType(FilterType::Allpass);
  const int before = session.BeepCount();
  // A switch to a page that does not design the type takes the page's first type, silently.
  session.SelectTopology(Topology::Mfb);
  EXPECT_EQ(session.Type(), FilterType::Lowpass);
  EXPECT_EQ(session.BeepCount(), before);
  // Chosen on that page (the command line can), it beeps with every recalculation.
  session.SelectFilterType(FilterType::Allpass);
  EXPECT_GT(session.BeepCount(), before);
  const int afterChoice = session.BeepCount();
  session.Recalculate();
  EXPECT_EQ(session.BeepCount(), afterChoice + 1);
  session.SelectFilterType(FilterType::Lowpass);
  EXPECT_EQ(session.BeepCount(), afterChoice + 1);
}

}  // namespace
}  // namespace morvane
