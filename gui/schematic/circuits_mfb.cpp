// Multiple-feedback inverting stage. Node A joins the input element and both feedback paths;
// N is the inverting input. The three types share one layout and differ in their elements.

#include "schematic/circuit_tables.h"

namespace morvane::gui::schematic::tables {

namespace {

constexpr Wire kWires[] = {
    W({{3, 7}, {3, 1}}), W({{3, 7}, {4, 7}}),   W({{7, 7}, {7, 4}}),
    W({{7, 7}, {8, 7}}), W({{13, 1}, {13, 8}}), W({{12, 8}, {15, 8}}),
};
constexpr GridPoint kDots[] = {{3, 7}, {4, 7}, {7, 7}, {13, 4}, {13, 8}};

constexpr Part kLowpass[] = {
    Terminal({0, 7}, "Vi", Side::Left),
    R({0, 7}, {3, 7}, "R1"),
    C({4, 7}, {4, 10}, "C1"),
    Ground({4, 10}),
    R({4, 7}, {7, 7}, "R2"),
    C({7, 4}, {13, 4}, "C2"),
    R({3, 1}, {13, 1}, "R3"),
    OpAmp({8, 7}),
    Ground({8, 9}),
    Terminal({15, 8}, "Vo", Side::Right),
};

constexpr Part kHighpass[] = {
    Terminal({0, 7}, "Vi", Side::Left),
    C({0, 7}, {3, 7}, "C1"),
    R({4, 7}, {4, 10}, "R1"),
    Ground({4, 10}),
    C({4, 7}, {7, 7}, "C2"),
    R({7, 4}, {13, 4}, "R2"),
    C({3, 1}, {13, 1}, "C3"),
    OpAmp({8, 7}),
    Ground({8, 9}),
    Terminal({15, 8}, "Vo", Side::Right),
};

constexpr Part kBandpass[] = {
    Terminal({0, 7}, "Vi", Side::Left),
    R({0, 7}, {3, 7}, "R1"),
    R({4, 7}, {4, 10}, "R2"),
    Ground({4, 10}),
    C({4, 7}, {7, 7}, "C2"),
    R({7, 4}, {13, 4}, "R3"),
    C({3, 1}, {13, 1}, "C1"),
    OpAmp({8, 7}),
    Ground({8, 9}),
    Terminal({15, 8}, "Vo", Side::Right),
};

}  // namespace

const Circuit kMfbLowpass{kLowpass, kWires, kDots};
const Circuit kMfbHighpass{kHighpass, kWires, kDots};
const Circuit kMfbBandpass{kBandpass, kWires, kDots};

}  // namespace morvane::gui::schematic::tables
