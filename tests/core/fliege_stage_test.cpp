// The Fliege stage against values worked out by hand (fg 1 kHz, Q 0.7071, Vu 1, Zin 1.2 kOhm,
// capacitors E6), and the designed circuits against the second-order response they promise.

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
#include "design/fliege_stage.h"
#include "design/page_presenter.h"
#include "design/recalculate.h"
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
Designed Design(FilterType type, DesignState start = EdgeState(),
                const char* capacitance = nullptr) {
  DesignChoices in;
  in.type = type;
  if (capacitance != nullptr) {
    in.fliegeAutomaticCapacitance = false;
    in.fliegeCapacitance = testing::EntryValue(field::C12Eingabe5, capacitance);
  }
  return testing::DesignStage(Topology::Fliege, in, start);
}

struct EdgeCase {
  FilterType type;
  std::vector<Element> elements;
  const char* fo;  // bandwidth for the band types
  const char* dVu;
  const char* gbwp;
};

TEST(FliegeStage, WorkedValuesAtZin1200) {
  const EdgeCase cases[] = {
      {FilterType::Lowpass,
       {{"Vu5Ausgabe", &S::VuActual, 1.05, "    1.050"},
        {"R15Ausgabe", &S::R1, 24000.0, "   24.00k"},
        {"R25Ausgabe", &S::R2, 1200.0, "    1.20k"},
        {"R35Ausgabe", &S::R3, 1200.0, "    1.20k"},
        {"C15Ausgabe", &S::C1, 680e-9, "  680.00n"},
        {"C25Ausgabe", &S::C2, 680e-9, "  680.00n"},
        {"R45Ausgabe", &S::R4, 912.9833503, "  912.980"},
        {"R55Ausgabe", &S::R5, 165.4961485, "  165.500"}},
       "    1.00k",
       "   0.00",
       "    7.42k"},
      {FilterType::Highpass,
       {{"R15Ausgabe", &S::R1, 24000.0, "   24.00k"},
        {"C15Ausgabe", &S::C1, 33e-9, "   33.00n"},
        {"R45Ausgabe", &S::R4, 3410.289077, "    3.41k"},
        {"R55Ausgabe", &S::R5, 969.1912213, "  969.190"}},
       "  999.990",
       "   0.00",
       "    7.42k"},
      {FilterType::Bandpass,
       {{"R35Ausgabe", &S::R3, 1697.072550, "    1.70k"},
        {"R15Ausgabe", &S::R1, 24000.0, "   24.00k"},
        {"C15Ausgabe", &S::C1, 22e-9, "   22.00n"},
        {"R55Ausgabe", &S::R5, 1541.929428, "    1.54k"},
        {"R45Ausgabe", &S::R4, 5115.384557, "    5.12k"}},
       "    1.41k",
       "       -",
       "    7.42k"},
      {FilterType::Bandstop,
       {{"Vu5Ausgabe", &S::VuActual, 1.0, "    1.000"},
        {"R15Ausgabe", &S::R1, 1200.0, "    1.20k"},
        {"R25Ausgabe", &S::R2, 1200.0, "    1.20k"},
        {"R35Ausgabe", &S::R3, 1697.072550, "    1.70k"},
        {"C15Ausgabe", &S::C1, 100e-9, "  100.00n"},
        {"R55Ausgabe", &S::R5, 1492.587687, "    1.49k"},
        {"R45Ausgabe", &S::R4, 2250.769205, "    2.25k"}},
       "    1.41k",
       "       -",
       "    7.07k"},
      {FilterType::Allpass,
       {{"R35Ausgabe", &S::R3, 1200.0, "    1.20k"},
        {"C15Ausgabe", &S::C1, 150e-9, "  150.00n"},
        {"R45Ausgabe", &S::R4, 750.2492067, "  750.250"},
        {"R55Ausgabe", &S::R5, 938.1411137, "  938.140"}},
       "    1.00k",
       "       -",
       "    7.07k"},
  };
  for (const EdgeCase& c : cases) {
    const Designed r = Design(c.type);
    SCOPED_TRACE(static_cast<int>(c.type));
    testing::ExpectElements(r, c.elements, kRel);
    EXPECT_EQ(r.sink.At("foAusgabe"), c.fo);
    EXPECT_EQ(r.sink.At("dVu5Ausgabe"), c.dVu);
    EXPECT_EQ(r.sink.At("GBWPAusgabe"), c.gbwp);
    EXPECT_EQ(r.sink.beeps, 0);
  }
}

