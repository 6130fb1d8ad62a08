#include "schematic/chain_painter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "schematic/schematic_layout.h"
#include "schematic/schematic_painter.h"

namespace morvane::gui::schematic {

namespace {

constexpr double kPrintedTextPoints = 9.0;
const QColor kValueColour(0x1a, 0x3f, 0x8f);

// A painter whose units are the chain's grid units, `extent` fitted into `target`.
void FitInto(QPainter& painter, const QRectF& target, const QRectF& extent, double mostUnit = 0) {
  double scale = std::min(target.width() / extent.width(), target.height() / extent.height());
  if (mostUnit > 0) scale = std::min(scale, mostUnit);
  painter.translate(target.center());
  painter.scale(scale, scale);
  painter.translate(-extent.center());
}

// Texts are set at the font's own pixel size in a frame scaled to the text size.
class TextFrame {
 public:
  TextFrame(QPainter& painter, double textScale, bool bold = false)
      : painter_(painter), factor_(kUnit / textScale) {
    painter_.save();
    painter_.scale(1 / factor_, 1 / factor_);
    QFont font = LabelFont();
    font.setBold(bold);
    painter_.setFont(font);
    painter_.setPen(Qt::black);
  }
  ~TextFrame() { painter_.restore(); }
  TextFrame(const TextFrame&) = delete;
  TextFrame& operator=(const TextFrame&) = delete;

  double Width(const QString& text) const {
    return painter_.fontMetrics().horizontalAdvance(text) / factor_;
  }
  // `left` and `baseline` in grid units.
  void Draw(double left, double baseline, const QString& text, const QColor& colour = Qt::black) {
    painter_.setPen(colour);
    painter_.drawText(QPointF(left * factor_, baseline * factor_), text);
  }

