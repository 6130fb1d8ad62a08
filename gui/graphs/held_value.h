#pragma once

// How the graph dialogs hold an entry within its limits.

namespace morvane::gui {

// x held within lower .. upper; a value that is not a number goes to the lower limit.
inline double HeldWithin(double x, double lower, double upper) {
  if (!(x >= lower)) return lower;
  return x > upper ? upper : x;
}

}  // namespace morvane::gui
