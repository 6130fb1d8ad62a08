#include "lc/lc_diplexer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvane {

// Singly terminated prototypes, g1 at the unterminated (common) end, the last value beside
// the load; both approximations are 3 dB down at 1 rad/s, the Chebyshev rows with 0.1 dB
// ripple. The last Butterworth 7 value is sin(pi/14) = 0.22252; the 0.22521 handed down
// with the table lacks a digit and bends the response off the Butterworth shape.
const std::array<std::array<double, 10>, 8> DiplexerG{{
    {1.5, 1.33333, 0.5},
    {1.54509, 1.69443, 1.38196, 0.89443, 0.30902},
    {1.55765, 1.79883, 1.65883, 1.39717, 1.05496, 0.65597, 0.22252},
    {1.56284, 1.84241, 1.77719, 1.62019, 1.40373, 1.14076, 0.84136, 0.51555, 0.17365},
    {1.51328, 1.509, 0.71642},
    {1.56126, 1.80689, 1.76588, 1.41728, 0.65065},
    {1.57477, 1.85775, 1.92103, 1.82699, 1.73396, 1.37856, 0.63075},
    {1.58037, 1.87275, 1.95841, 1.90942, 1.92294, 1.81361, 1.71504, 1.36113, 0.62232},
}};

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// The radio buttons only offer 3, 5, 7 and 9; anything else is taken as the nearest
// offered order at or below it, so the table is never read out of range.
int DiplexerOrder(const DiplexerInput& in) {
  const int n = std::clamp(in.order, 3, 9);
  return n % 2 == 0 ? n - 1 : n;
}

const std::array<double, 10>& PrototypeRow(const DiplexerInput& in) {
  const int row = (DiplexerOrder(in) - 3) / 2 + (in.chebyshev ? 4 : 0);
  return DiplexerG[static_cast<std::size_t>(row)];
}

}  // namespace

std::vector<LadderElement> DiplexerElements(const DiplexerInput& in, bool lowpassBranch) {
  const std::array<double, 10>& g = PrototypeRow(in);
  const int n = DiplexerOrder(in);
  const double R = in.r;
  const double w = kTwoPi * in.fg;
  std::vector<LadderElement> elements;
  elements.reserve(static_cast<std::size_t>(n));
  for (int k = 1; k <= n; ++k) {
    const double gk = g[static_cast<std::size_t>(k - 1)];
    const bool series = k % 2 == 1;
    LadderElement e;
    e.shunt = !series;
    if (lowpassBranch) {
      e.kind = series ? 'L' : 'C';
      e.value = series ? gk * R / w : gk / (R * w);
    } else {
      e.kind = series ? 'C' : 'L';
      e.value = series ? 1.0 / (gk * R * w) : R / (gk * w);
    }
    elements.push_back(e);
  }
  return elements;
}

DiplexerInput DiplexerInputOf(const DesignState& s, int order, bool chebyshev) {
  return {.order = order, .chebyshev = chebyshev, .r = s.Zin, .fg = s.fg};
}

std::vector<LadderElement> DiplexerElements(const DesignState& s, const DesignChoices& c,
                                            bool lowpassBranch) {
  return DiplexerElements(DiplexerInputOf(s, c.diplexerOrder, c.diplexerChebyshev), lowpassBranch);
}

}  // namespace morvane
