#include <charconv>

#include "spice/netlist.h"

namespace morvane {

std::string SpiceNumber(double x) {
  // to_chars writes what printf's "%.17g" writes in the C locale, in any locale.
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, x, std::chars_format::general, 17);
  return std::string(text, end.ptr);
}

}  // namespace morvane
