#include "lc/lc_ladder.h"
#include "design/recalculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "design/field_names.h"
#include "stage_test_support.h"

namespace morvane {
namespace {

using testing::RecordingSink;

constexpr const char* kChebyshevEvenMessage =
    "For even n, a Chebyshev ladder needs RL quite different from RG: change ZL or Zin, or "
    "choose an odd n.";

struct Ladder {
  int n = 3;
  bool chebyshev = false;
  double ripple = 1.0;
  FilterType type = FilterType::Lowpass;
  double RG = 1000.0;
  double RL = 1000.0;
  double fg = 1000.0;
};

DesignState StateOf(const Ladder& l) {
  DesignState s;
  s.topology = Topology::LcLadder;
  s.LCOrder = l.n;
  s.rippleDb = l.ripple;
  s.Zin = l.RG;
  s.RL = l.RL;
  s.fg = l.fg;
  return s;
}

DesignChoices InputsOf(const Ladder& l) {
  DesignChoices in;
  in.type = l.type;
  in.ladderChebyshev = l.chebyshev;
  return in;
}

struct Computed {
  DesignState s;
  DesignChoices in;
  RecordingSink sink;
};

Computed Compute(const Ladder& l) {
  Computed r{StateOf(l), InputsOf(l), {}};
  Recalculate(ChangedEntry::Any, Topology::LcLadder, r.s, r.in, r.sink);
  return r;
}

std::string Pn(const RecordingSink& sink, int row, int column) {
  return sink.cells.at(std::string(field::StringGridAlignPN) + "[" + std::to_string(row) + "][" +
                       std::to_string(column) + "]");
}

std::string Lc(const RecordingSink& sink, int row, int column) {
  return sink.cells.at(std::string(field::StringAlignGridLC) + "[" + std::to_string(row) + "][" +
                       std::to_string(column) + "]");
}

double GainDb(const DesignState& s, FilterType type, double f) {
  return 20.0 * std::log10(LadderResponse(s, type, f).magnitude);
}

double Epsilon(double rippleDb) {
  return std::sqrt(std::pow(10.0, rippleDb / 10.0) - 1.0);
}

TEST(LadderPoleGrid, SecondOrderButterworth) {
  const Computed r = Compute({.n = 2});
  EXPECT_EQ(Pn(r.sink, 1, 0), "1");
  EXPECT_EQ(Pn(r.sink, 2, 0), "2");
  EXPECT_EQ(Pn(r.sink, 1, 1), "-707.11m");
  EXPECT_EQ(Pn(r.sink, 2, 1), "-707.11m");
  EXPECT_EQ(Pn(r.sink, 1, 2), "707.11m");
  EXPECT_EQ(Pn(r.sink, 2, 2), "-707.11m");
  EXPECT_EQ(Pn(r.sink, 1, 3), "  1.410");
  EXPECT_EQ(Pn(r.sink, 1, 4), "  1.000");
  EXPECT_EQ(Pn(r.sink, 1, 5), " 0.707");
  for (int column = 3; column <= 5; ++column) EXPECT_EQ(Pn(r.sink, 2, column), " ");
  EXPECT_NEAR(r.s.LadderCoefA[1], std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(r.s.LadderCoefB[1], 1.0, 1e-12);
  EXPECT_EQ(r.s.LadderCoefA[2], 0.0);
}

TEST(LadderPoleGrid, ThirdOrderButterworthHasARealPoleRow) {
  const Computed r = Compute({.n = 3});
  EXPECT_EQ(Pn(r.sink, 1, 3), "  1.000");
  EXPECT_EQ(Pn(r.sink, 1, 4), "  1.000");
  EXPECT_EQ(Pn(r.sink, 1, 5), " 1.000");
  EXPECT_EQ(Pn(r.sink, 2, 3), "  1.000");
  EXPECT_EQ(Pn(r.sink, 2, 4), "-");
  EXPECT_EQ(Pn(r.sink, 2, 5), "-");
  // The real pole shows a plain zero, not a rounding residue of cos(pi/2).
  EXPECT_EQ(Pn(r.sink, 2, 1), " -1.000");
  EXPECT_EQ(Pn(r.sink, 2, 2), "  0.000");
  EXPECT_EQ(r.s.LadderCoefB[2], 0.0);
}

TEST(LadderElementGrid, ThirdOrderButterworthOneKilohm) {
  struct Case {
    FilterType type;
    std::vector<std::pair<std::string, std::string>> rows;
  };
  const std::vector<Case> cases = {
      {FilterType::Lowpass, {{"C1", "159.15nF"}, {"L2", "318.31mH"}, {"C3", "159.15nF"}}},
      {FilterType::Highpass, {{"L1", "159.15mH"}, {"C2", " 79.58nF"}, {"L3", "159.15mH"}}},
  };
  for (const Case& c : cases) {
    const Computed r = Compute({.n = 3, .type = c.type});
    for (int k = 1; k <= 3; ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(Lc(r.sink, k, 0), c.rows[static_cast<std::size_t>(k - 1)].first);
      EXPECT_EQ(Lc(r.sink, k, 1), c.rows[static_cast<std::size_t>(k - 1)].second);
    }
    EXPECT_FALSE(r.s.LadderMirrored);
    EXPECT_TRUE(r.sink.messages.empty());
    EXPECT_TRUE(r.sink.notice.empty());
  }
}

// Published tables of normalised element values (source 1, Chebyshev values normalised to
// the ripple-band edge).
TEST(LadderG, PublishedPrototypeValues) {
  struct Case {
    Ladder ladder;
    std::vector<double> g;
  };
  const std::vector<Case> cases = {
      {{.n = 2}, {1.4142, 1.4142}},
      {{.n = 3}, {1.0, 2.0, 1.0}},
      {{.n = 5}, {0.6180, 1.6180, 2.0, 1.6180, 0.6180}},
      {{.n = 3, .RL = 2000.0}, {0.5905, 1.5578, 1.6306}},
      {{.n = 3, .chebyshev = true, .ripple = 0.1}, {1.0316, 1.1474, 1.0316}},
      {{.n = 3, .chebyshev = true, .ripple = 0.5}, {1.5963, 1.0967, 1.5963}},
      {{.n = 3, .chebyshev = true, .ripple = 1.0}, {2.0236, 0.9941, 2.0236}},
      {{.n = 3, .chebyshev = true, .ripple = 3.0}, {3.3487, 0.7117, 3.3487}},
      {{.n = 5, .chebyshev = true, .ripple = 0.5}, {1.7058, 1.2296, 2.5408, 1.2296, 1.7058}},
      {{.n = 5, .chebyshev = true, .ripple = 1.0}, {2.1349, 1.0911, 3.0009, 1.0911, 2.1349}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.g));
    const Computed r = Compute(c.ladder);
    for (std::size_t k = 1; k <= c.g.size(); ++k) EXPECT_NEAR(r.s.LadderG[k], c.g[k - 1], 6e-5);
    for (std::size_t k = c.g.size() + 1; k <= 10; ++k) EXPECT_EQ(r.s.LadderG[k], 0.0);
  }
}

TEST(LadderChebyshev, EvenOrderWithEqualTerminationsIsRefused) {
  const Computed r = Compute({.n = 4, .chebyshev = true});
  ASSERT_EQ(r.sink.messages.size(), 1u);
  EXPECT_EQ(r.sink.messages[0], kChebyshevEvenMessage);
  const char* names[] = {"C1", "L2", "C3", "L4"};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(Lc(r.sink, k, 0), names[k - 1]);
    EXPECT_EQ(Lc(r.sink, k, 1), "undefiniert");
    EXPECT_EQ(r.s.LadderG[static_cast<std::size_t>(k)], 0.0);
  }
  EXPECT_TRUE(LadderElements(r.s, r.in).empty());
  // Poles and response remain.
  EXPECT_NE(Pn(r.sink, 1, 3), " ");
  EXPECT_NEAR(LadderResponse(r.s, FilterType::Lowpass, 0.0).magnitude, 1.0, 1e-12);
}

TEST(LadderChebyshev, EvenOrderIsBuiltForALowEnoughLoad) {
  // 1 dB, n = 4: K = 4 (1 + eps^2) r / (1 + r)^2 < 1 needs r below about 0.376.
  const Computed r = Compute({.n = 4, .chebyshev = true, .RL = 300.0});
  EXPECT_TRUE(r.sink.messages.empty());
  EXPECT_TRUE(r.sink.notice.empty());
  EXPECT_EQ(LadderElements(r.s, r.in).size(), 4u);
  EXPECT_EQ(Compute({.n = 4, .chebyshev = true, .RL = 400.0}).sink.messages.size(), 1u);
}

TEST(LadderTerminations, OddOrderWithALowerLoadIsMirrored) {
  Computed r = Compute({.n = 3, .RL = 500.0});
  EXPECT_TRUE(r.s.LadderMirrored);
  EXPECT_TRUE(r.sink.notice.empty());
  // The g values stay those of the formulas; the network is them reversed, scaled to RL.
  EXPECT_NEAR(r.s.LadderG[1], 0.5905, 6e-5);
  const auto elements = LadderElements(r.s, r.in);
  ASSERT_EQ(elements.size(), 3u);
  const double w = 2.0 * std::numbers::pi * 1000.0;
  EXPECT_NEAR(elements[0].value, 1.6306 / (w * 500.0), 1e-4 * elements[0].value);
  EXPECT_NEAR(elements[1].value, 1.5578 * 500.0 / w, 1e-4 * elements[1].value);
  EXPECT_NEAR(elements[2].value, 0.5905 / (w * 500.0), 1e-4 * elements[2].value);
  EXPECT_EQ(Lc(r.sink, 1, 1), "519.03nF");
  EXPECT_TRUE(elements[0].shunt && !elements[1].shunt && elements[2].shunt);
}

TEST(LadderTerminations, EvenOrderWithAHigherLoadHasNoNetwork) {
  for (const bool chebyshev : {false, true}) {
    SCOPED_TRACE(chebyshev);
    const Computed r = Compute({.n = 6, .chebyshev = chebyshev, .RL = 10000.0});
    EXPECT_FALSE(r.sink.notice.empty());
    EXPECT_EQ(r.sink.notice.find('\n'), std::string::npos);
    EXPECT_TRUE(r.sink.messages.empty());
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(Lc(r.sink, k, 1), "undefiniert");
    EXPECT_TRUE(LadderElements(r.s, r.in).empty());
    EXPECT_NEAR(GainDb(r.s, FilterType::Lowpass, 1000.0), chebyshev ? -2.0 : -3.0103, 0.02);
  }
  // Equal terminations suit the even Butterworth ladder.
  const Computed equal = Compute({.n = 6});
  EXPECT_TRUE(equal.sink.notice.empty());
  EXPECT_EQ(LadderElements(equal.s, equal.in).size(), 6u);
}

TEST(LadderGrids, LoweringTheOrderBlanksTheRowsBeyondIt) {
  Ladder l{.n = 10};
  DesignState s = StateOf(l);
  const DesignChoices in = InputsOf(l);
  RecordingSink sink;
  Recalculate(ChangedEntry::Any, Topology::LcLadder, s, in, sink);
  EXPECT_NE(Lc(sink, 10, 1), " ");
  s.LCOrder = 2;
  Recalculate(ChangedEntry::Any, Topology::LcLadder, s, in, sink);
  for (int row = 3; row <= 10; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(Lc(sink, row, 0), " ");
    EXPECT_EQ(Lc(sink, row, 1), " ");
    for (int column = 0; column <= 2; ++column) EXPECT_EQ(Pn(sink, row, column), " ");
  }
  for (int row = 2; row <= 10; ++row) {
    for (int column = 3; column <= 5; ++column) EXPECT_EQ(Pn(sink, row, column), " ");
  }
  EXPECT_EQ(Lc(sink, 2, 0), "L2");
}

TEST(LadderResponse, OddThenEvenOrderLeavesNoRealPole) {
  Ladder l{.n = 5};
  DesignState s = StateOf(l);
  RecordingSink sink;
  Recalculate(ChangedEntry::Any, Topology::LcLadder, s, InputsOf(l), sink);
  EXPECT_GT(s.LadderCoefA[3], 0.0);
  s.LCOrder = 4;
  Recalculate(ChangedEntry::Any, Topology::LcLadder, s, InputsOf(l), sink);
  EXPECT_EQ(s.LadderCoefA[3], 0.0);
  EXPECT_EQ(s.LadderCoefB[3], 0.0);
  // Fourth-order Butterworth: 24 dB per octave, |H(2 fg)|^2 = 1 / (1 + 2^8).
  EXPECT_NEAR(GainDb(s, FilterType::Lowpass, 2000.0), -10.0 * std::log10(257.0), 1e-9);
}

TEST(LadderResponse, ButterworthIsThreeDecibelsDownAtFgWithPhaseMinus45nDegrees) {
  for (int n = 2; n <= 10; ++n) {
    SCOPED_TRACE(n);
    const Computed r = Compute({.n = n});
    EXPECT_NEAR(GainDb(r.s, FilterType::Lowpass, 1000.0), -3.0103, 1e-4);
    EXPECT_NEAR(GainDb(r.s, FilterType::Highpass, 1000.0), -3.0103, 1e-4);
    // |H|^2 = 1 / (1 + x^(2n)) either side of fg.
    EXPECT_NEAR(GainDb(r.s, FilterType::Lowpass, 1500.0),
                -10.0 * std::log10(1.0 + std::pow(1.5, 2 * n)), 1e-9);
    EXPECT_NEAR(GainDb(r.s, FilterType::Highpass, 400.0),
                -10.0 * std::log10(1.0 + std::pow(2.5, 2 * n)), 1e-9);
    // Lag -45 n degrees for the lowpass, lead +45 n for the highpass, shown in [-90, 270).
    const auto folded = [](double degrees) {
      return std::fmod(std::fmod(degrees + 90.0, 360.0) + 360.0, 360.0) - 90.0;
    };
    EXPECT_NEAR(FoldLadderPhase(LadderResponse(r.s, FilterType::Lowpass, 1000.0).angle),
                folded(-45.0 * n), 1e-9);
    EXPECT_NEAR(FoldLadderPhase(LadderResponse(r.s, FilterType::Highpass, 1000.0).angle),
                folded(45.0 * n), 1e-9);
  }
}

// |H|^2 = 1 / (1 + eps^2 T_n^2(x)) with the -3 dB point at fg: the ripple-band edge lies at
// fg / w, w = cosh(arcosh(1 / eps) / n). Even orders start at a ripple trough, which the
// curve shows as 0 dB.
TEST(LadderResponse, ChebyshevRippleBandAndCutOff) {
  for (const double ripple : {0.01, 0.5, 1.0, 3.0}) {
    const double eps = Epsilon(ripple);
    for (int n = 2; n <= 10; ++n) {
      SCOPED_TRACE(::testing::Message() << ripple << " dB, n = " << n);
      const Computed r = Compute({.n = n, .chebyshev = true, .ripple = ripple, .RL = 10.0});
      const double w = std::cosh(std::acosh(1.0 / eps) / n);
      EXPECT_NEAR(r.s.LadderFrequencyScale, w, 1e-12);
      const double trough = n % 2 == 1 ? -ripple : 0.0;
      const double peak = trough + ripple;
      EXPECT_NEAR(GainDb(r.s, FilterType::Lowpass, 1000.0),
                  trough + ripple - 10.0 * std::log10(2.0), 1e-6);
      EXPECT_NEAR(GainDb(r.s, FilterType::Lowpass, 1000.0 / w), trough, 1e-6);
      EXPECT_NEAR(GainDb(r.s, FilterType::Highpass, 1000.0 * w), trough, 1e-6);
      // T_n = 0 at x = cos(pi / (2 n)).
      EXPECT_NEAR(
          GainDb(r.s, FilterType::Lowpass, 1000.0 * std::cos(std::numbers::pi / (2 * n)) / w), peak,
          1e-6);
    }
  }
}

TEST(LadderPolar, QuadrantRules) {
  struct Case {
    double re, im, magnitude, angle;
  };
  const Case cases[] = {
      {1.0, 1.0, std::sqrt(2.0), 45.0},
      {-1.0, 1.0, std::sqrt(2.0), 135.0},
      {-1.0, -1.0, std::sqrt(2.0), -135.0},
      {1.0, -1.0, std::sqrt(2.0), -45.0},
      {2.0, 0.0, 2.0, 0.0},
      {-2.0, 0.0, 2.0, 180.0},
      {0.0, 3.0, 3.0, 90.0},
      {0.0, -3.0, 3.0, -90.0},
      {0.0, 0.0, 0.0, 0.0},
      {-1.0, std::sqrt(3.0), 2.0, 120.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.re << " + j" << c.im);
    const PolarValue p = PolarFromRectangular(c.re, c.im);
    EXPECT_NEAR(p.magnitude, c.magnitude, 1e-12);
    EXPECT_NEAR(p.angle, c.angle, 1e-12);
  }
}

TEST(LadderPolar, PhaseFolding) {
  const std::pair<double, double> cases[] = {
      {0.0, 0.0},     {269.9, 269.9}, {270.0, -90.0}, {300.0, -60.0}, {-90.0, -90.0},
      {-90.1, 269.9}, {-300.0, 60.0}, {-360.0, 0.0},  {360.0, 0.0},
  };
  for (const auto& [in, out] : cases) EXPECT_NEAR(FoldLadderPhase(in), out, 1e-12) << in;
}

TEST(LadderResponse, ZeroAndExtremeFrequenciesStayFinite) {
  const Computed r = Compute({.n = 7});
  EXPECT_EQ(LadderResponse(r.s, FilterType::Lowpass, 0.0).magnitude, 1.0);
  EXPECT_EQ(LadderResponse(r.s, FilterType::Highpass, 0.0).magnitude, 0.0);
  EXPECT_NEAR(LadderResponse(r.s, FilterType::Highpass, 1e300).magnitude, 1.0, 1e-12);
  const PolarValue far = LadderResponse(r.s, FilterType::Lowpass, 1e300);
  EXPECT_EQ(far.magnitude, 0.0);
  EXPECT_TRUE(std::isfinite(far.angle));
}

bool Clean(const std::string& text) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("nan") == std::string::npos && lower.find("inf") == std::string::npos;
}

