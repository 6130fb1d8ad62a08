// The PFB noninverting stage. Expected numbers were worked out independently (python3, from
// the design equations and the E6/E48 tables) for the initial state: fg 1 kHz, Q 0.7071,
// Vu 1, Zin 1 kOhm, R3 entry 1 kOhm, fn/fo 2, capacitors E6, resistors E48.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <utility>

#include "design/design_session.h"
#include "design/design_state.h"
#include "design/field_names.h"
#include "design/pfb_stage.h"
#include "design/recalculate.h"
#include "numerics/standard_series.h"
#include "stage_test_support.h"

namespace morvane {
namespace {

using testing::RecordingSink;
using FT = FilterType;
using S = DesignState;

constexpr double kRelTol = 1e-6;  // against the python figures
constexpr const char* kNotRealizable = "not realizable";

using testing::Designed;

DesignChoices PfbInputs(FT type, bool compensation = true, std::string r3 = " 1.00k",
                        std::string q2 = "  2.000") {
  DesignChoices in;
  in.type = type;
  in.offsetCompensation = compensation;
  in.pfbR3 = testing::EntryValue(field::R32Eingabe, r3);
  in.pfbZeroRatio = testing::EntryValue(field::q2Eingabe, q2);
  return in;
}

Designed DesignPfb(const DesignChoices& in, DesignState start = {}) {
  return testing::DesignStage(Topology::Pfb, in, start);
}

DesignState WithQ(double Q) {
  DesignState s;
  s.Q = Q;
  s.D = 0.5 / Q;
  return s;
}

void ExpectRel(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, std::fabs(expected) * kRelTol) << what;
}

TEST(PfbStage, ElementsOfTheInitialState) {
  struct Case {
    FT type;
    bool compensation;
    double S::*member;
    const char* name;
    double value;
  };
  const Case cases[] = {
      {FT::Lowpass, true, &S::VuActual, "VuActual", 1.5749899303068633},
      {FT::Lowpass, true, &S::C1, "C1", 100e-9},
      {FT::Lowpass, true, &S::C2, "C2", 100e-9},
      {FT::Lowpass, true, &S::R1, "R1", 1622.4020446425766},
      {FT::Lowpass, true, &S::R2, "R2", 1561.253584121932},
      {FT::Lowpass, true, &S::R3, "R3", 4870.0},  // 5.014k rounded down
      {FT::Lowpass, true, &S::R4, "R4", 8469.71354333276},
      {FT::Highpass, true, &S::VuActual, "VuActual", 1.0},
      {FT::Highpass, true, &S::C1, "C1", 47e-9},
      {FT::Highpass, true, &S::C2, "C2", 47e-9},
      {FT::Highpass, true, &S::R1, "R1", 2394.5042144629297},
      {FT::Highpass, true, &S::R2, "R2", 4788.9165757441915},
      {FT::Highpass, true, &S::R3, "R3", 4640.0},
      {FT::Highpass, true, &S::R4, "R4", kAbsentResistor},
      {FT::Bandpass, true, &S::VuActual, "VuActual", 1.1213},
      {FT::Bandpass, true, &S::C1, "C1", 150e-9},
      {FT::Bandpass, true, &S::C2, "C2", 150e-9},
      {FT::Bandpass, true, &S::R1, "R1", 1061.032953945969},
      {FT::Bandpass, true, &S::R2, "R2", 2122.065907891938},
      {FT::Bandpass, true, &S::R3, "R3", 3320.0},
      {FT::Bandpass, true, &S::R4, "R4", 5667.725736359248},
      {FT::Bandstop, true, &S::VuActual, "VuActual", 1.2928864375618723},
      {FT::Bandstop, true, &S::C1, "C1", 150e-9},
      {FT::Bandstop, true, &S::C2, "C2", 300e-9},
      {FT::Bandstop, true, &S::R1, "R1", 1061.032953945969},
      {FT::Bandstop, true, &S::R2, "R2", 530.5164769729845},
      {FT::Bandstop, true, &S::R3, "R3", 2740.0},
      {FT::Bandstop, true, &S::R4, "R4", 9355.161757605027},
      {FT::Allpass, true, &S::VuActual, "VuActual", 0.33332907108386106},
      {FT::Allpass, true, &S::C1, "C1", 100e-9},
      {FT::Allpass, true, &S::C2, "C2", 100e-9},
      {FT::Allpass, true, &S::R1, "R1", 1125.3953950928803},
      {FT::Allpass, true, &S::R2, "R2", 2250.7476200184046},
      {FT::Allpass, true, &S::R3, "R3", 6752.329200389928},  // after compensation
      {FT::Allpass, true, &S::R4, "R4", 3376.0998453579314},
      {FT::Allpass, false, &S::R3, "R3", 1000.0},  // before compensation
      {FT::Allpass, false, &S::R4, "R4", 499.9904099999999},
      {FT::Allpass, false, &S::VuActual, "VuActual", 0.33332907108386106},
      {FT::EllipticLowpass, true, &S::C1, "C1", 1.8926546806587746e-07},
      {FT::EllipticLowpass, true, &S::C2, "C2", 1.0399400762735782e-07},
      {FT::EllipticLowpass, true, &S::C3, "C3", 2.983817174322446e-08},
      {FT::EllipticLowpass, true, &S::R1, "R1", 1000.0},
      {FT::EllipticLowpass, true, &S::R2, "R2", 6250.434168144196},
      {FT::EllipticLowpass, true, &S::R3, "R3", 1000.0},  // never rounded
      // R4 = Rx || R2 (R2 loads the inverting input too): the zero at 2 fo, Q 0.7071.
      {FT::EllipticLowpass, true, &S::R4, "R4", 15381.298520103312},
      {FT::EllipticLowpass, true, &S::VuActual, "VuActual", 0.4525125653534839},
      {FT::EllipticLowpass, false, &S::R4, "R4", 15381.298520103312},
      // Without offset compensation R3 keeps the entry and R4 = R3/(K - 1).
      {FT::Lowpass, false, &S::R3, "R3", 1000.0},
      {FT::Lowpass, false, &S::R4, "R4", 1739.1608918547763},
      {FT::Highpass, false, &S::R4, "R4", kAbsentResistor},
      {FT::Bandpass, false, &S::R4, "R4", 1707.1463061323036},
      {FT::Bandstop, false, &S::R3, "R3", 1000.0},
      {FT::Bandstop, false, &S::R4, "R4", 3414.2926122646086},
  };
  for (const Case& c : cases) {
    const auto d = DesignPfb(PfbInputs(c.type, c.compensation));
    ExpectRel(d.state.*c.member, c.value,
              std::string(c.name) + " of type " + std::to_string(static_cast<int>(c.type)) +
                  (c.compensation ? "" : " uncompensated"));
    EXPECT_EQ(d.sink.beeps, 0);
    EXPECT_EQ(d.sink.notice, "");
  }
}

TEST(PfbStage, FieldTextsOfTheInitialState) {
  struct Case {
    FT type;
    const char* field;
    const char* text;
  };
  const Case cases[] = {
      {FT::Lowpass, "Vu2Ausgabe", "    1.570"},
      {FT::Lowpass, "C12Ausgabe", "  100.00n"},
      {FT::Lowpass, "C22Ausgabe", "  100.00n"},
      {FT::Lowpass, "R12Ausgabe", "    1.62k"},
      {FT::Lowpass, "R22Ausgabe", "    1.56k"},
      {FT::Lowpass, "R32Ausgabe", "    4.87k"},
      {FT::Lowpass, "R42Ausgabe", "    8.47k"},
      {FT::Lowpass, "C32Ausgabe", "not needed"},
      {FT::Lowpass, "dVu2Ausgabe", "   0.00"},
      {FT::Lowpass, "GBWPAusgabe", "   22.27k"},
      {FT::Lowpass, "foAusgabe", "    1.00k"},
      {FT::Highpass, "C12Ausgabe", "   47.00n"},
      {FT::Highpass, "R12Ausgabe", "    2.39k"},
      {FT::Highpass, "R22Ausgabe", "    4.79k"},
      {FT::Highpass, "R32Ausgabe", "    4.64k"},
      {FT::Highpass, "R42Ausgabe", " infinite"},
      {FT::Highpass, "Vu2Ausgabe", "    1.000"},
      {FT::Highpass, "C32Ausgabe", "not needed"},
      {FT::Bandpass, "Vu2Ausgabe", "    1.120"},
      {FT::Bandpass, "C22Ausgabe", "  150.00n"},
      {FT::Bandpass, "R32Ausgabe", "    3.32k"},
      {FT::Bandpass, "R42Ausgabe", "    5.67k"},
      {FT::Bandpass, "dVu2Ausgabe", "       -"},
      {FT::Bandpass, "foAusgabe", "    1.41k"},  // bandwidth fg/Q
      {FT::Bandpass, "woAusgabe", "    6.28k"},
      {FT::Bandstop, "C22Ausgabe", "  300.00n"},
      {FT::Bandstop, "R22Ausgabe", "  530.520"},
      {FT::Bandstop, "R32Ausgabe", "    2.74k"},
      {FT::Bandstop, "R42Ausgabe", "    9.36k"},
      {FT::Bandstop, "Vu2Ausgabe", "    1.290"},
      {FT::Bandstop, "dVu2Ausgabe", "       -"},
      {FT::Allpass, "R12Ausgabe", "    1.13k"},
      {FT::Allpass, "R22Ausgabe", "    2.25k"},
      {FT::Allpass, "R32Ausgabe", "    6.75k"},
      {FT::Allpass, "R42Ausgabe", "    3.38k"},
      {FT::Allpass, "Vu2Ausgabe", "  333.33m"},
      {FT::Allpass, "dVu2Ausgabe", "       -"},
      {FT::Allpass, "C32Ausgabe", "not needed"},
      {FT::EllipticLowpass, "C12Ausgabe", "  189.27n"},
      {FT::EllipticLowpass, "C22Ausgabe", "  103.99n"},
      {FT::EllipticLowpass, "C32Ausgabe", "   29.84n"},
      {FT::EllipticLowpass, "R12Ausgabe", "    1.00k"},
      {FT::EllipticLowpass, "R22Ausgabe", "    6.25k"},
      {FT::EllipticLowpass, "R32Ausgabe", "    1.00k"},
      {FT::EllipticLowpass, "R42Ausgabe", "   15.38k"},
      {FT::EllipticLowpass, "Vu2Ausgabe", "  452.51m"},
      {FT::EllipticLowpass, "dVu2Ausgabe", "   0.00"},
      {FT::EllipticLowpass, "GBWPAusgabe", "    6.40k"},
  };
  for (const Case& c : cases) {
    const auto d = DesignPfb(PfbInputs(c.type));
    ASSERT_TRUE(d.sink.Has(c.field)) << c.field;
    EXPECT_EQ(d.sink.At(c.field), c.text) << c.field << " of type " << static_cast<int>(c.type);
  }
}

// Highpass and allpass resonate at the fo of the drawn response, which differs from fg away
// from Q = 0.7071.
TEST(PfbStage, HighpassAndAllpassResonateAtFo) {
  struct Case {
    FT type;
    double R1;
    double R2;
    double R4;
  };
  const Case cases[] = {
      {FT::Highpass, 640.123441048127, 8128.584018316845, 480000.0},
      {FT::Allpass, 268.4852417231421, 4295.763867570273, 21478.819337851357},
  };
  for (const Case& c : cases) {
    const auto d = DesignPfb(PfbInputs(c.type), WithQ(2.0));
    const DesignState& s = d.state;
    ExpectRel(s.R1, c.R1, "R1");
    ExpectRel(s.R2, c.R2, "R2");
    ExpectRel(s.R4, c.R4, "R4");
    // Equal capacitors: w0^2 = 1/(R1 R2 C1 C2).
    const double f0 = 1.0 / (2.0 * std::numbers::pi * std::sqrt(s.R1 * s.R2 * s.C1 * s.C2));
    EXPECT_NEAR(f0, s.fo, s.fo * 1e-9);
    EXPECT_GT(std::fabs(s.fo - s.fg), 300.0);
  }
}

TEST(PfbStage, BandTypesRaiseQAndStoreIt) {
  struct Case {
    FT type;
    double Q;
    double raisedQ;
    double VuActual;
    double R3;
    const char* R4Text;
  };
  const Case cases[] = {
      // K = 3 - 1/Q = 1.333: VuActual = K/(3 - K) = 0.8, R4 = R3/0.333.
      {FT::Bandpass, 0.6, 0.6, 0.8, 2740.0, "    8.22k"},
      // K = 3 - 1/Q below 1 cannot be built with R3 and R4: Q is raised to 0.5, K = 1 (no
      // R4), VuActual = 0.5, R3 = 2 R1 K = 2.122k rounded down.
      {FT::Bandpass, 0.2, 0.5, 0.5, 2050.0, " infinite"},
      {FT::Bandpass, 0.334, 0.5, 0.5, 2050.0, " infinite"},
      {FT::Bandpass, 0.4999, 0.5, 0.5, 2050.0, " infinite"},
      // K = 2 - 1/(2 Q) = 1 at the raised Q of 0.5.
      {FT::Bandstop, 0.3, 0.5, 1.0, 2050.0, " infinite"},
      {FT::Bandstop, 0.5, 0.5, 1.0, 2050.0, " infinite"},
  };
  for (const Case& c : cases) {
    const auto d = DesignPfb(PfbInputs(c.type), WithQ(c.Q));
    EXPECT_DOUBLE_EQ(d.state.Q, c.raisedQ);
    EXPECT_DOUBLE_EQ(d.state.D, 0.5 / c.Q);  // only Q is stored back
    EXPECT_FALSE(d.sink.Has("QEingabe"));
    ExpectRel(d.state.VuActual, c.VuActual, "VuActual");
    ExpectRel(d.state.R3, c.R3, "R3");
    EXPECT_EQ(d.sink.At("R42Ausgabe"), c.R4Text) << c.Q;
  }
}

TEST(PfbStage, R4FromOneHundredTeraOhmIsShownInfinite) {
  struct Case {
    double Q;
    const char* text;
  };
  // Allpass without compensation: R4 = Q^2 R3 with R3 = 1 GOhm.
  for (const Case c : {Case{316.0, "   99.9E+12"}, Case{317.0, " infinite"}}) {
    const auto d = DesignPfb(PfbInputs(FT::Allpass, false, "1G"), WithQ(c.Q));
    EXPECT_EQ(d.sink.At("R42Ausgabe"), c.text) << c.Q;
  }
}

TEST(PfbStage, EllipticLowpassAcrossQAndRatio) {
  struct Case {
    double Q;
    const char* q2;
    double R2;
    double R4;
    double C2;
    double C3;
    double VuActual;
  };
  // R4 solved from the circuit's transfer function (no s term in the numerator: a true
  // zero), the rest from the design equations.
  const Case cases[] = {
      {1.0, "2", 7734.590803390135, 6112.323842842089, 1.1452200449299599e-07,
       2.8630501123248998e-08, 0.517157287525381},
      {0.7071, "100", 11546095.088576876, 4446.098522052159, 1.3381602659107126e-07,
       1.615277951099555e-11, 0.612414842052912},
      // Entries above 100 are clamped as the entry field does.
      {0.7071, "1000", 11546095.088576876, 4446.098522052159, 1.3381602659107126e-07,
       1.615277951099555e-11, 0.612414842052912},
  };
  for (const Case& c : cases) {
    const auto d = DesignPfb(PfbInputs(FT::EllipticLowpass, true, " 1.00k", c.q2), WithQ(c.Q));
    const std::string what = std::string("Q ") + std::to_string(c.Q) + " fn/fo " + c.q2;
    ExpectRel(d.state.R2, c.R2, what + " R2");
    ExpectRel(d.state.R4, c.R4, what + " R4");
    ExpectRel(d.state.C2, c.C2, what + " C2");
    ExpectRel(d.state.C3, c.C3, what + " C3");
    ExpectRel(d.state.VuActual, c.VuActual, what + " VuActual");
    EXPECT_EQ(d.sink.notice, "") << what;
  }
  // A zero close to the poles, or Q just above 0.5, would need a negative R4 (K - 1 below
  // R3/R2); texts below 1.1 are clamped to 1.1.
  struct Refused {
    double Q;
    const char* q2;
  };
  for (const Refused& c : {Refused{0.7071, "1.1"}, Refused{0.7071, "0"}, Refused{0.7071, "abc"},
                           Refused{0.5001, "2"}, Refused{0.6, "2"}}) {
    const auto d = DesignPfb(PfbInputs(FT::EllipticLowpass, true, " 1.00k", c.q2), WithQ(c.Q));
    EXPECT_EQ(d.sink.notice, "Elliptical lowpass not realizable: raise Q or fn/fo")
        << c.Q << " " << c.q2;
    EXPECT_EQ(d.sink.At("R42Ausgabe"), kNotRealizable);
  }
}

// (1 - 1/sqrt(2 Q)) fn/fo^2 = 1 makes the intermediate Rx infinite; the elements stay
// finite there (R4 = R2 = 2 R'), so the design must go through smoothly.
TEST(PfbStage, EllipticLowpassThroughTheFormerPoleOfRx) {
  const double Q = 0.7071;
  const double a = 1.0 - 1.0 / std::sqrt(2.0 * Q);
  const double pole = 1.0 / std::sqrt(a);  // 2.507...
  for (double ratio : {pole, pole * (1 - 1e-12), pole * (1 + 1e-12)}) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", ratio);
    const auto d = DesignPfb(PfbInputs(FT::EllipticLowpass, true, " 1.00k", text), WithQ(Q));
    const double Rp = Q * 1000.0 / a;
    EXPECT_NEAR(d.state.R4, 2.0 * Rp, 2.0 * Rp * 1e-9) << text;
    EXPECT_NEAR(d.state.R2, 2.0 * Rp, 2.0 * Rp * 1e-9) << text;
    EXPECT_NEAR(d.state.VuActual, 0.5, 1e-9) << text;
    EXPECT_EQ(d.sink.notice, "");
  }
}

