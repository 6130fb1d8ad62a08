// Components no one could buy: the ranges and their limits, and the warnings a design gets
// for the fields and grid cells that show such values.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "design/buildable_range.h"
#include "design/design_session.h"
#include "design/field_names.h"
#include "design/page_presenter.h"

namespace morvane {

void PrintTo(const ComponentWarning& w, std::ostream* out) {
  *out << "{" << w.field << ", " << w.row << ", \"" << w.message << "\"}";
}

namespace {

using Warnings = std::vector<ComponentWarning>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double Below(double x) {
  return std::nextafter(x, 0.0);
}
double Above(double x) {
  return std::nextafter(x, kInf);
}

TEST(BuildableRange, LimitsCanBeBoughtAndTheNextValuesBeyondCannot) {
  struct Case {
    ComponentKind kind;
    double value;
    const char* message;  // empty: can be bought
  };
  const Case cases[] = {
      {ComponentKind::Resistor, 1.0, ""},
      {ComponentKind::Resistor, 100e6, ""},
      {ComponentKind::Resistor, 4.7e3, ""},
      // The value as its field rounds it: one step below 1 Ω still reads 1.000.
      {ComponentKind::Resistor, Below(1.0),
       "X = 1.000 Ω is below 1 Ω: no such resistor can be bought"},
      {ComponentKind::Resistor, Above(100e6),
       "X = 100.00 MΩ is above 100 MΩ: no such resistor can be bought"},
      {ComponentKind::Capacitor, 1e-12, ""},
      {ComponentKind::Capacitor, 10e-3, ""},
      {ComponentKind::Capacitor, Below(1e-12),
       "X = 1.00 pF is below 1 pF: no such capacitor can be bought"},
      {ComponentKind::Capacitor, Above(10e-3),
       "X = 10.00 mF is above 10 mF: no such capacitor can be bought"},
      {ComponentKind::Inductor, 1e-9, ""},
      {ComponentKind::Inductor, 100.0, ""},
      {ComponentKind::Inductor, Below(1e-9),
       "X = 1.00 nH is below 1 nH: no such inductor can be bought"},
      {ComponentKind::Inductor, Above(100.0),
       "X = 100.000 H is above 100 H: no such inductor can be bought"},
      // Values a broken design could give: none can be bought, none is shown as nan or inf.
      {ComponentKind::Resistor, 0.0, "X = 0.000 Ω is below 1 Ω: no such resistor can be bought"},
      {ComponentKind::Resistor, -470.0,
       "X = -470.000 Ω is below 1 Ω: no such resistor can be bought"},
      {ComponentKind::Capacitor, kNaN,
       "X = 0.000 F is below 1 pF: no such capacitor can be bought"},
      {ComponentKind::Inductor, kInf,
       "X = 1.8E+308 H is above 100 H: no such inductor can be bought"},
      {ComponentKind::Resistor, 2.5e24,
       "X = 2.5E+24 Ω is above 100 MΩ: no such resistor can be bought"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OutOfRangeMessage("X", c.kind, c.value), c.message) << c.value;
  }
}

TEST(BuildableRange, OnlyComponentsOutsideTheRangeAreListedInOrder) {
  const std::vector<ShownComponent> shown{
      {"A", 0, "R1", ComponentKind::Resistor, 0.5},
      {"B", 0, "R2", ComponentKind::Resistor, 1e3},
      {"G", 3, "L3", ComponentKind::Inductor, 1e3},
  };
  const Warnings expected{
      {"A", 0, "R1 = 500.00 mΩ is below 1 Ω: no such resistor can be bought"},
      {"G", 3, "L3 = 1.00 kH is above 100 H: no such inductor can be bought"},
  };
  EXPECT_EQ(UnbuildableComponents(shown), expected);
}

// Stage designs made by hand: what the page's circuit has and shows is checked, nothing else.
TEST(BuildableRange, StagePageChecksThePartsItsCircuitHasAndShows) {
  struct Case {
    const char* name;
    Topology topology;
    StageParts parts;
    NotRealizable notRealizable;
    Warnings expected;
  };
  const Case cases[] = {
      {"every part at a limit",
       Topology::Svf3,
       StageParts{.R0 = 1.0,
                  .R1 = 100e6,
                  .R2 = 1.0,
                  .R3 = 100e6,
                  .R4 = 1.0,
                  .R5 = 100e6,
                  .R6 = 1.0,
                  .C1 = 1e-12,
                  .C2 = 10e-3},
       NotRealizable::No,
       {}},
      {"parts the circuit does not have are not checked",
       Topology::Mfb,
       StageParts{.R1 = 1e3, .R2 = 1e3, .C1 = 1e-9, .C2 = 1e-9},
       NotRealizable::No,
       {}},
      {"R6 is no part of the four-op-amp page",
       Topology::Svf4,
       StageParts{.R5 = 2e8, .R6 = 2e8},
       NotRealizable::No,
       {{"R54Ausgabe", 0, "R5 = 200.00 MΩ is above 100 MΩ: no such resistor can be bought"}}},
      {"an R4 shown as infinite is left out",
       Topology::Pfb,
       StageParts{.R1 = 1e3, .R2 = 1e3, .R3 = 1e3, .R4 = kAbsentResistor, .C1 = 1e-9, .C2 = 1e-9},
       NotRealizable::No,
       {}},
      {"a large but finite R4 is checked",
       Topology::Pfb,
       StageParts{.R4 = 5e13},
       NotRealizable::No,
       {{"R42Ausgabe", 0, "R4 = 50.0E+12 Ω is above 100 MΩ: no such resistor can be bought"}}},
      {"an unrealizable stage shows no values",
       Topology::Pfb,
       StageParts{.R1 = 1e-3},
       NotRealizable::ElementOutOfRange,
       {}},
      {"R3 and C3 of the MFB page",
       Topology::Mfb,
       StageParts{.R3 = 0.1, .C3 = 1.0},
       NotRealizable::No,
       {{"R31Ausgabe", 0, "R3 = 100.00 mΩ is below 1 Ω: no such resistor can be bought"},
        {"C31Ausgabe", 0, "C3 = 1.000 F is above 10 mF: no such capacitor can be bought"}}},
  };
  for (const Case& c : cases) {
    StageDesign design;
    design.parts = c.parts;
    design.notRealizable = c.notRealizable;
    EXPECT_EQ(StagePageWarnings(c.topology, design), c.expected) << c.name;
  }
}

// ---- whole designs through the session --------------------------------------------------

struct DesignCase {
  const char* name;
  std::function<void(DesignSession&)> make;
  Warnings expected;
};

void Type(DesignSession& s,
          std::initializer_list<std::pair<std::string_view, const char*>> entries) {
  for (const auto& [field, text] : entries) s.TypeEntry(field, text);
}

const std::vector<DesignCase>& DesignCases() {
  static const std::vector<DesignCase> cases{
      {"initial MFB lowpass", [](DesignSession&) {}, {}},
      {"Fliege bandpass, C1 = 1 fF, Q = 0.1, gain 1M",
       [](DesignSession& s) {
         s.SelectTopology(Topology::Fliege);
         s.SelectFilterType(FilterType::Bandpass);
         s.SetCheckBox("CCheckBox5", false);
         Type(s, {{field::C12Eingabe5, "1f"}, {field::QEingabe, "0.1"}, {field::VuEingabe, "1M"}});
       },
       {{"R15Ausgabe", 0, "R1 = 1.00 mΩ is below 1 Ω: no such resistor can be bought"},
        {"R45Ausgabe", 0, "R4 = 15.92 GΩ is above 100 MΩ: no such resistor can be bought"},
        {"R55Ausgabe", 0, "R5 = 2.5E+24 Ω is above 100 MΩ: no such resistor can be bought"},
        {"C15Ausgabe", 0, "C1 = 1.00 fF is below 1 pF: no such capacitor can be bought"},
        {"C25Ausgabe", 0, "C2 = 1.00 fF is below 1 pF: no such capacitor can be bought"}}},
      {"MFB lowpass at 1 GHz into 0.1 Ω: milliohm resistors",
       [](DesignSession& s) {
         Type(s, {{field::fgEingabe, "1G"}, {field::ZinEingabe, "0.1"}});
       },
       {{"R11Ausgabe", 0, "R1 = 49.29 mΩ is below 1 Ω: no such resistor can be bought"},
        {"R21Ausgabe", 0, "R2 = 50.38 mΩ is below 1 Ω: no such resistor can be bought"},
        {"R31Ausgabe", 0, "R3 = 49.29 mΩ is below 1 Ω: no such resistor can be bought"}}},
      {"MFB highpass at 1 mHz: capacitors of 150 mF",
       [](DesignSession& s) {
         s.SelectFilterType(FilterType::Highpass);
         Type(s, {{field::fgEingabe, "0.001"}});
       },
       {{"C11Ausgabe", 0, "C1 = 150.00 mF is above 10 mF: no such capacitor can be bought"},
        {"C21Ausgabe", 0, "C2 = 150.00 mF is above 10 mF: no such capacitor can be bought"},
        {"C31Ausgabe", 0, "C3 = 150.00 mF is above 10 mF: no such capacitor can be bought"}}},
      {"MFB bandpass at 2 GHz: femtofarad capacitors",
       [](DesignSession& s) {
         s.SelectFilterType(FilterType::Bandpass);
         Type(s, {{field::fgEingabe, "2G"}, {field::QEingabe, "0.1"}});
       },
       {{"C11Ausgabe", 0, "C1 = 22.00 fF is below 1 pF: no such capacitor can be bought"},
        {"C21Ausgabe", 0, "C2 = 22.00 fF is below 1 pF: no such capacitor can be bought"}}},
      {"LC ladder at 1 GHz between 1 GΩ: capacitors of 159 zF",
       [](DesignSession& s) {
         s.SelectTopology(Topology::LcLadder);
         s.SetLadderOrder(3);
         Type(s, {{field::fgEingabe, "1G"}, {field::ZinEingabe, "1G"}, {field::DEingabe, "1G"}});
       },
       {{"StringAlignGridLC", 1, "C1 = 159.2E-21 F is below 1 pF: no such capacitor can be bought"},
        {"StringAlignGridLC", 3,
         "C3 = 159.2E-21 F is below 1 pF: no such capacitor can be bought"}}},
      {"LC ladder at 1 GHz between 0.1 Ω: a picohenry inductor",
       [](DesignSession& s) {
         s.SelectTopology(Topology::LcLadder);
         s.SetLadderOrder(3);
         Type(s, {{field::fgEingabe, "1G"}, {field::ZinEingabe, "0.1"}, {field::DEingabe, "0.1"}});
       },
       {{"StringAlignGridLC", 2, "L2 = 31.83 pH is below 1 nH: no such inductor can be bought"}}},
      {"LC ladder at 1 mHz: kilohenry inductors",
       [](DesignSession& s) {
         s.SelectTopology(Topology::LcLadder);
         s.SetLadderOrder(3);
         Type(s, {{field::fgEingabe, "1m"}});
       },
       {{"StringAlignGridLC", 1, "C1 = 159.15 mF is above 10 mF: no such capacitor can be bought"},
        {"StringAlignGridLC", 2, "L2 = 318.31 kH is above 100 H: no such inductor can be bought"},
        {"StringAlignGridLC", 3,
         "C3 = 159.15 mF is above 10 mF: no such capacitor can be bought"}}},
      {"initial LC ladder", [](DesignSession& s) { s.SelectTopology(Topology::LcLadder); }, {}},
      {"diplexer at 2 GHz into 0.1 Ω: picohenry inductors in both branches",
       [](DesignSession& s) {
         s.SelectTopology(Topology::Diplexer);
         Type(s, {{field::fgEingabe, "2G"}, {field::ZinEingabe, "0.1"}});
       },
       {{"StringAlignGridDiplexTP", 1,
         "lowpass part L1 = 11.94 pH is below 1 nH: no such inductor can be bought"},
        {"StringAlignGridDiplexTP", 3,
         "lowpass part L3 = 3.98 pH is below 1 nH: no such inductor can be bought"},
        {"StringAlignGridDiplexHP", 2,
         "highpass part L2 = 5.97 pH is below 1 nH: no such inductor can be bought"}}},
      {"initial diplexer", [](DesignSession& s) { s.SelectTopology(Topology::Diplexer); }, {}},
  };
  return cases;
}

TEST(ComponentWarnings, TableOfDesigns) {
  for (const DesignCase& c : DesignCases()) {
    DesignSession session;
    session.Start();
    c.make(session);
    EXPECT_EQ(session.ComponentWarnings(), c.expected) << c.name;
  }
}

TEST(ComponentWarnings, FollowEveryRecalculationAndChangeNoText) {
  DesignSession session;
  session.Start();
  int calls = 0;
  Warnings last;
  session.onComponentWarnings = [&](const Warnings& w) {
    ++calls;
    last = w;
  };
  session.TypeEntry(field::ZinEingabe, "0.1");
  EXPECT_EQ(session.FieldText("R11Ausgabe"), "   49.29m");
  EXPECT_EQ(session.ComponentWarnings().size(), 3u);
  EXPECT_EQ(last, session.ComponentWarnings());
  // f only moves the readout: the design and its warnings stay.
  const int before = calls;
  session.TypeEntry(field::fEingabe, "2k");
  EXPECT_EQ(session.ComponentWarnings().size(), 3u);
  // Back to a buildable design: the list empties, and the callback says so.
  session.TypeEntry(field::ZinEingabe, "1k");
  EXPECT_GT(calls, before);
  EXPECT_TRUE(session.ComponentWarnings().empty());
  EXPECT_TRUE(last.empty());
  // A type the page does not build has no parts to check.
  session.TypeEntry(field::ZinEingabe, "0.1");
  session.SelectFilterType(FilterType::Bandstop);
  EXPECT_TRUE(session.ComponentWarnings().empty());
}

}  // namespace
}  // namespace morvane
