// The state-variable stages (three and four op amps) against values worked out by hand
// (fg 1 kHz, Q 0.7071, Vu 1, Zin 1.2 kOhm, resistors E48, capacitors E6), and the designed
// circuits against the second-order response they promise.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "design/design_state.h"
#include "design/field_names.h"
#include "design/page_presenter.h"
#include "design/recalculate.h"
#include "design/svf_stage.h"
#include "stage_test_support.h"

namespace morvane {
namespace {

using testing::RecordingSink;
using S = DesignState;
using Complex = std::complex<double>;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Element values against the worked figures, which carry seven digits or more.
constexpr double kRel = 1e-6;

using testing::Designed;
using testing::EdgeState;
using testing::Element;

// capacitance == nullptr: calculated automatically; else the box is cleared and this is
// the entry's text.
Designed Design(Topology topology, FilterType type, DesignState start = EdgeState(),
                const char* capacitance = nullptr) {
  DesignChoices in;
  in.type = type;
  if (capacitance != nullptr) {
    in.svf3AutomaticCapacitance = in.svf4AutomaticCapacitance = false;
    in.svf3Capacitance = in.svf4Capacitance = testing::EntryValue(field::C12Eingabe3, capacitance);
  }
  return testing::DesignStage(topology, in, start);
}

struct EdgeCase {
  Topology topology;
  FilterType type;
  std::vector<Element> elements;
  const char* fo;  // bandwidth for the band types
  const char* dVu;
  const char* gbwp;
};

TEST(SvfStage, WorkedValuesAtZin1200) {
  const EdgeCase cases[] = {
      {Topology::Svf3,
       FilterType::Lowpass,
       {{"R63Ausgabe", &S::R6, 1210.0, "    1.21k"},
        {"R53Ausgabe", &S::R5, 2420.0, "    2.42k"},
        {"C13Ausgabe", &S::C1, 150e-9, "  150.00n"},
        {"C23Ausgabe", &S::C2, 150e-9, "  150.00n"},
        {"R13Ausgabe", &S::R1, 375.1246033, "  375.120"},
        {"R23Ausgabe", &S::R2, 1500.527193, "    1.50k"},
        {"R33Ausgabe", &S::R3, 1210.0, "    1.21k"},
        {"R03Ausgabe", &S::R0, 1210.0, "    1.21k"},
        {"R43Ausgabe", &S::R4, 1210.0, "    1.21k"}},
       "    1.00k",
       "   0.00",
       "    7.07k"},
      {Topology::Svf3,
       FilterType::Highpass,
       {{"R53Ausgabe", &S::R5, 1210.0, "    1.21k"},
        {"R63Ausgabe", &S::R6, 2420.0, "    2.42k"},
        {"C13Ausgabe", &S::C1, 150e-9, "  150.00n"},
        {"R13Ausgabe", &S::R1, 750.2635969, "  750.260"},
        {"R23Ausgabe", &S::R2, 3001.111949, "    3.00k"},
        {"R33Ausgabe", &S::R3, 1210.0, "    1.21k"}},
       "  999.990",
       "   0.00",
       "    7.07k"},
      {Topology::Svf3,
       FilterType::Bandpass,
       {{"R03Ausgabe", &S::R0, 1210.0, "    1.21k"},
        {"R43Ausgabe", &S::R4, 1210.0, "    1.21k"},
        {"R53Ausgabe", &S::R5, 1210.0, "    1.21k"},
        {"R63Ausgabe", &S::R6, 1210.0, "    1.21k"},
        {"R33Ausgabe", &S::R3, 1210.0, "    1.21k"},  // t = 302.5
        {"C13Ausgabe", &S::C1, 150e-9, "  150.00n"},
        {"R13Ausgabe", &S::R1, 500.1709345, "  500.170"},
        {"R23Ausgabe", &S::R2, 2250.812376, "    2.25k"}},
       "    1.41k",
       "       -",
       "    7.07k"},
      {Topology::Svf4,
       FilterType::Lowpass,
       {{"R04Ausgabe", &S::R0, 1200.0, "    1.20k"},
        {"C14Ausgabe", &S::C1, 150e-9, "  150.00n"},
        {"C24Ausgabe", &S::C2, 150e-9, "  150.00n"},
        {"R14Ausgabe", &S::R1, 1061.022778, "    1.06k"},
        {"R24Ausgabe", &S::R2, 1061.022778, "    1.06k"},
        {"R34Ausgabe", &S::R3, 848.52, "  848.520"},
        {"R54Ausgabe", &S::R5, 848.52, "  848.520"},
        {"R44Ausgabe", &S::R4, 1200.0, "    1.20k"}},
       "    1.00k",
       "   0.00",
       "    7.07k"},
      {Topology::Svf4,
       FilterType::Bandstop,
       {{"R04Ausgabe", &S::R0, 1200.0, "    1.20k"},
        {"R14Ausgabe", &S::R1, 1061.032954, "    1.06k"},
        {"R34Ausgabe", &S::R3, 1200.0, "    1.20k"},
        {"R44Ausgabe", &S::R4, 1200.0, "    1.20k"},
        {"R54Ausgabe", &S::R5, 848.52, "  848.520"}},
       "    1.41k",
       "       -",
       "    7.07k"},
  };
  for (const EdgeCase& c : cases) {
    const Designed r = Design(c.topology, c.type);
    SCOPED_TRACE(static_cast<int>(c.topology) * 10 + static_cast<int>(c.type));
    testing::ExpectElements(r, c.elements, kRel);
    EXPECT_EQ(r.sink.At("foAusgabe"), c.fo);
    const bool svf3 = c.topology == Topology::Svf3;
    EXPECT_EQ(r.sink.At(svf3 ? "dVu3Ausgabe" : "dVu4Ausgabe"), c.dVu);
    EXPECT_EQ(r.sink.At("GBWPAusgabe"), c.gbwp);
    EXPECT_EQ(r.sink.beeps, 0);
  }
}

TEST(SvfStage, EnteredCapacitanceScalesTheIntegrators) {
  for (Topology t : {Topology::Svf3, Topology::Svf4}) {
    DesignState start = EdgeState();
    start.C1 = start.C2 = 47e-9;  // the entry's text counts, not the stored C1
    const Designed automatic = Design(t, FilterType::Lowpass);
    const Designed entered = Design(t, FilterType::Lowpass, start, "10n");
    EXPECT_DOUBLE_EQ(entered.state.C1, 10e-9);
    EXPECT_DOUBLE_EQ(entered.state.C2, 10e-9);
    EXPECT_NEAR(entered.state.R1, 15.0 * automatic.state.R1, kRel * entered.state.R1);
    EXPECT_NEAR(entered.state.R2, 15.0 * automatic.state.R2, kRel * entered.state.R2);
    EXPECT_EQ(entered.sink.At(t == Topology::Svf3 ? "C13Ausgabe" : "C24Ausgabe"), "   10.00n");
  }
}

TEST(SvfStage, ThreeOpAmpGainBelowAThirdIsRaised) {
  DesignState low = EdgeState(), third = EdgeState();
  low.Vu = 0.2;
  third.Vu = 0.334;
  for (FilterType type : {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass}) {
    const Designed a = Design(Topology::Svf3, type, low), b = Design(Topology::Svf3, type, third);
    EXPECT_DOUBLE_EQ(a.state.VuActual, 0.334);
    for (double S::*m : {&S::R0, &S::R1, &S::R2, &S::R3, &S::R4, &S::R5, &S::R6}) {
      EXPECT_DOUBLE_EQ(a.state.*m, b.state.*m);
      EXPECT_GT(a.state.*m, 0.0);
    }
  }
  // 3 x 0.334 - 1 = 0.002: R5 stays a small positive resistor.
  EXPECT_NEAR(Design(Topology::Svf3, FilterType::Lowpass, low).state.R5, 2.42, 1e-9);
}

TEST(SvfStage, CapacitanceTextIsHeldInsideTheEntryLimits) {
  struct Case {
    const char* text;
    double C1;
  };
  const Case cases[] = {{"0", 1e-15}, {"", 1e-15},      {"abc", 1e-15}, {"-5n", 1e-15},
                        {"1", 1e-3},  {"4,7u", 4.7e-6}, {"10n", 10e-9}};
  for (Topology t : {Topology::Svf3, Topology::Svf4}) {
    for (FilterType type : {FilterType::Lowpass, FilterType::Bandpass}) {
      for (const Case& c : cases) {
        const Designed r = Design(t, type, EdgeState(), c.text);
        EXPECT_NEAR(r.state.C1, c.C1, 1e-12 * c.C1) << c.text;
        EXPECT_EQ(r.state.C2, r.state.C1);
        for (double x : {r.state.R1, r.state.R2}) EXPECT_TRUE(std::isfinite(x) && x > 0) << c.text;
      }
    }
  }
}

TEST(SvfStage, TypesNotDesignedBeepAsListedAndKeepTheElements) {
  struct Case {
    Topology topology;
    FilterType type;
    int beeps;
    bool designed;
  };
  const Case cases[] = {
      {Topology::Svf3, FilterType::Allpass, 1, false},
      {Topology::Svf3, FilterType::Bandstop, 1, false},
      {Topology::Svf3, FilterType::EllipticLowpass, 0, false},
      {Topology::Svf4, FilterType::Allpass, 1, false},
      {Topology::Svf4, FilterType::EllipticLowpass, 0, false},
      {Topology::Svf4, FilterType::Bandstop, 0, true},
  };
  for (const Case& c : cases) {
    DesignState before = Design(c.topology, FilterType::Lowpass).state;
    before.Q = 3.0;  // a new design would move R1
    const Designed r = Design(c.topology, c.type, before);
    EXPECT_EQ(r.sink.beeps, c.beeps);
    EXPECT_EQ(r.state.R1 == before.R1, !c.designed);
    EXPECT_EQ(r.state.C1, before.C1);
    // The page's fields are still written from the state.
    EXPECT_EQ(r.sink.Has(c.topology == Topology::Svf3 ? "R63Ausgabe" : "R54Ausgabe"), true);
  }
}

TEST(SvfStage, WritesTheFieldsInPageOrder) {
  const std::vector<std::string> svf3{"foAusgabe",  "woAusgabe",  "dVu3Ausgabe", "R13Ausgabe",
                                      "R23Ausgabe", "C13Ausgabe", "C23Ausgabe",  "R33Ausgabe",
                                      "R43Ausgabe", "R53Ausgabe", "R63Ausgabe",  "R03Ausgabe",
                                      "GBWPAusgabe"};
  const std::vector<std::string> svf4{"foAusgabe",  "woAusgabe",  "dVu4Ausgabe", "R04Ausgabe",
                                      "R14Ausgabe", "C14Ausgabe", "C24Ausgabe",  "R24Ausgabe",
                                      "R34Ausgabe", "R44Ausgabe", "R54Ausgabe",  "GBWPAusgabe"};
  DesignState s = EdgeState();
  s.fo = ResonanceFrequency(s.fg, s.Q, FilterType::Lowpass);
  RecordingSink three, four;
  for (auto [topology, sink] : {std::pair{Topology::Svf3, &three}, {Topology::Svf4, &four}}) {
    DesignState designed = s;
    const StageDesign design = DesignStageOf(topology, s, DesignChoices{});
    ApplyStageDesign(design, designed);
    PresentStagePage(topology, FilterType::Lowpass, design, designed, *sink);
  }
  EXPECT_EQ(three.order, svf3);
  EXPECT_EQ(four.order, svf4);
}

// Response of the designed circuit at s, from its nodes with ideal op amps. Both stages are
// solved backwards from the bandpass output set to 1 (integrators invert).
Complex CircuitResponse(Topology t, FilterType type, const DesignState& d, Complex s) {
  const Complex bp = 1.0, hp = -s * d.R1 * d.C1, lp = -1.0 / (s * d.R2 * d.C2);
  Complex vin, bs;
  if (t == Topology::Svf3) {
    const Complex inverting = (hp / d.R6 + lp / d.R5) / (1.0 / d.R6 + 1.0 / d.R5);
    const double g = 1.0 / d.R3 + 1.0 / d.R4 + 1.0 / d.R0;
    vin = d.R3 * (g * inverting - bp / d.R4);
  } else {
    bs = -(hp + lp) * d.R5 / d.R4;
    vin = -(bs + bp) * d.R0 / d.R3;
  }
  switch (type) {
    case FilterType::Lowpass:
      return lp / vin;
    case FilterType::Highpass:
      return hp / vin;
    case FilterType::Bandpass:
      return bp / vin;
    default:
      return bs / vin;
  }
}

TEST(SvfStage, DesignedCircuitsMeetTheirResponse) {
  struct Case {
    Topology topology;
    FilterType type;
    double Q;
    double Vu;
  };
  const Case cases[] = {
      {Topology::Svf3, FilterType::Lowpass, 0.7071, 1.0},
      {Topology::Svf3, FilterType::Lowpass, 3.0, 0.2},
      {Topology::Svf3, FilterType::Highpass, 3.0, 5.0},
      {Topology::Svf3, FilterType::Highpass, 0.5, 0.2},
      {Topology::Svf3, FilterType::Bandpass, 3.0, 5.0},
      {Topology::Svf3, FilterType::Bandpass, 0.7071, 0.2},
      {Topology::Svf4, FilterType::Lowpass, 3.0, 5.0},
      {Topology::Svf4, FilterType::Highpass, 3.0, 0.2},
      {Topology::Svf4, FilterType::Bandpass, 50.0, 5.0},
      {Topology::Svf4, FilterType::Bandstop, 3.0, 2.0},
  };
  for (const Case& c : cases) {
    DesignState start = EdgeState();
    start.Q = c.Q;
    start.Vu = c.Vu;
    const DesignState d = Design(c.topology, c.type, start).state;
    const bool band = c.type == FilterType::Bandpass || c.type == FilterType::Bandstop;
    const double w0 = kTwoPi * (band ? d.fg : d.fo), k = d.VuActual;
    for (double ratio : {0.1, 0.7, 1.0, 10.0}) {
      const Complex s(0.0, ratio * w0);
      const Complex den = s * s + s * w0 / c.Q + w0 * w0;
      const Complex want = c.type == FilterType::Lowpass    ? k * w0 * w0 / den
                           : c.type == FilterType::Highpass ? k * s * s / den
                           : c.type == FilterType::Bandpass ? -k * s * w0 / c.Q / den
                                                            : -k * (s * s + w0 * w0) / den;
      const Complex got = CircuitResponse(c.topology, c.type, d, s);
      EXPECT_LE(std::abs(got - want), 1e-9 * std::max(k, std::abs(want)))
          << static_cast<int>(c.topology) << " type " << static_cast<int>(c.type) << " Q " << c.Q
          << " at " << ratio << " f0";
    }
  }
}

TEST(SvfStage, EntryRangesGiveFiniteNonNegativeResults) {
  const auto designs = [](Topology t, FilterType type) {
    return type == FilterType::Lowpass || type == FilterType::Highpass ||
           type == FilterType::Bandpass || (type == FilterType::Bandstop && t == Topology::Svf4);
  };
  testing::SweepEntryRanges(
      Topology::Svf3, designs,
      {"foAusgabe", "woAusgabe", "dVu3Ausgabe", "R03Ausgabe", "R13Ausgabe", "R23Ausgabe",
       "R33Ausgabe", "R43Ausgabe", "R53Ausgabe", "R63Ausgabe", "C13Ausgabe", "C23Ausgabe",
       "GBWPAusgabe"},
      {&S::R0, &S::R1, &S::R2, &S::R3, &S::R4, &S::R5, &S::R6, &S::C1, &S::C2});
  testing::SweepEntryRanges(
      Topology::Svf4, designs,
      {"foAusgabe", "woAusgabe", "dVu4Ausgabe", "R04Ausgabe", "R14Ausgabe", "R24Ausgabe",
       "R34Ausgabe", "R44Ausgabe", "R54Ausgabe", "C14Ausgabe", "C24Ausgabe", "GBWPAusgabe"},
      {&S::R0, &S::R1, &S::R2, &S::R3, &S::R4, &S::R5, &S::C1, &S::C2});
}

}  // namespace
}  // namespace morvane
