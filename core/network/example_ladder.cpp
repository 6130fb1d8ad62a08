#include "network/example_ladder.h"

#include <cmath>
#include <numbers>

namespace morvane {

LadderNetwork ExampleLadder() {
  constexpr double kPi = std::numbers::pi;
  constexpr int kOrder = 5;
  LadderNetwork n;
  n.rg = 50.0;
  n.rl = 50.0;
  n.f = 10e6;
  const double w = 2.0 * kPi * n.f;
  for (int k = 1; k <= kOrder; ++k) {
    const double g = 2.0 * std::sin((2 * k - 1) * kPi / (2 * kOrder));
    NetworkElement e;
    if (k % 2 == 1) {
      e = {ElementKind::Capacitor, true, 1.5e-9, 0.1, g / (w * n.rg)};
    } else {
      e = {ElementKind::Inductor, false, g * n.rg / w, 0.0, 2e-12};
      SetQualityAt(e, 100.0, n.f);
    }
    n.elements.push_back(e);
  }
  return n;
}

}  // namespace morvane
