#pragma once

// The circuits behind the picture names, defined one topology per file.

#include "schematic/schematic_model.h"

namespace morvane::gui::schematic::tables {

extern const Circuit kMfbLowpass, kMfbHighpass, kMfbBandpass;
extern const Circuit kPfbLowpass, kPfbHighpass, kPfbBandpass;
extern const Circuit kPfbBandstop, kPfbAllpass, kPfbEllipticLowpass;
extern const Circuit kSvf3, kSvf4;
extern const Circuit kFliegeLowpass, kFliegeHighpass, kFliegeBandpass, kFliegeBandstop,
    kFliegeAllpass;
extern const Circuit kLadderLowpassOdd, kLadderLowpassEven, kLadderHighpassOdd, kLadderHighpassEven,
    kLadderLowpass, kLadderHighpass;
extern const Circuit kDiplexer;

// Section circuits of a cascade that no page draws, without dots (circuits_sections.cpp).
extern const Circuit kFirstOrderLowpass, kFirstOrderHighpass, kInvertingFirstOrderLowpass,
    kInvertingFirstOrderHighpass, kDividedSallenKeyLowpass, kDividedPfbBandpass,
    kStateVariableNotch;

}  // namespace morvane::gui::schematic::tables
