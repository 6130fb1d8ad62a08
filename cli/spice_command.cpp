#include "spice_command.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>

#include "design/design_session.h"
#include "design_options.h"
#include "files/atomic_file.h"
#include "numerics/value_text.h"
#include "opamp_arguments.h"
#include "spice/netlist.h"
#include "unread_rest.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

double ParseFrequency(const std::string& option, const std::string& text, std::ostream& warnings) {
  const ValueReading reading = ReadValueInDetail(text);
  if (!reading.readable || reading.beyondLimit || !std::isfinite(reading.value) ||
      !(reading.value > 0.0)) {
    throw UsageError("option " + option + " needs a frequency above 0, not \"" + text + "\"");
  }
  warnings << UnreadRestWarning(option + " " + text, text);
  return reading.value;
}

int ParsePoints(const std::string& text) {
  std::size_t used = 0;
  int points = 0;
  try {
    points = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || points < 1 || points > 100000) {
    throw UsageError("option --points needs a whole number from 1 to 100000, not \"" + text + "\"");
  }
  return points;
}

}  // namespace

int RunSpice(const std::vector<std::string>& args) {
  if (args.empty() || args[0].empty() || (args[0][0] == '-' && args[0] != "-") ||
      args[0].find('=') != std::string::npos) {
    throw UsageError("spice needs a file name (or - for stdout) first");
  }
  const std::string path = args[0];
  DesignRequest request;
  const std::vector<std::string> rest =
      ParseDesignRequest(std::vector<std::string>(args.begin() + 1, args.end()), request);
  NetlistOptions options;
  std::ostringstream warnings;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const std::string& arg = rest[i];
    const std::string name = arg.substr(0, arg.find('='));
    const auto value = [&]() -> std::string {
      if (name.size() < arg.size()) return arg.substr(name.size() + 1);
      if (i + 1 >= rest.size()) throw UsageError("option " + arg + " needs a value");
      return rest[++i];
    };
    if (name == "--from") {
      options.fStart = ParseFrequency(name, value(), warnings);
    } else if (name == "--to") {
      options.fStop = ParseFrequency(name, value(), warnings);
    } else if (name == "--points") {
      options.pointsPerDecade = ParsePoints(value());
    } else {
      throw UsageError("unknown option or argument: " + arg);
    }
  }
  request.opAmpSubcircuitAllowed = true;
  const OpAmpSelection opAmp = OpAmpOf(request);
  options.opAmpModel = opAmp.model;
  options.opAmpSubcircuit = opAmp.subcircuit;
  options.opAmpInclude = opAmp.include;

  DesignSession session;
  ApplyDesignRequest(request, session, warnings);
  std::cerr << warnings.str();

  const DesignState& state = session.State();
  const double fStart = options.fStart > 0.0 ? options.fStart : state.fg / 100.0;
  const double fStop = options.fStop > 0.0 ? options.fStop : state.fg * 100.0;
  if (!(fStop > fStart)) throw UsageError("the sweep must end above its start (--from, --to)");
  // ngspice never ends a decade sweep that holds no whole step.
  if (options.pointsPerDecade * std::log10(fStop / fStart) < 1.0) {
    throw UsageError("the sweep holds less than one step: widen --from/--to or raise --points");
  }

  const std::string problem = DesignNetlistProblem(state, session.Choices());
  if (!problem.empty()) throw RunError("no circuit to write: " + problem);
  const std::string netlist = DesignNetlist(state, session.Choices(), options);
  if (path == "-") {
    std::cout << netlist;
    return 0;
  }
  std::string error;
  if (!WriteFileAtomically(path, netlist, error)) throw RunError(error);
  return 0;
}

}  // namespace morvane::cli
