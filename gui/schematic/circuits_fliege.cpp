// Fliege stage with two op amps. P is op amp 1's non-inverting input, its output the stage
// output; op amp 2 (drawn pointing left, below) drives M; N joins both inverting inputs; G is
// op amp 2's non-inverting input. R5 joins P and M and R2 the output and G in every type.

#include "schematic/circuit_tables.h"

namespace morvane::gui::schematic::tables {

namespace {

using std::array;

// What every type has at the same place: the op amps, the output, R2, N and G.
constexpr array kCommon{
    Terminal({0, 3}, "Vi", Side::Left),           OpAmp({11, 3}, Amp::PlusOnTop),
    OpAmp({17, 10}, Amp::MinusOnTopPointingLeft), R({19, 4}, {19, 12}, "R2"),
    Terminal({21, 4}, "Vo", Side::Right),
};
constexpr array kCommonWires{
    W({{15, 4}, {21, 4}}),
    W({{11, 5}, {11, 8}, {18, 8}}),
    W({{17, 10}, {17, 8}}),
    W({{17, 12}, {19, 12}}),
};
constexpr array kCommonDots{GridPoint{12, 8}, GridPoint{12, 11}, GridPoint{17, 8},
                            GridPoint{18, 4}, GridPoint{19, 4},  GridPoint{18, 12}};

// Lowpass: R3 in, C1 beside R5 from P to M, R4 from M to N, C2 from N to the output, R1
// from G to ground.
constexpr auto kLowpass = Join(kCommon, array{
                                            R({0, 3}, {3, 3}, "R3"),
                                            R({5, 3}, {5, 11}, "R5", Side::Left),
                                            C({8, 3}, {8, 11}, "C1"),
                                            R({12, 11}, {12, 8}, "R4", Side::Left),
                                            C({18, 8}, {18, 4}, "C2", Side::Left),
                                            R({18, 12}, {18, 15}, "R1"),
                                            Ground({18, 15}),
                                        });
constexpr auto kLowpassWires = Join(kCommonWires, array{
                                                      W({{3, 3}, {11, 3}}),
                                                      W({{13, 11}, {5, 11}}),
                                                  });
constexpr auto kLowpassDots =
    Join(kCommonDots, array{GridPoint{5, 3}, GridPoint{8, 3}, GridPoint{8, 11}});

// Highpass and bandpass: an input element to P, one from P to ground, C2 from M to N and R3
// from N to the output, R1 from G to ground.
constexpr auto kTwoWayWires = Join(kCommonWires, array{
                                                     W({{3, 3}, {11, 3}}),
                                                     W({{13, 11}, {7, 11}}),
                                                 });
constexpr auto kTwoWayDots = Join(kCommonDots, array{GridPoint{4, 3}, GridPoint{7, 3}});

constexpr auto kHighpass = Join(kCommon, array{
                                             C({0, 3}, {3, 3}, "C1"),
                                             R({4, 3}, {4, 6}, "R4", Side::Left),
                                             Ground({4, 6}),
                                             R({7, 3}, {7, 11}, "R5"),
                                             C({12, 11}, {12, 8}, "C2", Side::Left),
                                             R({18, 8}, {18, 4}, "R3", Side::Left),
                                             R({18, 12}, {18, 15}, "R1"),
                                             Ground({18, 15}),
                                         });

constexpr auto kBandpass = Join(kCommon, array{
                                             R({0, 3}, {3, 3}, "R4"),
                                             C({4, 3}, {4, 6}, "C1", Side::Left),
                                             Ground({4, 6}),
                                             R({7, 3}, {7, 11}, "R5"),
                                             C({12, 11}, {12, 8}, "C2", Side::Left),
                                             R({18, 8}, {18, 4}, "R3", Side::Left),
                                             R({18, 12}, {18, 15}, "R1"),
                                             Ground({18, 15}),
                                         });

// Allpass: as the highpass, with R1 fed from the input along the bottom.
constexpr auto kAllpass = Join(kCommon, array{
                                            C({1, 3}, {4, 3}, "C1"),
                                            R({5, 3}, {5, 6}, "R4", Side::Left),
                                            Ground({5, 6}),
                                            R({7, 3}, {7, 11}, "R5"),
                                            C({12, 11}, {12, 8}, "C2", Side::Left),
                                            R({18, 8}, {18, 4}, "R3", Side::Left),
                                            R({8, 14}, {12, 14}, "R1", Side::Below),
                                        });
constexpr auto kAllpassWires = Join(kCommonWires, array{
                                                      W({{0, 3}, {1, 3}}),
                                                      W({{4, 3}, {11, 3}}),
                                                      W({{13, 11}, {7, 11}}),
                                                      W({{1, 3}, {1, 14}, {8, 14}}),
                                                      W({{12, 14}, {18, 14}, {18, 12}}),
                                                  });
constexpr auto kAllpassDots =
    Join(kCommonDots, array{GridPoint{1, 3}, GridPoint{5, 3}, GridPoint{7, 3}});

// Bandstop: R4 and C1 in parallel to P, a second R4 from P to ground, R1 fed from the input.
constexpr auto kBandstop = Join(kCommon, array{
                                             R({2, 3}, {5, 3}, "R4"),
                                             C({2, 0}, {5, 0}, "C1"),
                                             R({6, 3}, {6, 6}, "R4", Side::Left),
                                             Ground({6, 6}),
                                             R({8, 3}, {8, 11}, "R5"),
                                             C({12, 11}, {12, 8}, "C2", Side::Left),
                                             R({18, 8}, {18, 4}, "R3", Side::Left),
                                             R({8, 14}, {12, 14}, "R1", Side::Below),
                                         });
constexpr auto kBandstopWires = Join(kCommonWires, array{
                                                       W({{0, 3}, {2, 3}}),
                                                       W({{2, 3}, {2, 0}}),
                                                       W({{5, 0}, {5, 3}}),
                                                       W({{5, 3}, {11, 3}}),
                                                       W({{13, 11}, {8, 11}}),
                                                       W({{1, 3}, {1, 14}, {8, 14}}),
                                                       W({{12, 14}, {18, 14}, {18, 12}}),
                                                   });
constexpr auto kBandstopDots = Join(
    kCommonDots,
    array{GridPoint{1, 3}, GridPoint{2, 3}, GridPoint{5, 3}, GridPoint{6, 3}, GridPoint{8, 3}});

}  // namespace

const Circuit kFliegeLowpass{kLowpass, kLowpassWires, kLowpassDots};
const Circuit kFliegeHighpass{kHighpass, kTwoWayWires, kTwoWayDots};
const Circuit kFliegeBandpass{kBandpass, kTwoWayWires, kTwoWayDots};
const Circuit kFliegeBandstop{kBandstop, kBandstopWires, kBandstopDots};
const Circuit kFliegeAllpass{kAllpass, kAllpassWires, kAllpassDots};

}  // namespace morvane::gui::schematic::tables
