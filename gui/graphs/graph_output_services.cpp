#include "graphs/graph_output_services.h"

#include <QFileDialog>
#include <QImage>
#include <QPainter>

#ifdef MORVANE_HAVE_PRINTSUPPORT
#include <QPrintDialog>
#include <QPrinter>
#endif

namespace morvane::gui {

QString DesktopGraphOutput::AskBitmapFileName(QWidget* parent, const QString& initialName) {
  QFileDialog dialog(parent, "Save as BMP", initialName, "Bitmap Files (*.bmp)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("bmp");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
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
