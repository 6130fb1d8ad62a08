// The largest undistorted signal and the headroom against closed forms: a single-op-amp stage
// passes min(swing, SR / (2 pi f)) at its output whatever its response; the three-op-amp
// state-variable bandpass's summer and lowpass integrator peak Q / a above its output (a from
// its design equations); a cascade's section outputs peak as the design's own SectionPeaking
// says; bad requests and models are named.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <string>

#include "cascade/cascade_circuit.h"
#include "cascade/cascade_design.h"
#include "circuit/circuit.h"
#include "design/svf_stage.h"
#include "opamp/large_signal.h"

namespace morvane {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

OpAmpModel Model(std::string_view name) {
  return *FindOpAmp(BuiltInOpAmps(), name);
}

// Ideal but for its swing: the gains are the designed ones.
OpAmpModel SwingOnly(double swing) {
  OpAmpModel m = Model("ideal");
  m.name = "swing only";
  m.outputSwing = swing;
  return m;
}

LargeSignalRequest Range(double from, double to, int points) {
  return {from, to, points};
}

struct SingleAmpCase {
  Topology topology;
  FilterType type;
  StageParts parts;  // f0 near 1 kHz
};

class SingleOpAmpStage : public testing::TestWithParam<SingleAmpCase> {};

// The op amp's pin is the output: the output reaches the swing, or the slew rate's
// SR / (2 pi f) above the full-power bandwidth, the real model's gain-bandwidth or not.
TEST_P(SingleOpAmpStage, OutputIsSwingOrSlewRateLimit) {
  const SingleAmpCase& c = GetParam();
  const OpAmpModel lm741 = Model("LM741");
  const LargeSignalLimits limits =
      AnalyseLargeSignal(StageCircuit(c.topology, c.type, c.parts), lm741, Range(10, 1e6, 61));
  ASSERT_EQ(limits.problem, "");
  ASSERT_EQ(limits.points.size(), 61u);
  const double fullPower = lm741.slewRate / (kTwoPi * lm741.outputSwing);  // 5.7 kHz
  for (const LargeSignalPoint& p : limits.points) {
    const double slewLimited = lm741.slewRate / (kTwoPi * p.f);
    EXPECT_NEAR(p.outputPeak, std::min(lm741.outputSwing, slewLimited), 1e-9 * p.outputPeak);
    EXPECT_EQ(p.limit, p.f < fullPower ? SignalLimit::Swing : SignalLimit::SlewRate) << p.f;
    EXPECT_EQ(p.opAmp, 0u);
  }
  const Headroom headroom =
      AnalyseHeadroom(StageCircuit(c.topology, c.type, c.parts), lm741, LargeSignalRequest{});
  ASSERT_EQ(headroom.problem, "");
  ASSERT_EQ(headroom.sections.size(), 1u);
  EXPECT_EQ(headroom.sections[0].peakingDb, 0.0);
  EXPECT_TRUE(headroom.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Stages, SingleOpAmpStage,
    testing::Values(
        // Sallen-Key follower (R4 absent), Q 0.707: C1 = 2 C2.
        SingleAmpCase{
            Topology::Pfb,
            FilterType::Lowpass,
            {.R1 = 10e3, .R2 = 10e3, .R3 = 20e3, .R4 = 1e15, .C1 = 22.5e-9, .C2 = 11.25e-9}},
        SingleAmpCase{Topology::Pfb,
                      FilterType::Highpass,
                      {.R1 = 10e3, .R2 = 20e3, .R3 = 20e3, .R4 = 1e15, .C1 = 10e-9, .C2 = 10e-9}},
        SingleAmpCase{Topology::Mfb,
                      FilterType::Lowpass,
                      {.R1 = 10e3, .R2 = 10e3, .R3 = 10e3, .C1 = 30e-9, .C2 = 5e-9}},
        SingleAmpCase{Topology::Mfb,
                      FilterType::Bandpass,
                      {.R1 = 10e3, .R2 = 1e3, .R3 = 200e3, .C1 = 10e-9, .C2 = 10e-9}}));

// Three op amps, bandpass at U2 with gain 1: the summer (U1) and the lowpass integrator (U3)
// reach Q / a at f0, a = 1.5 at unity gain, and peak 1 / sqrt(1 - 1/(4 Q^2)) higher.
TEST(StateVariableBandpass, InnerOpAmpsClipFirst) {
  const struct {
    double q;
    const char* db;
  } cases[] = {{2.0, "2.8"}, {10.0, "16.5"}, {30.0, "26.0"}};
  for (const auto& [q, db] : cases) {
    SvfInput in;
    in.stage.type = FilterType::Bandpass;
    in.stage.q = q;
    in.stage.zin = 10e3;
    const StageDesign d = DesignSvf3Stage(in);
    const Circuit circuit = StageCircuit(Topology::Svf3, FilterType::Bandpass, d.parts);
    const double innerAtF0 = q / 1.5;

    const OpAmpModel model = SwingOnly(10.0);
    const LargeSignalLimits limits = AnalyseLargeSignal(circuit, model, Range(100, 1e4, 201));
    ASSERT_EQ(limits.problem, "");
    const LargeSignalPoint& atF0 = limits.points[100];
    EXPECT_NEAR(atF0.f, 1000.0, 1e-9);
    EXPECT_NE(limits.opAmps[atF0.opAmp], "U2");
    EXPECT_NEAR(atF0.outputPeak, model.outputSwing / innerAtF0, 1e-6);

    const Headroom h = AnalyseHeadroom(circuit, Model("ideal"), Range(100, 1e4, 101));
    ASSERT_EQ(h.problem, "");
    ASSERT_EQ(h.sections.size(), 1u);
    const double peak = innerAtF0 / std::sqrt(1.0 - 0.25 / (q * q));
    EXPECT_NEAR(h.outputGain, 1.0, 1e-9);
    EXPECT_NEAR(h.sections[0].largestGain, peak, 1e-6 * peak);
    EXPECT_NEAR(h.sections[0].peakingDb, 20.0 * std::log10(peak), 1e-6);
    EXPECT_NE(h.sections[0].opAmp, "U2");
    EXPECT_FALSE(h.clippingInputPeak.has_value());
    ASSERT_EQ(h.warnings.size(), 1u);
    EXPECT_EQ(h.warnings[0], h.sections[0].opAmp + " clips " + db + " dB before the output");
  }
}

CascadeRequest Chebyshev6(std::vector<int> order) {
  CascadeRequest r;
  r.approximation = Approximation::Chebyshev;
  r.order = 6;
  r.rippleDb = 1.0;
  r.sectionOrder = std::move(order);
  return r;
}

// Single-op-amp sections: each section's op amp is its output, so its headroom is the
// design's SectionPeaking against that of the last section (the whole filter's peaking).
TEST(CascadeHeadroom, SectionOutputsPeakAsTheDesignSays) {
  for (const auto& order : {std::vector<int>{}, std::vector<int>{2, 1, 0}}) {
    const CascadeDesign d = DesignCascade(Chebyshev6(order));
    ASSERT_EQ(d.problem, "");
    const Headroom h = AnalyseHeadroom(d, Model("ideal"), LargeSignalRangeOf(d));
    ASSERT_EQ(h.problem, "");
    ASSERT_EQ(h.sections.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(h.sections[i].section, static_cast<int>(i) + 1);
      EXPECT_EQ(h.sections[i].opAmp, "U1_" + std::to_string(i + 1));
      EXPECT_NEAR(h.sections[i].peakingDb,
                  d.sections[i].peaking.peakingDb - d.sections[2].peaking.peakingDb, 0.01);
    }
  }
}

TEST(CascadeHeadroom, HighQSectionFirstWarns) {
  const Headroom lowFirst = AnalyseHeadroom(DesignCascade(Chebyshev6({})), Model("TL072"),
                                            LargeSignalRangeOf(DesignCascade(Chebyshev6({}))));
  const CascadeDesign highFirstDesign = DesignCascade(Chebyshev6({2, 1, 0}));
  const Headroom highFirst =
      AnalyseHeadroom(highFirstDesign, Model("TL072"), LargeSignalRangeOf(highFirstDesign));
  ASSERT_EQ(lowFirst.problem, "");
  ASSERT_EQ(highFirst.problem, "");
  EXPECT_TRUE(lowFirst.warnings.empty());
  ASSERT_FALSE(highFirst.warnings.empty());
  EXPECT_EQ(highFirst.warnings[0].rfind("section 1 (U1_1) clips ", 0), 0u) << highFirst.warnings[0];
  EXPECT_GT(highFirst.sections[0].peakingDb, 10.0);
  EXPECT_LT(*highFirst.sections[0].clippingInputPeak, *highFirst.clippingInputPeak);
}

// Section by section against the joined circuit, where a real op amp's closed-loop output
// resistance loads nothing: the same op amps limit, by the same amounts.
TEST(CascadeLimits, SectionBySectionIsTheJoinedCircuit) {
  for (const Topology t : {Topology::Pfb, Topology::Mfb, Topology::Svf4}) {
    CascadeRequest r = Chebyshev6({});
    r.topology = t;
    const CascadeDesign d = DesignCascade(r);
    const LargeSignalRequest range = LargeSignalRangeOf(d, 41);
    const LargeSignalLimits sections = AnalyseLargeSignal(d, Model("TL072"), range);
    const LargeSignalLimits joined =
        AnalyseLargeSignal(JoinedCascadeCircuit(d), Model("TL072"), range);
    ASSERT_EQ(sections.problem, "");
    ASSERT_EQ(sections.opAmps, joined.opAmps);
    ASSERT_EQ(sections.points.size(), joined.points.size());
    for (std::size_t i = 0; i < sections.points.size(); ++i) {
      const LargeSignalPoint &a = sections.points[i], &b = joined.points[i];
      EXPECT_EQ(a.opAmp, b.opAmp) << a.f;
      EXPECT_EQ(a.limit, b.limit) << a.f;
      EXPECT_NEAR(a.outputPeak, b.outputPeak, 1e-3 * b.outputPeak) << a.f;
    }
  }
}

struct ProblemCase {
  LargeSignalRequest request;
  OpAmpModel model;
  std::string problem;
};

class LargeSignalProblem : public testing::TestWithParam<ProblemCase> {};

TEST_P(LargeSignalProblem, IsNamed) {
  const ProblemCase& c = GetParam();
  const CascadeDesign d = DesignCascade(Chebyshev6({}));
  EXPECT_EQ(AnalyseLargeSignal(d, c.model, c.request).problem, c.problem);
  if (!c.model.IsIdeal()) {
    EXPECT_EQ(AnalyseHeadroom(d, c.model, c.request).problem, c.problem);
  }
}

OpAmpModel WithSwing(double swing) {
  OpAmpModel m = Model("TL072");
  m.outputSwing = swing;
  return m;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LargeSignalProblem,
    testing::Values(
        ProblemCase{Range(0, 1e3, 10), Model("TL072"), "the frequency range needs 0 < from < to"},
        ProblemCase{Range(1e3, 1e3, 10), Model("TL072"), "the frequency range needs 0 < from < to"},
        ProblemCase{Range(NAN, 1e3, 10), Model("TL072"), "the frequency range needs 0 < from < to"},
        ProblemCase{Range(1, INFINITY, 10), Model("TL072"),
                    "the frequency range needs 0 < from < to"},
        ProblemCase{Range(1, 1e3, 1), Model("TL072"), "the number of points must be 2 to 100000"},
        ProblemCase{Range(1, 1e3, 10), WithSwing(0.0),
                    "the output swing of TL072 must be above zero"},
        ProblemCase{Range(1, 1e3, 10), WithSwing(NAN),
                    "the output swing of TL072 must be above zero"},
        ProblemCase{Range(1, 1e3, 10), Model("ideal"),
                    "ideal has neither an output swing nor a slew rate that limits"}));

TEST(LargeSignal, DesignProblemPassesThrough) {
  CascadeRequest r = Chebyshev6({});
  r.order = 0;
  const CascadeDesign d = DesignCascade(r);
  ASSERT_NE(d.problem, "");
  EXPECT_EQ(AnalyseLargeSignal(d, Model("TL072"), {}).problem, d.problem);
  EXPECT_EQ(AnalyseHeadroom(d, Model("TL072"), {}).problem, d.problem);
}

// 400 points of an order-10 cascade, well within a keystroke.
TEST(LargeSignal, OrderTenCascadeIsFast) {
  CascadeRequest r = Chebyshev6({});
  r.order = 10;
  const CascadeDesign d = DesignCascade(r);
  const auto start = std::chrono::steady_clock::now();
  const LargeSignalLimits limits = AnalyseLargeSignal(d, Model("TL072"), LargeSignalRangeOf(d));
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(limits.points.size(), 400u);
  EXPECT_LT(took, std::chrono::milliseconds(50));  // about 1 ms; slack for debug builds
}

}  // namespace
}  // namespace morvane
