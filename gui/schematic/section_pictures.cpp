#include "schematic/section_pictures.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "schematic/chain_painter.h"
#include "schematic/schematic_layout.h"

namespace morvane::gui {

namespace {

constexpr int kMargin = 8;  // pixels around a picture
// The height of label texts on screen, pixels: the chain is shown no smaller than this
// and grows to the view's height only up to the larger one; a section picture grows to fit
// its widget up to the larger one too.
constexpr double kLeastTextPixels = 10.0;
constexpr double kMostTextPixels = 18.0;

QRectF Inside(const QRect& rect) {
  return QRectF(rect).adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

// Pixels per grid unit at which texts drawn at `textScale` are `pixels` high.
double UnitForTextPixels(double textScale, double pixels) {
  return schematic::UnitForTextSize(textScale, pixels, 72.0);
}

}  // namespace

SectionPicture::SectionPicture(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SectionPicture::SetSection(const CascadeSection& section, int number) {
  block_ = schematic::LayOutSection(section, number);
  updateGeometry();
  update();
}

void SectionPicture::Clear() {
  block_.reset();
  update();
}

QSize SectionPicture::sizeHint() const {
  if (!block_) return {320, 200};
  const QSizeF natural = block_->box.size() * schematic::kUnit * 1.5;
  return natural.toSize().grownBy({kMargin, kMargin, kMargin, kMargin});
}

QSize SectionPicture::minimumSizeHint() const {
  return {120, 80};
}

void SectionPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!block_) return;
  const double most = UnitForTextPixels(schematic::BlockTextScale(*block_), kMostTextPixels);
  schematic::PaintBlock(painter, Inside(rect()), *block_, most);
}

class ChainPicture::Canvas : public QWidget {
 public:
  explicit Canvas(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
  schematic::ChainDrawing chain;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    schematic::PaintChainRange(painter, Inside(rect()), chain, 0,
                               static_cast<int>(chain.blocks.size()));
  }
};

ChainPicture::ChainPicture(QWidget* parent) : QScrollArea(parent), canvas_(new Canvas(this)) {
  setWidget(canvas_);
  setWidgetResizable(false);
  setAlignment(Qt::AlignCenter);
  setBackgroundRole(QPalette::Base);
  FitToView();
}

void ChainPicture::SetCascade(const CascadeDesign& design) {
  canvas_->chain = schematic::LayOutChain(design);
  FitToView();
  canvas_->update();
}

void ChainPicture::Clear() {
  canvas_->chain = {};
  FitToView();
  canvas_->update();
}

const schematic::ChainDrawing& ChainPicture::Chain() const {
  return canvas_->chain;
}

int ChainPicture::Print(QPagedPaintDevice& device) const {
  return schematic::PrintChain(device, canvas_->chain);
}

void ChainPicture::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  FitToView();
}

void ChainPicture::FitToView() {
  const schematic::ChainDrawing& chain = canvas_->chain;
  const QSize view = viewport()->size();
  if (chain.blocks.empty()) {
    zoom_ = 0;
    canvas_->resize(view);
    return;
  }
  const QRectF extent = schematic::RangeExtent(chain, 0, static_cast<int>(chain.blocks.size()));
  // Room for a horizontal scroll bar, which a long chain will need.
  const double height = view.height() - 2 * kMargin - horizontalScrollBar()->sizeHint().height();
  zoom_ = std::clamp(height / extent.height(), UnitForTextPixels(chain.textScale, kLeastTextPixels),
                     UnitForTextPixels(chain.textScale, kMostTextPixels));
  const QSize size(static_cast<int>(std::ceil(extent.width() * zoom_)) + 2 * kMargin,
                   static_cast<int>(std::ceil(extent.height() * zoom_)) + 2 * kMargin);
  canvas_->resize(size);
}

void PaintSection(QPainter& painter, const QRectF& target, const CascadeSection& section,
                  int number) {
  schematic::PaintBlock(painter, target, schematic::LayOutSection(section, number));
}

void PaintChain(QPainter& painter, const QRectF& target, const CascadeDesign& design) {
  const schematic::ChainDrawing chain = schematic::LayOutChain(design);
  schematic::PaintChainRange(painter, target, chain, 0, static_cast<int>(chain.blocks.size()));
}

int PrintChain(QPagedPaintDevice& device, const CascadeDesign& design) {
  return schematic::PrintChain(device, schematic::LayOutChain(design));
}

}  // namespace morvane::gui
