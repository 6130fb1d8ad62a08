#include "app/secondary_windows.h"

#include "aids/order_dialog.h"
#include "aids/proposal_dialog.h"
#include "app/main_window.h"
#include "graphs/graph_windows.h"
#include "ui/about_box.h"
#include "ui/help_box.h"
#include "ui/window_placement.h"

namespace morvane::gui {

SecondaryWindows::SecondaryWindows(MainWindow& window, PlatformServices& services)
    : window_(window), services_(services) {
  proposal_ = new ProposalDialog(&window);
  order_ = new OrderDialog(window.Session().MutableState(), &window);
  graphs_ = new GraphWindows(window.Session(), services, &window);
  help_ = new HelpBox(&window);
  connect(&window, &MainWindow::laterWindowRequested, this, &SecondaryWindows::Open);
}

bool SecondaryWindows::Open(const QString& name) {
  if (name == "TOrdDlg") {
    ShowInFront(order_);
  } else if (name == "TInfoDlg") {
    ShowInFront(proposal_);
  } else if (name == "THilfeBox") {
    ShowInFront(help_);
  } else if (name == "TAboutBox") {
    OpenAboutBox(&window_);
  } else {
    return graphs_->Open(name);
  }
  return true;
}

}  // namespace morvane::gui
