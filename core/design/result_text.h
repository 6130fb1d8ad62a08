#pragma once

// The texts the recalculation writes into result fields. Every text starts with one blank.

#include <span>
#include <string>
#include <string_view>

#include "design/design_state.h"
#include "design/field_sink.h"

namespace morvane {

// " " + FormatValue(7, 2, x): the text of every numeric result.
std::string ResultText(double x);
// " " + FormatFixed(6, 2, dVu): the peaking text.
std::string PeakingText(double dVu);

inline constexpr const char* kNotNeeded = "not needed";
// dVu of bandpass, bandstop and allpass: seven blanks and a dash.
inline constexpr const char* kNoPeaking = "       -";

bool IsBandType(FilterType type);  // bandpass or bandstop

// foAusgabe and woAusgabe: fo and 2*pi*fo, or for the band types the bandwidth B and 2*pi*fg.
void WriteResonanceFields(const DesignState& s, FilterType type, FieldSink& out);

// The page's peaking field: a dash for bandpass, bandstop and allpass, else dVu.
void WritePeakingField(std::string_view field, const DesignState& s, FilterType type,
                       FieldSink& out);

// An output field of a page that shows one value of the design.
struct ElementField {
  std::string_view field;
  double DesignState::*member;
};

// Writes ResultText of each field's value, in the order given.
void WriteElementFields(std::span<const ElementField> fields, const DesignState& s, FieldSink& out);

}  // namespace morvane
