#pragma once

// The design the Multi-stage Filter window shows for its entries. No widgets here.
//
// The section order and the topology choices of single sections belong to the sections of the
// filter they were made for. When the filter changes (another order, type or approximation)
// they may no longer fit: a section order for another number of sections, a topology that
// cannot build the section now at its place. Such a choice is dropped from the entries, with
// a note saying so, rather than leaving the window with nothing but a problem; the section
// order is kept while the user is typing it. Whatever is dropped, the design shown is always
// DesignCascade(RequestOf(entries)) of the entries as they then are.

#include <string>
#include <vector>

#include "cascade/cascade_file.h"

namespace morvane::gui {

// Which entry the user changed: the section order is never dropped while it is being typed.
enum class CascadeEdit { Other, SectionOrder };

struct WindowDesign {
  CascadeDesign design;
  std::string problem;             // what cannot be built and why, for the status line
  std::vector<std::string> notes;  // choices that were dropped, one sentence each
};

WindowDesign DesignForWindow(CascadeEntries& entries, CascadeEdit edit);

// The topologies that build a section: those of TopologiesForSection for its kind whose
// circuit can be designed for its f0, Q and zero. A section's choice offers only these.
std::vector<Topology> FittingTopologies(const FilterSection& section,
                                        const SectionDesignOptions& options);

// Whether one topology builds every section (the "all sections" choice offers those).
bool BuildsEverySection(Topology topology, const CascadeDesign& design,
                        const SectionDesignOptions& options);

}  // namespace morvane::gui
