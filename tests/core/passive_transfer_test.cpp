// The LC pages' transfer functions from their circuits, against the Butterworth closed forms,
// and the wrap of readout phases.

#include "lc/passive_transfer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "filters/filter_response.h"

namespace morvane {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

TEST(WrappedPhase, LiesInTheHalfOpenTurn) {
  const struct {
    double in, out;
  } cases[] = {{0.0, 0.0},     {-135.0, -135.0}, {225.0, -135.0}, {180.0, 180.0}, {-180.0, 180.0},
               {540.0, 180.0}, {-315.0, 45.0},   {359.5, -0.5},   {-720.0, 0.0},  {179.99, 179.99}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_NEAR(WrappedPhase(c.in), c.out, 1e-9);
  }
}

// Group delay at the -3 dB frequency of a Butterworth lowpass of order n: 2/a over each pole
// pair 1 + a p + p^2, 1/2 for the real pole, over 2 pi fg.
double ButterworthDelayAtCutOff(int n, double fg) {
  double sum = n % 2 == 1 ? 0.5 : 0.0;
  for (int k = 1; k <= n / 2; ++k)
    sum += 1.0 / std::sin((2.0 * k - 1.0) * std::numbers::pi / (2 * n));
  return sum / (kTwoPi * fg);
}

struct PassiveCase {
  Topology topology;
  FilterType type;
  int order;
};

class ButterworthPassive : public testing::TestWithParam<PassiveCase> {};

TEST_P(ButterworthPassive, IsTheButterworthResponseWithUnitPassBand) {
  const PassiveCase c = GetParam();
  DesignState s;
  s.topology = c.topology;
  s.LCOrder = c.order;
  s.fg = 2000.0;
  DesignChoices choices;
  choices.type = c.type;
  choices.diplexerOrder = c.order;
  const auto h = PassiveTransfer(s, choices);
  ASSERT_TRUE(h.has_value());
  const double omega = kTwoPi * s.fg;
  EXPECT_NEAR(PoleZeroGainDb(*h, omega), -3.0103, 1e-3);
  const double far = c.type == FilterType::Highpass ? omega * 1e3 : omega * 1e-3;
  EXPECT_NEAR(PoleZeroGainDb(*h, far), 0.0, 1e-3);
  // Lowpass and highpass alike: the highpass is the lowpass at fg^2 / f.
  const double delay = ButterworthDelayAtCutOff(c.order, s.fg);
  EXPECT_NEAR(PoleZeroGroupDelay(*h, omega), delay, 1e-3 * delay);
  const double turns = (c.type == FilterType::Highpass ? 45.0 : -45.0) * c.order;
  EXPECT_NEAR(WrappedPhase(PoleZeroPhaseDegrees(*h, omega)), WrappedPhase(turns), 0.05);
}

INSTANTIATE_TEST_SUITE_P(LadderAndDiplexer, ButterworthPassive,
                         testing::Values(PassiveCase{Topology::LcLadder, FilterType::Lowpass, 3},
                                         PassiveCase{Topology::LcLadder, FilterType::Lowpass, 4},
                                         PassiveCase{Topology::LcLadder, FilterType::Highpass, 5},
                                         PassiveCase{Topology::Diplexer, FilterType::Lowpass, 3},
                                         PassiveCase{Topology::Diplexer, FilterType::Highpass, 5},
                                         PassiveCase{Topology::Diplexer, FilterType::Lowpass, 9}));

TEST(PassiveTransfer, NoneForActiveStagesOrALadderWithoutNetwork) {
  DesignState s;
  DesignChoices c;
  EXPECT_FALSE(PassiveTransfer(s, c).has_value());  // MFB
  s.topology = Topology::LcLadder;
  s.LCOrder = 4;
  c.ladderChebyshev = true;  // even order between equal terminations: no network
  EXPECT_FALSE(PassiveTransfer(s, c).has_value());
}

}  // namespace
}  // namespace morvane
