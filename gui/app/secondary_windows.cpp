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
  connect(&window, &MainWindow::windowRequested, this, &SecondaryWindows::Open);
}

bool SecondaryWindows::Open(SecondaryWindow window) {
  switch (window) {
    case SecondaryWindow::FilterOrder:
      ShowInFront(order_);
      return true;
    case SecondaryWindow::TopologyProposal:
      ShowInFront(proposal_);
      return true;
    case SecondaryWindow::Help:
      ShowInFront(help_);
      return true;
    case SecondaryWindow::About:
      OpenAboutBox(&window_);
      return true;
    case SecondaryWindow::SweepFactor:
    case SecondaryWindow::GainGraph:
    case SecondaryWindow::PhaseGraph:
    case SecondaryWindow::GroupDelayGraph:
    case SecondaryWindow::TimeResponseGraph:
      return graphs_->Open(window);
  }
  return false;
}

}  // namespace morvane::gui
