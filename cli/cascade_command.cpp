#include "cascade_command.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <sstream>

#include "cascade_arguments.h"
#include "files/atomic_file.h"
#include "large_signal_report.h"
#include "numerics/number_text.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

std::string Curve(const CascadeArguments& a, const CascadeDesign& design,
                  const RealSections& real) {
  const CurveSpan span{.from = a.from.value_or(0.0),
                       .to = *a.to,
                       .points = a.points.value_or(CurveSpan{}.points),
                       .logarithmic = a.logarithmic};
  std::optional<PoleZeroGain> transfer = design.transfer;
  if (a.opAmp && !a.opAmp->IsIdeal()) {
    transfer = CascadeRealTransfer(real);
    if (!transfer)
      throw RunError("the cascade with the op amp " + a.opAmp->name + " cannot be analysed");
  }
  const std::optional<std::string> csv = CurveCsv(SampleCurve(*transfer, *a.curve, span));
  if (!csv) {
    throw RunError("the curve cannot be sampled from " + GeneralText(span.from, 17) + " to " +
                   GeneralText(span.to, 17) +
                   ": its values overflow there; choose a narrower range");
  }
  return *csv;
}

// The given order must name every section of this filter once; the core would say so too, but
// counting sections from 0.
void CheckSectionOrder(const std::vector<int>& order, std::size_t sections) {
  std::vector<bool> named(sections, false);
  bool permutation = order.size() == sections;
  for (int index : order) {
    const auto i = static_cast<std::size_t>(index);
    permutation = permutation && i < sections && !named[i];
    if (i < sections) named[i] = true;
  }
  if (!permutation) {
    throw UsageError("option --section-order needs each section number from 1 to " +
                     std::to_string(sections) + " once: this filter has " +
                     std::to_string(sections) + " sections");
  }
}

}  // namespace

CascadeDesign DesignCascadeOrRefuse(const CascadeRequest& request) {
  if (!request.sectionOrder.empty()) {
    CascadeRequest lowestQFirst = request;
    lowestQFirst.sectionOrder.clear();
    const CascadeDesign plain = DesignCascade(lowestQFirst);
    if (!plain.problem.empty()) throw UsageError(plain.problem);
    CheckSectionOrder(request.sectionOrder, plain.sections.size());
  }
  CascadeDesign design = DesignCascade(request);
  if (!design.problem.empty()) throw UsageError(design.problem);
  return design;
}

int RunCascade(const std::vector<std::string>& args) {
  std::ostringstream warnings;
  const CascadeArguments a = ParseCascadeArguments(args, warnings);
  CheckCascadeArguments(a);
  const CascadeDesign design = DesignCascadeOrRefuse(a.request);
  RealSections real;
  std::optional<LargeSignalSummary> largeSignal;
  if (a.opAmp && !a.opAmp->IsIdeal()) {
    real = CascadeRealAmplifier(design, *a.opAmp);
    const bool unstable =
        std::any_of(real.begin(), real.end(), [](const auto& r) { return r && r->unstable; });
    if (!unstable && !a.curve) largeSignal = CascadeLargeSignal(design, *a.opAmp);
  }

  std::string out;
  if (a.curve) {
    out = Curve(a, design, real);
  } else if (a.json) {
    out = CascadeJson(a.request, design, real, largeSignal);
  } else if (a.netlistPath != "-") {
    out = CascadeTable(a.request, design, real, largeSignal);
  }
  for (const std::string& w : design.warnings) warnings << "morvane-cli: warning: " << w << "\n";
  if (largeSignal) warnings << HeadroomWarningLines(*largeSignal);
  std::cerr << warnings.str();
  if (a.netlistPath) {
    const std::string netlist = CascadeNetlist(design, a.netlist);
    std::string error;
    if (*a.netlistPath == "-") {
      out = netlist;
    } else if (!WriteFileAtomically(*a.netlistPath, netlist, error)) {
      throw RunError(error);
    }
  }
  if (a.savePath) {
    std::string error;
    if (!WriteCascadeFile(*a.savePath, EntriesOf(a.request), error)) throw RunError(error);
  }
  std::cout << out;
  return 0;
}

}  // namespace morvane::cli