// Q <= 0.5 has no design at all; above it, fn/fo = 2 needs Q > 0.62296 so that R4 comes out
// positive (the border worked out by bisection in python).
TEST(PfbStage, EllipticLowpassBorderAboveQOneHalf) {
  constexpr double kBorder = 0.6229604698505206;
  constexpr const char* kRaiseQ = "Elliptical lowpass not realizable: raise Q above 0.5";
  constexpr const char* kRaiseQOrRatio = "Elliptical lowpass not realizable: raise Q or fn/fo";
  struct Case {
    double Q;
    const char* notice;  // empty: realizable
    const char* R4Text;
  };
  const Case cases[] = {
      {0.1, kRaiseQ, kNotRealizable},
      {0.4999, kRaiseQ, kNotRealizable},
      {0.5, kRaiseQ, kNotRealizable},
      {0.5 + 1e-9, kRaiseQOrRatio, kNotRealizable},
      {kBorder * (1 - 1e-6), kRaiseQOrRatio, kNotRealizable},
      {kBorder * (1 + 1e-6), "", "    1.69G"},
      {0.7071, "", "   15.38k"},
  };
  for (const Case& c : cases) {
    // Elements of a lowpass design first: a design that cannot be built must keep them.
    const DesignState before = DesignPfb(PfbInputs(FT::Lowpass)).state;
    DesignState start = before;
    start.Q = c.Q;
    start.D = 0.5 / c.Q;
    const auto d = DesignPfb(PfbInputs(FT::EllipticLowpass), start);
    const DesignState& s = d.state;
    EXPECT_EQ(d.sink.At("R42Ausgabe"), c.R4Text) << c.Q;
    EXPECT_EQ(d.sink.notice, c.notice) << c.Q;
    if (std::string(c.notice).empty()) {
      for (double x : {s.R1, s.R2, s.R4, s.C1, s.C2, s.C3, s.VuActual}) {
        EXPECT_TRUE(std::isfinite(x) && x > 0) << "Q " << c.Q;
      }
      continue;
    }
    EXPECT_TRUE(d.sink.messages.empty());  // never a modal box
    for (const char* f : {"R12Ausgabe", "R22Ausgabe", "R42Ausgabe", "C12Ausgabe", "C22Ausgabe",
                          "C32Ausgabe", "Vu2Ausgabe"}) {
      EXPECT_EQ(d.sink.At(f), kNotRealizable) << f;
    }
    EXPECT_EQ(d.sink.At("R32Ausgabe"), "    1.00k");  // the entry itself is fine
    for (double S::*m : {&S::R1, &S::R2, &S::R4, &S::C1, &S::C2, &S::C3, &S::VuActual}) {
      EXPECT_EQ(s.*m, before.*m) << "Q " << c.Q;
    }
    // A later design that can be built clears the notice.
    DesignState next = s;
    next.Q = 1.0;
    const auto again = DesignPfb(PfbInputs(FT::EllipticLowpass), next);
    EXPECT_EQ(again.sink.notice, "");
    EXPECT_EQ(again.sink.At("R12Ausgabe"), "    1.00k");
  }
}

