#include "command_line.h"

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cascade_command.h"
#include "curve_command.h"
#include "design/design_session.h"
#include "design_options.h"
#include "design_report.h"
#include "eseries_command.h"
#include "file_commands.h"
#include "help_texts.h"
#include "morvane/version.h"
#include "network_command.h"
#include "noise_command.h"
#include "opamps_command.h"
#include "order_command.h"
#include "plot_command.h"
#include "spice_command.h"
#include "tolerance_command.h"
#include "usage_error.h"

namespace {

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
  std::cerr << warnings.str() << ComponentWarningLines(session);
  std::cout << (json ? DesignJson(session) : DesignTable(session));
  return 0;
}

}  // namespace

namespace morvane::cli {

int RunCommandLine(std::vector<std::string> args) {
  try {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" ||
        (args[0] == "help" && args.size() == 1)) {
      std::cout << GeneralUsage();
      return args.empty() ? kExitUsage : 0;
    }
    if (args[0] == "help") {
      if (args.size() > 2) throw UsageError("help takes one command name");
      const auto usage = CommandUsage(args[1]);
      if (!usage) throw UsageError("unknown command: " + args[1]);
      std::cout << *usage;
      return 0;
    }
    if (args[0] == "--version") {
      std::cout << "morvane-cli " << morvane::kVersion << "\n";
      return 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (AsksForHelp(args)) {
      if (const auto usage = CommandUsage(command)) {
        std::cout << *usage;
        return 0;
      }
    }
    if (command == "design") return RunDesign(args);
    if (command == "curve") return RunCurve(args);
    if (command == "save-design") return RunSaveDesign(args);
    if (command == "export-circuit") return RunExportCircuit(args);
    if (command == "order") return RunOrder(args);
    if (command == "spice") return RunSpice(args);
    if (command == "plot") return RunPlot(args);
    if (command == "cascade") return RunCascade(args);
    if (command == "tolerance") return RunTolerance(args);
    if (command == "opamps") return RunOpAmps(args);
    if (command == "noise") return RunNoise(args);
    if (command == "network") return RunNetwork(args);
    if (command == "eseries") return RunESeries(args);
    throw UsageError("unknown command: " + command);
  } catch (const UsageError& e) {
    std::cerr << "morvane-cli: " << e.what() << "\n";
    return kExitUsage;
  } catch (const RunError& e) {
    std::cerr << "morvane-cli: " << e.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace morvane::cli
