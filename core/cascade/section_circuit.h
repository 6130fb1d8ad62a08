#pragma once

// The circuit of one section of a cascade: a first- or second-order section (FilterSection,
// from SplitIntoSections) built in one of the five active topologies.
//
// Second-order lowpass, highpass and bandpass sections are designed by the stage equations of
// the single-stage pages, given the section's f0 and Q directly. The Sallen-Key (PFB) lowpass
// has capacitors that need not be equal, so unity gain needs no gain network. Notch sections:
//   - every notch kind in "svf4": the state-variable filter with three op amps (a summer and
//     two integrators giving highpass and lowpass outputs) and a fourth, inverting summer that
//     adds the highpass and lowpass outputs in the ratio that puts the zero at fz;
//   - the lowpass notch in "pfb": the page's Sallen-Key elliptical lowpass (fn/fo = fz/f0);
//   - the symmetric notch in "pfb" (twin-T) and "fliege", as on their pages.
// First-order sections: an RC network and a noninverting amplifier (a follower at gain 1, a
// resistive input divider below it for the lowpass) in every topology but MFB, where they are
// the inverting first-order stage (R1 in, R2 parallel C1 in the feedback for the lowpass; C1
// and R1 in series in, R2 in the feedback for the highpass).
//
// A section's gain is its own pass-band gain (see FilterSection). Circuits whose gain is tied
// to their Q (the PFB bandpass, twin-T and elliptical lowpass; the Fliege notch) realise less
// by an input divider where they have an input resistor, and otherwise the gain they have.

#include <optional>
#include <string>
#include <vector>

#include "circuit/circuit.h"
#include "design/design_state.h"
#include "filters/filter_sections.h"
#include "opamp/opamp_model.h"
#include "opamp/predistortion.h"

namespace morvane {

struct SectionDesignOptions {
  double zin = 10e3;  // impedance level, Ohm
  int seriesR = 4;    // standard series codes (1 = E6 .. 5 = E96)
  int seriesC = 1;
  // Every resistor of the circuit rounded to the nearest value of seriesR, as the user builds
  // it; the section's figures then differ from its plan (CascadeSection::asBuilt says how).
  bool roundResistors = false;
  // Instead of the nearest values: the rounding of each resistor down or up that comes
  // closest to the section's f0, Q, gain and fz (BestResistorRoundings).
  bool bestValues = false;
  // The op amp to pre-distort for: MFB and Sallen-Key (pfb) lowpass, highpass, bandpass and
  // first-order sections are designed for the f0 and Q that give the section's own with this
  // amplifier (Predistort), rounded afterwards where asked. Where no design reaches them, and
  // in the other topologies, the plain design is kept with a warning. None (or `ideal`): the
  // plain design.
  std::optional<OpAmpModel> predistortFor{};
};

// The gains a circuit can realise exactly for a section.
struct GainRange {
  double least = 0.0;
  double most = 0.0;
};

struct SectionCircuit {
  std::string problem;  // why the topology cannot build this section; empty when it does
  std::string name;     // what the circuit is, e.g. "Sallen-Key lowpass, unity gain"
  Circuit circuit;      // input "in", output "out"
  double gain = 1.0;    // the section's pass-band gain as built, positive
  bool inverting = false;
  std::vector<std::string> warnings;
  // With SectionDesignOptions::predistortFor on an MFB or Sallen-Key section: the targets
  // designed for and the figures with the op amp, or why there are none.
  std::optional<Predistortion> predistortion{};
};

// Whether the topology has a circuit for a section kind, and the topologies that have one.
bool TopologyBuildsSection(Topology topology, const std::string& kind);
std::vector<Topology> TopologiesForSection(const std::string& kind);

// The topology a section gets when none is chosen: Sallen-Key (pfb) for lowpass, highpass and
// first-order sections, MFB for bandpass, the state-variable notch (svf4) for the notch kinds.
Topology DefaultSectionTopology(const std::string& kind);

// The gains this topology can realise for the section (empty range when it does not build it).
GainRange SectionGainRange(const FilterSection& section, Topology topology,
                           const SectionDesignOptions& options);

// The circuit for the section at the section's `gain` (clamped into SectionGainRange).
SectionCircuit DesignSectionCircuit(const FilterSection& section, Topology topology,
                                    const SectionDesignOptions& options);

// The lower-case topology names of the CLI: "mfb", "pfb", "svf3", "svf4", "fliege".
const char* SectionTopologyName(Topology topology);

}  // namespace morvane
