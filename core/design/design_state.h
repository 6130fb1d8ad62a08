#pragma once

// The one record of every design entry, choice and result. Member names are those the
// design uses throughout (fg, Q, VuActual, ...), so equations read as written.

#include <array>
#include <cstdint>

namespace morvane {

enum class Topology : std::uint8_t {
  Mfb = 1,       // MFB inverting
  Pfb = 2,       // PFB noninverting
  Svf3 = 3,      // state-variable, 3 op amps
  Svf4 = 4,      // state-variable, 4 op amps
  Fliege = 5,    // Fliege, 2 op amps
  LcLadder = 6,  // passive LC ladder
  Diplexer = 7,  // LC diplexer
};

inline constexpr int kTopologyCount = 7;

inline bool IsActiveTopology(Topology t) {
  return static_cast<int>(t) <= 5;
}

// The checked one of the six filter-type radio buttons; it has no numeric code.
enum class FilterType { Lowpass, Highpass, Bandpass, Bandstop, Allpass, EllipticLowpass };

// What changed before a recalculation.
enum class ChangedEntry : std::uint8_t {
  Any = 0,               // full recalculation
  Q = 1,                 // Q typed or stepped: D follows
  D = 2,                 // D typed or stepped: Q follows
  ReadoutFrequency = 4,  // only f changed: just the readout
};

// A resistor of this value stands for an absent (infinite) resistor.
inline constexpr double kAbsentResistor = 1e15;

// Tolerance scheme of the filter order calculator.
struct OrderCalculatorInputs {
  double OrderF1 = 1000.0;  // pass-band edge, Hz
  double OrderD1 = 0.1;     // attenuation allowed at f1, dB
  double OrderF2 = 1500.0;  // stop-band frequency, Hz
  double OrderD2 = 30.0;    // attenuation required at f2, dB
};

struct DesignState {
  Topology topology = Topology::Mfb;
  int ESeriesR = 4;  // E48
  int ESeriesC = 1;  // E6
  // The ladder order shown at start: the scroll bar, NLCAusgabe and the design agree on 4.
  int LCOrder = 4;

  double fg = 1000.0;
  double f = 1000.0;
  double Q = 0.7071;
  double D = 0.5 / 0.7071;
  double Vu = 1.0;
  double Zin = 1000.0;
  double R3 = 1000.0;
  double C1 = 1e-9;
  double C2 = 1e-9;
  double C3 = 0.0;
  double R0 = 0.0, R1 = 0.0, R2 = 0.0, R4 = 0.0, R5 = 0.0, R6 = 0.0;
  double VuActual = 0.0;
  double dVu = 0.0;
  double fo = 0.0;
  double B = 0.0;
  double fnfp = 2.0;
  double RL = 1000.0;
  double rippleDb = 1.0;
  double Sweep = 1.02;
  double Vuf = 0.0, VufdB = 0.0, Phif = 0.0, tgrf = 0.0;
  // False where the readout has no value: the LC ladder without a network has its designed
  // response but no circuit to take a group delay from.
  bool ReadoutDefined = true;
  bool tgrfDefined = true;

  OrderCalculatorInputs order;

  // LC ladder: normalised element values g1..gn (0: none could be computed), and the
  // coefficients of 1 / prod(1 + a_n p + b_n p^2); index 1..10, unused entries 0.
  std::array<double, 11> LadderG{};
  std::array<double, 11> LadderCoefA{};
  std::array<double, 11> LadderCoefB{};
  // The LC ladder as built. Mirrored: an odd order with RL < RG is the network for the
  // reciprocal ratio turned round, scaled to RL. Chebyshev values are normalised to the
  // ripple-band edge, which lies at fg / LadderFrequencyScale (lowpass) or fg times it
  // (highpass), so that the circuit's -3 dB point is fg like its curve; 1 for Butterworth.
  bool LadderMirrored = false;
  double LadderFrequencyScale = 1.0;
};

}  // namespace morvane