// A Q opened from a design file is not clamped; one that overflows the elements is
// refused like any other design that cannot be built.
TEST(PfbStage, OverflowingQIsNotRealizable) {
  for (FT type : {FT::Lowpass, FT::EllipticLowpass}) {
    for (bool equalCapacitors : {true, false}) {
      DesignChoices in = PfbInputs(type);
      in.pfbEqualCapacitors = equalCapacitors;
      const auto d = DesignPfb(in, WithQ(1e300));
      EXPECT_EQ(d.sink.At("R22Ausgabe"), kNotRealizable) << equalCapacitors;
      EXPECT_EQ(d.sink.notice, "PFB stage not realizable: element values out of range, change Q");
    }
  }
}

TEST(PfbStage, UnreadableR3EntryIsClamped) {
  struct Case {
    const char* r3;
    double R3;
  };
  for (const Case c : {Case{"0", 0.001}, Case{"abc", 0.001}, Case{"", 0.001}, Case{"-5", 0.001},
                       Case{"5G", 1e9}}) {
    const auto ell = DesignPfb(PfbInputs(FT::EllipticLowpass, true, c.r3));
    ExpectRel(ell.state.R3, c.R3, std::string("R3 text ") + c.r3);
    ExpectRel(ell.state.R4, 15.381298520103312 * c.R3, "elliptic R4");
    ExpectRel(ell.state.R2, 6.250434168144196 * c.R3, "elliptic R2");
    ExpectRel(ell.state.VuActual, 0.4525125653534839, "elliptic gain");

    const auto raw = DesignPfb(PfbInputs(FT::Allpass, false, c.r3));
    ExpectRel(raw.state.R4, 0.4999904099999999 * c.R3, "allpass R4");
    ExpectRel(raw.state.VuActual, 0.33332907108386106, "allpass gain");
    // Compensation sets the parallel value of R3 and R4 to R2, whatever the entry.
    const auto comp = DesignPfb(PfbInputs(FT::Allpass, true, c.r3));
    ExpectRel(comp.state.R3, 6752.329200389928, "compensated R3");
    ExpectRel(comp.state.R4, 3376.0998453579314, "compensated R4");
  }
  const auto shown = DesignPfb(PfbInputs(FT::EllipticLowpass, true, "0"));
  EXPECT_EQ(shown.sink.At("R32Ausgabe"), "    1.00m");
  EXPECT_EQ(shown.sink.At("R42Ausgabe"), "   15.38m");
}

