#pragma once

// The windows the main window opens: created once when the program starts (hidden until asked
// for), except the About box, which is made anew each time. They answer the main window's
// windowRequested signal.

#include <QObject>

#include "app/secondary_window.h"

namespace morvane::gui {

class GraphWindows;
class HelpBox;
class MainWindow;
class OrderDialog;
class PlatformServices;
class ProposalDialog;

class SecondaryWindows : public QObject {
  Q_OBJECT

 public:
  SecondaryWindows(MainWindow& window, PlatformServices& services);

  // False, nothing shown, for a value outside the enumeration.
  bool Open(SecondaryWindow window);

  OrderDialog& Order() { return *order_; }
  ProposalDialog& Proposal() { return *proposal_; }
  HelpBox& Help() { return *help_; }
  GraphWindows& Graphs() { return *graphs_; }

 private:
  MainWindow& window_;
  PlatformServices& services_;
  ProposalDialog* proposal_ = nullptr;
  OrderDialog* order_ = nullptr;
  GraphWindows* graphs_ = nullptr;
  HelpBox* help_ = nullptr;
};

}  // namespace morvane::gui
