// Printing the main window and copying it to the clipboard.

#include <QAction>
#include <QImage>
#include <QToolButton>

#include "app/main_window.h"
#include "app/platform_services.h"

namespace morvane::gui {

void MainWindow::ConnectOutputCommands() {
  connect(Find<QAction>("Drucken1"), &QAction::triggered, this, &MainWindow::Drucken1Click);
  connect(Find<QAction>("Druckereinstellung1"), &QAction::triggered, this,
          &MainWindow::Druckereinstellung1Click);
  connect(Find<QAbstractButton>("ButtonCopy"), &QAbstractButton::clicked, this,
          &MainWindow::ButtonCopyClick);
}

QImage MainWindow::ClientAreaPicture() {
  // Everything below the menu bar, the status bar included.
  const int top = centralWidget()->y();
  return grab(QRect(0, top, width(), height() - top)).toImage();
}

void MainWindow::Drucken1Click() {
  // The picture is taken before the dialog covers the window.
  const QImage picture = ClientAreaPicture();
  if (!services_.AskPrint(this)) return;
  RenewPrintHint();
  QString error;
  if (!services_.PrintPicture(picture, error)) services_.ShowMessage(this, error);
}

void MainWindow::Druckereinstellung1Click() {
  services_.SetUpPrinter(this);
  RenewPrintHint();
}

void MainWindow::RenewPrintHint() {
  // Without a printer the hint keeps what it said.
  const QString printer = services_.PrinterName();
  if (!printer.isEmpty()) Find<QAction>("Drucken1")->setStatusTip("Print window with " + printer);
}

void MainWindow::ButtonCopyClick() {
  services_.CopyPicture(ClientAreaPicture());
}

}  // namespace morvane::gui