bool IsPlaceholder(const std::string& text) {
  return text == " infinite" || text == "infinite" || text == "-infinite";
}

bool HasNanOrInf(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text.find("nan") != std::string::npos || text.find("inf") != std::string::npos;
}

TEST(PfbStage, SweepGivesFinitePositiveElementsOrNotRealizable) {
  const FT types[] = {FT::Lowpass,  FT::Highpass, FT::Bandpass,
                      FT::Bandstop, FT::Allpass,  FT::EllipticLowpass};
  const double Qs[] = {0.1,    0.2, 0.334, 0.4999, 0.5,   0.5000001, 0.6,
                       0.7071, 1.0, 3.0,   10.0,   100.0, 1000.0,    10000.0};
  const char* ratios[] = {"1.1", "1.5", "2", "2.5070645778427125", "10", "100"};
  struct Level {
    double fg;
    double Zin;
    const char* r3;
  };
  const Level levels[] = {{1000.0, 1000.0, " 1.00k"}, {0.001, 1e9, "1G"}, {2e9, 0.1, "0"}};
  const char* elementFields[] = {"R12Ausgabe", "R22Ausgabe", "R32Ausgabe", "R42Ausgabe",
                                 "C12Ausgabe", "C22Ausgabe", "C32Ausgabe", "Vu2Ausgabe"};
  for (FT type : types) {
    for (double Q : Qs) {
      for (const char* ratio : ratios) {
        for (const Level& level : levels) {
          for (double Vu : {1.0, 1e6}) {
            for (int boxes = 0; boxes < 4; ++boxes) {  // offset compensation, equal C
              const bool compensation = (boxes & 1) == 0;
              DesignChoices in = PfbInputs(type, compensation, level.r3, ratio);
              in.pfbEqualCapacitors = boxes < 2;
              DesignState start = WithQ(Q);
              start.fg = level.fg;
              start.Zin = level.Zin;
              start.Vu = Vu;
              const auto d = DesignPfb(in, start);
              const DesignState& s = d.state;
              const std::string what = "type " + std::to_string(static_cast<int>(type)) + " Q " +
                                       std::to_string(Q) + " fn/fo " + ratio + " fg " +
                                       std::to_string(level.fg) + " Vu " + std::to_string(Vu) +
                                       " boxes " + std::to_string(boxes);
              for (const auto& [name, text] : d.sink.fields) {
                EXPECT_TRUE(IsPlaceholder(text) || !HasNanOrInf(text))
                    << name << " '" << text << "' " << what;
              }
              for (const char* f : elementFields) {
                const std::string& text = d.sink.At(f);
                const auto first = text.find_first_not_of(' ');
                EXPECT_NE(text[first], '-') << f << " '" << text << "' " << what;
              }
              // The elliptical lowpass needs Q > 0.5 and K - 1 = a/Q (a = 1 - 1/sqrt(2 Q))
              // above the share R3/R2 of the input branch, a/Q > (1 + a/Q)/(2 (Q n + 1));
              // all else is built.
              const double n = std::pow(std::clamp(std::atof(ratio), 1.1, 100.0), 2.0);
              const double a = 1.0 - 1.0 / std::sqrt(2.0 * Q);
              const bool realizable =
                  type != FT::EllipticLowpass || (Q > 0.5 && a * (2.0 * Q * n + 1.0) > Q);
              EXPECT_EQ(d.sink.At("R12Ausgabe") != kNotRealizable, realizable) << what;
              if (!realizable) continue;
              for (double x : {s.R1, s.R2, s.R3, s.R4, s.C1, s.C2, s.VuActual}) {
                EXPECT_TRUE(std::isfinite(x) && x > 0) << x << " " << what;
              }
              if (type == FT::EllipticLowpass) {
                EXPECT_TRUE(std::isfinite(s.C3) && s.C3 > 0) << what;
              }
            }
          }
        }
      }
    }
  }
}

