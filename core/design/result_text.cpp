#include "design/result_text.h"

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

}  // namespace morvane
