#pragma once

// The file dialogs of the Multi-stage Filter window: titles, filters, default extensions,
// initial names. The design file dialogs are the main window's, under their own titles.

#include "app/platform_services.h"

namespace morvane::gui {

FileDialogRequest SaveCascadeNetlistRequest();
FileDialogRequest SavePartsListRequest();
FileDialogRequest SaveCascadeDesignRequest();
FileDialogRequest OpenCascadeDesignRequest();

}  // namespace morvane::gui
