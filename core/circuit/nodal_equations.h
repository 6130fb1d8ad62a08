#pragma once

// The nodal equations of a circuit at one complex frequency s, shared by the transfer as a
// ratio of polynomials (circuit_transfer) and the analyses frequency by frequency (the
// response with real op amps, noise).
//
// Unknowns: the node voltages (not ground, not the input, which the source holds at 1 V),
// then each op amp's output current, then each inductor's current. A real op amp's inner
// source drives a node of its own through its output resistance, and its input capacitances
// are capacitors of the equations that are not parts of the circuit.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/circuit.h"
#include "circuit/complex_lu.h"
#include "filters/pole_zero.h"

namespace morvane {

// A complex number as mantissa * 2^exponent, so that products of many admittances neither
// overflow nor vanish.
struct ScaledComplex {
  Complex mantissa;
  int exponent = 0;
};

class NodalEquations {
 public:
  static constexpr int kGround = -1;
  static constexpr int kInput = -2;

  enum class PartKind { Resistor, Capacitor, Inductor };

  struct Part {
    PartKind kind;
    int a;
    int b;
    double value;
  };
  struct OpAmp {
    int plus;
    int minus;
    int output;  // the node its output current enters: the inner node behind Rout, if any
    int row;     // the unknown of its output current, and its equation
    int pin;     // its output pin's node
  };

  // False when the circuit cannot be analysed: a part of unknown kind, an op amp whose output
  // is ground or the input, an output that is no node.
  bool Index(const Circuit& c, std::string_view input, std::string_view output);

  // New values of the circuit's parts, in its order; false when one is not finite and
  // positive.
  bool SetValues(std::span<const double> values);

  int Size() const { return size_; }
  // Where an unknown (a node, an op amp's output current) sits in A and b: the unknowns are
  // ordered so that the matrix is banded (reverse Cuthill-McKee), which keeps the work of a
  // factorisation near linear in the circuit's size for a long cascade.
  int Position(int unknown) const { return position_[static_cast<std::size_t>(unknown)]; }
  int OutputUnknown() const { return Position(output_); }
  // The degree the determinant can reach: capacitors and inductors, and each real op amp's
  // poles.
  int Degree() const;
  // The frequency scale of the circuit's own parts: the geometric mean of their 1/RC and R/L,
  // R the geometric mean of the resistors.
  double NaturalScale() const;
  // A scale between `partsScale` and the amplifiers' own frequencies (their poles, their input
  // capacitance against the resistors), weighted by how many roots each brings: on a circle
  // of that radius the coefficients of a circuit with fast amplifiers stay well within the
  // precision of its samples. `partsScale` itself for ideal amplifiers.
  double BalancedScale(double partsScale) const;

  // A(s) (Size() x Size(), row-major) and b(s) (the input's 1 V moved to the right), both
  // in the order of Position.
  void Fill(Complex s, std::span<Complex> a, std::span<Complex> b) const;
  // The entries of A, in the order of Position, that Fill may write: all others are zero at
  // every frequency.
  const SparsityPattern& Pattern() const { return pattern_; }

  // det A(s) and det of A(s) with the output's column replaced by b(s).
  void Determinants(Complex s, ScaledComplex& whole, ScaledComplex& output);

  const std::vector<Part>& Parts() const { return parts_; }
  std::size_t CircuitPartCount() const { return circuitParts_; }
  const std::vector<OpAmp>& OpAmps() const { return opAmps_; }
  const std::optional<OpAmpModel>& Model() const { return model_; }

  std::size_t At(int row, int column) const {
    return static_cast<std::size_t>(row * size_ + column);
  }

 private:
  // The amplifier's 1/A(s) = (1/A0 + s/wt)(1 + s/wp2); 0 for the ideal one.
  Complex InverseGain(Complex s) const;
  ScaledComplex Determinant(std::vector<Complex>& a) const;
  // Hands each term of A(s) and b(s) to addToA(row, column, value) and addToB(row, value),
  // rows and columns in the order of Position: the one place the circuit's laws are written.
  template <class AddToA, class AddToB>
  void Stamp(Complex s, AddToA addToA, AddToB addToB) const;
  // The unknowns each unknown shares an equation with (a nonzero of A in its row or
  // column), in increasing order: for OrderForBand, while Position is still the identity.
  std::vector<std::vector<int>> Neighbours() const;
  void OrderForBand();
  void FindPattern();

  std::map<std::string, int, std::less<>> nodes_;
  std::vector<Part> parts_;  // the circuit's, then the amplifiers' input capacitances and Rout
  std::size_t circuitParts_ = 0;
  std::vector<OpAmp> opAmps_;
  std::optional<OpAmpModel> model_;
  double inverseDcGain_ = 0.0;
  double inverseUnityGain_ = 0.0;  // s/rad
  double inverseSecondPole_ = 0.0;
  int output_ = 0;
  int size_ = 0;
  std::vector<int> position_;
  SparsityPattern pattern_;
  std::vector<Complex> matrix_, column_, scratch_;
  mutable std::vector<double> columnSize_;
};

}  // namespace morvane