TEST(LadderRobustness, NoNanOrInfAcrossTheEntryRanges) {
  int checked = 0;
  for (int n = 2; n <= 10; ++n) {
    for (const bool chebyshev : {false, true}) {
      for (const double ripple : {0.01, 1.0, 3.0}) {
        for (const double RL : {0.001, 0.1, 1000.0, 1e9}) {
          for (const double RG : {0.1, 1000.0, 1e9}) {
            for (const double fg : {0.001, 2e9}) {
              for (const FilterType type : {FilterType::Lowpass, FilterType::Highpass}) {
                Ladder l{n, chebyshev, ripple, type, RG, RL, fg};
                const Computed r = Compute(l);
                for (const auto& [cell, text] : r.sink.cells) {
                  ASSERT_TRUE(Clean(text)) << cell << " " << text;
                }
                for (const LadderElement& e : LadderElements(r.s, r.in)) {
                  ASSERT_TRUE(std::isfinite(e.value) && e.value > 0.0) << n << " " << RL;
                }
                for (const double f : {0.0, fg, 1e10}) {
                  const PolarValue h = LadderResponse(r.s, type, f);
                  ASSERT_TRUE(std::isfinite(h.magnitude) && std::isfinite(h.angle));
                }
                ++checked;
              }
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(checked, 9 * 2 * 3 * 4 * 3 * 2 * 2);
}

}  // namespace
}  // namespace morvane
