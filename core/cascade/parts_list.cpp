#include "cascade/parts_list.h"

#include <cmath>

#include "numerics/number_text.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

bool IsSeriesValue(int series, double x) {
  const double nearest = SeriesValueAbove(series, x * (1.0 - 1e-12));
  return std::abs(nearest / x - 1.0) < 1e-9;
}

std::string Trimmed(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

std::string PartsListCsv(const CascadeDesign& design, const SectionDesignOptions& options) {
  std::string csv = "reference,value,value_si,series,section,kind\n";
  for (std::size_t i = 0; i < design.sections.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    for (const CircuitPart& part : design.sections[i].circuit.circuit.parts) {
      const bool capacitor = part.name[0] == 'C';
      const int series = capacitor ? options.seriesC : options.seriesR;
      csv += part.name + "_" + number + "," + Trimmed(FormatValue(7, 2, part.value)) + "," +
             GeneralText(part.value, 17) + "," +
             (IsSeriesValue(series, part.value) ? SeriesName(series) : "computed") + "," + number +
             "," + (capacitor ? "capacitor" : "resistor") + "\n";
    }
  }
  return csv;
}

}  // namespace morvane
