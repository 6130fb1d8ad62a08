#pragma once

// Series and parallel resonant circuits of one inductor L and one capacitor C, with the loss
// an engineer puts in them: the series circuit has its whole series resistance R (the
// coil's loss and any resistor) in series with L and C; the parallel circuit has the
// inductor's series loss resistance R in the L branch, beside an ideal C. A coil's Q at f0
// stands for R = 2 pi f0 L / Q in both. Any two of f0, L, C give the third by
// f0 = 1/(2 pi sqrt(L C)).

#include <complex>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace morvane {

enum class ResonantCircuit : std::uint8_t { Series, Parallel };
enum class ResonanceUnknown : std::uint8_t { Frequency, Inductance, Capacitance };
enum class LossEntry : std::uint8_t { None, Resistance, CoilQ };

double ResonantFrequency(double l, double c);
double ResonantInductance(double f0, double c);
double ResonantCapacitance(double f0, double l);
double InductiveReactance(double f, double l);   // 2 pi f L
double CapacitiveReactance(double f, double c);  // 1/(2 pi f C)

// The impedance of the circuit at f (R = 0: lossless; the lossless parallel circuit's
// impedance at f0 is not a number, as its admittance is 0 there).
std::complex<double> ResonantImpedance(ResonantCircuit circuit, double l, double c, double r,
                                       double f);

struct ResonanceRequest {
  ResonantCircuit circuit = ResonantCircuit::Series;
  ResonanceUnknown unknown = ResonanceUnknown::Frequency;
  // The two given of f0, L, C (the unknown one is not read).
  double f0 = 0.0;
  double l = 0.0;
  double c = 0.0;
  LossEntry loss = LossEntry::None;
  double lossValue = 0.0;  // R in ohms or the coil's Q
};

struct Resonance {
  std::string problem;  // why there is no result; empty when there is one
  double f0 = 0.0;
  double l = 0.0;
  double c = 0.0;
  double r = 0.0;                   // the loss resistance, 0 for none
  double characteristic = 0.0;      // sqrt(L/C), the reactance of L and C at f0
  std::optional<double> q;          // omega0 L / R; none without loss
  std::optional<double> bandwidth;  // f0/Q
  // The impedance at f0: R for the series circuit, (L/(RC)) (1 - j/Q) for the parallel
  // one; none for the lossless parallel circuit.
  std::optional<std::complex<double>> impedanceAtF0;
  // Where the impedance is real: f0 for the series circuit, f0 sqrt(1 - 1/Q^2) for the
  // parallel one (none for Q <= 1, or without loss where it is f0 itself with an unbounded
  // impedance), with the impedance there: R, and exactly L/(RC) for the parallel circuit.
  std::optional<double> zeroPhaseFrequency;
  std::optional<double> zeroPhaseImpedance;
};
Resonance SolveResonance(const ResonanceRequest& request);

// |Z| in ohms and its phase in degrees at each frequency; a |Z| that is not finite is held at
// 1e300 and its phase at 0, so that no curve point is infinite or not a number.
struct ImpedanceCurves {
  std::vector<double> f;
  std::vector<double> magnitude;
  std::vector<double> phaseDegrees;
};
ImpedanceCurves ResonantImpedanceCurves(ResonantCircuit circuit, double l, double c, double r,
                                        std::span<const double> frequencies);

}  // namespace morvane
