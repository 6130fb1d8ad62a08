#include "spice/netlist_lines.h"

#include <cmath>

#include "spice/opamp_subcircuit.h"

namespace morvane {

std::string AcSweepCard(double fStart, double fStop, int pointsPerDecade) {
  int points = pointsPerDecade > 0 ? pointsPerDecade : 50;
  const double decades = std::log10(fStop / fStart);
  if (!(decades > 1e-6)) {
    fStop = fStart * std::pow(10.0, 1.0 / points);
  } else if (points * decades < 1.0) {
    points = static_cast<int>(std::ceil(1.0000001 / decades));
  }
  return ".ac dec " + std::to_string(points) + " " + SpiceNumber(fStart) + " " +
         SpiceNumber(fStop) + "\n";
}

std::string PartLine(const std::string& name, const std::string& a, const std::string& b,
                     double value) {
  return name + " " + a + " " + b + " " + SpiceNumber(value) + "\n";
}

namespace {

bool ModelCalled(const NetlistOptions& options) {
  return options.opAmpModel && !options.opAmpModel->IsIdeal();
}

}  // namespace

std::string OpAmpLine(const std::string& index, const CircuitOpAmp& amp,
                      const NetlistOptions& options) {
  if (ModelCalled(options)) {
    return "X" + index + " " + amp.plus + " " + amp.minus + " " + amp.output + " " +
           OpAmpSubcircuitName(*options.opAmpModel) + "\n";
  }
  if (options.opAmpSubcircuit.empty()) {
    return "E" + index + " " + amp.output + " 0 " + amp.plus + " " + amp.minus + " " +
           SpiceNumber(options.idealOpAmpGain) + "\n";
  }
  return "X" + index + " " + amp.plus + " " + amp.minus + " " + amp.output + " " +
         options.opAmpSubcircuit + "\n";
}

std::string OpAmpComment(const NetlistOptions& options) {
  if (ModelCalled(options)) {
    return "* op amps: " + options.opAmpModel->name + ", the subcircuit " +
           OpAmpSubcircuitName(*options.opAmpModel) + " below (pins in+ in- out)\n";
  }
  if (options.opAmpSubcircuit.empty()) {
    return "* op amps: ideal, voltage gain " + SpiceNumber(options.idealOpAmpGain) + "\n";
  }
  return "* op amps: subcircuit " + options.opAmpSubcircuit + " (pins in+ in- out)\n";
}

std::string OpAmpInclude(const NetlistOptions& options) {
  if (ModelCalled(options)) return OpAmpSubcircuit(*options.opAmpModel);
  if (options.opAmpSubcircuit.empty() || options.opAmpInclude.empty()) return {};
  return ".include \"" + options.opAmpInclude + "\"\n";
}

}  // namespace morvane
