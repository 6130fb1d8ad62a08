#pragma once

// The op amp as the circuit analysis sees it: a one-pole open-loop gain (DC gain and
// gain-bandwidth product) with an optional second pole, an output resistance, an input
// capacitance, the large-signal limits (slew rate, output swing) and the input noise
// densities with their 1/f corners. All in SI units. A built-in table holds typical
// datasheet values of widely used parts, and `ideal`.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct OpAmpModel {
  std::string name;
  double dcGain = 0.0;               // A0 in V/V; infinite for `ideal`
  double gainBandwidth = 0.0;        // Hz; infinite for `ideal`
  std::optional<double> secondPole;  // Hz, where the datasheet's open-loop curve shows one
  double outputResistance = 0.0;     // open-loop, ohms
  double inputCapacitance = 0.0;     // farads
  double slewRate = 0.0;             // V/s; infinite for `ideal`
  double outputSwing = 0.0;          // peak volts about mid-supply; infinite for `ideal`
  double voltageNoiseDensity = 0.0;  // white input voltage noise, V/sqrt(Hz)
  double voltageNoiseCorner = 0.0;   // its 1/f corner, Hz (0: none)
  double currentNoiseDensity = 0.0;  // white input current noise, A/sqrt(Hz)
  double currentNoiseCorner = 0.0;   // its 1/f corner, Hz (0: none)

  // Infinite gain and bandwidth and no noise: the amplifier the stage designs assume.
  bool IsIdeal() const;
};

inline constexpr std::string_view kIdealOpAmpName = "ideal";

// The built-in table, `ideal` first, then the parts in alphabetical order.
const std::vector<OpAmpModel>& BuiltInOpAmps();

// The model of that name in `table`, the name matched without regard to letter case.
std::optional<OpAmpModel> FindOpAmp(const std::vector<OpAmpModel>& table, std::string_view name);

bool SameOpAmpName(std::string_view a, std::string_view b);

}  // namespace morvane
