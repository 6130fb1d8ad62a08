// Topology proposal: the rule table over the four criteria, every combination.

#include "aids/topology_proposal.h"

#include <gtest/gtest.h>

#include <string>

namespace morvane {
namespace {

// One row of the rule table as the help texts give it: '0' clear, '1' set, '-' either.
struct Rule {
  const char* dcab;  // CheckBox4, CheckBox3, CheckBox1, CheckBox2
  const char* answer;
};

constexpr Rule kRules[] = {
    {"0000", "You may use every type of circuit."},
    {"0010", "Try the circuits with one or two op amps."},
    {"0001", "Try circuits with two or more op amps."},
    {"0011", "Probably the two-op-amp circuits are best."},
    {"010-", "Try circuits with two or more op amps."},
    {"011-", "Probably the two-op-amp circuits are best."},
    {"1-0-", "Use the SVF."},
    {"1-1-", "It's not possible to meet all criteria."},
};

bool Matches(const char* pattern, const bool (&states)[4]) {
  for (int i = 0; i < 4; ++i) {
    if (pattern[i] != '-' && (pattern[i] == '1') != states[i]) return false;
  }
  return true;
}

TEST(ProposeTopology, EveryCombinationFollowsItsOneRule) {
  for (int bits = 0; bits < 16; ++bits) {
    const ProposalCriteria c{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
    const bool dcab[4] = {c.allTypesAtOnce, c.lowPerformanceOpAmps, c.fewOpAmps, c.simpleDesign};
    int matched = 0;
    for (const Rule& rule : kRules) {
      if (!Matches(rule.dcab, dcab)) continue;
      ++matched;
      EXPECT_EQ(ProposeTopology(c), rule.answer) << "criteria bits " << bits;
    }
    EXPECT_EQ(matched, 1) << "criteria bits " << bits;
  }
}

TEST(ProposeTopology, ApostropheIsNotAnAccent) {
  const std::string answer(proposal_text::kImpossible);
  EXPECT_EQ(answer.find("\xC2\xB4"), std::string::npos);
  EXPECT_EQ(answer.substr(0, 4), "It's");
  EXPECT_EQ(proposal_text::kPrompt, "Please make your design entry.");
}

}  // namespace
}  // namespace morvane
