#include "schematic/chain_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "cascade/cascade_names.h"
#include "numerics/number_text.h"
#include "numerics/value_text.h"
#include "schematic/schematic_layout.h"

namespace morvane::gui::schematic {

namespace {

constexpr double kGap = 4.0;           // between two sections, grid units
constexpr double kCaptionGap = 0.8;    // between a caption and its drawing
constexpr double kFramePadding = 0.8;  // around the text of a section without drawing
constexpr double kJoinDrop = 1.0;      // how far below a section a join from a tap runs
constexpr char kPrefixLetters[] = "afpnumkMGTPE";

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// "1.00 kHz": the value text with its prefix letter moved to the unit.
QString Quantity(double value, const char* unit) {
  std::string number = PartValueText(value);
  std::string prefix;
  if (!number.empty() &&
      std::string_view(kPrefixLetters).find(number.back()) != std::string_view::npos) {
    prefix = number.back();
    number.pop_back();
  }
  return Q(number + " " + prefix + unit);
}

QStringList CaptionLines(const CascadeSection& section, int number) {
  const FilterSection& plan = section.plan;
  QString title = Q(plan.kind) + ", " + SectionTopologyName(section.topology);
  if (number > 0) title = QString::number(number) + ": " + title;
  QString figures = "f0 " + Quantity(plan.f0, "Hz") + ", Q " + Q(FormatFixedTrimmed(4, plan.q));
  if (plan.fz) figures += ", fz " + Quantity(*plan.fz, "Hz");
  return {title, figures};
}

// What a section without a drawing shows: why, or its parts one by one.
QStringList Description(const CascadeSection& section) {
  const SectionCircuit& built = section.circuit;
  if (!built.problem.empty()) return {"No circuit:", Q(built.problem)};
  QStringList lines{Q(built.name)};
  for (const CircuitPart& part : built.circuit.parts) {
    lines << Q(part.name + " " + PartValueText(part.value) + "  " + part.a + " - " + part.b);
  }
  for (const CircuitOpAmp& amp : built.circuit.opAmps) {
    lines << Q("op amp +" + amp.plus + " -" + amp.minus + " out " + amp.output);
  }
  return lines;
}

double TextWidth(const QStringList& lines, double textScale) {
  const QFontMetricsF metrics(LabelFont());
  double width = 0;
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  return width * textScale / kUnit;
}

std::optional<QPointF> TerminalAt(const LabelledDrawing& labelled, std::string_view node,
                                  Side* side = nullptr) {
  for (const Part& p : labelled.drawing.flat.parts) {
    if (p.symbol != Symbol::Terminal || p.label != node) continue;
    if (side) *side = p.side;
    return QPointF(p.a.x, p.a.y);
  }
  return std::nullopt;
}

QPointF Shifted(const ChainBlock& b, QPointF p) {
  return p + b.shift;
}

QRectF Shifted(const ChainBlock& b, const QRectF& r) {
  return r.translated(b.shift);
}

// The caption with its top at `top`, or just above the frame.
void PlaceCaption(ChainBlock& block, double textScale, std::optional<double> top = {}) {
  const double height = CaptionHeight(textScale);
  block.captionAt = {block.frame.left(), top.value_or(block.frame.top() - kCaptionGap - height)};
  block.box =
      block.frame | QRectF(block.captionAt, QSizeF(TextWidth(block.caption, textScale), height));
}

// Where a line from `top` straight down to `bottom` crosses a horizontal line of the drawing.
std::vector<QPointF> Crossings(const FlatCircuit& flat, QPointF top, double bottom) {
  std::vector<QPointF> crossings;
  const auto cross = [&](GridPoint p, GridPoint q) {
    if (std::abs(p.y - q.y) > 1e-9 || p.y <= top.y() + 1e-6 || p.y >= bottom - 1e-6) return;
    if (top.x() > std::min(p.x, q.x) + 1e-6 && top.x() < std::max(p.x, q.x) - 1e-6) {
      crossings.emplace_back(top.x(), p.y);
    }
  };
  for (const auto& line : flat.wires) {
    for (std::size_t i = 1; i < line.size(); ++i) cross(line[i - 1], line[i]);
  }
  for (const Part& p : flat.parts) {
    if (p.symbol == Symbol::Resistor || p.symbol == Symbol::Capacitor) cross(p.a, p.b);
  }
  return crossings;
}

}  // namespace

double CaptionHeight(double textScale) {
  return LabelCapHeight(textScale) + LabelLineSpacing(textScale) +
         QFontMetricsF(LabelFont()).descent() * textScale / kUnit;
}

ChainBlock LayOutSection(const CascadeSection& section, int number, double mostTextScale) {
  ChainBlock block;
  block.caption = CaptionLines(section, number);
  std::optional<SectionDrawing> drawing;
  if (section.circuit.problem.empty()) {
    drawing = DrawSection(section.topology, section.plan.kind, section.circuit.circuit);
  }
  std::optional<QPointF> in, out;
  Side outSide = Side::Right;
  if (drawing) {
    block.drawing = LabelDrawing(std::move(*drawing), mostTextScale);
    in = TerminalAt(*block.drawing, "in");
    out = TerminalAt(*block.drawing, "out", &outSide);
  }
  if (in && out) {
    block.frame = LabelledExtent(*block.drawing);
    block.in = *in;
    block.out = *out;
    block.outOnRight = outSide == Side::Right;
  } else {
    block.drawing.reset();
    block.text = Description(section);
    const double scale = std::clamp(mostTextScale, kLeastTextScale, 1.0);
    const double height = LabelCapHeight(scale) +
                          (block.text.size() - 1) * LabelLineSpacing(scale) + 2 * kFramePadding;
    block.frame = QRectF(0, 0, TextWidth(block.text, scale) + 2 * kFramePadding, height);
    block.in = QPointF(block.frame.left(), block.frame.center().y());
    block.out = QPointF(block.frame.right(), block.frame.center().y());
  }
  PlaceCaption(block, block.drawing ? block.drawing->textScale
                                    : std::clamp(mostTextScale, kLeastTextScale, 1.0));
  return block;
}

ChainDrawing LayOutChain(const CascadeDesign& design) {
  // One text size for the whole chain: the smallest any section needs.
  double textScale = 1.0;
  for (std::size_t i = 0; i < design.sections.size(); ++i) {
    const ChainBlock alone = LayOutSection(design.sections[i], static_cast<int>(i + 1));
    if (alone.drawing) textScale = std::min(textScale, alone.drawing->textScale);
  }
  std::vector<ChainBlock> blocks;
  for (std::size_t i = 0; i < design.sections.size(); ++i) {
    blocks.push_back(LayOutSection(design.sections[i], static_cast<int>(i + 1), textScale));
  }
  return JoinBlocks(std::move(blocks), textScale);
}

ChainDrawing JoinBlocks(std::vector<ChainBlock> blocks, double textScale) {
  ChainDrawing chain;
  chain.textScale = textScale;
  double x = 0;
  for (ChainBlock& block : blocks) {
    PlaceCaption(block, textScale);
    double inY = 0;
    if (!chain.blocks.empty()) {
      const ChainBlock& previous = chain.blocks.back();
      inY = (previous.outOnRight ? Shifted(previous, previous.out) : Shifted(previous, previous.in))
                .y();
    }
    block.shift = QPointF(x - block.box.left(), inY - block.in.y());
    if (!chain.blocks.empty()) {
      const ChainBlock& previous = chain.blocks.back();
      const QPointF from = Shifted(previous, previous.out);
      const QPointF to = Shifted(block, block.in);
      std::vector<QPointF> hops;
      if (previous.outOnRight) {
        chain.joins.push_back({from, to});
      } else {
        // From a tap inside the drawing: down below it, then across to the next input.
        const double below = Shifted(previous, previous.frame).bottom() + kJoinDrop;
        const double across = x - kGap / 2;
        chain.joins.push_back({from, {from.x(), below}, {across, below}, {across, to.y()}, to});
        for (QPointF hop :
             Crossings(previous.drawing->drawing.flat, previous.out, below - previous.shift.y())) {
          hops.push_back(hop + previous.shift);
        }
      }
      chain.hops.push_back(std::move(hops));
    }
    x = Shifted(block, block.box).right() + kGap;
    chain.blocks.push_back(std::move(block));
  }
  // The captions in one row, above the highest drawing.
  std::optional<double> top;
  for (const ChainBlock& b : chain.blocks) {
    const double y = Shifted(b, b.captionAt).y();
    top = std::min(top.value_or(y), y);
  }
  for (ChainBlock& b : chain.blocks) PlaceCaption(b, chain.textScale, *top - b.shift.y());
  return chain;
}

QRectF RangeExtent(const ChainDrawing& chain, int first, int last) {
  QRectF extent;
  for (int k = first; k < last; ++k) {
    const ChainBlock& b = chain.blocks[static_cast<std::size_t>(k)];
    extent |= Shifted(b, b.box);
    if (k + 1 < last) {
      for (QPointF p : chain.joins[static_cast<std::size_t>(k)]) {
        extent |= QRectF(p - QPointF(0.2, 0.2), QSizeF(0.4, 0.4));
      }
    }
  }
  return extent;
}

std::vector<std::pair<int, int>> ChainPages(const ChainDrawing& chain, double pageWidth) {
  std::vector<std::pair<int, int>> pages;
  const int count = static_cast<int>(chain.blocks.size());
  int first = 0;
  for (int k = 1; k <= count; ++k) {
    const bool fits = k < count && RangeExtent(chain, first, k + 1).width() <= pageWidth;
    if (!fits) {
      pages.emplace_back(first, k);
      first = k;
    }
  }
  return pages;
}

}  // namespace morvane::gui::schematic