TEST(FliegeStage, AllpassPolesSitAtTheShownResonanceFrequency) {
  DesignState start = EdgeState();
  start.Q = 2.0;  // fo = fg / sqrt(e) = 673.6 Hz, well off fg
  const Designed r = Design(FilterType::Allpass, start);
  const DesignState& d = r.state;
  EXPECT_NEAR(d.fo, 673.6232082, kRel * d.fo);
  EXPECT_NEAR(1.0 / (kTwoPi * std::sqrt(d.R3 * d.R5 * d.C1 * d.C2)), d.fo, 1e-12 * d.fo);
  EXPECT_DOUBLE_EQ(d.C1, 220e-9);
  EXPECT_EQ(r.sink.At("foAusgabe"), "  673.620");
}

TEST(FliegeStage, EnteredCapacitanceIsReadAndHeldInsideTheEntryLimits) {
  struct Case {
    const char* text;
    double C1;
  };
  const Case cases[] = {{"0", 1e-15}, {"", 1e-15},      {"abc", 1e-15}, {"-5n", 1e-15},
                        {"1", 1e-3},  {"4,7u", 4.7e-6}, {"10n", 10e-9}};
  for (FilterType type : {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass,
                          FilterType::Bandstop, FilterType::Allpass}) {
    for (const Case& c : cases) {
      DesignState start = EdgeState();
      start.C1 = start.C2 = 47e-9;  // the entry's text counts, not the stored C1
      const Designed r = Design(type, start, c.text);
      EXPECT_NEAR(r.state.C1, c.C1, 1e-12 * c.C1) << c.text;
      EXPECT_EQ(r.state.C2, r.state.C1);
      for (double x : {r.state.R4, r.state.R5}) EXPECT_TRUE(std::isfinite(x) && x > 0) << c.text;
    }
  }
  // 10 nF instead of 680 nF for the lowpass: R4 = 912.98 x 68^2, R5 = 165.50 x 68.
  const DesignState d = Design(FilterType::Lowpass, EdgeState(), "10n").state;
  EXPECT_NEAR(d.R4, 4221635.012, kRel * d.R4);
  EXPECT_NEAR(d.R5, 11253.73810, kRel * d.R5);
}

TEST(FliegeStage, EllipticLowpassKeepsTheElementsWithoutABeep) {
  DesignState before = Design(FilterType::Lowpass).state;
  before.Q = 3.0;  // a new design would move R4
  const Designed r = Design(FilterType::EllipticLowpass, before);
  EXPECT_EQ(r.sink.beeps, 0);
  EXPECT_EQ(r.state.R4, before.R4);
  EXPECT_EQ(r.state.C1, before.C1);
  EXPECT_EQ(r.sink.At("R45Ausgabe"), "  912.980");
}

TEST(FliegeStage, WritesTheFieldsInPageOrder) {
  const std::vector<std::string> order{"foAusgabe",  "woAusgabe",  "dVu5Ausgabe", "Vu5Ausgabe",
                                       "R15Ausgabe", "C15Ausgabe", "C25Ausgabe",  "R25Ausgabe",
                                       "R35Ausgabe", "R45Ausgabe", "R55Ausgabe",  "GBWPAusgabe"};
  DesignState s = EdgeState();
  s.fo = ResonanceFrequency(s.fg, s.Q, FilterType::Lowpass);
  RecordingSink sink;
  const StageDesign design = DesignStageOf(Topology::Fliege, s, DesignChoices{});
  ApplyStageDesign(design, s);
  PresentStagePage(Topology::Fliege, FilterType::Lowpass, design, s, sink);
  EXPECT_EQ(sink.order, order);
}

