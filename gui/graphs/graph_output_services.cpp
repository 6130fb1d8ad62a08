#include "graphs/graph_output_services.h"

#include <QFileDialog>
#include <QImage>
#include <QPainter>

#ifdef MORVANE_HAVE_PRINTSUPPORT
#include <QPrintDialog>
#include <QPrinter>
#endif

namespace morvane::gui {

namespace {

QString AskSaveName(QWidget* parent, const QString& caption, const QString& initialName,
                    const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, caption, initialName, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString SuffixOf(GraphFileFormat format) {
  switch (format) {
    case GraphFileFormat::Png:
      return "png";
    case GraphFileFormat::Svg:
      return "svg";
    case GraphFileFormat::Csv:
      break;
  }
  return "csv";
}

QString DesktopGraphOutput::AskBitmapFileName(QWidget* parent, const QString& initialName) {
  return AskSaveName(parent, "Save as BMP", initialName, "Bitmap Files (*.bmp)", "bmp");
}

QString DesktopGraphOutput::AskExportFileName(QWidget* parent, GraphFileFormat format,
                                              const QString& initialName) {
  switch (format) {
    case GraphFileFormat::Png:
      return AskSaveName(parent, "Save as PNG", initialName, "PNG Images (*.png)", "png");
    case GraphFileFormat::Svg:
      return AskSaveName(parent, "Save as SVG", initialName, "SVG Drawings (*.svg)", "svg");
    case GraphFileFormat::Csv:
      break;
  }
  return AskSaveName(parent, "Export CSV", initialName, "CSV Files (*.csv)", "csv");
}

bool DesktopGraphOutput::PrintPicture(QWidget* parent, const QImage& picture) {
#ifdef MORVANE_HAVE_PRINTSUPPORT
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(picture.width() > picture.height() ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  QSize size = picture.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.drawImage(QRect(page.topLeft(), size), picture);
  return painter.end();
#else
  (void)parent;
  (void)picture;
  return false;
#endif
}

}  // namespace morvane::gui