 private:
  QPainter& painter_;
  double factor_;
};

double AlignedLeft(const ValueLabel& label, double width) {
  switch (label.side) {
    case Side::Left:
      return label.box.right() - width;
    case Side::Right:
      return label.box.left();
    default:
      return label.box.center().x() - width / 2;
  }
}

void DrawLabels(QPainter& painter, const LabelledDrawing& labelled, bool showIn, bool showOut) {
  const double s = labelled.textScale;
  TextFrame text(painter, s);
  for (const ValueLabel& label : labelled.labels) {
    if ((label.name == "in" && !showIn) || (label.name == "out" && !showOut)) continue;
    const double baseline = label.box.top() + LabelCapHeight(s);
    if (label.oneLine) {
      text.Draw(label.box.left(), baseline, label.name);
      text.Draw(label.box.left() + text.Width(label.name + ' '), baseline, label.value,
                kValueColour);
      continue;
    }
    text.Draw(AlignedLeft(label, text.Width(label.name)), baseline, label.name);
    if (!label.value.isEmpty()) {
      text.Draw(AlignedLeft(label, text.Width(label.value)), baseline + LabelLineSpacing(s),
                label.value, kValueColour);
    }
  }
}

void DrawLines(QPainter& painter, double left, double top, const QStringList& lines,
               double textScale, bool boldFirst) {
  for (int i = 0; i < lines.size(); ++i) {
    TextFrame text(painter, textScale, boldFirst && i == 0);
    text.Draw(left, top + LabelCapHeight(textScale) + i * LabelLineSpacing(textScale), lines[i]);
  }
}

void DrawBlock(QPainter& painter, const ChainBlock& block, double textScale, bool showIn,
               bool showOut) {
  painter.save();
  painter.translate(block.shift);
  if (block.drawing) {
    DrawCircuitSymbols(painter, block.drawing->drawing.flat);
    DrawLabels(painter, *block.drawing, showIn, showOut);
  } else {
    painter.setPen(QPen(Qt::black, 0.08, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(block.frame);
    DrawLines(painter, block.frame.left() + 0.8, block.frame.top() + 0.8, block.text, textScale,
              false);
  }
  DrawLines(painter, block.captionAt.x(), block.captionAt.y(), block.caption, textScale, true);
  painter.restore();
}

// The join as a line that hops over the lines it crosses, in a half circle to the right.
void DrawJoin(QPainter& painter, const std::vector<QPointF>& join,
              const std::vector<QPointF>& hops) {
  constexpr double kHop = 0.35;
  QPainterPath path(join.front());
  for (std::size_t i = 1; i < join.size(); ++i) {
    const QPointF from = join[i - 1], to = join[i];
    for (QPointF hop : hops) {
      const bool onSegment = std::abs(hop.x() - from.x()) < 1e-9 && from.x() == to.x() &&
                             hop.y() > std::min(from.y(), to.y()) &&
                             hop.y() < std::max(from.y(), to.y());
      if (!onSegment) continue;
      const bool down = to.y() > from.y();
      path.lineTo(hop - QPointF(0, down ? kHop : -kHop));
      path.arcTo(QRectF(hop.x() - kHop, hop.y() - kHop, 2 * kHop, 2 * kHop), down ? 90 : -90,
                 down ? -180 : 180);
    }
    path.lineTo(to);
  }
  painter.save();
  painter.setPen(CircuitLinePen());
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
  painter.restore();
}

void BeginDrawing(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
}

}  // namespace

void PaintChainRange(QPainter& painter, const QRectF& target, const ChainDrawing& chain, int first,
                     int last) {
  first = std::max(first, 0);
  last = std::min(last, static_cast<int>(chain.blocks.size()));
  if (first >= last || target.isEmpty()) return;
  painter.save();
  BeginDrawing(painter);
  FitInto(painter, target, RangeExtent(chain, first, last));
  for (int k = first; k < last; ++k) {
    const std::size_t i = static_cast<std::size_t>(k);
    DrawBlock(painter, chain.blocks[i], chain.textScale, k == first, k + 1 == last);
    if (k + 1 < last) DrawJoin(painter, chain.joins[i], chain.hops[i]);
  }
  painter.restore();
}

void PaintBlock(QPainter& painter, const QRectF& target, const ChainBlock& block, double mostUnit) {
  if (target.isEmpty()) return;
  painter.save();
  BeginDrawing(painter);
  FitInto(painter, target, block.box, mostUnit);
  ChainBlock unshifted = block;
  unshifted.shift = {};
  DrawBlock(painter, unshifted, BlockTextScale(block), true, true);
  painter.restore();
}

double BlockTextScale(const ChainBlock& block) {
  return block.drawing ? block.drawing->textScale : 1.0;
}

double UnitForTextSize(double textScale, double points, double dotsPerInch) {
  // The label font's pixel size in grid units at text scale 1.
  const double fontUnits = LabelFont().pixelSize() / kUnit * textScale;
  return points / 72.0 * dotsPerInch / fontUnits;
}

int PrintChain(QPagedPaintDevice& device, const ChainDrawing& chain) {
  QPainter painter;
  if (chain.blocks.empty() || !painter.begin(&device)) return 0;
  // The painter's origin is the top-left corner of the printable area.
  const QRectF page(0, 0, device.width(), device.height());
  const double unit = UnitForTextSize(chain.textScale, kPrintedTextPoints, device.logicalDpiY());
  const double rowGap = 2 * unit;
  int pages = 1;
  double top = 0;
  // Rows of whole sections down the page, as in a text; a new page where one does not fit.
  for (const auto& [first, last] : ChainPages(chain, page.width() / unit)) {
    // Each row laid out anew, so that it starts level.
    const ChainDrawing row =
        JoinBlocks({chain.blocks.begin() + first, chain.blocks.begin() + last}, chain.textScale);
    const int count = last - first;
    const QRectF extent = RangeExtent(row, 0, count);
    const double scale =
        std::min({unit, page.width() / extent.width(), page.height() / extent.height()});
    const QSizeF size = extent.size() * scale;
    if (top > 0 && top + size.height() > page.height()) {
      if (!device.newPage()) break;
      ++pages;
      top = 0;
    }
    PaintChainRange(painter, QRectF(QPointF(0, top), size), row, 0, count);
    top += size.height() + rowGap;
  }
  return painter.end() ? pages : 0;
}

}  // namespace morvane::gui::schematic
