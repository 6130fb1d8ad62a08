#include "aids/topology_proposal.h"

namespace morvane {

std::string_view ProposeTopology(const ProposalCriteria& criteria) {
  using namespace proposal_text;
  // Every filter type at once needs the state-variable filter, which is no few-op-amp circuit.
  if (criteria.allTypesAtOnce) return criteria.fewOpAmps ? kImpossible : kSvf;
  // Low-performance op amps rule out the one-op-amp stages, whatever "simple" asks for.
  if (criteria.lowPerformanceOpAmps) return criteria.fewOpAmps ? kTwoOpAmp : kTwoOrMore;
  if (criteria.fewOpAmps) return criteria.simpleDesign ? kTwoOpAmp : kOneOrTwo;
  return criteria.simpleDesign ? kTwoOrMore : kEveryType;
}

}  // namespace morvane
