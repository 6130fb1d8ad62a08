#include "schematic/section_labels.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "schematic/schematic_layout.h"

namespace morvane::gui::schematic {

namespace {

constexpr double kPen = 0.06;       // half the line width, as the drawing rules count it
constexpr double kClearance = 0.1;  // between a text and anything else
constexpr int kScaleStep = 5;       // percent

bool IsTwoTerminal(const Part& p) {
  return p.symbol == Symbol::Resistor || p.symbol == Symbol::Capacitor ||
         p.symbol == Symbol::Inductor;
}

bool IsHorizontal(const Part& p) {
  return std::abs(p.a.y - p.b.y) < 1e-9;
}

QRectF Thick(GridPoint a, GridPoint b) {
  return QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y))
      .normalized()
      .adjusted(-kPen, -kPen, kPen, kPen);
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

double TextWidth(const QString& text, double textScale) {
  return QFontMetricsF(LabelFont()).horizontalAdvance(text) * textScale / kUnit;
}

// The sides a part's text may take: its own first, then the opposite one.
std::vector<Side> SidesToTry(const Part& p) {
  if (p.symbol == Symbol::Terminal) return {p.side};
  if (IsHorizontal(p)) {
    return p.side == Side::Below ? std::vector{Side::Below, Side::Above}
                                 : std::vector{Side::Above, Side::Below};
  }
  return p.side == Side::Left ? std::vector{Side::Left, Side::Right}
                              : std::vector{Side::Right, Side::Left};
}

bool Clear(const QRectF& box, const std::vector<QRectF>& obstacles,
           const std::vector<ValueLabel>& placed) {
  const QRectF spaced = box.adjusted(-kClearance, -kClearance, kClearance, kClearance);
  const auto touches = [&](const QRectF& r) { return spaced.intersects(r); };
  return std::none_of(obstacles.begin(), obstacles.end(), touches) &&
         std::none_of(placed.begin(), placed.end(),
                      [&](const ValueLabel& l) { return touches(l.box); });
}

}  // namespace

double LabelLineSpacing(double textScale) {
  return QFontMetricsF(LabelFont()).lineSpacing() * textScale / kUnit;
}

double LabelCapHeight(double textScale) {
  return QFontMetricsF(LabelFont()).capHeight() * textScale / kUnit;
}

std::vector<QRectF> Obstacles(const FlatCircuit& flat) {
  std::vector<QRectF> obstacles;
  for (const auto& line : flat.wires) {
    for (std::size_t i = 1; i < line.size(); ++i) obstacles.push_back(Thick(line[i - 1], line[i]));
  }
  for (const Part& p : flat.parts) {
    const QRectF body = BodyBox(p);
    if (!body.isEmpty()) obstacles.push_back(body);
    if (p.symbol == Symbol::OpAmp) {
      const AmpPins pins = OpAmpPins(p);
      const double into = p.amp == Amp::MinusOnTopPointingLeft ? -1 : 1;
      for (GridPoint in : {pins.minus, pins.plus}) {
        obstacles.push_back(Thick(in, in + GridPoint{into, 0}));
      }
      obstacles.push_back(Thick(pins.out, pins.out + GridPoint{-0.4 * into, 0}));
    } else if (p.symbol == Symbol::Ground) {
      obstacles.push_back(Thick(p.a, p.a + GridPoint{0, 0.4}));
    } else if (IsTwoTerminal(p)) {
      obstacles.push_back(Thick(p.a, p.b));
    }
  }
  return obstacles;
}

namespace {

std::vector<ValueLabel> PlaceInOrder(const SectionDrawing& drawing, double textScale, bool reverse,
                                     int* clashes) {
  const std::vector<QRectF> obstacles = Obstacles(drawing.flat);
  const double cap = LabelCapHeight(textScale);
  const double twoLines = cap + LabelLineSpacing(textScale);
  std::vector<ValueLabel> placed;
  int touching = 0;
  // Terminals first: their texts stay where the drawing puts them.
  const std::size_t count = drawing.flat.parts.size();
  for (bool terminals : {true, false}) {
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t i = reverse ? count - 1 - k : k;
      Part part = drawing.flat.parts[i];
      if (part.label.empty() || (part.symbol == Symbol::Terminal) != terminals) continue;
      ValueLabel label{{}, Text(part.label), {}, part.side};
      if (i < drawing.values.size()) label.value = QString::fromStdString(drawing.values[i]);
      const double nameWidth = TextWidth(label.name, textScale);
      const double valueWidth = TextWidth(label.value, textScale);
      const QSizeF twoLineSize(std::max(nameWidth, valueWidth),
                               label.value.isEmpty() ? cap : twoLines);
      const QSizeF oneLineSize(nameWidth + TextWidth(" ", textScale) + valueWidth, cap);
      // Each side in turn, the two lines first; where nothing is clear, the first of all.
      std::vector<ValueLabel> candidates;
      for (Side side : SidesToTry(part)) {
        part.side = side;
        label.side = side;
        for (bool oneLine : {false, true}) {
          if (oneLine && label.value.isEmpty()) continue;
          label.oneLine = oneLine;
          label.box = LabelBoxBeside(part, oneLine ? oneLineSize : twoLineSize);
          candidates.push_back(label);
        }
      }
      const auto clear =
          std::find_if(candidates.begin(), candidates.end(),
                       [&](const ValueLabel& c) { return Clear(c.box, obstacles, placed); });
      if (clear == candidates.end()) ++touching;
      placed.push_back(clear == candidates.end() ? candidates.front() : *clear);
    }
  }
  *clashes = touching;
  return placed;
}

}  // namespace

std::vector<ValueLabel> PlaceLabels(const SectionDrawing& drawing, double textScale, int* clashes) {
  // Each text takes the first clear place; the other order may leave room for all.
  int forward = 0, backward = 0;
  std::vector<ValueLabel> placed = PlaceInOrder(drawing, textScale, false, &forward);
  if (forward > 0) {
    std::vector<ValueLabel> other = PlaceInOrder(drawing, textScale, true, &backward);
    if (backward < forward) {
      placed = std::move(other);
      forward = backward;
    }
  }
  if (clashes) *clashes = forward;
  return placed;
}

LabelledDrawing LabelDrawing(SectionDrawing drawing, double mostScale) {
  LabelledDrawing labelled;
  // In whole percent, so that the steps land exactly on the scales named.
  const int least = static_cast<int>(std::lround(kLeastTextScale * 100));
  int percent = std::clamp(static_cast<int>(std::floor(mostScale * 100 + 1e-9)), least, 100);
  for (;; percent = std::max(percent - kScaleStep, least)) {
    int clashes = 0;
    labelled.labels = PlaceLabels(drawing, percent / 100.0, &clashes);
    if (clashes == 0 || percent == least) break;
  }
  labelled.textScale = percent / 100.0;
  labelled.drawing = std::move(drawing);
  return labelled;
}

QRectF LabelledExtent(const LabelledDrawing& labelled) {
  FlatCircuit bare = labelled.drawing.flat;
  for (Part& p : bare.parts) p.label = {};
  bare.captions.clear();
  QRectF extent = Extent(bare);
  // Boxes end at the baseline; letters such as "p" reach below it.
  const double descent = QFontMetricsF(LabelFont()).descent() * labelled.textScale / kUnit;
  for (const ValueLabel& l : labelled.labels)
    extent |= l.box.adjusted(-0.3, -0.3, 0.3, descent + 0.3);
  return extent;
}

}  // namespace morvane::gui::schematic
