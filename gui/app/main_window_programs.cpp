// Starting other programs: any the user picks, and those of the Tools menu.

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

#include "app/file_dialog_requests.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "app/program_starts.h"
#include "app/timed_notice.h"

namespace morvane::gui {

namespace {

constexpr int kStatusMessageMs = 10000;

}  // namespace

void MainWindow::ConnectPrograms() {
  connect(Find<QAbstractButton>("ExecButton"), &QAbstractButton::clicked, this,
          &MainWindow::ExecuteProgram);
  connect(Find<QAction>("Ausfhren1"), &QAction::triggered, this, &MainWindow::ExecuteProgram);
  for (const ToolProgram& tool : ToolPrograms()) {
    connect(Find<QAction>(tool.item), &QAction::triggered, this,
            [this, &tool] { StartTool(tool); });
  }
  // A program installed while this one runs is offered the next time the menu opens.
  connect(Find<QMenu>("Tools1"), &QMenu::aboutToShow, this, &MainWindow::RenewToolItems);
  RenewToolItems();
}

void MainWindow::ExecuteProgram() {
  const QString path = services_.AskOpenFile(this, ExecuteRequest());
  if (path.isEmpty()) return;
  if (!services_.StartProgram(path)) services_.Beep();
}

void MainWindow::StartTool(const ToolProgram& tool) {
  const auto found = FindToolProgram(tool, services_.ProgramFolders());
  if (!found) {
    ShowStatus(MissingProgramText(tool));
    return;
  }
  QStringList arguments = found->arguments;
  if (tool.opensExportedCircuit && !exportedCircuit_.isEmpty() &&
      QFileInfo::exists(exportedCircuit_)) {
    arguments << exportedCircuit_;
  }
  if (!services_.StartProgram(found->path, arguments)) {
    ShowStatus(NotStartedText(tool, found->path));
  }
}

void MainWindow::RenewToolItems() {
  // The desktop's calculator and clipboard viewer differ from system to system: an item
  // whose program is missing stays in its place, disabled, and its hint says what is missing.
  const QStringList folders = services_.ProgramFolders();
  for (const ToolProgram& tool : ToolPrograms()) {
    if (!tool.desktop) continue;
    const bool found = FindToolProgram(tool, folders).has_value();
    auto* item = Find<QAction>(tool.item);
    item->setEnabled(found);
    item->setStatusTip(found ? QString() : MissingProgramText(tool));
  }
}

void MainWindow::ShowStatus(const QString& text) {
  programNotice_->Show(text, kStatusMessageMs);
}

}  // namespace morvane::gui