// Pole frequency and Q of a Sallen-Key lowpass from its elements: nodal analysis of R1 (input
// to a), R2 (a to b), C1 (a to the output), C2 (b to ground) and Vout = K Vb gives
// Vin/Vb = s^2 R1 R2 C1 C2 + s (C2 (R1 + R2) + (1 - K) R1 C1) + 1.
struct Poles {
  double f0;
  double q;
};

Poles SallenKeyLowpassPoles(double R1, double R2, double C1, double C2, double K) {
  const double t = std::sqrt(R1 * R2 * C1 * C2);
  return {1.0 / (2.0 * std::numbers::pi * t), t / (C2 * (R1 + R2) + (1.0 - K) * R1 * C1)};
}

// The highpass with equal capacitors C (C, C from the input to b, R1 from between them to the
// output, R2 from b to ground): Vin/Vb ~ s^2 + s (2/(R2 C) + (1 - K)/(R1 C)) + 1/(R1 R2 C^2).
Poles SallenKeyHighpassPoles(double R1, double R2, double C, double K) {
  const double w0 = 1.0 / (C * std::sqrt(R1 * R2));
  return {w0 / (2.0 * std::numbers::pi), w0 * C / (2.0 / R2 + (1.0 - K) / R1)};
}

bool IsSeriesValue(int series, double x) {
  const double decade = std::pow(10.0, std::floor(std::log10(x)));
  return std::ranges::any_of(SeriesDecade(series),
                             [&](double v) { return std::fabs(x / decade - v) <= 1e-12 * v; });
}

