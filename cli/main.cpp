// morvane-cli: the headless face of the filter designer, for scripts, batch work and tests.

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "curve_command.h"
#include "design/design_session.h"
#include "design_options.h"
#include "design_report.h"
#include "file_commands.h"
#include "order_command.h"
#include "spice_command.h"
#include "usage_error.h"

namespace {

constexpr const char* kUsage =
    "usage: morvane-cli design [--topology mfb|pfb|svf3|svf4|fliege|lc|diplexer|1..7]\n"
    "                          [--type lowpass|highpass|bandpass|bandstop|allpass|elliptic]\n"
    "                          [--series-r E6|E12|E24|E48|E96] [--series-c E6|E12|E24|E48|E96]\n"
    "                          [--no-equal-capacitors] [--no-offset-compensation]\n"
    "                          [--manual-capacitance] [--order 2..10] [--chebyshev]\n"
    "                          [--diplexer-order 3|5|7|9] [--diplexer-chebyshev]\n"
    "                          [NAME=TEXT ...] [--json]\n"
    "  NAME is one of fg, f, Q, D, Vu, Zin, R3, C1, fnfp, RL, Welligkeit; each TEXT is read\n"
    "  as if typed into that entry field (for example fg=2k Q=1,5 Zin=4k7).\n"
    "       morvane-cli curve gain|phase|delay|step|pulse --from X --to Y [--log]\n"
    "                         [the design options and NAME=TEXT entries above]\n"
    "  prints CSV (\"x,y\") of the samples a graph window draws for that axis range.\n"
    "       morvane-cli save-design FILE [design options and entries]\n"
    "       morvane-cli export-circuit FILE [design options and entries]   (--topology lc)\n"
    "       morvane-cli order --f1 TEXT --d1 TEXT --f2 TEXT --d2 TEXT [--chebyshev] [--json]\n"
    "       morvane-cli spice FILE|- [design options and entries] [--from X] [--to Y]\n"
    "                         [--points N] [--opamp NAME [--opamp-include FILE]]\n"
    "  Every design command also takes --design FILE, opened first as the window opens one.\n";

int RunDesign(const std::vector<std::string>& args) {
  using namespace morvane::cli;
  DesignRequest request;
  bool json = false;
  for (const auto& arg : ParseDesignRequest(args, request)) {
    if (arg == "--json") {
      json = true;
    } else {
      throw UsageError("unknown option or argument: " + arg);
    }
  }
  morvane::DesignSession session;
  std::ostringstream warnings;
  ApplyDesignRequest(request, session, warnings);
  std::cerr << warnings.str();
  std::cout << (json ? DesignJson(session) : DesignTable(session));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
      std::cout << kUsage;
      return args.empty() ? morvane::cli::kExitUsage : 0;
    }
    if (args[0] == "--version") {
      std::cout << "morvane-cli 3.0\n";
      return 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "design") return RunDesign(args);
    if (command == "curve") return morvane::cli::RunCurve(args);
    if (command == "save-design") return morvane::cli::RunSaveDesign(args);
    if (command == "export-circuit") return morvane::cli::RunExportCircuit(args);
    if (command == "order") return morvane::cli::RunOrder(args);
    if (command == "spice") return morvane::cli::RunSpice(args);
    throw morvane::cli::UsageError("unknown command: " + command);
  } catch (const morvane::cli::UsageError& e) {
    std::cerr << "morvane-cli: " << e.what() << "\n";
    return morvane::cli::kExitUsage;
  } catch (const morvane::cli::RunError& e) {
    std::cerr << "morvane-cli: " << e.what() << "\n";
    return morvane::cli::kExitFailure;
  }
}
