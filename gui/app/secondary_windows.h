#pragma once

// The windows the main window opens: created once when the program starts (hidden until asked
// for), except the About box, which is made anew each time. They answer the main window's
// windowRequested signal.

#include <QObject>
#include <memory>

#include "app/secondary_window.h"

namespace morvane::gui {

class CascadeWindow;
class GraphWindows;
class HelpWindow;
class MainWindow;
class NoiseWindow;
class OrderDialog;
class PlatformServices;
class ProposalDialog;
class ToleranceWindow;
class ValueSearchDialog;

class SecondaryWindows : public QObject {
  Q_OBJECT

 public:
  SecondaryWindows(MainWindow& window, PlatformServices& services);
  ~SecondaryWindows() override;

  // False, nothing shown, for a value outside the enumeration.
  bool Open(SecondaryWindow window);

  OrderDialog& Order() { return *order_; }
  ProposalDialog& Proposal() { return *proposal_; }
  // F1 and the Help button show the page of the topology on the main window's tab.
  HelpWindow& Help() { return *help_; }
  GraphWindows& Graphs() { return *graphs_; }

  // The Multi-stage Filter window (Tools menu, speed bar, order dialog): made when first asked
  // for, a window of its own without a parent, kept with its design for the whole run.
  CascadeWindow& Cascade();
  void OpenCascade();
  // Tools > Tolerance Analysis of the page's stage (made when first asked for).
  ToleranceWindow& Tolerance();
  // Tools > Noise of the page's stage (made when first asked for).
  NoiseWindow& Noise();
  // Options > Search Standard Values.
  ValueSearchDialog& ValueSearch();

 private:
  MainWindow& window_;
  PlatformServices& services_;
  ProposalDialog* proposal_ = nullptr;
  OrderDialog* order_ = nullptr;
  GraphWindows* graphs_ = nullptr;
  HelpWindow* help_ = nullptr;
  std::unique_ptr<CascadeWindow> cascade_;
  ToleranceWindow* tolerance_ = nullptr;
  NoiseWindow* noise_ = nullptr;
  ValueSearchDialog* valueSearch_ = nullptr;
};

}  // namespace morvane::gui