bool FinitePositive(double x) {
  return std::isfinite(x) && x > 0.0;
}

void ExpectPoles(const Poles& p, double fo, double Q, const std::string& what) {
  EXPECT_NEAR(p.f0, fo, fo * 1e-9) << what;
  EXPECT_NEAR(p.q, Q, Q * 1e-9) << what;
}

TEST(PfbStage, UnequalCapacitorLowpassHasItsPolesAtFoAndQ) {
  struct Level {
    double fo;
    double zin;
  };
  const Level levels[] = {{10.0, 1e5}, {1e3, 1e3}, {1e5, 1e4}, {1e7, 100.0}};
  const double Qs[] = {0.5, 0.7071, 1.0, 3.0, 10.0};
  const double Ks[] = {1.0, 1.5, 2.0, 3.0, 10.0};
  const int seriesCodes[] = {kSeriesE6, 3, kSeriesE96};  // E6, E24, E96
  for (const Level& level : levels) {
    for (double Q : Qs) {
      for (double K : Ks) {
        for (int series : seriesCodes) {
          const StageRequirement s{.type = FT::Lowpass,
                                   .fg = level.fo,
                                   .fo = level.fo,
                                   .q = Q,
                                   .zin = level.zin,
                                   .seriesC = series};
          const StageParts p = SallenKeyLowpassUnequalCapacitors(s, K);
          const std::string what = "fo " + std::to_string(level.fo) + " Q " + std::to_string(Q) +
                                   " K " + std::to_string(K) + " series " + SeriesName(series);
          ASSERT_TRUE(p.R1 && p.R2 && p.C1 && p.C2) << what;
          EXPECT_TRUE(FinitePositive(*p.R1) && FinitePositive(*p.R2)) << what;
          EXPECT_TRUE(IsSeriesValue(series, *p.C1)) << *p.C1 << " " << what;
          EXPECT_TRUE(IsSeriesValue(series, *p.C2)) << *p.C2 << " " << what;
          ExpectPoles(SallenKeyLowpassPoles(*p.R1, *p.R2, *p.C1, *p.C2, K), level.fo, Q, what);
        }
      }
    }
  }
}

