// Saving a graph window's picture as PNG or SVG and its samples as CSV.

#include <QFileInfo>

#include "app/platform_services.h"
#include "app/whole_file_writes.h"
#include "graphs/graph_context.h"
#include "graphs/graph_picture.h"
#include "graphs/graph_window.h"
#include "graphs/svg_canvas.h"

namespace morvane::gui {

std::string GraphWindow::SvgPicture() const {
  SvgCanvas canvas(Picture().width(), Picture().height());
  // A copy: drawing sets the axes up again, and the window's own may have moved on since.
  AxisState axes = drawnAxes_;
  const std::optional<OpAmpCurve> opAmp = OpAmpCurveShown();
  DrawGraphPicture(profile_, kind_, PulseSelected(), axes, canvas, buffer_, sectionBuffers_,
                   AsBuiltCurve(), spread_ ? &*spread_ : nullptr, opAmp ? &*opAmp : nullptr);
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
  QString error;
  if (WriteExport(format, name, error)) return;
  const QString what = format == GraphFileFormat::Csv ? "The samples" : "The graphic";
  context_.platform.ShowMessage(this, what + " could not be saved: " + error + ".");
}

// Each file is written whole or not at all, so a failed save keeps the old file.
bool GraphWindow::WriteExport(GraphFileFormat format, const QString& name, QString& error) const {
  switch (format) {
    case GraphFileFormat::Png:
      return WritePictureFile(Picture(), name, "PNG", error);
    case GraphFileFormat::Svg:
      return WriteWholeFile(name, SvgPicture(), error);
    case GraphFileFormat::Csv:
      break;
  }
  const std::optional<OpAmpCurve> opAmp = OpAmpCurveShown();
  return WriteWholeFile(name,
                        GraphSamplesCsv(profile_, kind_, PulseSelected(), buffer_, sectionBuffers_,
                                        AsBuiltCurve(), opAmp ? &*opAmp : nullptr),
                        error);
}

}  // namespace morvane::gui
