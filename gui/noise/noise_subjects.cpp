#include "noise/noise_subjects.h"

#include <algorithm>

#include "cascade/cascade_circuit.h"

namespace morvane::gui {

NoiseSubject StageNoiseSubject(const DesignSession& session) {
  const DesignState& s = session.State();
  const FilterType type = session.Choices().type;
  NoiseSubject subject;
  subject.fLowest = subject.fHighest = s.fg;
  subject.opAmp = session.Choices().opAmp;
  if (!IsActiveTopology(s.topology)) {
    subject.unavailable =
        "The LC ladder and the diplexer are passive: their noise (that of the terminating "
        "resistors) is not analysed here.";
  } else if (!StageCircuitExists(s.topology, type)) {
    subject.unavailable = "This topology has no circuit for the filter type.";
  } else {
    const StageParts parts{s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3};
    subject.circuit = StageCircuit(s.topology, type, parts);
  }
  return subject;
}

NoiseSubject CascadeNoiseSubject(const CascadeDesign& design, const CascadeRequest& request,
                                 const std::optional<OpAmpModel>& opAmp) {
  NoiseSubject subject;
  subject.opAmp = opAmp;
  subject.fLowest = subject.fHighest = design.fg;
  const bool band = request.kind == FilterKind::Bandpass || request.kind == FilterKind::Bandstop;
  if (band && !request.scheme) {
    subject.fLowest = std::max(request.fm - request.bandwidth / 2, request.fm / 2);
    subject.fHighest = request.fm + request.bandwidth / 2;
  }
  if (!design.problem.empty() || design.sections.empty()) {
    subject.unavailable = "The multi-stage filter cannot be built, so it has no noise to show.";
  } else {
    subject.circuit = JoinedCascadeCircuit(design);
  }
  return subject;
}

}  // namespace morvane::gui