DesignChoices WithoutEqualCapacitors(DesignChoices in) {
  in.pfbEqualCapacitors = false;
  return in;
}

// With the box cleared the lowpass and highpass are followers: gain 1 whatever gain was
// asked for, no R4, R3 the DC resistance at the noninverting input (R1 + R2, or R2 behind
// the capacitors) rounded down to E48, or the entry; poles where the drawn curve has them.
TEST(PfbStage, ClearedEqualCapacitorsBuildFollowers) {
  for (FT type : {FT::Lowpass, FT::Highpass}) {
    for (double Q : {0.5, 0.7071, 3.0, 10.0}) {
      for (double Vu : {1.0, 5.0}) {
        for (bool compensation : {true, false}) {
          DesignState start = WithQ(Q);
          start.Vu = Vu;
          const auto d =
              DesignPfb(WithoutEqualCapacitors(PfbInputs(type, compensation, " 4.70k")), start);
          const DesignState& s = d.state;
          const std::string what = std::string(type == FT::Lowpass ? "lowpass" : "highpass") +
                                   " Q " + std::to_string(Q) + " Vu " + std::to_string(Vu) +
                                   (compensation ? "" : " uncompensated");
          EXPECT_EQ(d.sink.notice, "") << what;
          EXPECT_EQ(s.VuActual, 1.0) << what;
          EXPECT_EQ(d.sink.At("Vu2Ausgabe"), "    1.000") << what;
          EXPECT_EQ(s.R4, kAbsentResistor) << what;
          EXPECT_EQ(d.sink.At("R42Ausgabe"), " infinite") << what;
          for (double x : {s.R1, s.R2, s.C1, s.C2}) EXPECT_TRUE(FinitePositive(x)) << what;
          const bool lowpass = type == FT::Lowpass;
          const double dc = lowpass ? s.R1 + s.R2 : s.R2;
          if (compensation) {
            EXPECT_TRUE(IsSeriesValue(4, s.R3)) << s.R3 << " " << what;
            EXPECT_LT(s.R3, dc) << what;
            EXPECT_GT(s.R3, dc / 1.05) << what;  // E48 steps are below 5 %
          } else {
            EXPECT_EQ(s.R3, 4700.0) << what;
          }
          if (lowpass) {
            // Unity gain needs C1/C2 >= 4 Q^2 for real resistors.
            EXPECT_GE(s.C1 / s.C2, 4.0 * Q * Q) << what;
            ExpectPoles(SallenKeyLowpassPoles(s.R1, s.R2, s.C1, s.C2, 1.0), s.fo, Q, what);
          } else {
            EXPECT_EQ(s.C1, s.C2) << what;
            ExpectPoles(SallenKeyHighpassPoles(s.R1, s.R2, s.C1, 1.0), s.fo, Q, what);
          }
        }
      }
    }
  }
}

