// StepResponse: the partial fractions worked out once must give what PoleZeroStep gives at
// every time, along a uniform run of times (where decayed terms are left out) as well as one
// by one; the slope is the impulse response (closed forms of first-order and doubled poles, and
// the difference quotient otherwise); the final value is H(0); the deviation bound holds from
// its time on and never grows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "filters/analog_prototype.h"
#include "filters/filter_response.h"
#include "filters/frequency_transform.h"

namespace morvane {
namespace {

struct Named {
  const char* name;
  PoleZeroGain h;
};

PoleZeroGain Prototype(Approximation approximation, int order,
                       FilterKind kind = FilterKind::Lowpass) {
  PrototypeRequest request;
  request.approximation = approximation;
  request.order = order;
  std::string error;
  const auto prototype = DesignPrototype(request, &error);
  EXPECT_TRUE(prototype.has_value()) << error;
  const auto h = TransformPrototype(prototype->transfer, kind, 1.0, 0.5, error);
  EXPECT_TRUE(h.has_value()) << error;
  return *h;
}

std::vector<Named> Filters() {
  return {
      {"first order", {{Complex(-2.0, 0.0)}, {}, 2.0}},
      {"doubled pole", {{Complex(-1.0, 0.0), Complex(-1.0, 0.0)}, {}, 1.0}},
      {"tripled pole", {{Complex(-1.0, 0.0), Complex(-1.0, 0.0), Complex(-1.0, 0.0)}, {}, 1.0}},
      {"fast and slow", {{Complex(-1.0, 0.0), Complex(-3000.0, 0.0)}, {}, 3000.0}},
      {"zero pair",
       {{Complex(-0.5, 1.0), Complex(-0.5, -1.0)}, {Complex(0, 2), Complex(0, -2)}, 0.3}},
      {"Linkwitz-Riley 8", Prototype(Approximation::LinkwitzRiley, 8)},
      {"Chebyshev 9", Prototype(Approximation::Chebyshev, 9)},
      {"elliptic 6", Prototype(Approximation::Elliptic, 6)},
      {"Butterworth 4 highpass", Prototype(Approximation::Butterworth, 4, FilterKind::Highpass)},
      {"Bessel 3 bandpass", Prototype(Approximation::Bessel, 3, FilterKind::Bandpass)},
  };
}

TEST(StepResponse, AlongAndAtAgreeWithPoleZeroStep) {
  for (const Named& f : Filters()) {
    const StepResponse step(f.h);
    const double dt = 0.01;
    const std::vector<double> along = step.Along(dt, 6000);
    ASSERT_EQ(along.size(), 6000u);
    for (std::size_t i = 0; i < along.size(); i += 7) {
      const double t = dt * static_cast<double>(i);
      const double expected = PoleZeroStep(f.h, t);
      EXPECT_NEAR(step.At(t), expected, 1e-12) << f.name << " at " << t;
      EXPECT_NEAR(along[i], expected, 1e-10) << f.name << " along at " << t;
    }
    EXPECT_EQ(step.At(-1e-9), 0.0) << f.name;
  }
}

TEST(StepResponse, SlopeIsTheImpulseResponse) {
  const PoleZeroGain first{{Complex(-2.0, 0.0)}, {}, 2.0};
  const PoleZeroGain doubled{{Complex(-1.0, 0.0), Complex(-1.0, 0.0)}, {}, 1.0};
  for (double t : {0.0, 0.3, 1.0, 4.0, 30.0}) {
    EXPECT_NEAR(StepResponse(first).SlopeAt(t), 2.0 * std::exp(-2.0 * t), 1e-14) << t;
    EXPECT_NEAR(StepResponse(doubled).SlopeAt(t), t * std::exp(-t), 1e-14) << t;
  }
  for (const Named& f : Filters()) {
    const StepResponse step(f.h);
    for (double t : {0.2, 1.1, 3.7, 12.5}) {
      const double h = 1e-5;
      const double quotient = (step.At(t + h) - step.At(t - h)) / (2.0 * h);
      EXPECT_NEAR(step.SlopeAt(t), quotient, 1e-6 * std::max(1.0, std::abs(quotient)))
          << f.name << " at " << t;
    }
  }
}

TEST(StepResponse, FinalValueAndDeviationBound) {
  for (const Named& f : Filters()) {
    const StepResponse step(f.h);
    EXPECT_NEAR(step.FinalValue(), EvaluateAt(f.h, Complex(0.0, 0.0)).real(), 1e-12) << f.name;
    double previous = HUGE_VAL;
    for (double t = 0.0; t < 60.0; t += 0.5) {
      const double bound = step.DeviationBound(t);
      EXPECT_LE(bound, previous) << f.name << " at " << t;
      previous = bound;
      for (double u = t; u < t + 20.0; u += 0.05) {
        ASSERT_LE(std::abs(step.At(u) - step.FinalValue()), bound * (1.0 + 1e-12) + 1e-15)
            << f.name << " from " << t << " at " << u;
      }
    }
  }
  const PoleZeroGain unstable{{Complex(0.5, 0.0)}, {}, 1.0};
  EXPECT_TRUE(std::isinf(StepResponse(unstable).DeviationBound(1.0)));
  const PoleZeroGain improper{{Complex(-1.0, 0.0)}, {Complex(-2.0, 0.0), Complex(-3.0, 0.0)}, 1.0};
  EXPECT_EQ(StepResponse(improper).At(1.0), 0.0);
  EXPECT_EQ(StepResponse(improper).FinalValue(), 0.0);
}

}  // namespace
}  // namespace morvane
