// The desktop's printer: the one chosen in printer setup, the system's default until then.
// Without Qt's print support the program behaves as on a system without printers.

#include <QImage>
#include <memory>

#include "app/platform_services.h"
#include "app/print_layout.h"

#ifdef MORVANE_HAVE_PRINTSUPPORT
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#endif

namespace morvane::gui {

struct DesktopServices::Printer {
#ifdef MORVANE_HAVE_PRINTSUPPORT
  // Made on first use: asking for printers may take a moment.
  QPrinter& Get() {
    if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer;
  }
  // Printer setup may send the output to a PDF file where no printer is installed.
  bool CanPrint() {
    return !QPrinterInfo::availablePrinterNames().isEmpty() ||
           (printer && !printer->outputFileName().isEmpty());
  }
  std::unique_ptr<QPrinter> printer;
#endif
};

DesktopServices::DesktopServices() : printer_(std::make_unique<Printer>()) {}

DesktopServices::~DesktopServices() = default;

#ifdef MORVANE_HAVE_PRINTSUPPORT

QString DesktopServices::PrinterName() {
  const QStringList installed = QPrinterInfo::availablePrinterNames();
  if (installed.isEmpty()) return {};
  const QString name = printer_->Get().printerName();
  return name.isEmpty() ? installed.constFirst() : name;
}

void DesktopServices::SetUpPrinter(QWidget* parent) {
  QPrintDialog dialog(&printer_->Get(), parent);
  dialog.setWindowTitle("Printer Setup");
  // Here the dialog only chooses: printing is the Print command's.
  for (auto* buttons : dialog.findChildren<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText("OK");
  }
  dialog.exec();
}

bool DesktopServices::AskPrint(QWidget* parent) {
  // Qt's dialog offers printing into a PDF file even where no printer is installed.
  QPrintDialog dialog(&printer_->Get(), parent);
  dialog.setWindowTitle("Print");
  return dialog.exec() == QDialog::Accepted;
}

bool DesktopServices::PrintPicture(const QImage& picture, QString& error) {
  if (!printer_->CanPrint()) return PlatformServices::PrintPicture(picture, error);
  QPrinter& printer = printer_->Get();
  printer.setDocName("Morvane");
  if (PaintPictureOnPage(printer, picture)) return true;
  const QString where =
      printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
  error = "Printing on " + where + " failed; nothing was printed.";
  return false;
}

#else

QString DesktopServices::PrinterName() {
  return {};
}

void DesktopServices::SetUpPrinter(QWidget*) {}

bool DesktopServices::AskPrint(QWidget* parent) {
  return PlatformServices::AskPrint(parent);
}

bool DesktopServices::PrintPicture(const QImage& picture, QString& error) {
  return PlatformServices::PrintPicture(picture, error);
}

#endif

}  // namespace morvane::gui
