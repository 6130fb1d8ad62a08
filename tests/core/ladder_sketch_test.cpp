// The ladder's sketch: one symbol for each element (a filled block for an inductor, two
// plates for a capacitor, open blocks for RG and RL), named and valued as in the table, the
// names in the file's numbering also when the file lists the elements from the load.

#include "graphs/ladder_sketch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "network/example_ladder.h"

namespace morvane {
namespace {

struct Placed {
  int x;
  std::string text;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  Pen CurrentPen() const override { return pen_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrushColour(Colour c) override { brush_ = c; }
  void SetFontColour(Colour) override {}
  void SetFontAngle(int) override {}
  void Line(int, int, int, int) override { ++lines; }
  void FillRect(int, int, int, int) override {
    if (brush_ == kBlack) ++blocks;
  }
  void Rectangle(int, int, int, int) override { ++openBlocks; }
  void Ellipse(int, int, int, int) override {}
  void Text(int x, int, std::string_view text) override {
    texts.push_back({x, std::string(text)});
    if (brush_ != kWhite) ++textsOnDarkGround;
  }
  TextSize TextExtent(std::string_view text) const override {
    return {7 * static_cast<int>(text.size()), 13};
  }
  // The texts left to right.
  std::vector<std::string> Names() const {
    std::vector<Placed> sorted = texts;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Placed& a, const Placed& b) { return a.x < b.x; });
    std::vector<std::string> names;
    for (const Placed& p : sorted) {
      if (p.text.size() <= 2 && p.text[0] != '1') names.push_back(p.text);
    }
    return names;
  }

  std::vector<Placed> texts;
  int lines = 0, blocks = 0, openBlocks = 0, textsOnDarkGround = 0;

 private:
  int width_, height_;
  Pen pen_{kBlack, PenStyle::Solid};
  Colour brush_ = kWhite;
};

TEST(LadderSketch, OneSymbolForEachElement) {
  RecordingCanvas canvas(900, 120);
  DrawLadderSketch(ExampleLadder(), canvas);
  EXPECT_EQ(canvas.blocks, 2);      // L2, L4
  EXPECT_EQ(canvas.openBlocks, 2);  // RG, RL
  EXPECT_EQ(canvas.textsOnDarkGround, 0);
  EXPECT_EQ(canvas.Names(), (std::vector<std::string>{"RG", "C1", "L2", "C3", "L4", "C5", "RL"}));
  bool valued = false;
  for (const Placed& p : canvas.texts) valued = valued || p.text == "1.29 uH";
  EXPECT_TRUE(valued);
}

TEST(LadderSketch, ListedFromTheLoadKeepsTheFilesNames) {
  LadderNetwork n;
  n.turnedRound = true;
  n.elements = {{ElementKind::Inductor, false, 1e-3, 0.0, 0.0},
                {ElementKind::Capacitor, true, 0.0, 0.0, 1e-6}};
  RecordingCanvas canvas(600, 120);
  DrawLadderSketch(n, canvas);
  // From the source: the shunt C2 first, then the series L1 into the load.
  EXPECT_EQ(canvas.Names(), (std::vector<std::string>{"RG", "C2", "L1", "RL"}));
}

TEST(LadderSketch, NothingOnACanvasWithoutArea) {
  RecordingCanvas canvas(0, 0);
  DrawLadderSketch(ExampleLadder(), canvas);
  EXPECT_EQ(canvas.lines + canvas.blocks, 0);
}

}  // namespace
}  // namespace morvane
