#pragma once

// A whole active filter: the prototype of an approximation and order (or the least order for
// a tolerance scheme), transformed to the filter type, split into sections, each section's
// circuit designed in its topology, the pass-band gain spread over the sections, and the
// figures of the whole. A pure function of its request: the window designs on every
// keystroke and analyses call it thousands of times.

#include <optional>
#include <string>
#include <vector>

#include "cascade/section_circuit.h"
#include "circuit/built_figures.h"
#include "filters/analog_prototype.h"
#include "filters/filter_figures.h"
#include "filters/filter_sections.h"
#include "filters/frequency_transform.h"
#include "filters/least_order.h"

namespace morvane {

struct CascadeRequest {
  Approximation approximation = Approximation::Butterworth;
  FilterKind kind = FilterKind::Lowpass;
  int order = 4;  // of the prototype: a band filter has twice as many poles
  // When set, the order is the least that meets it and the corner follows from it: the
  // attenuation d1 falls exactly at f1 (Hz). Lowpass: f1 < f2; highpass: f1 > f2. Chebyshev
  // and elliptic take d1 as their ripple, inverse Chebyshev and elliptic d2 as their
  // stop-band attenuation.
  std::optional<ToleranceScheme> scheme;
  double fg = 1000.0;        // Hz, lowpass and highpass: -3 dB (Linkwitz-Riley -6 dB)
  double fm = 1000.0;        // Hz, band kinds: centre
  double bandwidth = 100.0;  // Hz, band kinds: between the -3 dB (-6 dB) edges
  double rippleDb = 1.0;     // Chebyshev, elliptic
  double stopbandDb = 60.0;  // inverse Chebyshev, elliptic
  double gain = 1.0;         // total pass-band gain, positive
  GainSplit split = GainSplit::First;
  std::vector<int> sectionOrder;  // a permutation of the lowest-Q-first order; empty: that order
  // The topology of every section; empty: DefaultSectionTopology of each. `sectionTopologies`
  // (by position in the final order) overrides it where given.
  std::optional<Topology> topology;
  std::vector<std::optional<Topology>> sectionTopologies;
  SectionDesignOptions circuit;
  std::optional<double> stopbandHz;  // where to state the attenuation; the scheme's f2 if set
};

struct CascadeSection {
  FilterSection plan;  // f0, Q, fz and the gain it was given
  Topology topology = Topology::Pfb;
  SectionCircuit circuit;  // the built circuit, its gain and sign
  SectionPeaking peaking;  // headroom at its output and the GBWP it needs
  // With rounded resistors: the figures its circuit has as built (the plan keeps the
  // designed ones). Empty otherwise.
  std::optional<BuiltFigures> asBuilt;
};

struct CascadeFigures {
  FilterFigures whole;
  std::optional<double> stopbandHz;
  std::optional<double> attenuationDb;  // at stopbandHz
};

struct CascadeDesign {
  std::string problem;  // what cannot be built and why; empty when the design is complete
  int prototypeOrder = 0;
  int order = 0;    // poles of the whole filter
  double fg = 0.0;  // Hz: the corner used (from the scheme when there is one)
  AnalogPrototype prototype;
  PoleZeroGain transfer;   // the cascade as built, rad/s: its gain carries the sign
  double gain = 0.0;       // pass-band gain as built (see SplitIntoSections), positive
  bool inverting = false;  // an odd number of inverting sections
  std::vector<CascadeSection> sections;
  CascadeFigures figures;
  std::vector<std::string> warnings;
};

CascadeDesign DesignCascade(const CascadeRequest& request);

}  // namespace morvane
