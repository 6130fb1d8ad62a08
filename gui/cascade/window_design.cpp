#include "cascade/window_design.h"

#include <algorithm>

#include "cascade/cascade_choices.h"

namespace morvane::gui {

namespace {

bool Fits(const FilterSection& section, Topology topology, const SectionDesignOptions& options) {
  return TopologyBuildsSection(topology, section.kind) &&
         DesignSectionCircuit(section, topology, options).problem.empty();
}

bool HasSectionChoices(const CascadeRequest& r) {
  return r.topology || !r.sectionOrder.empty() ||
         std::any_of(r.sectionTopologies.begin(), r.sectionTopologies.end(),
                     [](const std::optional<Topology>& t) { return t.has_value(); });
}

std::string Sections(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " section" : " sections");
}

std::string OrderProblem(const std::vector<int>& order, std::size_t n) {
  return "the section order " + SectionOrderText(order) + " does not name each of the " +
         Sections(n) + " once: give the numbers 1 to " + std::to_string(n) +
         " in the order wanted, or leave it blank for lowest Q first";
}

// The filter's sections without the section choices (keeping the section order when it
// fits); `orderFits` tells whether it did. A design with a problem when the filter itself
// cannot be built.
CascadeDesign Layout(const CascadeEntries& entries, bool& orderFits) {
  CascadeEntries bare = entries;
  bare.request.topology.reset();
  bare.request.sectionTopologies.clear();
  CascadeDesign layout = DesignCascade(RequestOf(bare));
  orderFits = true;
  if (!layout.problem.empty() && !bare.request.sectionOrder.empty()) {
    bare.request.sectionOrder.clear();
    layout = DesignCascade(RequestOf(bare));
    orderFits = false;
  }
  return layout;
}

// Drops the topology choices that do not build the layout's sections; true when any was.
bool DropUnfitTopologies(CascadeRequest& r, const CascadeDesign& layout,
                         std::vector<std::string>& notes) {
  bool dropped = false;
  if (r.topology && !BuildsEverySection(*r.topology, layout, r.circuit)) {
    notes.push_back(TopologyChoiceCaption(*r.topology) +
                    " cannot build every section: each has its default topology again.");
    r.topology.reset();
    dropped = true;
  }
  const std::size_t n = std::min(layout.sections.size(), r.sectionTopologies.size());
  for (std::size_t i = 0; i < n; ++i) {
    std::optional<Topology>& chosen = r.sectionTopologies[i];
    const FilterSection& section = layout.sections[i].plan;
    if (!chosen || Fits(section, *chosen, r.circuit)) continue;
    notes.push_back("Section " + std::to_string(i + 1) + ": " + TopologyChoiceCaption(*chosen) +
                    " cannot build this " + section.kind + " section; it has its default again.");
    chosen.reset();
    dropped = true;
  }
  return dropped;
}

}  // namespace

std::vector<Topology> FittingTopologies(const FilterSection& section,
                                        const SectionDesignOptions& options) {
  std::vector<Topology> fitting;
  for (Topology t : TopologiesForSection(section.kind)) {
    if (Fits(section, t, options)) fitting.push_back(t);
  }
  return fitting;
}

bool BuildsEverySection(Topology topology, const CascadeDesign& design,
                        const SectionDesignOptions& options) {
  return std::all_of(design.sections.begin(), design.sections.end(),
                     [&](const CascadeSection& s) { return Fits(s.plan, topology, options); });
}

WindowDesign DesignForWindow(CascadeEntries& entries, CascadeEdit edit) {
  WindowDesign out;
  out.design = DesignCascade(RequestOf(entries));
  out.problem = out.design.problem;
  if (out.design.problem.empty() || !HasSectionChoices(entries.request)) return out;

  bool orderFits = true;
  const CascadeDesign layout = Layout(entries, orderFits);
  // The filter itself cannot be built: its own problem says why.
  if (!layout.problem.empty()) return out;
  CascadeRequest& r = entries.request;
  bool dropped = false;
  if (!orderFits) {
    if (edit == CascadeEdit::SectionOrder) {
      out.problem = OrderProblem(r.sectionOrder, layout.sections.size());
      return out;
    }
    out.notes.push_back("The section order " + SectionOrderText(r.sectionOrder) +
                        " was made for another filter: the " + Sections(layout.sections.size()) +
                        " go lowest Q first again.");
    r.sectionOrder.clear();
    dropped = true;
  }
  dropped = DropUnfitTopologies(r, layout, out.notes) || dropped;
  if (!dropped) return out;  // the choices fit: the problem is the design's own
  out.design = DesignCascade(RequestOf(entries));
  out.problem = out.design.problem;
  return out;
}

}  // namespace morvane::gui
