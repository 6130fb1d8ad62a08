#include "design/result_text.h"

#include <numbers>

#include "design/field_names.h"
#include "numerics/value_text.h"

namespace morvane {

std::string ResultText(double x) {
  return " " + FormatValue(7, 2, x);
}

std::string PeakingText(double dVu) {
  return " " + FormatFixed(6, 2, dVu);
}

bool IsBandType(FilterType type) {
  return type == FilterType::Bandpass || type == FilterType::Bandstop;
}

void WriteResonanceFields(const DesignState& s, FilterType type, FieldSink& out) {
  constexpr double twoPi = 2.0 * std::numbers::pi;
  if (IsBandType(type)) {
    out.Write(field::foAusgabe, ResultText(s.B));
    out.Write(field::woAusgabe, ResultText(twoPi * s.fg));
  } else {
    out.Write(field::foAusgabe, ResultText(s.fo));
    out.Write(field::woAusgabe, ResultText(twoPi * s.fo));
  }
}

void WritePeakingField(std::string_view field, const DesignState& s, FilterType type,
                       FieldSink& out) {
  if (IsBandType(type) || type == FilterType::Allpass) {
    out.Write(field, kNoPeaking);
  } else {
    out.Write(field, PeakingText(s.dVu));
  }
}

void WriteElementFields(std::span<const ElementField> fields, const DesignState& s,
                        FieldSink& out) {
  for (const ElementField& f : fields) out.Write(f.field, ResultText(s.*f.member));
}

}  // namespace morvane
