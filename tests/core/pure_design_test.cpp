// The stage designs as pure functions, the numeric series rounding, and the one-way session.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "design/design_session.h"
#include "design/field_names.h"
#include "design/recalculate.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"

namespace morvane {
namespace {

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameParts(const StageParts& a, const StageParts& b) {
  const auto same = [](const std::optional<double>& x, const std::optional<double>& y) {
    return x.has_value() == y.has_value() && (!x || SameBits(*x, *y));
  };
  return same(a.R0, b.R0) && same(a.R1, b.R1) && same(a.R2, b.R2) && same(a.R3, b.R3) &&
         same(a.R4, b.R4) && same(a.R5, b.R5) && same(a.R6, b.R6) && same(a.C1, b.C1) &&
         same(a.C2, b.C2) && same(a.C3, b.C3);
}

// A design reads only its input: the components a former design left in the state, the
// readout and the LC values make no difference to it.
TEST(PureStageDesign, DependsOnItsInputOnly) {
  for (int t = 1; t <= 5; ++t) {
    for (int type = 0; type < 6; ++type) {
      const auto topology = static_cast<Topology>(t);
      DesignChoices choices;
      choices.type = static_cast<FilterType>(type);
      DesignState clean;
      clean.fo = ResonanceFrequency(clean.fg, clean.Q, choices.type);
      DesignState used = clean;
      for (double* member :
           {&used.R0, &used.R1, &used.R2, &used.R3, &used.R4, &used.R5, &used.R6, &used.C1,
            &used.C2, &used.C3, &used.VuActual, &used.f, &used.RL, &used.Vuf}) {
        *member = 12345.0;
      }
      const StageDesign a = DesignStageOf(topology, clean, choices);
      const StageDesign b = DesignStageOf(topology, used, choices);
      SCOPED_TRACE(testing::Message() << "topology " << t << " type " << type);
      EXPECT_TRUE(SameParts(a.parts, b.parts));
      EXPECT_EQ(a.gain.has_value(), b.gain.has_value());
      EXPECT_EQ(a.typeNotOffered, b.typeNotOffered);
      EXPECT_EQ(a.notRealizable, b.notRealizable);
    }
  }
}

struct Offer {
  Topology topology;
  FilterType type;
  bool builds;   // a circuit with parts
  bool refuses;  // the window beeps
};

// What each topology builds, refuses with a beep, or passes by in silence.
TEST(PureStageDesign, OffersTheTypesOfItsPage) {
  using T = Topology;
  using F = FilterType;
  const Offer offers[] = {
      {T::Mfb, F::Bandpass, true, false},
      {T::Mfb, F::Bandstop, false, true},
      {T::Mfb, F::Allpass, false, true},
      {T::Mfb, F::EllipticLowpass, false, false},
      {T::Pfb, F::EllipticLowpass, true, false},
      {T::Svf3, F::Bandstop, false, true},
      {T::Svf3, F::EllipticLowpass, false, false},
      {T::Svf4, F::Bandstop, true, false},
      {T::Svf4, F::Allpass, false, true},
      {T::Fliege, F::Allpass, true, false},
      {T::Fliege, F::EllipticLowpass, false, false},
  };
  for (const Offer& o : offers) {
    DesignChoices c;
    c.type = o.type;
    DesignState s;
    s.fo = ResonanceFrequency(s.fg, s.Q, o.type);
    const StageDesign d = DesignStageOf(o.topology, s, c);
    EXPECT_EQ(d.parts.R1.has_value(), o.builds) << static_cast<int>(o.topology);
    EXPECT_EQ(d.typeNotOffered, o.refuses) << static_cast<int>(o.topology);
  }
}

// The numeric rounding gives bit for bit what reading back the rounded text gives, at and
// between series values, in every decade the designs reach, and for values with no decade.
TEST(SeriesValue, EqualsTheTextRoundTrip) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> exponent(-18.0, 13.0);
  for (int series = 1; series <= 5; ++series) {
    std::vector<double> values{0.0, -1.0, 1.0, 10.0, 1000.0, 1.5e-9, 4.7e3, 9.99e-13, 1e300};
    for (double v : SeriesDecade(series)) values.push_back(v * 1e-9);
    for (int i = 0; i < 3000; ++i) values.push_back(std::pow(10.0, exponent(rng)));
    for (double x : values) {
      ASSERT_TRUE(SameBits(SeriesValueBelow(series, x), ReadValue(RoundDownToSeries(series, x))))
          << series << " below " << x;
      ASSERT_TRUE(SameBits(SeriesValueAbove(series, x), ReadValue(RoundUpToSeries(series, x))))
          << series << " above " << x;
    }
  }
}

// A text the program writes runs no handler: one user action is one recalculation, so a
// refused type beeps once and the LC page's message comes once.
TEST(OneWaySession, OneActionRecalculatesOnce) {
  DesignSession session;
  session.Start();
  session.SelectFilterType(FilterType::Bandstop);  // the MFB page beeps for it
  const int beeps = session.BeepCount();
  session.Spin("SpinButtonfg", SpinDirection::Up);
  EXPECT_EQ(session.BeepCount(), beeps + 1);
  session.Spin("SpinButtonVu", SpinDirection::Down);
  EXPECT_EQ(session.BeepCount(), beeps + 2);
  session.MakeCalculations();  // shown entries that change take their value, then one more
  EXPECT_LE(session.BeepCount(), beeps + 5);

  session.SelectTopology(Topology::LcLadder);
  session.SelectFilterType(FilterType::Lowpass);
  const auto messages = session.Messages().size();
  session.SetLadderApproximation(true);  // order 4 with RL = RG: the formulas give no ladder
  EXPECT_EQ(session.Messages().size(), messages + 1);
}

// An entry shown by the program takes the value it shows; a typed Q is not written back.
TEST(OneWaySession, ShownEntriesTakeTheValueShown) {
  DesignSession session;
  session.Start();
  session.TypeEntry(field::fgEingabe, "1234.5678");
  EXPECT_DOUBLE_EQ(session.State().fg, 1234.5678);
  session.MakeCalculations();
  EXPECT_EQ(session.FieldText(field::fgEingabe), "    1.23k");
  EXPECT_DOUBLE_EQ(session.State().fg, 1230.0);
  session.TypeEntry(field::QEingabe, "0.123456");
  EXPECT_EQ(session.FieldText(field::QEingabe), "0.123456");
  EXPECT_DOUBLE_EQ(session.State().Q, 0.123456);
}

}  // namespace
}  // namespace morvane
