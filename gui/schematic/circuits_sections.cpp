// Section circuits of a cascade that no single-stage page draws. Where a circuit has parts
// that a design may leave out (an input divider R1G, the gain network R3 and R4), the drawing
// has them all and section_drawing.cpp takes away what the built circuit lacks: so each
// optional part hangs from a wire that runs on without it, down to its own ground.

#include "schematic/circuit_tables.h"

namespace morvane::gui::schematic::tables {

namespace {

using std::array;

// The noninverting amplifier after an op amp whose non-inverting input is at (x, 5): R3 from
// the output down to the inverting input, R4 from there to ground, the output terminal 8 to
// the right. A feedback path from further left may land on the output line at x + 5.
constexpr array<Part, 5> Amplifier(double x) {
  return {OpAmp({x, 5}, Amp::PlusOnTop), R({x, 10}, {x, 14}, "R4", Side::Left), Ground({x, 14}),
          R({x, 10}, {x + 6, 10}, "R3", Side::Below), Terminal({x + 8, 6}, "out", Side::Right)};
}
constexpr array<Wire, 3> AmplifierWires(double x) {
  return {W({{x, 7}, {x, 10}}), W({{x + 6, 10}, {x + 6, 6}}), W({{x + 4, 6}, {x + 8, 6}})};
}

// RC lowpass into the amplifier: R1 in, R1G (the divider) and C1 down to ground.
constexpr auto kFirstLowpass =
    Join(array{Terminal({0, 5}, "in", Side::Left), R({0, 5}, {4, 5}, "R1"),
               R({5, 5}, {5, 9}, "R1G", Side::Left), Ground({5, 9}),
               C({10, 5}, {10, 9}, "C1", Side::Left), Ground({10, 9})},
         Amplifier(12));
constexpr auto kFirstLowpassWires = Join(array{W({{4, 5}, {12, 5}})}, AmplifierWires(12));

// RC highpass into the amplifier: C1 in, R1 down to ground.
constexpr auto kFirstHighpass =
    Join(array{Terminal({0, 5}, "in", Side::Left), C({0, 5}, {4, 5}, "C1"),
               R({6, 5}, {6, 9}, "R1", Side::Left), Ground({6, 9})},
         Amplifier(8));
constexpr auto kFirstHighpassWires = Join(array{W({{4, 5}, {8, 5}})}, AmplifierWires(8));

// Inverting first-order lowpass: R1 in, R2 and C1 side by side in the feedback.
constexpr Part kInvertingLowpass[] = {
    Terminal({0, 8}, "in", Side::Left),
    R({0, 8}, {4, 8}, "R1"),
    OpAmp({6, 8}),
    Ground({6, 10}),
    R({5, 4}, {11, 4}, "R2"),
    C({5, 0}, {11, 0}, "C1"),
    Terminal({13, 9}, "out", Side::Right),
};
constexpr Wire kInvertingLowpassWires[] = {
    W({{4, 8}, {6, 8}}),
    W({{5, 8}, {5, 0}}),
    W({{11, 0}, {11, 9}}),
    W({{10, 9}, {13, 9}}),
};

// Inverting first-order highpass: C1 and R1 in series in, R2 in the feedback.
constexpr Part kInvertingHighpass[] = {
    Terminal({0, 8}, "in", Side::Left),
    C({0, 8}, {4, 8}, "C1"),
    R({4, 8}, {8, 8}, "R1"),
    OpAmp({10, 8}),
    Ground({10, 10}),
    R({9, 4}, {15, 4}, "R2"),
    Terminal({17, 9}, "out", Side::Right),
};
constexpr Wire kInvertingHighpassWires[] = {
    W({{8, 8}, {10, 8}}),
    W({{9, 8}, {9, 4}}),
    W({{15, 4}, {15, 9}}),
    W({{14, 9}, {17, 9}}),
};

// Sallen-Key lowpass behind an input divider: R1 to node a, R1G from a to ground, R2 on to
// the non-inverting input, C2 from there to ground, C1 from a back to the output.
constexpr auto kDividedSallenKey =
    Join(array{Terminal({0, 5}, "in", Side::Left), R({0, 5}, {4, 5}, "R1"),
               R({6, 5}, {6, 9}, "R1G", Side::Left), Ground({6, 9}), R({6, 5}, {10, 5}, "R2"),
               C({11, 5}, {11, 9}, "C2", Side::Left), Ground({11, 9}), C({4, 1}, {18, 1}, "C1")},
         Amplifier(13));
constexpr auto kDividedSallenKeyWires = Join(
    array{W({{4, 5}, {6, 5}}), W({{10, 5}, {13, 5}}), W({{4, 5}, {4, 1}}), W({{18, 1}, {18, 6}})},
    AmplifierWires(13));

// Sallen-Key bandpass behind an input divider: R1 to node a, R1G and C1 from a to ground, C2
// on to the non-inverting input, R2 from there to ground, R1B from a back to the output.
constexpr auto kDividedBandpass =
    Join(array{Terminal({0, 5}, "in", Side::Left), R({0, 5}, {4, 5}, "R1"),
               R({5, 5}, {5, 9}, "R1G", Side::Left), Ground({5, 9}),
               C({10, 5}, {10, 9}, "C1", Side::Left), Ground({10, 9}), C({10, 5}, {14, 5}, "C2"),
               R({16, 5}, {16, 9}, "R2", Side::Left), Ground({16, 9}), R({4, 1}, {23, 1}, "R1B")},
         Amplifier(18));
constexpr auto kDividedBandpassWires = Join(
    array{W({{4, 5}, {10, 5}}), W({{14, 5}, {18, 5}}), W({{4, 5}, {4, 1}}), W({{23, 1}, {23, 6}})},
    AmplifierWires(18));

// State-variable notch: op amp 1 sums the input (R3) and the bandpass output (R4, the loop
// below) on its non-inverting input, its own highpass output (R6) and the lowpass output (R5,
// the loop above) on its inverting input; two integrators R1 C1 and R2 C2; op amp 4 adds the
// highpass (R7) and lowpass (R8) outputs with R9 in its feedback. The highpass output is
// enclosed by the two loops, so it reaches R7 by name: both terminals "hp" are one node.
constexpr Part kNotchParts[] = {
    Terminal({0, 10}, "in", Side::Left),
    R({0, 10}, {4, 10}, "R3"),
    OpAmp({6, 8}),
    R({11, 14}, {15, 14}, "R4", Side::Below),
    R({6, 4}, {11, 4}, "R6"),
    R({6, 0}, {32, 0}, "R5"),
    Terminal({12, 11}, "hp", Side::Below),
    R({13, 9}, {17, 9}, "R1"),
    OpAmp({17, 9}),
    Ground({17, 11}),
    C({17, 5}, {21, 5}, "C1"),
    R({23, 10}, {27, 10}, "R2"),
    OpAmp({27, 10}),
    Ground({27, 12}),
    C({27, 5}, {31, 5}, "C2"),
    R({33, 11}, {37, 11}, "R8"),
    Terminal({33, 15}, "hp", Side::Left),
    R({33, 15}, {37, 15}, "R7", Side::Below),
    OpAmp({39, 11}),
    Ground({39, 13}),
    R({38, 7}, {43, 7}, "R9"),
    Terminal({45, 12}, "out", Side::Right),
};
constexpr Wire kNotchWires[] = {
    W({{4, 10}, {6, 10}}),   W({{5, 10}, {5, 14}, {11, 14}}), W({{15, 14}, {22, 14}, {22, 10}}),
    W({{6, 8}, {6, 0}}),     W({{11, 4}, {11, 9}}),           W({{10, 9}, {13, 9}}),
    W({{12, 9}, {12, 11}}),  W({{17, 9}, {17, 5}}),           W({{21, 5}, {21, 10}}),
    W({{21, 10}, {23, 10}}), W({{27, 10}, {27, 5}}),          W({{31, 5}, {31, 11}}),
    W({{31, 11}, {33, 11}}), W({{32, 0}, {32, 11}}),          W({{37, 11}, {39, 11}}),
    W({{37, 15}, {37, 11}}), W({{38, 11}, {38, 7}}),          W({{43, 7}, {43, 12}}),
    W({{43, 12}, {45, 12}}),
};

}  // namespace

// Dots are placed where the lines meet when a section is drawn.
const Circuit kFirstOrderLowpass{kFirstLowpass, kFirstLowpassWires, {}};
const Circuit kFirstOrderHighpass{kFirstHighpass, kFirstHighpassWires, {}};
const Circuit kInvertingFirstOrderLowpass{kInvertingLowpass, kInvertingLowpassWires, {}};
const Circuit kInvertingFirstOrderHighpass{kInvertingHighpass, kInvertingHighpassWires, {}};
const Circuit kDividedSallenKeyLowpass{kDividedSallenKey, kDividedSallenKeyWires, {}};
const Circuit kDividedPfbBandpass{kDividedBandpass, kDividedBandpassWires, {}};
const Circuit kStateVariableNotch{kNotchParts, kNotchWires, {}};

}  // namespace morvane::gui::schematic::tables
