// morvane-eseries: standard values of the series E3 to E192, two-part combinations and
// resistor pairs for a ratio.

#include "companions/companion_main.h"
#include "companions/eseries/eseries_arguments.h"

int main(int argc, char** argv) {
  return morvane::gui::RunCompanion(
      argc, argv,
      {"morvane-eseries", "Morvane Standard Values", "[VALUE] [E3|E6|E12|E24|E48|E96|E192]"},
      morvane::gui::MakeESeriesWindow);
}