// Response of the designed circuit at s with ideal op amps: both inverting inputs (N) and
// both non-inverting inputs (P, G) sit at one voltage x = 1; the input follows backwards.
Complex CircuitResponse(FilterType type, const DesignState& d, Complex s) {
  const double x = 1.0;
  if (type == FilterType::Bandstop || type == FilterType::Allpass) {
    // R1 from the input and R1 = R2 make out = 2x - vin.
    Complex y = s * d.C1 + 1.0 / (d.R3 * d.R5 * s * d.C2);
    if (type == FilterType::Bandstop) y += 1.0 / d.R4;
    const Complex vin = x + (1.0 / d.R4) / y;
    return (2.0 * x - vin) / vin;
  }
  const double out = x * (1.0 + d.R2 / d.R1);
  if (type == FilterType::Lowpass) {
    const Complex m = x - d.R4 * s * d.C2 * (out - x);
    return out / (x - d.R3 * (m - x) * (s * d.C1 + 1.0 / d.R5));
  }
  const Complex m = x - (out - x) / (d.R3 * s * d.C2);
  if (type == FilterType::Highpass) return out / (x + (x / d.R4 - (m - x) / d.R5) / (s * d.C1));
  return out / (x + d.R4 * (x * s * d.C1 - (m - x) / d.R5));
}

TEST(FliegeStage, DesignedCircuitsMeetTheirResponse) {
  struct Case {
    FilterType type;
    double Q;
    double Vu;
  };
  const Case cases[] = {
      {FilterType::Lowpass, 0.7071, 1.0},  {FilterType::Lowpass, 3.0, 5.0},
      {FilterType::Highpass, 3.0, 5.0},    {FilterType::Highpass, 0.3, 1e3},
      {FilterType::Bandpass, 0.7071, 1.0}, {FilterType::Bandpass, 50.0, 5.0},
      {FilterType::Bandstop, 3.0, 1.0},    {FilterType::Allpass, 2.0, 1.0},
      {FilterType::Allpass, 0.3, 1.0},
  };
  for (const Case& c : cases) {
    DesignState start = EdgeState();
    start.Q = c.Q;
    start.Vu = c.Vu;
    const DesignState d = Design(c.type, start).state;
    const bool band = c.type == FilterType::Bandpass || c.type == FilterType::Bandstop;
    const double w0 = kTwoPi * (band ? d.fg : d.fo), k = d.VuActual;
    for (double ratio : {0.1, 0.7, 1.0, 10.0}) {
      const Complex s(0.0, ratio * w0);
      const Complex den = s * s + s * w0 / c.Q + w0 * w0;
      const Complex want = c.type == FilterType::Lowpass    ? k * w0 * w0 / den
                           : c.type == FilterType::Highpass ? k * s * s / den
                           : c.type == FilterType::Bandpass ? k * s * w0 / c.Q / den
                           : c.type == FilterType::Bandstop
                               ? (s * s + w0 * w0) / den
                               : (s * s - s * w0 / c.Q + w0 * w0) / den;
      const Complex got = CircuitResponse(c.type, d, s);
      EXPECT_LE(std::abs(got - want), 1e-9 * std::max(k, std::abs(want)))
          << "type " << static_cast<int>(c.type) << " Q " << c.Q << " at " << ratio << " f0";
    }
  }
}

TEST(FliegeStage, EntryRangesGiveFiniteNonNegativeResults) {
  testing::SweepEntryRanges(
      Topology::Fliege,
      [](Topology, FilterType type) { return type != FilterType::EllipticLowpass; },
      {"foAusgabe", "woAusgabe", "GBWPAusgabe", "dVu5Ausgabe", "Vu5Ausgabe", "R15Ausgabe",
       "C15Ausgabe", "C25Ausgabe", "R25Ausgabe", "R35Ausgabe", "R45Ausgabe", "R55Ausgabe"},
      {&S::R1, &S::R2, &S::R3, &S::R4, &S::R5, &S::C1, &S::C2, &S::VuActual});
}

}  // namespace
}  // namespace morvane
