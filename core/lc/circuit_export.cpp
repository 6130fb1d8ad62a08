#include "lc/circuit_export.h"

#include <cmath>
#include <vector>

#include "files/ini_profile.h"
#include "lc/lc_ladder.h"
#include "network/network_file.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

// Parasitics the companion program expects with every element: each inductor carries
// 1 mOhm and 1 fF, each capacitor 0.1 nH and 1 mOhm.
constexpr double kSeriesInductance = 1e-10;
constexpr double kSeriesResistance = 0.001;
constexpr double kParallelCapacitance = 1e-15;

std::string Value(double x) {
  return FormatValue(6, 2, x);
}

bool Exportable(const std::vector<LadderElement>& elements) {
  if (elements.empty()) return false;
  for (const LadderElement& e : elements) {
    if (!std::isfinite(e.value) || !(e.value > 0.0)) return false;
  }
  return true;
}

}  // namespace

bool ExportCircuit(const std::string& path, const DesignState& s, const DesignChoices& in,
                   std::string& error) {
  const std::vector<LadderElement> elements = LadderElements(s, in);
  // A file with zero or divided-by-zero element values would only mislead the companion.
  if (!Exportable(elements)) {
    error =
        "The LC filter has no element values for these entries (see the element table), so no "
        "circuit was exported.";
    return false;
  }

  IniDocument document;
  if (!LoadIniFile(path, document, error)) return false;

  const std::string variables = "Variablen";
  document.Set(variables, "Zo", Value(s.RL));
  document.Set(variables, "RG", Value(s.Zin));
  document.Set(variables, "f", Value(s.fg));
  document.Set(variables, "Elemente", FormatInteger(static_cast<int>(elements.size())));
  document.Set(variables, "Schaltung vertauscht", YesNoText(false));

  for (std::size_t i = 0; i < elements.size(); ++i) {
    const LadderElement& e = elements[i];
    const bool inductor = e.kind == 'L';
    const std::string section = "Element" + FormatInteger(static_cast<int>(i + 1));
    document.Set(section, "Anordnung", e.shunt ? "shunt" : "series");
    document.Set(section, "Optimierung", "ja");
    document.Set(section, "Typ", inductor ? "L" : "C");
    // The designed value to full precision, as the series/parallel program writes it: three
    // digits would move the exported ladder's response by hundredths of a dB.
    document.Set(section, "Lx", inductor ? NetworkValueText(e.value) : Value(kSeriesInductance));
    document.Set(section, "Rx", Value(kSeriesResistance));
    document.Set(section, "Cx", inductor ? Value(kParallelCapacitance) : NetworkValueText(e.value));
  }
  return SaveIniFile(path, document, error);
}

}  // namespace morvane
