#pragma once

// The file dialogs of the main window: titles, filters, default extensions, initial names.

#include "app/platform_services.h"

namespace morvane::gui {

// "Save INI File" and "Load INI File": design files.
FileDialogRequest SaveDesignRequest();
FileDialogRequest OpenDesignRequest();
// "Save Circuit": the LC ladder for the series and parallel circuit program.
FileDialogRequest SaveCircuitRequest();
// The SPICE netlist of the current design.
FileDialogRequest SaveNetlistRequest();
// "Execute Another Program".
FileDialogRequest ExecuteRequest();

}  // namespace morvane::gui
