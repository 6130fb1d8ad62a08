#include "unread_rest.h"

#include <algorithm>

#include "numerics/number_text.h"
#include "numerics/value_text.h"

namespace morvane::cli {

std::string UnreadRestWarning(std::string_view given, std::string_view text) {
  const ValueReading reading = ReadValueInDetail(text);
  std::string_view rest = text.substr(std::min(reading.used, text.size()));
  rest = rest.substr(0, rest.find_last_not_of(' ') + 1);
  if (!reading.readable || rest.empty()) return {};
  // Twelve digits show every value a text can mean; -0 shows as 0.
  const std::string value = GeneralText(reading.value == 0.0 ? 0.0 : reading.value, 12);
  return "morvane-cli: " + std::string(given) + ": read as " + value + " (\"" + std::string(rest) +
         "\" ignored)\n";
}

}  // namespace morvane::cli
