// The program's own section of the design file: the whole design back exactly, a file another
// program changed keeps that program's values, and bad values keep the member with a line.

#include "files/design_section.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/design_file.h"
#include "scratch_folder.h"

namespace morvane {
namespace {

struct Stored {
  DesignState state;
  DesignChoices choices;
};

Stored Changed(void (*change)(Stored&)) {
  Stored d;
  change(d);
  return d;
}

struct RoundTripCase {
  const char* name;
  Stored design;
};

class DesignSectionRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(DesignSectionRoundTrip, ReadsBackWhatWasSaved) {
  test::ScratchFolder folder("morvane_design_section_");
  const std::string path = (folder.Root() / "design.ini").string();
  const Stored& saved = GetParam().design;
  std::string error;
  ASSERT_TRUE(WriteDesignFile(path, saved.state, saved.choices, error)) << error;
  DesignState s;
  DesignChoices c;
  std::vector<std::string> problems;
  ASSERT_TRUE(ReadDesignFile(path, s, error, &problems, &c)) << error;
  EXPECT_TRUE(problems.empty()) << problems.front();
  EXPECT_EQ(s.topology, saved.state.topology);
  EXPECT_EQ(c.type, saved.choices.type);
  EXPECT_EQ(s.ESeriesR, saved.state.ESeriesR);
  EXPECT_EQ(s.ESeriesC, saved.state.ESeriesC);
  EXPECT_EQ(s.LCOrder, saved.state.LCOrder);
  EXPECT_EQ(c.diplexerOrder, saved.choices.diplexerOrder);
  for (bool DesignChoices::*option :
       {&DesignChoices::mfbEqualCapacitors, &DesignChoices::pfbEqualCapacitors,
        &DesignChoices::offsetCompensation, &DesignChoices::svf3AutomaticCapacitance,
        &DesignChoices::svf4AutomaticCapacitance, &DesignChoices::fliegeAutomaticCapacitance,
        &DesignChoices::roundResistors, &DesignChoices::ladderChebyshev,
        &DesignChoices::diplexerChebyshev}) {
    EXPECT_EQ(c.*option, saved.choices.*option);
  }
  // Bit for bit, not to the digits "Variablen" keeps.
  for (double DesignState::*member :
       {&DesignState::fg, &DesignState::f, &DesignState::Q, &DesignState::Vu, &DesignState::Zin,
        &DesignState::R3, &DesignState::C1, &DesignState::fnfp, &DesignState::RL,
        &DesignState::rippleDb, &DesignState::Sweep}) {
    EXPECT_EQ(s.*member, saved.state.*member);
  }
  // Without the choices asked for, only the exact entries come back.
  DesignState entriesOnly;
  ASSERT_TRUE(ReadDesignFile(path, entriesOnly, error));
  EXPECT_EQ(entriesOnly.Q, saved.state.Q);
  EXPECT_EQ(entriesOnly.topology, DesignState{}.topology);
}

INSTANTIATE_TEST_SUITE_P(Designs, DesignSectionRoundTrip,
                         testing::Values(RoundTripCase{"Initial", Stored{}},
                                         RoundTripCase{"OddQOnSvf4Bandpass", Changed([](Stored& d) {
                                                         d.state.topology = Topology::Svf4;
                                                         d.choices.type = FilterType::Bandpass;
                                                         d.state.Q = 1.9318516525781366;
                                                         d.state.fg = 1234.5678901;
                                                         d.state.ESeriesR = 5;
                                                         d.state.ESeriesC = 2;
                                                         d.choices.svf4AutomaticCapacitance = false;
                                                         d.choices.roundResistors = true;
                                                       })},
                                         RoundTripCase{"ChebyshevLadder", Changed([](Stored& d) {
                                                         d.state.topology = Topology::LcLadder;
                                                         d.state.LCOrder = 7;
                                                         d.choices.ladderChebyshev = true;
                                                         d.state.rippleDb =
                                                             0.01 * 3.0;  // not a short decimal
                                                         d.state.RL = 50.000000001;
                                                       })},
                                         RoundTripCase{"Diplexer", Changed([](Stored& d) {
                                                         d.state.topology = Topology::Diplexer;
                                                         d.choices.diplexerOrder = 9;
                                                         d.choices.diplexerChebyshev = true;
                                                         d.choices.mfbEqualCapacitors = false;
                                                         d.choices.offsetCompensation = false;
                                                         d.state.C1 = 4.7e-9 / 3.0;
                                                       })},
                                         RoundTripCase{"EllipticOnPfb", Changed([](Stored& d) {
                                                         d.state.topology = Topology::Pfb;
                                                         d.choices.type =
                                                             FilterType::EllipticLowpass;
                                                         d.state.fnfp = 2.0 / 3.0 + 1.0;
                                                         d.choices.pfbEqualCapacitors = false;
                                                       })}),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadKeyCase {
  const char* line;     // in the program's own section
  const char* problem;  // the line it gives
};

class DesignSectionBadKey : public testing::TestWithParam<BadKeyCase> {};

// A value the section cannot use keeps the member and says so; the rest is read.
TEST_P(DesignSectionBadKey, KeepsTheMemberWithALine) {
  test::ScratchFolder folder("morvane_design_section_");
  const std::string path = (folder.Root() / "design.ini").string();
  test::WriteRaw(path, std::string("[Variablen]\nQ=  1.93\n[Morvane]\nType=highpass\n") +
                           GetParam().line + "\n");
  DesignState s;
  DesignChoices c;
  std::vector<std::string> problems;
  std::string error;
  ASSERT_TRUE(ReadDesignFile(path, s, error, &problems, &c)) << error;
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems.front(), GetParam().problem);
  EXPECT_EQ(c.type, FilterType::Highpass);
  EXPECT_EQ(s.topology, Topology::Mfb);
  EXPECT_EQ(s.LCOrder, DesignState{}.LCOrder);
  EXPECT_DOUBLE_EQ(s.Q, 1.93);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DesignSectionBadKey,
    testing::Values(BadKeyCase{"Topology=tube", "Topology=tube is not readable; kept mfb"},
                    BadKeyCase{"LCOrder=11", "LCOrder=11 is not readable; kept 4"},
                    BadKeyCase{"LCOrder=4.5", "LCOrder=4.5 is not readable; kept 4"},
                    BadKeyCase{"DiplexerOrder=4", "DiplexerOrder=4 is not readable; kept 3"},
                    BadKeyCase{"ResistorSeries=E192",
                               "ResistorSeries=E192 is not readable; kept E48"},
                    BadKeyCase{"RoundResistors=yes", "RoundResistors=yes is not readable; kept 0"},
                    BadKeyCase{"Q=1,93185", "Q=1,93185 is not readable; kept 1.93"},
                    BadKeyCase{"Q=inf", "Q=inf is not readable; kept 1.93"}));

// Another program changed Q in "Variablen": its value counts, not the stale exact one.
TEST(DesignSection, ChangedVariablenValueWins) {
  test::ScratchFolder folder("morvane_design_section_");
  const std::string path = (folder.Root() / "design.ini").string();
  test::WriteRaw(path,
                 "[Variablen]\nQ=  2.50\nfg=  1.00k\n[Morvane]\nQ=1.9318516525781366\n"
                 "fg=1000.0000001\n");
  DesignState s;
  std::string error;
  std::vector<std::string> problems;
  ASSERT_TRUE(ReadDesignFile(path, s, error, &problems));
  EXPECT_DOUBLE_EQ(s.Q, 2.5);
  EXPECT_EQ(s.fg, 1000.0000001);
  EXPECT_TRUE(problems.empty());
}

}  // namespace
}  // namespace morvane
