#include "network_command.h"

#include <iostream>
#include <optional>
#include <sstream>

#include "cascade_arguments.h"
#include "network/ladder_network.h"
#include "network/network_file.h"
#include "network/network_response.h"
#include "numerics/number_text.h"
#include "option_value.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

constexpr int kDefaultPoints = 201;
constexpr int kMostPoints = 100000;
// Twelve significant digits: a frequency as given, the gain to far below 1e-6 dB.
constexpr int kDigits = 12;

struct NetworkArguments {
  std::string file;
  std::optional<double> from, to;
  int points = kDefaultPoints;
  bool logarithmic = false;
  bool ideal = false;
};

NetworkArguments Parse(const std::vector<std::string>& args, std::ostream& warnings) {
  NetworkArguments a;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string v;
    if (args[i] == "--log") {
      a.logarithmic = true;
    } else if (args[i] == "--ideal") {
      a.ideal = true;
    } else if (TakeValue(args, i, "--from", v)) {
      a.from = ReadNumber("option --from", "--from " + v, v, warnings);
    } else if (TakeValue(args, i, "--to", v)) {
      a.to = ReadNumber("option --to", "--to " + v, v, warnings);
    } else if (TakeValue(args, i, "--points", v)) {
      const auto n = WholeNumber(v);
      if (!n || *n < 2 || *n > kMostPoints) {
        throw UsageError("option --points takes a whole number from 2 to " +
                         std::to_string(kMostPoints) + ", not \"" + v + "\"");
      }
      a.points = static_cast<int>(*n);
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw UsageError("unknown option: " + args[i]);
    } else if (a.file.empty()) {
      a.file = args[i];
    } else {
      throw UsageError("network takes one circuit file, not also \"" + args[i] + "\"");
    }
  }
  if (a.file.empty()) throw UsageError("network needs a circuit FILE");
  if (!a.from || !a.to) throw UsageError("network needs --from F and --to F (Hz)");
  if (!(*a.from > 0.0) || !(*a.to > *a.from)) {
    throw UsageError("network needs 0 < --from < --to");
  }
  return a;
}

}  // namespace

int RunNetwork(const std::vector<std::string>& args) {
  std::ostringstream warnings;
  const NetworkArguments a = Parse(args, warnings);
  std::cerr << warnings.str();
  LadderNetwork network;
  std::string error;
  if (!LoadNetworkFile(a.file, network, error)) throw RunError(error);
  if (const std::string problem = NetworkProblem(network); !problem.empty()) {
    throw RunError(a.file + ": " + problem);
  }
  if (a.ideal) network = IdealNetwork(network);
  std::ostringstream out;
  out << "f,dB\n";
  for (double f : SweepFrequencies(*a.from, *a.to, a.points, a.logarithmic)) {
    out << GeneralText(f, kDigits) << "," << GeneralText(AnalyseNetwork(network, f).gainDb, kDigits)
        << "\n";
  }
  std::cout << out.str();
  return 0;
}

}  // namespace morvane::cli
