#include "graphs/ladder_sketch.h"

#include <algorithm>
#include <string>

#include "graphs/plot_drawing.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

// The places of the drawing, in pixels.
struct Frame {
  int top;     // the signal line
  int ground;  // the ground line
  int slot;    // the width each element gets
  int left;    // where the first slot begins
};

std::string Shown(double x, const char* unit) {
  return FormatQuantity(x, unit);
}

std::string ValueText(const NetworkElement& e) {
  return e.kind == ElementKind::Inductor ? Shown(e.Lx, "H") : Shown(e.Cx, "F");
}

// A part between (x0, y0) and (x1, y1) on a straight line, the symbol in its middle.
void DrawPart(Canvas& canvas, ElementKind kind, bool resistor, int x0, int y0, int x1, int y1) {
  const bool vertical = x0 == x1;
  const int mid = vertical ? (y0 + y1) / 2 : (x0 + x1) / 2;
  const int half = 10;  // half the symbol's length along the line
  const int wide = 6;   // half its width across
  if (vertical) {
    canvas.Line(x0, y0, x0, mid - half);
    canvas.Line(x0, mid + half, x0, y1);
  } else {
    canvas.Line(x0, y0, mid - half, y0);
    canvas.Line(mid + half, y0, x1, y0);
  }
  // A resistor's block is open (white inside), an inductor's filled; texts are drawn on the
  // brush, so it is white again afterwards.
  canvas.SetBrushColour(resistor ? kWhite : kBlack);
  if (resistor) {
    vertical ? canvas.Rectangle(x0 - wide + 2, mid - half, x0 + wide - 2, mid + half)
             : canvas.Rectangle(mid - half, y0 - wide + 2, mid + half, y0 + wide - 2);
  } else if (kind == ElementKind::Inductor) {
    vertical ? canvas.FillRect(x0 - wide + 2, mid - half, x0 + wide - 2, mid + half)
             : canvas.FillRect(mid - half, y0 - wide + 2, mid + half, y0 + wide - 2);
  } else {
    const int gap = 3;
    if (vertical) {
      canvas.Line(x0, mid - half, x0, mid - gap);
      canvas.Line(x0, mid + gap, x0, mid + half);
      canvas.Line(x0 - 2 * wide, mid - gap, x0 + 2 * wide, mid - gap);
      canvas.Line(x0 - 2 * wide, mid + gap, x0 + 2 * wide, mid + gap);
    } else {
      canvas.Line(mid - half, y0, mid - gap, y0);
      canvas.Line(mid + gap, y0, mid + half, y0);
      canvas.Line(mid - gap, y0 - 2 * wide, mid - gap, y0 + 2 * wide);
      canvas.Line(mid + gap, y0 - 2 * wide, mid + gap, y0 + 2 * wide);
    }
  }
  canvas.SetBrushColour(kWhite);
}

void Label(Canvas& canvas, int x, int y, const std::string& name, const std::string& value) {
  const int height = canvas.TextExtent(name).height;
  canvas.Text(x, y, name);
  canvas.Text(x, y + height, value);
}

}  // namespace

void DrawLadderSketch(const LadderNetwork& network, Canvas& canvas) {
  ClearImage(canvas, kWhite);
  if (canvas.Width() <= 0 || canvas.Height() <= 0) return;
  SetDrawColour(canvas, kBlack);
  const std::vector<NetworkElement> elements = ElementsFromSource(network);
  const int count = static_cast<int>(elements.size());
  const int textHeight = canvas.TextExtent("L1").height;
  Frame f{};
  f.top = 2 * textHeight + 12;
  f.ground = std::max(f.top + 40, canvas.Height() - 8);
  f.left = 70;
  // The source and RG take the first slot, RL the last.
  f.slot = std::max(40, (canvas.Width() - f.left - 10) / (count + 2));

  // The source: a circle between the lines at the far left, RG from it to the first node.
  const int sourceX = 20;
  const int middle = (f.top + f.ground) / 2;
  canvas.Line(sourceX, f.top, sourceX, middle - 10);
  canvas.Ellipse(sourceX - 10, middle - 10, sourceX + 10, middle + 10);
  canvas.Line(sourceX, middle + 10, sourceX, f.ground);
  canvas.Text(sourceX + 14, middle - textHeight / 2, "1 V");
  int x = f.left;
  DrawPart(canvas, ElementKind::Inductor, true, sourceX, f.top, x + f.slot / 2, f.top);
  Label(canvas, sourceX + 30, 4, "RG", Shown(network.rg, "Ω"));
  x += f.slot / 2;

  for (int i = 0; i < count; ++i) {
    const NetworkElement& e = elements[static_cast<std::size_t>(i)];
    // The table counts the elements as the file lists them.
    const std::size_t listed =
        network.turnedRound ? static_cast<std::size_t>(count - 1 - i) : static_cast<std::size_t>(i);
    const std::string name = ElementName(network, listed);
    if (e.shunt) {
      const int at = x + f.slot / 2;
      canvas.Line(x, f.top, at + f.slot / 2, f.top);
      DrawPart(canvas, e.kind, false, at, f.top, at, f.ground);
      canvas.Ellipse(at - 2, f.top - 2, at + 2, f.top + 2);
      Label(canvas, at + 18, middle - textHeight, name, ValueText(e));
    } else {
      DrawPart(canvas, e.kind, false, x, f.top, x + f.slot, f.top);
      Label(canvas, x + f.slot / 2 - 20, 4, name, ValueText(e));
    }
    x += f.slot;
  }
  // RL from the last node to ground, and the ground line under everything.
  const int loadX = x + f.slot / 2;
  canvas.Line(x, f.top, loadX, f.top);
  DrawPart(canvas, ElementKind::Inductor, true, loadX, f.top, loadX, f.ground);
  Label(canvas, loadX + 14, middle - textHeight, "RL", Shown(network.rl, "Ω"));
  canvas.Line(sourceX, f.ground, loadX, f.ground);
}

}  // namespace morvane
