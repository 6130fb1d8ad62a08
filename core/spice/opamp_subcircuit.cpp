#include "spice/opamp_subcircuit.h"

#include <cctype>
#include <cmath>
#include <numbers>

#include "circuit/circuit_sweep.h"
#include "spice/netlist.h"

namespace morvane {

namespace {

constexpr double kGeneratorOhms = 1e3;
constexpr double kGeneratorCelsius = 25.0;
constexpr double kBiasAmperes = 1e-3;
// The load of a first pole without a finite A0.
constexpr double kHugeOhms = 1e12;

// The voltage density of the generator resistor, V/sqrt(Hz).
double GeneratorDensity() {
  return std::sqrt(4.0 * kBoltzmann * (kZeroCelsius + kGeneratorCelsius) * kGeneratorOhms);
}

// A noise generator at node `node` against `reference`: 1 kOhm at 25 degrees C, with a DC
// current whose flicker noise reaches the thermal floor at `corner`.
std::string Generator(const std::string& tag, double corner) {
  const std::string node = "n" + tag;
  std::string text = "* noise generator " + tag + "\n";
  if (corner > 0.0) {
    // Flicker current power kf I^2 / f equals the thermal 4kT/R at the corner.
    const double thermal = 4.0 * kBoltzmann * (kZeroCelsius + kGeneratorCelsius) / kGeneratorOhms;
    const double kf = thermal * corner / (kBiasAmperes * kBiasAmperes);
    text += ".model RF" + tag + " R (kf=" + SpiceNumber(kf) + " af=2)\n";
    text += "I" + tag + " 0 " + node + " DC " + SpiceNumber(kBiasAmperes) + "\n";
    text += "R" + tag + " " + node + " 0 " + SpiceNumber(kGeneratorOhms) + " RF" + tag +
            " temp=" + SpiceNumber(kGeneratorCelsius) + "\n";
    text += "V" + tag + " r" + tag + " 0 DC " + SpiceNumber(kBiasAmperes * kGeneratorOhms) + "\n";
  } else {
    text += "R" + tag + " " + node + " 0 " + SpiceNumber(kGeneratorOhms) +
            " temp=" + SpiceNumber(kGeneratorCelsius) + "\n";
    text += "V" + tag + " r" + tag + " 0 DC 0\n";
  }
  return text;
}

std::string Finite(double x) {
  return std::isfinite(x) ? SpiceNumber(x) : std::string("infinite");
}

}  // namespace

std::string OpAmpSubcircuitName(const OpAmpModel& model) {
  std::string name = "MORVANE_";
  for (char c : model.name) {
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  return name;
}

std::string OpAmpSubcircuit(const OpAmpModel& m) {
  const double twoPi = 2.0 * std::numbers::pi;
  std::string text = ".subckt " + OpAmpSubcircuitName(m) + " inp inn out\n";
  text += "* op amp " + m.name + ": A0 " + Finite(m.dcGain) + ", GBW " + Finite(m.gainBandwidth) +
          " Hz, second pole " + (m.secondPole ? SpiceNumber(*m.secondPole) + " Hz" : "none") +
          ", Rout " + SpiceNumber(m.outputResistance) + " ohm, Cin " +
          SpiceNumber(m.inputCapacitance) + " F\n";
  text += "* en " + SpiceNumber(m.voltageNoiseDensity) + " V/rtHz (corner " +
          SpiceNumber(m.voltageNoiseCorner) + " Hz), in " + SpiceNumber(m.currentNoiseDensity) +
          " A/rtHz (corner " + SpiceNumber(m.currentNoiseCorner) + " Hz)\n";
  if (m.inputCapacitance > 0.0) {
    text += "CINP inp 0 " + SpiceNumber(m.inputCapacitance) + "\n";
    text += "CINN inn 0 " + SpiceNumber(m.inputCapacitance) + "\n";
  }
  // The first pole: (V(inp) - V(inn) + en) A0 / (1 + s A0 / (2 pi GBW)).
  text += "GA 0 n1 inp inn 1\n";
  const double load = std::isfinite(m.dcGain) ? m.dcGain : kHugeOhms;
  text += "RA n1 0 " + SpiceNumber(load) + " noisy=0\n";
  if (std::isfinite(m.gainBandwidth)) {
    text += "CA n1 0 " + SpiceNumber(1.0 / (twoPi * m.gainBandwidth)) + "\n";
  }
  std::string inner = "n1";
  if (m.secondPole) {
    text += "EB n2 0 n1 0 1\n";
    text += "RB n2 n3 1 noisy=0\n";
    text += "CB n3 0 " + SpiceNumber(1.0 / (twoPi * *m.secondPole)) + "\n";
    inner = "n3";
  }
  if (m.outputResistance > 0.0) {
    text += "EO n4 0 " + inner + " 0 1\n";
    text += "RO n4 out " + SpiceNumber(m.outputResistance) + " noisy=0\n";
  } else {
    text += "EO out 0 " + inner + " 0 1\n";
  }
  const double generator = GeneratorDensity();
  if (m.voltageNoiseDensity > 0.0) {
    text += Generator("EN", m.voltageNoiseCorner);
    text += "GEN 0 n1 nEN rEN " + SpiceNumber(m.voltageNoiseDensity / generator) + "\n";
  }
  if (m.currentNoiseDensity > 0.0) {
    for (const char* pin : {"P", "N"}) {
      const std::string tag = std::string("IN") + pin;
      text += Generator(tag, m.currentNoiseCorner);
      const std::string input = pin[0] == 'P' ? "inp" : "inn";
      text += "G" + tag + " " + input + " 0 n" + tag + " r" + tag + " " +
              SpiceNumber(m.currentNoiseDensity / generator) + "\n";
    }
  }
  text += ".ends " + OpAmpSubcircuitName(m) + "\n";
  return text;
}

}  // namespace morvane
