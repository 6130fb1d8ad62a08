#pragma once

// The pole-zero plot of a multi-stage filter: the s-plane with the filter's poles (crosses)
// and zeros (circles), the j omega axis, one unit the same length on both axes. The view
// follows the roots (each new filter is fitted anew) until the user zooms (the buttons, about
// the middle, or a rectangle dragged with the right button); Fit follows them again. The readout
// shows the point under the mouse. File saves the picture as PNG or SVG and the roots as CSV
// (kind,re,im in rad/s), prints and copies it, as the graph windows do.

#include <QImage>
#include <QWidget>
#include <array>
#include <string>

#include "filters/pole_zero.h"
#include "graphs/axis_state.h"
#include "graphs/graph_output_services.h"
#include "graphs/pole_zero_picture.h"

class QLabel;
class QMenuBar;
class QHBoxLayout;

namespace morvane::gui {

class GraphImage;
class PlatformServices;

class PoleZeroWindow : public QWidget {
  Q_OBJECT

 public:
  // Each zoom step scales the view by this (in) or its inverse (out).
  static constexpr double kZoomFactor = 2.0 / 3.0;

  // The services must outlive the window.
  PoleZeroWindow(PlatformServices& platform, GraphOutputServices& output,
                 QWidget* parent = nullptr);
  ~PoleZeroWindow() override;

  // Shows a hidden window fitted to the roots; brings an open one to the front.
  void Open();
  // New roots, drawn at once in an open window.
  void SetRoots(const PoleZeroGain& roots);

  void ZoomIn();
  void ZoomOut();
  void FitToRoots();
  // The region of the s-plane between two pixels of the image, widened to the image's shape.
  // False, nothing changed, for a rectangle without area.
  bool ZoomToPixels(QPoint from, QPoint to);

  const PoleZeroGain& Roots() const { return roots_; }
  const PlaneView& View() const { return view_; }
  bool FollowsRoots() const { return followsRoots_; }
  // The axes of the last drawing (for the readout, and for the tests).
  const AxisState& Axes() const { return axes_; }
  const QImage& Picture() const;
  std::string SvgPicture() const;
  std::string Csv() const;
  const QString& LastExportName(GraphFileFormat format) const {
    return lastExportNames_[static_cast<std::size_t>(format)];
  }

 private:
  void BuildMenus(QMenuBar* menuBar);
  void BuildButtonBar(QHBoxLayout* bar);
  void Draw();
  void ImageResized();
  void ImageMouseMove(QPoint pixel);
  void ImageRightDown(QPoint pixel);
  void ImageRightUp(QPoint pixel);
  void ExportAs(GraphFileFormat format);
  void SavePngClick();
  void SaveSvgClick();
  void ExportCsvClick();
  void PrintClick();
  void CopyClick();
  void IncreaseClick();
  void DecreaseClick();
  void StandardSizeClick();

  PlatformServices& platform_;
  GraphOutputServices& output_;
  PoleZeroGain roots_;
  PlaneView view_;
  bool followsRoots_ = true;
  AxisState axes_;
  bool drawn_ = false;
  bool rightDrag_ = false;
  QPoint rightDragFrom_;
  std::array<QString, 3> lastExportNames_;

  QWidget* buttonBar_ = nullptr;
  GraphImage* image_ = nullptr;
  QLabel* currentPanel_ = nullptr;
};

}  // namespace morvane::gui