// The box only concerns the lowpass and highpass: every other type shows the same fields
// either way.
TEST(PfbStage, EqualCapacitorBoxLeavesTheOtherTypes) {
  for (FT type : {FT::Bandpass, FT::Bandstop, FT::Allpass, FT::EllipticLowpass}) {
    for (double Q : {0.7071, 3.0}) {
      DesignState start = WithQ(Q);
      start.Vu = 2.0;
      const auto checked = DesignPfb(PfbInputs(type), start);
      const auto cleared = DesignPfb(WithoutEqualCapacitors(PfbInputs(type)), start);
      EXPECT_EQ(cleared.sink.fields, checked.sink.fields)
          << "type " << static_cast<int>(type) << " Q " << Q;
    }
  }
}

// The page's box, clicked as in the window: cleared, the lowpass is the follower with
// unequal capacitors (worked out in python: C2 = 100n below 1/(2 Q w0 Zin), C1 = 220n above
// 1.1 * 4 Q^2 * C2, R1 + R2 = 1/(Q w0 C2), R1 R2 = 1/(w0^2 C1 C2)); checked again, the
// equal-capacitor design of before, value for value.
TEST(PfbStage, TryEqualCapacitorsBoxOnThePage) {
  struct Step {
    bool checked;
    double VuActual;
    double C1;
    double C2;
    double R1;
    double R2;
    double R3;
    double R4;
    const char* VuText;
  };
  const Step steps[] = {
      {true, 1.5749899303068633, 100e-9, 100e-9, 1622.4020446425766, 1561.253584121932, 4870.0,
       8469.71354333276, "    1.570"},
      {false, 1.0, 220e-9, 100e-9, 786.0433771589679, 1464.7474130267929, 2150.0, kAbsentResistor,
       "    1.000"},
      {true, 1.5749899303068633, 100e-9, 100e-9, 1622.4020446425766, 1561.253584121932, 4870.0,
       8469.71354333276, "    1.570"},
  };
  DesignSession session;
  session.Start();
  session.SelectTopology(Topology::Pfb);
  session.SelectFilterType(FT::Lowpass);
  for (const Step& step : steps) {
    ASSERT_TRUE(session.SetCheckBox("CCheckBox2", step.checked));
    const DesignState& s = session.State();
    const std::string what = step.checked ? "checked" : "cleared";
    ExpectRel(s.VuActual, step.VuActual, what + " VuActual");
    ExpectRel(s.C1, step.C1, what + " C1");
    ExpectRel(s.C2, step.C2, what + " C2");
    ExpectRel(s.R1, step.R1, what + " R1");
    ExpectRel(s.R2, step.R2, what + " R2");
    ExpectRel(s.R3, step.R3, what + " R3");
    ExpectRel(s.R4, step.R4, what + " R4");
    EXPECT_EQ(session.FieldText("Vu2Ausgabe"), step.VuText) << what;
    EXPECT_EQ(session.BeepCount(), 0);
  }
}

}  // namespace
}  // namespace morvane
