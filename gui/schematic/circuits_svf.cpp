// State-variable stages: a summing amplifier and two integrators, one picture per page for
// every type, with the highpass, bandpass and lowpass (and bandstop) outputs brought out.

#include "schematic/circuit_tables.h"

namespace morvane::gui::schematic::tables {

namespace {

// Three op amps. Op amp 1 sums on its non-inverting input the input through R3 and the
// bandpass output through R4, with R0 to ground; its inverting input has R6 from its own
// output and R5 from the lowpass output.
constexpr Part kSvf3Parts[] = {
    Terminal({0, 8}, "Vi", Side::Left),
    R({0, 8}, {3, 8}, "R3"),
    R({3, 8}, {3, 11}, "R0", Side::Left),
    Ground({3, 11}),
    R({13, 11}, {16, 11}, "R4", Side::Below),
    OpAmp({5, 6}),
    R({5, 3}, {9, 3}, "R6"),
    R({5, 0}, {25, 0}, "R5"),
    Terminal({10, 9}, "HP", Side::Below),
    R({10, 7}, {13, 7}, "R1"),
    OpAmp({13, 7}),
    Ground({13, 9}),
    C({13, 3}, {17, 3}, "C1"),
    Terminal({18, 12}, "BP", Side::Below),
    R({18, 8}, {21, 8}, "R2"),
    OpAmp({21, 8}),
    Ground({21, 10}),
    C({21, 3}, {25, 3}, "C2"),
    Terminal({26, 9}, "LP", Side::Right),
};
constexpr Wire kSvf3Wires[] = {
    W({{3, 8}, {5, 8}}),     W({{4, 8}, {4, 11}, {13, 11}}),
    W({{16, 11}, {18, 11}}), W({{5, 6}, {5, 0}}),
    W({{9, 3}, {9, 7}}),     W({{9, 7}, {10, 7}}),
    W({{10, 7}, {10, 9}}),   W({{13, 7}, {13, 3}}),
    W({{17, 3}, {17, 8}}),   W({{17, 8}, {18, 8}}),
    W({{18, 8}, {18, 12}}),  W({{21, 8}, {21, 3}}),
    W({{25, 0}, {25, 9}}),   W({{25, 9}, {26, 9}}),
};
constexpr GridPoint kSvf3Dots[] = {{3, 8},  {4, 8},  {5, 3},   {9, 7},  {10, 7}, {13, 7},
                                   {17, 8}, {18, 8}, {18, 11}, {21, 8}, {25, 3}, {25, 9}};

// Four op amps, each summing on its inverting input: op amp 1 the input through R0 and the
// bandpass output through R3 (feedback R3), op amp 2 the bandstop output through R5 and the
// lowpass output through R4 (feedback R4), then the integrators R1-C1 and R2-C2.
constexpr Part kSvf4Parts[] = {
    Terminal({0, 6}, "Vi", Side::Left),
    R({0, 6}, {3, 6}, "R0"),
    OpAmp({3, 6}),
    Ground({3, 8}),
    R({3, 3}, {7, 3}, "R3"),
    R({3, 0}, {24, 0}, "R3"),
    Terminal({8, 9}, "BS", Side::Below),
    R({8, 7}, {11, 7}, "R5"),
    OpAmp({12, 7}),
    Ground({12, 9}),
    R({12, 3}, {16, 3}, "R4"),
    Terminal({17, 10}, "HP", Side::Below),
    R({17, 8}, {20, 8}, "R1"),
    OpAmp({20, 8}),
    Ground({20, 10}),
    C({20, 3}, {24, 3}, "C1"),
    Terminal({25, 11}, "BP", Side::Below),
    R({25, 9}, {28, 9}, "R2"),
    OpAmp({28, 9}),
    Ground({28, 11}),
    C({28, 3}, {32, 3}, "C2"),
    Terminal({34, 10}, "LP", Side::Right),
    R({13, 13}, {16, 13}, "R4", Side::Below),
};
constexpr Wire kSvf4Wires[] = {
    W({{3, 6}, {3, 0}}),
    W({{7, 3}, {7, 7}}),
    W({{7, 7}, {8, 7}}),
    W({{8, 7}, {8, 9}}),
    W({{11, 7}, {12, 7}}),
    W({{12, 7}, {12, 3}}),
    W({{16, 3}, {16, 8}}),
    W({{16, 8}, {17, 8}}),
    W({{17, 8}, {17, 10}}),
    W({{20, 8}, {20, 3}}),
    W({{24, 0}, {24, 9}}),
    W({{24, 9}, {25, 9}}),
    W({{25, 9}, {25, 11}}),
    W({{28, 9}, {28, 3}}),
    W({{32, 3}, {32, 10}}),
    W({{32, 10}, {34, 10}}),
    W({{33, 10}, {33, 13}, {16, 13}}),
    W({{13, 13}, {11, 13}, {11, 7}}),
};
constexpr GridPoint kSvf4Dots[] = {{3, 6},  {3, 3},  {7, 7},  {8, 7},   {11, 7},
                                   {12, 7}, {16, 8}, {17, 8}, {20, 8},  {24, 3},
                                   {24, 9}, {25, 9}, {28, 9}, {32, 10}, {33, 10}};

}  // namespace

const Circuit kSvf3{kSvf3Parts, kSvf3Wires, kSvf3Dots};
const Circuit kSvf4{kSvf4Parts, kSvf4Wires, kSvf4Dots};

}  // namespace morvane::gui::schematic::tables
