// Response point functions. Expected values were worked out independently from the
// normalised second-order responses in double precision (python), fg = 1 kHz unless stated.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "graphs/response.h"

namespace morvane {
namespace {

constexpr double kMinus3dB = -3.0102999566398120;  // 10 log10(1/2)
constexpr double kZeroGainDb = -2e301;             // 20 * log10(0), with log10(0) = -1e300

DesignState StateFor(FilterType type, double Q, double fg = 1000.0) {
  DesignState s;
  s.fg = fg;
  s.Q = Q;
  s.D = 0.5 / Q;
  UpdatePoleFrequency(s, type);
  return s;
}

const FilterType kAllTypes[] = {FilterType::Lowpass,  FilterType::Highpass,
                                FilterType::Bandpass, FilterType::Bandstop,
                                FilterType::Allpass,  FilterType::EllipticLowpass};

TEST(Response, PoleFrequency) {
  struct Case {
    FilterType type;
    double Q;
    double fo;
  };
  const Case cases[] = {
      {FilterType::Lowpass, 0.7071, 1000.009590229925},
      {FilterType::Highpass, 0.7071, 999.9904098620466},
      {FilterType::Lowpass, 0.5, 1553.7739740300372},
      {FilterType::Highpass, 0.5, 643.5942529055827},
      {FilterType::Bandpass, 0.5, 1553.7739740300372},  // fo as the lowpass; f0 is fg
  };
  for (const auto& c : cases) {
    const DesignState s = StateFor(c.type, c.Q);
    EXPECT_NEAR(s.fo, c.fo, c.fo * 1e-13) << "Q " << c.Q;
  }
}

// Magnitude, gain, phase and group delay of each type away from its zeros and resonance.
TEST(Response, PointValues) {
  struct Case {
    FilterType type;
    double Q;
    double f;
    double magnitude, gainDb, phase, delay;
  };
  const Case cases[] = {
      {FilterType::Lowpass, 5, 800, 1.7283416926852304, 4.752592130657088, -154.7461372836034,
       0.0003701504345065733},
      {FilterType::Lowpass, 0.2, 3000, 0.3141054005850546, -10.058491929519564, -78.96398069470342,
       2.274362832429136e-05},
      {FilterType::Highpass, 5, 800, 0.3641405096000652, -8.77462008695446, 171.9263234857137,
       4.801281476100391e-05},
      {FilterType::Highpass, 0.7071, 250, 0.06237940346040065, -24.099175655089844,
       159.33696896660365, 0.00023822022364527817},
      {FilterType::Bandpass, 2, 1200, 0.8064049958557056, -1.8689358068141406, -36.25383773744478,
       0.00035073885580222603},
      {FilterType::Bandstop, 2, 900, 0.38897203704036276, -8.201632374286653, -67.10944834375168,
       0.0006036681621884547},
      {FilterType::Allpass, 1, 1500, 1.0, 0.0, -288.297705355937, 0.0001770388950805931},
      // fnfp = 2: below and above the zero at 2 fo (fo = 830.6 Hz for Q = 0.9).
      {FilterType::EllipticLowpass, 0.9, 1500, 0.06017475021855714, -24.411714075542225,
       -138.48924636413028, 9.904852977393339e-05},
      {FilterType::EllipticLowpass, 0.9, 2500, 0.14525471274010301, -16.757395363424784,
       22.502030800002075, 2.807836194670731e-05},
  };
  constexpr double kRel = 1e-12;
  for (const auto& c : cases) {
    const DesignState s = StateFor(c.type, c.Q);
    SCOPED_TRACE(::testing::Message() << "type " << static_cast<int>(c.type) << " f " << c.f);
    EXPECT_NEAR(MagnitudeAt(s, c.type, c.f), c.magnitude, c.magnitude * kRel);
    EXPECT_NEAR(GainDbAt(s, c.type, c.f), c.gainDb, 1e-12);
    EXPECT_NEAR(PhaseAt(s, c.type, c.f), c.phase, std::fabs(c.phase) * kRel);
    EXPECT_NEAR(GroupDelayAt(s, c.type, c.f), c.delay, c.delay * kRel);
  }
}

// fg is the -3 dB frequency of lowpass and highpass for every Q.
TEST(Response, CutOffIsMinus3dBForEveryQ) {
  for (const double Q : {0.1, 0.5, 0.7071, 1.0, 5.0, 100.0, 10000.0}) {
    for (const auto type : {FilterType::Lowpass, FilterType::Highpass}) {
      const DesignState s = StateFor(type, Q);
      EXPECT_NEAR(GainDbAt(s, type, 1000.0), kMinus3dB, 1e-9) << "Q " << Q;
    }
  }
}

// At f = f0 exactly the phase is the limit from both sides, also at high Q where the
// stand-in c = 0.9999 would give -26.6 degrees.
TEST(Response, PhaseAtTheResonanceExactly) {
  struct Case {
    FilterType type;
    double phase;
    double side;  // approached from below (-1) or above (+1); the bandstop steps at f0
  };
  const Case cases[] = {{FilterType::Lowpass, -90.0, -1}, {FilterType::Highpass, 90.0, -1},
                        {FilterType::Bandpass, 0.0, -1},  {FilterType::Allpass, -180.0, -1},
                        {FilterType::Bandstop, 90.0, 1},  {FilterType::EllipticLowpass, -90.0, 1}};
  for (const double Q : {0.1, 0.7071, 100.0, 10000.0}) {
    for (const auto& c : cases) {
      const DesignState s = StateFor(c.type, Q);
      const double f0 =
          (c.type == FilterType::Bandpass || c.type == FilterType::Bandstop) ? s.fg : s.fo;
      EXPECT_EQ(PhaseAt(s, c.type, f0), c.phase) << "Q " << Q;
      // Just off it the phase is on its way there, not somewhere else.
      EXPECT_NEAR(PhaseAt(s, c.type, f0 * (1.0 + c.side * 1e-12)), c.phase, 1e-3);
    }
  }
}

TEST(Response, HighpassTendsTo0dBAnd0Degrees) {
  const DesignState s = StateFor(FilterType::Highpass, 0.7071);
  EXPECT_NEAR(GainDbAt(s, FilterType::Highpass, 1e7), 0.0, 1e-9);
  const double phase = PhaseAt(s, FilterType::Highpass, 1e7);
  EXPECT_GT(phase, 0.0);
  EXPECT_LT(phase, 0.01);
  EXPECT_NEAR(PhaseAt(s, FilterType::Highpass, 1e-3), 180.0, 1e-3);
}

TEST(Response, BandstopFallsToTheClampAtItsCentre) {
  for (const double Q : {0.1, 0.7071, 10000.0}) {
    for (const double fg : {0.001, 1000.0, 2e9}) {
      const DesignState s = StateFor(FilterType::Bandstop, Q, fg);
      EXPECT_EQ(MagnitudeAt(s, FilterType::Bandstop, fg), 0.0);
      EXPECT_EQ(GainDbAt(s, FilterType::Bandstop, fg), kZeroGainDb);
      EXPECT_NEAR(GainDbAt(s, FilterType::Bandstop, fg * 1e-6), 0.0, 1e-6);
      EXPECT_NEAR(GainDbAt(s, FilterType::Bandstop, fg * 1e6), 0.0, 1e-6);
    }
  }
}

TEST(Response, AllpassIsFlatAndTurnsFrom0To360Degrees) {
  const DesignState s = StateFor(FilterType::Allpass, 0.7071);
  double previous = 1.0;
  for (double f = 0.01; f < 1e8; f *= 1.5) {
    EXPECT_EQ(GainDbAt(s, FilterType::Allpass, f), 0.0);
    const double phase = PhaseAt(s, FilterType::Allpass, f);
    EXPECT_LE(phase, previous);
    previous = phase;
    // Twice the lowpass with the same Q and f0 = fo.
    EXPECT_NEAR(GroupDelayAt(s, FilterType::Allpass, f),
                2.0 * GroupDelayAt(s, FilterType::Lowpass, f),
                GroupDelayAt(s, FilterType::Allpass, f) * 1e-15);
  }
  EXPECT_GT(PhaseAt(s, FilterType::Allpass, 0.01), -0.01);
  EXPECT_LT(PhaseAt(s, FilterType::Allpass, 1e8), -359.99);
}

// The transmission zero sits at fnfp*fo; the numerator changes sign there, so the phase steps
// by 180 degrees and the response ends at 0 degrees, as 1 - (f/fn)^2 over 1 - (f/fo)^2 does.
TEST(Response, EllipticZeroAndPhaseStep) {
  for (const double fnfp : {1.1, 2.0, 100.0}) {
    DesignState s = StateFor(FilterType::EllipticLowpass, 0.9);
    s.fnfp = fnfp;
    const double fn = s.fnfp * s.fo;
    EXPECT_EQ(MagnitudeAt(s, FilterType::EllipticLowpass, fn), 0.0);
    EXPECT_EQ(GainDbAt(s, FilterType::EllipticLowpass, fn), kZeroGainDb);
    const double below = PhaseAt(s, FilterType::EllipticLowpass, fn * (1.0 - 1e-9));
    const double above = PhaseAt(s, FilterType::EllipticLowpass, fn * (1.0 + 1e-9));
    EXPECT_NEAR(above - below, 180.0, 1e-6) << "fnfp " << fnfp;
    EXPECT_NEAR(below, PhaseAt(s, FilterType::Lowpass, fn), 1e-6);
    EXPECT_NEAR(PhaseAt(s, FilterType::EllipticLowpass, fn * 1e6), 0.0, 1e-3);
    // High above the zero the gain settles at (fo/fn)^2.
    EXPECT_NEAR(MagnitudeAt(s, FilterType::EllipticLowpass, fn * 1e6), 1.0 / (fnfp * fnfp), 1e-9);
  }
}

TEST(Response, GroupDelayAtTheResonanceIsFinite) {
  // Bandpass centre: 2Q / (2 pi fg).
  const DesignState s = StateFor(FilterType::Bandpass, 10000.0);
  EXPECT_NEAR(GroupDelayAt(s, FilterType::Bandpass, 1000.0), 3.183098861837907, 1e-12);
  // Low frequencies: 1 / (Q 2 pi f0).
  EXPECT_NEAR(GroupDelayAt(s, FilterType::Bandpass, 1e-4), 1.0 / (10000.0 * 2e3 * std::numbers::pi),
              1e-15);
}

TEST(Response, StepResponseValues) {
  struct Case {
    double Q;
    double t;
    double s;
  };
  const Case cases[] = {
      {0.7071, 300e-6, 0.681555147579098}, {0.7071, 1e-3, 1.0144680774639976},
      {5, 500e-6, 1.2851023237244594},     {0.5, 200e-6, 0.5809929545138103},
      {0.2, 1e-3, 0.9980705805823602},     {0.1, 2e-3, 0.9999964813091686},
      {10000, 2e-4, 0.3095989053918641},
  };
  for (const auto& c : cases) {
    DesignState s;
    s.Q = c.Q;
    s.D = 7.0;  // overwritten
    EXPECT_NEAR(StepResponseAt(s, c.t), c.s, 1e-12) << "Q " << c.Q;
    EXPECT_EQ(s.D, 0.5 / c.Q);
  }
}

// The three branches meet: Q a hair above and below 0.5 give the critically damped curve.
TEST(Response, StepResponseIsContinuousAroundCriticalDamping) {
  for (const double dq : {1e-6, 1e-9, 1e-13}) {
    for (const double t : {0.0, 50e-6, 200e-6, 1e-3, 5e-3}) {
      DesignState critical, above, below;
      critical.Q = 0.5;
      above.Q = 0.5 + dq;
      below.Q = 0.5 - dq;
      const double ref = StepResponseAt(critical, t);
      EXPECT_NEAR(StepResponseAt(above, t), ref, 1e-5) << "dq " << dq << " t " << t;
      EXPECT_NEAR(StepResponseAt(below, t), ref, 1e-5) << "dq " << dq << " t " << t;
    }
  }
}

TEST(Response, StepStartsAtZeroAndSettlesAtOne) {
  for (const double D : {5e-5, 0.5, 1.0 - 1e-15, 1.0, 1.0 + 1e-15, 2.0, 5.0}) {
    EXPECT_NEAR(SecondOrderStep(D, 1.0, 0.0), 0.0, 1e-12) << "D " << D;
    EXPECT_NEAR(SecondOrderStep(D, 1.0, 1e7), 1.0, 1e-9) << "D " << D;
  }
}

TEST(Response, GuardedExp) {
  EXPECT_EQ(GuardedExp(-100.5), 0.0);
  EXPECT_EQ(GuardedExp(-1e308), 0.0);
  EXPECT_EQ(GuardedExp(0.0), 1.0);
  EXPECT_EQ(GuardedExp(150.0), std::exp(100.0) + 50.0);
  EXPECT_TRUE(std::isfinite(GuardedExp(1e308)));
}

// Whatever the entries, no point function returns NaN or an infinity.
TEST(Response, FiniteOverTheEntryRanges) {
  for (const double fg : {0.001, 1.0, 1000.0, 2e9}) {
    for (const double Q : {0.1, 0.5, 0.7071, 1.0, 10000.0}) {
      for (const auto type : kAllTypes) {
        for (const auto topology : {Topology::Mfb, Topology::LcLadder, Topology::Diplexer}) {
          DesignState s = StateFor(type, Q, fg);
          s.topology = topology;
          s.fnfp = 1.1;
          const std::vector<double> fs = {1e-4, 0.1, fg, s.fo, s.fnfp * s.fo, 1e9, 2e10};
          for (const double f : fs) {
            SCOPED_TRACE(::testing::Message() << "fg " << fg << " Q " << Q << " type "
                                              << static_cast<int>(type) << " f " << f);
            EXPECT_TRUE(std::isfinite(MagnitudeAt(s, type, f)));
            EXPECT_TRUE(std::isfinite(GainDbAt(s, type, f)));
            EXPECT_TRUE(std::isfinite(PhaseAt(s, type, f)));
            EXPECT_TRUE(std::isfinite(GroupDelayAt(s, type, f)));
          }
          for (const double t : {0.0, 1e-12, 1e-3, 1e4}) {
            EXPECT_TRUE(std::isfinite(StepResponseAt(s, t)));
          }
        }
      }
    }
  }
}

// A state no design has touched yet (fo = 0) still gives the responses of its fg and Q.
TEST(Response, FreshStateWithoutFo) {
  for (const auto type : kAllTypes) {
    DesignState fresh;
    ASSERT_EQ(fresh.fo, 0.0);
    const DesignState designed = StateFor(type, fresh.Q, fresh.fg);
    for (const double f : {1e-4, 500.0, 1000.0, 2e10}) {
      EXPECT_EQ(MagnitudeAt(fresh, type, f), MagnitudeAt(designed, type, f));
      EXPECT_EQ(PhaseAt(fresh, type, f), PhaseAt(designed, type, f));
      EXPECT_EQ(GroupDelayAt(fresh, type, f), GroupDelayAt(designed, type, f));
    }
  }
}

}  // namespace
}  // namespace morvane
