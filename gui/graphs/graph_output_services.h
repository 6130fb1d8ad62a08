#pragma once

// What a graph window asks of the desktop to put its picture out: a file name to save it
// under and a printer. Tests replace it, so no file dialog or print dialog blocks a test.

#include <QString>

class QImage;
class QWidget;

namespace morvane::gui {

// What a window saves besides its bitmap: the picture as PNG or SVG, its samples as CSV.
enum class GraphFileFormat { Png = 0, Svg = 1, Csv = 2 };

// "png", "svg", "csv".
QString SuffixOf(GraphFileFormat format);

class GraphOutputServices {
 public:
  virtual ~GraphOutputServices() = default;
  // The save dialog for bitmap files, starting at `initialName`; empty when cancelled.
  virtual QString AskBitmapFileName(QWidget* parent, const QString& initialName) = 0;
  // The save dialog for a file of that format, starting at `initialName`; empty when
  // cancelled.
  virtual QString AskExportFileName(QWidget* parent, GraphFileFormat format,
                                    const QString& initialName) = 0;
  // The print dialog, then the picture scaled to fit the page. False when nothing was
  // printed (cancelled, or no printing on this system).
  virtual bool PrintPicture(QWidget* parent, const QImage& picture) = 0;
};

// The real desktop.
class DesktopGraphOutput : public GraphOutputServices {
 public:
  QString AskBitmapFileName(QWidget* parent, const QString& initialName) override;
  QString AskExportFileName(QWidget* parent, GraphFileFormat format,
                            const QString& initialName) override;
  bool PrintPicture(QWidget* parent, const QImage& picture) override;
};

}  // namespace morvane::gui
