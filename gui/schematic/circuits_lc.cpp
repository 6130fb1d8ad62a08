// Passive LC ladders between the source resistance RG and the load RL, and the diplexer.
// A ladder starts at the source with a shunt element; the dots stand for the elements left
// out, so one picture serves every order of the same parity.

#include "schematic/circuit_tables.h"

namespace morvane::gui::schematic::tables {

namespace {

using std::array;

constexpr array kSource{
    Source({0, 1}, {0, 4}), Ground({0, 4}), R({0, 1}, {3, 1}, "RG"), Ground({3, 4}), Ground({7, 4}),
};

// Odd order: shunt, series, shunt, ..., shunt across RL.
constexpr auto OddLadder(Part first, Part second, Part third, Part last) {
  return Join(kSource, array{first, second, third, Gap({7, 1}, {11, 1}), last, Ground({11, 4}),
                             R({15, 1}, {15, 4}, "RL"), Ground({15, 4})});
}
constexpr array kOddWires{W({{11, 1}, {15, 1}})};
constexpr array kOddDots{GridPoint{3, 1}, GridPoint{7, 1}, GridPoint{11, 1}};

// Even order: shunt, series, shunt, ..., series into RL.
constexpr auto EvenLadder(Part first, Part second, Part third, Part last) {
  return Join(kSource, array{first, second, third, Gap({7, 1}, {11, 1}), last,
                             R({15, 1}, {15, 4}, "RL"), Ground({15, 4})});
}
constexpr std::span<const Wire> kEvenWires{};
constexpr array kEvenDots{GridPoint{3, 1}, GridPoint{7, 1}};

constexpr auto kLowpassOdd = OddLadder(C({3, 1}, {3, 4}, "C1"), L({3, 1}, {7, 1}, "L2"),
                                       C({7, 1}, {7, 4}, "C3"), C({11, 1}, {11, 4}, "Cn"));
constexpr auto kLowpassEven = EvenLadder(C({3, 1}, {3, 4}, "C1"), L({3, 1}, {7, 1}, "L2"),
                                         C({7, 1}, {7, 4}, "C3"), L({11, 1}, {15, 1}, "Ln"));
constexpr auto kHighpassOdd = OddLadder(L({3, 1}, {3, 4}, "L1"), C({3, 1}, {7, 1}, "C2"),
                                        L({7, 1}, {7, 4}, "L3"), L({11, 1}, {11, 4}, "Ln"));
constexpr auto kHighpassEven = EvenLadder(L({3, 1}, {3, 4}, "L1"), C({3, 1}, {7, 1}, "C2"),
                                          L({7, 1}, {7, 4}, "L3"), C({11, 1}, {15, 1}, "Cn"));

// Both parities side by side, named as the page names them: the page has width to spare
// beside its controls, not height.
constexpr array kLowpassInsets{Inset{&kLadderLowpassOdd, {0, 1.5}},
                               Inset{&kLadderLowpassEven, {20, 1.5}}};
constexpr array kHighpassInsets{Inset{&kLadderHighpassOdd, {0, 1.5}},
                                Inset{&kLadderHighpassEven, {20, 1.5}}};
constexpr array kParityCaptions{Caption{{-1, 0}, "odd n"}, Caption{{19, 0}, "even n"}};

// Diplexer, 3rd order: the source with R feeds the common node; the lowpass branch is
// series L1, shunt C2, series L3, the highpass branch series C1, shunt L2, series C3, each
// into a load R.
constexpr array kDiplexerParts{
    Source({0, 5}, {0, 8}),   Ground({0, 8}),
    R({0, 5}, {3, 5}, "R"),   L({3, 2}, {6, 2}, "L1"),
    C({6, 2}, {6, 5}, "C2"),  Ground({6, 5}),
    L({6, 2}, {9, 2}, "L3"),  R({11, 2}, {11, 5}, "R"),
    Ground({11, 5}),          C({3, 8}, {6, 8}, "C1"),
    L({6, 8}, {6, 11}, "L2"), Ground({6, 11}),
    C({6, 8}, {9, 8}, "C3"),  R({11, 8}, {11, 11}, "R"),
    Ground({11, 11}),
};
constexpr array kDiplexerWires{W({{3, 2}, {3, 8}}), W({{9, 2}, {11, 2}}), W({{9, 8}, {11, 8}})};
constexpr array kDiplexerDots{GridPoint{3, 5}, GridPoint{6, 2}, GridPoint{6, 8}};
constexpr array kBranchCaptions{Caption{{3, -0.5}, "Lowpass"}, Caption{{3, 12.5}, "Highpass"}};

}  // namespace

const Circuit kLadderLowpassOdd{kLowpassOdd, kOddWires, kOddDots};
const Circuit kLadderLowpassEven{kLowpassEven, kEvenWires, kEvenDots};
const Circuit kLadderHighpassOdd{kHighpassOdd, kOddWires, kOddDots};
const Circuit kLadderHighpassEven{kHighpassEven, kEvenWires, kEvenDots};
const Circuit kLadderLowpass{{}, {}, {}, kParityCaptions, kLowpassInsets};
const Circuit kLadderHighpass{{}, {}, {}, kParityCaptions, kHighpassInsets};
const Circuit kDiplexer{kDiplexerParts, kDiplexerWires, kDiplexerDots, kBranchCaptions};

}  // namespace morvane::gui::schematic::tables
