#include "app/file_dialog_requests.h"

namespace morvane::gui {

namespace {

FileDialogRequest DesignRequest(const QString& title) {
  return {title, {{"INI Files", {"*.ini"}}}, "INI", "MV.INI"};
}

}  // namespace

FileDialogRequest SaveDesignRequest() {
  return DesignRequest("Save INI File");
}

FileDialogRequest OpenDesignRequest() {
  return DesignRequest("Load INI File");
}

FileDialogRequest SaveCircuitRequest() {
  return {"Save Circuit", {{"Circuit Files", {"*.kdr"}}}, "KDR", "MV.KDR"};
}

FileDialogRequest SaveNetlistRequest() {
  return {"Export SPICE Netlist", {{"SPICE Netlists", {"*.cir"}}}, "cir", "MV.cir"};
}

FileDialogRequest ExecuteRequest() {
#ifdef Q_OS_WIN
  return {"Execute Another Program",
          {{"Programs", {"*.exe", "*.com"}}, {"All Files", {"*.*"}}},
          "exe",
          "*.exe"};
#else
  // Programs here carry no extension but the permission to run them; a suffix or a pattern
  // as initial name would only get in the way.
  return {"Execute Another Program", {{"Programs", {"*"}, true}, {"All Files", {"*"}}}, {}, {}};
#endif
}

}  // namespace morvane::gui
