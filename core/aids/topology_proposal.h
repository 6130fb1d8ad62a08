#pragma once

// The topology proposal: which kind of active circuit suits the user's priorities, from four
// criteria alone. It reads nothing of the design.

#include <string_view>

namespace morvane {

// The four check boxes of the proposal dialog.
struct ProposalCriteria {
  bool fewOpAmps = false;             // CheckBox1 "Few op amps, if possible"
  bool simpleDesign = false;          // CheckBox2 "Simple design"
  bool lowPerformanceOpAmps = false;  // CheckBox3 "Use low performance op amps"
  bool allTypesAtOnce = false;        // CheckBox4 "TP, HP, BP etc. at the same time"
};

namespace proposal_text {
// Shown until the first proposal.
inline constexpr std::string_view kPrompt = "Please make your design entry.";
inline constexpr std::string_view kEveryType = "You may use every type of circuit.";
inline constexpr std::string_view kOneOrTwo = "Try the circuits with one or two op amps.";
inline constexpr std::string_view kTwoOrMore = "Try circuits with two or more op amps.";
// The spellings are the program's own and are kept as users know them.
inline constexpr std::string_view kTwoOpAmp = "Probably the two-op-amp circuits are best.";
inline constexpr std::string_view kSvf = "Use the SVF.";
// UTF-8; the mark after "It" is the acute accent U+00B4, not an apostrophe.
inline constexpr std::string_view kImpossible = "It's not possible to meet all criteria.";
}  // namespace proposal_text

// The one-sentence answer for the criteria (UTF-8).
std::string_view ProposeTopology(const ProposalCriteria& criteria);

}  // namespace morvane
