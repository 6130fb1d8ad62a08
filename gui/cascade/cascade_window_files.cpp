// The File menu of the Multi-stage Filter window: netlist, parts list, the design file's
// section "Cascade", printing. Every file goes through the program's file dialogs and is
// written whole or not at all.

#include <QImage>
#include <QPainter>
#include <QStringList>

#include "app/design_file_io.h"
#include "app/platform_services.h"
#include "app/whole_file_writes.h"
#include "app/window_look.h"
#include "cascade/cascade_file_requests.h"
#include "cascade/cascade_window.h"
#include "cascade/parts_list.h"
#include "schematic/section_pictures.h"
#include "spice/netlist.h"

namespace morvane::gui {

namespace {

// What a file holds of a design.
using Export = std::string (*)(const CascadeDesign&, const CascadeEntries&);

std::string NetlistOf(const CascadeDesign& design, const CascadeEntries&) {
  return CascadeNetlist(design, {});
}

std::string PartsListOf(const CascadeDesign& design, const CascadeEntries& entries) {
  return PartsListCsv(design, entries.request.circuit);
}

// Asking for a file name first would be in vain when there is nothing to write.
bool WriteExport(CascadeWindow* window, PlatformServices& services, const CascadeDesign& design,
                 const CascadeEntries& entries, Export make, const FileDialogRequest& request,
                 const QString& what) {
  if (!design.problem.empty()) {
    services.ShowMessage(window, "No " + what + " was written: " + Text(design.problem) + ".");
    return false;
  }
  const QString path = services.AskSaveFile(window, request);
  if (path.isEmpty()) return false;
  QString error;
  if (WriteWholeFile(path, make(design, entries), error)) return true;
  services.ShowMessage(window, error);
  return false;
}

}  // namespace

void CascadeWindow::ShowMessage(const QString& text) {
  services_.ShowMessage(this, text);
}

void CascadeWindow::SaveNetlist() {
  WriteExport(this, services_, Design(), entries_, &NetlistOf, SaveCascadeNetlistRequest(),
              "SPICE netlist");
}

void CascadeWindow::SavePartsList() {
  WriteExport(this, services_, Design(), entries_, &PartsListOf, SavePartsListRequest(),
              "parts list");
}

void CascadeWindow::SaveToDesignFile() {
  const QString path = services_.AskSaveFile(this, SaveCascadeDesignRequest());
  if (path.isEmpty()) return;
  // The file's other sections stay as they are; the file is replaced whole or not at all.
  std::string error;
  if (!WriteCascadeFile(LocalFileName(path), entries_, error)) {
    ShowMessage(QString::fromStdString(error));
  }
}

void CascadeWindow::OpenFromDesignFile() {
  const QString path = services_.AskOpenFile(this, OpenCascadeDesignRequest());
  if (path.isEmpty()) return;
  std::string error;
  std::vector<std::string> unreadable;
  const std::optional<CascadeEntries> read =
      ReadCascadeFile(LocalFileName(path), error, unreadable);
  if (!read) {
    // Nothing changes: the window keeps its design.
    ShowMessage(error.empty() ? "\"" + path + "\" has no multi-stage filter (no section [" +
                                    Text(kCascadeSection) + "])."
                              : QString::fromStdString(error));
    return;
  }
  SetEntries(*read);
  if (!unreadable.empty()) {
    QStringList lines;
    for (const std::string& line : unreadable) lines << Text(line);
    ShowMessage(lines.join('\n'));
  }
}

// The chain of sections as one picture, a section 600 pixels wide, through the program's
// printing; a filter that cannot be built prints the window as it shows it.
void CascadeWindow::PrintOwnPicture() {
  QString error;
  const std::size_t count = shown_.design.sections.size();
  QImage picture = grab().toImage();
  if (count > 0) {
    picture = QImage(static_cast<int>(600 * count), 600, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    PaintChain(painter, QRectF(picture.rect()), shown_.design);
  }
  if (!services_.PrintPicture(picture, error)) ShowMessage(error);
}

}  // namespace morvane::gui
