#include "ngspice_monte_carlo.h"

#include <algorithm>
#include <sstream>

#include "spice/netlist.h"

namespace morvane::sim {

namespace {

constexpr char kOutputFile[] = "montecarlo.txt";

std::string SweepCard(const AcSweep& s) {
  return std::string("ac ") + (s.spacing == AcSweep::Spacing::Linear ? "lin " : "dec ") +
         std::to_string(s.points) + " " + SpiceNumber(s.fromHz) + " " + SpiceNumber(s.toHz);
}

}  // namespace

std::string MonteCarloNetlist(const CascadeDesign& design, const SpiceMonteCarloRequest& request) {
  if (request.tolerances.distribution != ToleranceDistribution::Uniform || request.runs < 1) {
    return {};
  }
  NetlistOptions options;
  options.controlBlock = false;
  options.idealOpAmpGain = 1e9;
  const std::string circuit = CascadeNetlist(design, options);
  if (circuit.empty()) return {};
  std::istringstream lines(circuit);
  std::ostringstream out, alters;
  std::string line;
  int k = 0;
  while (std::getline(lines, line)) {
    if (line.rfind(".ac", 0) == 0 || line.rfind(".end", 0) == 0) continue;
    out << line << "\n";
    std::istringstream words(line);
    std::string name, a, b, value;
    words >> name >> a >> b >> value;
    const double t = ToleranceOf(name, request.tolerances);
    if (t == 0.0 || value.empty()) continue;
    alters << "  let p" << k << " = " << value << " * (1 + " << SpiceNumber(t) << " * sunif(0))\n"
           << "  alter " << name << " = $&p" << k << "\n";
    ++k;
  }
  const std::string runs = std::to_string(request.runs);
  // The sums of |V(out)| and its square, one entry a frequency; abs() keeps a spread that
  // rounding pushed below zero real.
  out << ".control\nset noaskquit\nset rndseed=" << request.tolerances.seed << "\n"
      << "let run = 0\nlet gsum = 0\nlet gsq = 0\nlet gfreq = 0\n"
      << "dowhile run < " << runs << "\n"
      << alters.str() << "  " << SweepCard(request.sweep) << "\n"
      << "  let m = mag(v(out))\n  let gsum = gsum + m\n  let gsq = gsq + m * m\n"
      << "  let gfreq = real(frequency)\n  destroy\n  let run = run + 1\nend\n"
      << "let gmean = gsum / " << runs << "\n"
      << "let gstd = sqrt(abs(gsq - gsum * gsum / " << runs << ") / "
      << std::max(request.runs - 1, 1) << ")\n"
      << "option numdgt=15\nset width=1000\nset height=1000000\n"
      << "print col gfreq gmean gstd > " << kOutputFile << "\n.endc\n.end\n";
  return out.str();
}

SpiceMonteCarlo RunSpiceMonteCarlo(const std::string& netlist, std::chrono::seconds timeout) {
  SpiceMonteCarlo result;
  if (netlist.empty()) {
    result.error = "no netlist";
    return result;
  }
  const ScriptResult run = RunScript(netlist, kOutputFile, timeout);
  result.seconds = run.seconds;
  result.error = run.error;
  // print's table: index, frequency, mean, deviation, between headings. A row with fewer
  // values has a vector that the runs never made.
  std::istringstream lines(run.output);
  std::string line;
  while (result.error.empty() && std::getline(lines, line)) {
    std::istringstream fields(line);
    std::vector<double> row;
    for (double x = 0.0; fields >> x;) row.push_back(x);
    if (row.empty()) continue;
    if (row.size() != 4 || row[0] != static_cast<double>(result.frequencies.size()) ||
        !fields.eof()) {
      result.error = "unexpected line: " + line;
      break;
    }
    result.frequencies.push_back(row[1]);
    result.meanGain.push_back(row[2]);
    result.stdGain.push_back(row[3]);
  }
  if (result.error.empty() && result.frequencies.empty()) {
    result.error = "ngspice printed no statistics:\n" + run.output.substr(0, 1500);
  }
  if (!result.error.empty()) result.frequencies = result.meanGain = result.stdGain = {};
  return result;
}

}  // namespace morvane::sim
