#pragma once

// Circuit pictures of a cascade's sections, for the multi-stage window.
//
//   SectionPicture  one section's circuit, every part named as in the netlist with its value
//                   (FormatValue's text) below the name, scaled to fit the widget:
//                     picture->SetSection(design.sections[i], i + 1);
//   ChainPicture    a QScrollArea with all sections side by side from "in" to "out", each
//                   output wired to the next section's input, each under a caption (number,
//                   kind, topology, f0, Q, fz); as tall as the view, scrolling sideways:
//                     chain->SetCascade(design);  chain->Print(printer);
//   PaintSection, PaintChain, PrintChain: the same into any QPainter or paged device.
//
// A section with a problem, or whose circuit no drawing knows, shows its text instead (the
// problem, or its parts with values and nodes), so nothing is lost. The widgets keep their own
// copy of what they draw; the design may go away after the call.

#include <QScrollArea>
#include <QWidget>

#include "cascade/cascade_design.h"
#include "schematic/chain_layout.h"

class QPagedPaintDevice;

namespace morvane::gui {

class SectionPicture : public QWidget {
  Q_OBJECT

 public:
  explicit SectionPicture(QWidget* parent = nullptr);

  // `number` goes into the caption; 0 leaves it out.
  void SetSection(const CascadeSection& section, int number = 0);
  void Clear();
  bool IsEmpty() const { return !block_.has_value(); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<schematic::ChainBlock> block_;
};

class ChainPicture : public QScrollArea {
  Q_OBJECT

 public:
  explicit ChainPicture(QWidget* parent = nullptr);

  void SetCascade(const CascadeDesign& design);
  void Clear();
  const schematic::ChainDrawing& Chain() const;

  // Pixels per grid unit the chain is shown at: the view's height, kept between a size
  // at which the texts stay readable and one at which they are not oversized.
  double Zoom() const { return zoom_; }

  // The chain on the device's pages (see PrintChain); the number of pages, 0 on failure.
  int Print(QPagedPaintDevice& device) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitToView();

  class Canvas;
  Canvas* canvas_;
  double zoom_ = 0;
};

// One section, its caption and texts included, as large as fits into `target`, centred.
void PaintSection(QPainter& painter, const QRectF& target, const CascadeSection& section,
                  int number = 0);

// The whole chain as large as fits into `target`, centred.
void PaintChain(QPainter& painter, const QRectF& target, const CascadeDesign& design);

// The chain over pages (see schematic::PrintChain): the number of pages painted, 0 on failure.
int PrintChain(QPagedPaintDevice& device, const CascadeDesign& design);

}  // namespace morvane::gui
