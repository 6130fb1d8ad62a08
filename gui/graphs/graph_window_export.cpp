// Saving a graph window's picture as PNG or SVG and its samples as CSV.

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "app/platform_services.h"
#include "graphs/graph_context.h"
#include "graphs/graph_picture.h"
#include "graphs/graph_window.h"
#include "graphs/svg_canvas.h"

namespace morvane::gui {

namespace {

bool WriteFile(const QString& name, const std::string& text) {
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const auto size = static_cast<qint64>(text.size());
  return file.write(text.data(), size) == size && file.commit();
}

}  // namespace

std::string GraphWindow::SvgPicture() const {
  SvgCanvas canvas(Picture().width(), Picture().height());
  // A copy: drawing sets the axes up again, and the shared ones may belong to another window.
  AxisState axes = drawnAxes_;
  DrawGraphPicture(kind_, PulseSelected(), axes, canvas, buffer_);
  return canvas.Document();
}

void GraphWindow::SavePng1Click() {
  ExportAs(GraphFileFormat::Png);
}

void GraphWindow::SaveSvg1Click() {
  ExportAs(GraphFileFormat::Svg);
}

void GraphWindow::ExportCsv1Click() {
  ExportAs(GraphFileFormat::Csv);
}

// Each format offers the name it was last saved under; a name without a suffix gets the
// format's.
void GraphWindow::ExportAs(GraphFileFormat format) {
  if (!drawn_) return;
  QString& last = lastExportNames_[static_cast<std::size_t>(format)];
  QString name = context_.output.AskExportFileName(this, format, last);
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += "." + SuffixOf(format);
  last = name;
  if (WriteExport(format, name)) return;
  const QString what = format == GraphFileFormat::Csv ? "The samples" : "The graphic";
  context_.platform.ShowMessage(
      this, what + " could not be saved as " + QDir::toNativeSeparators(name) + ".");
}

bool GraphWindow::WriteExport(GraphFileFormat format, const QString& name) const {
  switch (format) {
    case GraphFileFormat::Png:
      return Picture().save(name, "PNG");
    case GraphFileFormat::Svg:
      return WriteFile(name, SvgPicture());
    case GraphFileFormat::Csv:
      break;
  }
  return WriteFile(name, GraphSamplesCsv(kind_, PulseSelected(), buffer_));
}

}  // namespace morvane::gui
