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
#include "help_texts.h"
#include "order_command.h"
#include "plot_command.h"
#include "spice_command.h"
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
  std::cerr << warnings.str();
  std::cout << (json ? DesignJson(session) : DesignTable(session));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" ||
        (args[0] == "help" && args.size() == 1)) {
      std::cout << morvane::cli::GeneralUsage();
      return args.empty() ? morvane::cli::kExitUsage : 0;
    }
    if (args[0] == "help") {
      if (args.size() > 2) throw morvane::cli::UsageError("help takes one command name");
      const auto usage = morvane::cli::CommandUsage(args[1]);
      if (!usage) throw morvane::cli::UsageError("unknown command: " + args[1]);
      std::cout << *usage;
      return 0;
    }
    if (args[0] == "--version") {
      std::cout << "morvane-cli 3.0\n";
      return 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (morvane::cli::AsksForHelp(args)) {
      if (const auto usage = morvane::cli::CommandUsage(command)) {
        std::cout << *usage;
        return 0;
      }
    }
    if (command == "design") return RunDesign(args);
    if (command == "curve") return morvane::cli::RunCurve(args);
    if (command == "save-design") return morvane::cli::RunSaveDesign(args);
    if (command == "export-circuit") return morvane::cli::RunExportCircuit(args);
    if (command == "order") return morvane::cli::RunOrder(args);
    if (command == "spice") return morvane::cli::RunSpice(args);
    if (command == "plot") return morvane::cli::RunPlot(args);
    throw morvane::cli::UsageError("unknown command: " + command);
  } catch (const morvane::cli::UsageError& e) {
    std::cerr << "morvane-cli: " << e.what() << "\n";
    return morvane::cli::kExitUsage;
  } catch (const morvane::cli::RunError& e) {
    std::cerr << "morvane-cli: " << e.what() << "\n";
    return morvane::cli::kExitFailure;
  }
}
