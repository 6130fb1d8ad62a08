#pragma once

// The windows the main window opens: created once when the program starts (hidden until asked
// for), except the About box, which is made anew each time. They answer the main window's
// laterWindowRequested signal by the name of the window asked for.

#include <QObject>
#include <QString>

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

  // Opens the window of that name ("TOrdDlg", "TInfoDlg", "THilfeBox", "TAboutBox", the graph
  // windows "TFormVu", "TFormPhi", "TFormTgr", "TFormht", the sweep factor "TSweepDlg");
  // false for a name it does not know.
  bool Open(const QString& name);

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
