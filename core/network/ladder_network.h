#pragma once

// A ladder of real inductors and capacitors between a source resistance RG and a load RL, as
// the circuit files of the LC page and of the series and parallel circuits program hold it.
//
// Each element carries its parasitics:
//   a capacitor element is Lx, Rx and Cx in series;
//   an inductor element is Lx in series with Rx, with Cx across both.
// The element's own value is Cx for a capacitor and Lx for an inductor.
// Counted from the source, a series element leads from the present node to the next one (the
// last of them to the load), a shunt element hangs from the present node to ground.

#include <optional>
#include <string>
#include <vector>

namespace morvane {

enum class ElementKind { Inductor, Capacitor };

struct NetworkElement {
  ElementKind kind = ElementKind::Inductor;
  bool shunt = false;
  double Lx = 0.0;  // H
  double Rx = 0.0;  // Ohm
  double Cx = 0.0;  // F
};

struct LadderNetwork {
  double rg = 50.0;          // source resistance, Ohm
  double rl = 50.0;          // load resistance, Ohm
  double f = 1000.0;         // the design frequency, Hz: where Q is stated
  bool turnedRound = false;  // the elements are listed from the load towards the source
  std::vector<NetworkElement> elements;
};

// The element's own value: Lx of an inductor, Cx of a capacitor.
double ElementValue(const NetworkElement& e);
void SetElementValue(NetworkElement& e, double value);

// Where the element resonates with its own parasitic (Lx with Cx); none while that is zero.
std::optional<double> SelfResonance(const NetworkElement& e);
// Sets the parasitic that puts the self-resonance at `f` (Hz, above zero): Cx = 1/((2 pi f)^2 L)
// of an inductor, Lx = 1/((2 pi f)^2 C) of a capacitor.
void SetSelfResonance(NetworkElement& e, double f);

// The quality factor at `f`: 2 pi f L / Rx of an inductor, 1 / (2 pi f C Rx) of a capacitor;
// none (lossless) while Rx is zero.
std::optional<double> QualityAt(const NetworkElement& e, double f);
// Sets Rx for quality factor `q` (above zero) at `f`.
void SetQualityAt(NetworkElement& e, double q, double f);

// The same ladder with every parasitic zero: inductors L alone, capacitors C alone.
LadderNetwork IdealNetwork(const LadderNetwork& network);

// The elements in order from the source (turnedRound lists them from the load).
std::vector<NetworkElement> ElementsFromSource(const LadderNetwork& network);

// Why the ladder cannot be computed (empty when it can): terminations, frequency or element
// values that are not positive and finite, parasitics that are negative or not finite, no
// elements.
std::string NetworkProblem(const LadderNetwork& network);

// "L3" or "C2": the element's kind letter and its place in the list (counted from 1).
std::string ElementName(const LadderNetwork& network, std::size_t index);

}  // namespace morvane
