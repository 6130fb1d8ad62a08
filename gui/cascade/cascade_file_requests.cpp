#include "cascade/cascade_file_requests.h"

#include "app/file_dialog_requests.h"

namespace morvane::gui {

FileDialogRequest SaveCascadeNetlistRequest() {
  FileDialogRequest request = SaveNetlistRequest();
  request.title = "Save Netlist of the Multi-stage Filter";
  request.initialName = "MV-stages.cir";
  return request;
}

FileDialogRequest SavePartsListRequest() {
  return {"Save Parts List", {{"CSV Files", {"*.csv"}}}, "csv", "MV-parts.csv"};
}

FileDialogRequest SaveCascadeDesignRequest() {
  FileDialogRequest request = SaveDesignRequest();
  request.title = "Save Multi-stage Filter to Design File";
  return request;
}

FileDialogRequest OpenCascadeDesignRequest() {
  FileDialogRequest request = OpenDesignRequest();
  request.title = "Open Multi-stage Filter from Design File";
  return request;
}

}  // namespace morvane::gui
