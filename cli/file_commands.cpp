#include "file_commands.h"

#include <iostream>
#include <sstream>

#include "design/design_session.h"
#include "design_options.h"
#include "files/design_file.h"
#include "lc/circuit_export.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

// Splits off the file name and applies the design options and entries to a fresh session.
std::string DesignFromArguments(const char* command, const std::vector<std::string>& args,
                                DesignSession& session) {
  if (args.empty() || args[0].empty() || args[0][0] == '-' ||
      args[0].find('=') != std::string::npos) {
    throw UsageError(std::string(command) + " needs a file name first");
  }
  DesignRequest request;
  const auto rest =
      ParseDesignRequest(std::vector<std::string>(args.begin() + 1, args.end()), request);
  if (!rest.empty()) throw UsageError("unknown option or argument: " + rest.front());
  std::ostringstream warnings;
  ApplyDesignRequest(request, session, warnings);
  std::cerr << warnings.str();
  return args[0];
}

}  // namespace

int RunSaveDesign(const std::vector<std::string>& args) {
  DesignSession session;
  const std::string path = DesignFromArguments("save-design", args, session);
  std::string error;
  if (!WriteDesignFile(path, session.SavedState(), session.Choices(), error)) {
    throw RunError(error);
  }
  return 0;
}

int RunExportCircuit(const std::vector<std::string>& args) {
  DesignSession session;
  const std::string path = DesignFromArguments("export-circuit", args, session);
  if (session.State().topology != Topology::LcLadder) {
    throw UsageError("export-circuit exports the passive LC ladder only (--topology lc)");
  }
  std::string error;
  if (!ExportCircuit(path, session.State(), session.Choices(), error)) throw RunError(error);
  return 0;
}

}  // namespace morvane::cli
