// The mouse on a graph window's image: readout, axis ends, zoom rectangle, origin.

#include <QLabel>

#include "app/platform_services.h"
#include "graphs/axis_operations.h"
#include "graphs/axis_scale_dialog.h"
#include "graphs/graph_context.h"
#include "graphs/graph_image.h"
#include "graphs/graph_profile.h"
#include "graphs/graph_window.h"
#include "graphs/plot_mapping.h"
#include "graphs/response_source.h"

namespace morvane::gui {

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool NearEnd(const AxisState& a, AxisEnd end, double x, double y) {
  switch (end) {
    case AxisEnd::XMax:
      return NearXMaxEnd(a, y, x);
    case AxisEnd::XMin:
      return NearXMinEnd(a, y, x);
    case AxisEnd::YMin:
      return NearYMinEnd(a, y, x);
    case AxisEnd::YMax:
      break;
  }
  return NearYMaxEnd(a, y, x);
}

}  // namespace

void GraphWindow::ImageMouseMove(QPoint pixel) {
  BecomeCurrent();
  const double x = ToWorldX(axes_, pixel.x());
  const double y = ToWorldY(axes_, pixel.y());
  std::string readout = ReadoutText(kind_, x, y);
  // The other curves' values at the cursor's x, which the position alone does not tell.
  const bool logarithmic = axes_.xMode == AxisMode::Logarithmic;
  const auto note = [&](const CurveBuffer& curve, const std::string& name) {
    if (const auto value = CurveValueAt(kind_, curve, x, logarithmic)) {
      readout += CurveReadoutText(kind_, name, *value);
    }
  };
  if (asBuiltShown_) note(asBuiltBuffer_, "as built");
  if (!opAmpName_.empty()) note(opAmpBuffer_, "with " + opAmpName_);
  currentPanel_->setText(ToQString(readout));

  Qt::CursorShape shape = Qt::CrossCursor;
  if (NearXMaxEnd(axes_, y, x) || NearXMinEnd(axes_, y, x)) shape = Qt::SizeHorCursor;
  if (NearYMinEnd(axes_, y, x) || NearYMaxEnd(axes_, y, x)) shape = Qt::SizeVerCursor;
  image_->setCursor(shape);

  if (rightDrag_) image_->ShowRubberBand(rightDragFrom_, pixel);
}

// Each end is tested on the same point in turn, with the axes the previous one left.
void GraphWindow::ImageMouseDown(QPoint pixel) {
  BecomeCurrent();
  const double x = ToWorldX(axes_, pixel.x());
  const double y = ToWorldY(axes_, pixel.y());
  const QPoint dialogAt = frameGeometry().topLeft() + QPoint(pixel.x() - 72, pixel.y() + 48);
  for (AxisEnd end : {AxisEnd::XMax, AxisEnd::XMin, AxisEnd::YMin, AxisEnd::YMax}) {
    if (NearEnd(axes_, end, x, y)) EditAxisEnd(end, dialogAt);
  }
}

bool GraphWindow::EditAxisEnd(AxisEnd end, QPoint dialogAt) {
  const ValueLimits limits = context_.source.AxisEndLimits(kind_, end, axes_);
  const double value = context_.axisDialog.Ask(
      ToQString(AxisEndLabel(end)), AxisEndValue(axes_, end), limits.lower, limits.upper, dialogAt);
  if (!SetAxisEnd(axes_, end, value)) {
    // An end at or beyond the other end would leave no axis.
    context_.platform.Beep();
    return false;
  }
  const bool xEnd = end == AxisEnd::XMax || end == AxisEnd::XMin;
  if (xEnd && IsFrequencyGraph(kind_)) {
    RefillAndDraw();
  } else {
    DrawGraph();
  }
  return true;
}

void GraphWindow::ImageRightDown(QPoint pixel) {
  BecomeCurrent();
  if (!InPlotArea(axes_, pixel.x(), pixel.y())) return;
  axes_.PressX = ToWorldX(axes_, pixel.x());
  axes_.PressY = ToWorldY(axes_, pixel.y());
  rightDrag_ = true;
  rightDragFrom_ = pixel;
}

// Whatever the rectangle, the picture is drawn again (which also forgets the press point).
void GraphWindow::ImageRightUp(QPoint pixel) {
  rightDrag_ = false;
  image_->HideRubberBand();
  if (InPlotArea(axes_, pixel.x(), pixel.y())) {
    ZoomToRectangle(axes_, ToWorldX(axes_, pixel.x()), ToWorldY(axes_, pixel.y()));
  }
  DrawGraph();
}

void GraphWindow::Ursprungfestlegen1Click() {
  BecomeCurrent();
  const QRect frame = frameGeometry();
  const QPoint at(frame.left() + frame.width() / 2 - 72, frame.top() + frame.height() / 2 - 10);
  axes_.xo = context_.axisDialog.Ask("xo=", axes_.xo, axes_.xmin, axes_.xmax, at);
  axes_.yo = context_.axisDialog.Ask("yo=", axes_.yo, axes_.ymin, axes_.ymax, at);
  DrawGraph();
}

}  // namespace morvane::gui
