#pragma once

// A circuit analysed frequency by frequency, as a simulator's AC and noise analyses do: at
// each frequency its nodal equations are solved once for the response (and its derivative,
// for the group delay) and once transposed, which gives the transfer from a current into any
// node, and so from every noise source, to the output. Exact at any order and with real
// amplifiers, where a transfer as a ratio of polynomials runs out of digits.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/circuit.h"
#include "circuit/nodal_equations.h"

namespace morvane {

inline constexpr double kBoltzmann = 1.380649e-23;  // J/K
inline constexpr double kZeroCelsius = 273.15;      // K

// One source of noise: a resistor's thermal noise, or an op amp's input voltage or current
// noise.
struct NoiseSource {
  enum class Kind { Thermal, OpAmpVoltage, OpAmpCurrentPlus, OpAmpCurrentMinus };
  Kind kind = Kind::Thermal;
  std::string owner;      // the part ("R1") or the op amp ("U1") it belongs to
  std::size_t index = 0;  // of the part among the equations' parts, or of the op amp
};

struct ResponsePoint {
  Complex h;                // V(output) / V(input)
  double groupDelay = 0.0;  // s: -d arg H / d omega
};

class CircuitSweep {
 public:
  explicit CircuitSweep(const Circuit& circuit, std::string_view input = "in",
                        std::string_view output = "out");

  // False for a circuit the nodal analysis refuses (see CircuitTransfer).
  bool Valid() const { return valid_; }

  // The response at f (Hz); none where the equations are singular.
  std::optional<ResponsePoint> Response(double f);

  // The voltage at each op amp's output pin for 1 V at the input, at f (Hz), in the
  // circuit's order of the op amps: where a stage clips first.
  std::optional<std::vector<Complex>> OpAmpOutputs(double f);

  const std::vector<NoiseSource>& NoiseSources() const { return sources_; }
  // The output noise density squared (V^2/Hz) of each source at f, in the order of
  // NoiseSources(), for the resistors at `kelvin`; with the response at f. None where the
  // equations are singular.
  struct NoisePoint {
    Complex h;
    std::vector<double> outputPower;
  };
  std::optional<NoisePoint> Noise(double f, double kelvin);

 private:
  // A(s) and b(s) of the equations at one frequency; A dense, but written (and cleared) only
  // at the entries of the equations' pattern.
  struct LinearSystem {
    std::vector<Complex> a, b;
  };
  void FillAt(Complex s, LinearSystem& system) const;
  // Factors A(s) (filled into lu_) and finds y_; b_ = b(s).
  bool Solve(Complex s);

  NodalEquations equations_;
  bool valid_ = false;
  std::vector<NoiseSource> sources_;
  std::vector<Complex> b_, x_, y_;
  LinearSystem above_, below_;  // at s +- a step, for dA/ds
  ComplexLu lu_;
};

}  // namespace morvane
