// Design files, the circuit export of the LC page and the SPICE netlist of the design.

#include <QAction>
#include <QToolButton>

#include "app/design_file_io.h"
#include "app/file_dialog_requests.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "app/whole_file_writes.h"
#include "lc/circuit_export.h"
#include "spice/netlist.h"

namespace morvane::gui {

void MainWindow::ConnectFileCommands() {
  connect(Find<QAbstractButton>("SpeedButtonINISave"), &QAbstractButton::clicked, this,
          &MainWindow::SpeedButtonINISaveClick);
  connect(Find<QAbstractButton>("SpeedButtonINILaden"), &QAbstractButton::clicked, this,
          &MainWindow::SpeedButtonINILadenClick);
  connect(Find<QAbstractButton>("SpeedButtonExport"), &QAbstractButton::clicked, this,
          &MainWindow::SpeedButtonExportClick);
  connect(Find<QAction>("SpiceExport1"), &QAction::triggered, this, &MainWindow::SpiceExport1Click);
}

void MainWindow::SpeedButtonINISaveClick() {
  const QString path = services_.AskSaveFile(this, SaveDesignRequest());
  if (path.isEmpty()) return;
  QString error;
  if (!SaveDesignFile(session_, path, error)) services_.ShowMessage(this, error);
}

void MainWindow::SpeedButtonINILadenClick() {
  const QString path = services_.AskOpenFile(this, OpenDesignRequest());
  if (path.isEmpty()) return;
  std::string error;
  // A file that cannot be read changes nothing, so there is nothing to recalculate.
  if (!session_.OpenDesign(LocalFileName(path), error)) {
    services_.ShowMessage(this, QString::fromStdString(error));
    return;
  }
  ShowChoices();
  session_.Recalculate(ChangedEntry::Any);
}

void MainWindow::SpeedButtonExportClick() {
  const QString path = services_.AskSaveFile(this, SaveCircuitRequest());
  if (path.isEmpty()) return;
  std::string error;
  if (!ExportCircuit(LocalFileName(path), session_.State(), session_.Choices(), error)) {
    services_.ShowMessage(this, QString::fromStdString(error));
    return;
  }
  exportedCircuit_ = path;
}

void MainWindow::SpiceExport1Click() {
  const std::string netlist = DesignNetlist(session_.State(), session_.Choices(), {});
  // Asking for a file name first would be in vain.
  if (netlist.empty()) {
    const std::string problem = DesignNetlistProblem(session_.State(), session_.Choices());
    services_.ShowMessage(this,
                          "No SPICE netlist was written: " + QString::fromStdString(problem) + ".");
    return;
  }
  const QString path = services_.AskSaveFile(this, SaveNetlistRequest());
  if (path.isEmpty()) return;
  // Written whole or not at all: a failed write keeps an older file as it was.
  QString error;
  if (!WriteWholeFile(path, netlist, error)) services_.ShowMessage(this, error);
}

}  // namespace morvane::gui
