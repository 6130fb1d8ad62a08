// Positive-feedback (Sallen-Key) noninverting stages. Except in the allpass, R3 from the
// output to the inverting input and R4 from there to ground set the op amp's gain.

#include "schematic/circuit_tables.h"

namespace morvane::gui::schematic::tables {

namespace {

// Lowpass and highpass: input element to A, series element to the non-inverting input P,
// P to ground, and A back to the output.
constexpr Wire kLowHighWires[] = {
    W({{3, 5}, {3, 1}}),   W({{6, 5}, {8, 5}}),   W({{8, 7}, {8, 9}}),
    W({{13, 1}, {13, 6}}), W({{14, 6}, {14, 9}}), W({{12, 6}, {16, 6}}),
};
constexpr GridPoint kLowHighDots[] = {{3, 5}, {6, 5}, {8, 9}, {13, 6}, {14, 6}};

constexpr Part kLowpass[] = {
    Terminal({0, 5}, "Vi", Side::Left),
    R({0, 5}, {3, 5}, "R1"),
    R({3, 5}, {6, 5}, "R2"),
    C({6, 5}, {6, 8}, "C2", Side::Left),
    Ground({6, 8}),
    C({3, 1}, {13, 1}, "C1"),
    OpAmp({8, 5}, Amp::PlusOnTop),
    R({8, 9}, {8, 12}, "R4", Side::Left),
    Ground({8, 12}),
    R({8, 9}, {14, 9}, "R3", Side::Below),
    Terminal({16, 6}, "Vo", Side::Right),
};

constexpr Part kHighpass[] = {
    Terminal({0, 5}, "Vi", Side::Left),
    C({0, 5}, {3, 5}, "C1"),
    C({3, 5}, {6, 5}, "C2"),
    R({6, 5}, {6, 8}, "R2", Side::Left),
    Ground({6, 8}),
    R({3, 1}, {13, 1}, "R1"),
    OpAmp({8, 5}, Amp::PlusOnTop),
    R({8, 9}, {8, 12}, "R4", Side::Left),
    Ground({8, 12}),
    R({8, 9}, {14, 9}, "R3", Side::Below),
    Terminal({16, 6}, "Vo", Side::Right),
};

// R1 to A, C1 from A to ground, C2 to P, R2 from P to ground, and a second R1 from A to
// the output.
constexpr Part kBandpass[] = {
    Terminal({0, 5}, "Vi", Side::Left),
    R({0, 5}, {3, 5}, "R1"),
    C({4, 5}, {4, 8}, "C1", Side::Left),
    Ground({4, 8}),
    C({4, 5}, {7, 5}, "C2"),
    R({7, 5}, {7, 8}, "R2"),
    Ground({7, 8}),
    R({3, 1}, {15, 1}, "R1"),
    OpAmp({10, 5}, Amp::PlusOnTop),
    R({10, 9}, {10, 12}, "R4", Side::Left),
    Ground({10, 12}),
    R({10, 9}, {16, 9}, "R3", Side::Below),
    Terminal({18, 6}, "Vo", Side::Right),
};
constexpr Wire kBandpassWires[] = {
    W({{3, 5}, {3, 1}}),   W({{3, 5}, {4, 5}}),   W({{7, 5}, {10, 5}}),  W({{10, 7}, {10, 9}}),
    W({{15, 1}, {15, 6}}), W({{16, 6}, {16, 9}}), W({{14, 6}, {18, 6}}),
};
constexpr GridPoint kBandpassDots[] = {{3, 5}, {4, 5}, {7, 5}, {10, 9}, {15, 6}, {16, 6}};

// Twin T: C1, C1 on top with R2 from their junction to the output; R1, R1 below with C2
// from their junction to ground.
constexpr Part kBandstop[] = {
    Terminal({0, 5}, "Vi", Side::Left),
    C({1, 3}, {4, 3}, "C1"),
    C({4, 3}, {7, 3}, "C1"),
    R({4, 0}, {14, 0}, "R2"),
    R({1, 7}, {4, 7}, "R1"),
    R({4, 7}, {7, 7}, "R1"),
    C({4, 7}, {4, 10}, "C2"),
    Ground({4, 10}),
    OpAmp({9, 5}, Amp::PlusOnTop),
    R({9, 9}, {9, 12}, "R4", Side::Left),
    Ground({9, 12}),
    R({9, 9}, {15, 9}, "R3", Side::Below),
    Terminal({17, 6}, "Vo", Side::Right),
};
constexpr Wire kBandstopWires[] = {
    W({{0, 5}, {1, 5}}),   W({{1, 3}, {1, 7}}),   W({{4, 3}, {4, 0}}),
    W({{7, 3}, {7, 7}}),   W({{7, 5}, {9, 5}}),   W({{9, 7}, {9, 9}}),
    W({{14, 0}, {14, 6}}), W({{15, 6}, {15, 9}}), W({{13, 6}, {17, 6}}),
};
constexpr GridPoint kBandstopDots[] = {{1, 5}, {4, 3}, {4, 7}, {7, 5}, {9, 9}, {14, 6}, {15, 6}};

// R1 to node X, C2 on to P, C1 from X and R2 from P back to the output; R3 and R4 divide
// the input onto the inverting input.
constexpr Part kAllpass[] = {
    Terminal({0, 4}, "Vi", Side::Left),
    R({1, 4}, {4, 4}, "R1"),
    C({4, 4}, {7, 4}, "C2"),
    C({4, 0}, {14, 0}, "C1"),
    R({7, 2}, {14, 2}, "R2"),
    OpAmp({9, 4}, Amp::PlusOnTop),
    R({1, 6}, {4, 6}, "R3", Side::Below),
    R({7, 6}, {7, 9}, "R4"),
    Ground({7, 9}),
    Terminal({16, 5}, "Vo", Side::Right),
};
constexpr Wire kAllpassWires[] = {
    W({{0, 4}, {1, 4}}), W({{1, 4}, {1, 6}}), W({{4, 4}, {4, 0}}),   W({{7, 4}, {7, 2}}),
    W({{7, 4}, {9, 4}}), W({{4, 6}, {9, 6}}), W({{14, 0}, {14, 5}}), W({{13, 5}, {16, 5}}),
};
constexpr GridPoint kAllpassDots[] = {{1, 4}, {4, 4}, {7, 4}, {7, 6}, {14, 2}, {14, 5}};

// Elliptical lowpass, drawn with the inverting input on top: R2 from the input and the
// gain network R3, R4 meet there. 2R1 and 2R1 divide the input onto A, R1 leads on to P, C3
// bridges from the input to P, and C1 runs from A below everything back to the output.
constexpr Part kElliptic[] = {
    Terminal({0, 8}, "Vi", Side::Left),
    R({1, 1}, {6, 1}, "R2"),
    R({11, 3}, {17, 3}, "R3"),
    R({9, 1}, {9, 4}, "R4", Side::Left),
    Ground({9, 4}),
    C({1, 6}, {9, 6}, "C3"),
    R({1, 8}, {4, 8}, "2R1"),
    R({4, 8}, {4, 11}, "2R1", Side::Left),
    Ground({4, 11}),
    R({5, 8}, {9, 8}, "R1", Side::Below),
    C({10, 8}, {10, 11}, "C2"),
    Ground({10, 11}),
    OpAmp({12, 6}),
    C({10, 13}, {14, 13}, "C1"),
    Terminal({20, 7}, "Vo", Side::Right),
};
constexpr Wire kEllipticWires[] = {
    W({{0, 8}, {1, 8}}),
    W({{1, 1}, {1, 8}}),
    W({{6, 1}, {11, 1}, {11, 6}, {12, 6}}),
    W({{17, 3}, {17, 7}}),
    W({{9, 6}, {9, 8}}),
    W({{4, 8}, {5, 8}}),
    W({{9, 8}, {12, 8}}),
    W({{5, 8}, {5, 13}, {10, 13}}),
    W({{14, 13}, {18, 13}, {18, 7}}),
    W({{16, 7}, {20, 7}}),
};
constexpr GridPoint kEllipticDots[] = {{1, 8}, {1, 6}, {9, 1},  {11, 3}, {4, 8},
                                       {5, 8}, {9, 8}, {10, 8}, {17, 7}, {18, 7}};

}  // namespace

const Circuit kPfbLowpass{kLowpass, kLowHighWires, kLowHighDots};
const Circuit kPfbHighpass{kHighpass, kLowHighWires, kLowHighDots};
const Circuit kPfbBandpass{kBandpass, kBandpassWires, kBandpassDots};
const Circuit kPfbBandstop{kBandstop, kBandstopWires, kBandstopDots};
const Circuit kPfbAllpass{kAllpass, kAllpassWires, kAllpassDots};
const Circuit kPfbEllipticLowpass{kElliptic, kEllipticWires, kEllipticDots};

}  // namespace morvane::gui::schematic::tables
