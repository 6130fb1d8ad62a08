#include "numerics/number_text.h"
#include "spice/netlist.h"

namespace morvane {

std::string SpiceNumber(double x) {
  return GeneralText(x, 17);
}

}  // namespace morvane
