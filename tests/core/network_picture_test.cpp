// The ladder's picture: the y range each quantity gets (the gain at most 120 dB below its
// peak, the phase over a whole turn, the delay without the spikes of notches, the impedance
// in whole decades with their labels), and a problem shown alone.

#include "graphs/network_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "network/example_ladder.h"

namespace morvane {
namespace {

// Keeps the texts and counts the lines.
class RecordingCanvas : public Canvas {
 public:
  int Width() const override { return 800; }
  int Height() const override { return 500; }
  Pen CurrentPen() const override { return pen_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrushColour(Colour) override {}
  void SetFontColour(Colour) override {}
  void SetFontAngle(int) override {}
  void Line(int, int, int, int) override { ++lines; }
  void FillRect(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Text(int, int, std::string_view text) override { texts.emplace_back(text); }
  TextSize TextExtent(std::string_view text) const override {
    return {7 * static_cast<int>(text.size()), 13};
  }
  bool Shows(const std::string& text) const {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }

  std::vector<std::string> texts;
  int lines = 0;

 private:
  Pen pen_{kBlack, PenStyle::Solid};
};

NetworkCurves ExampleCurves() {
  const LadderNetwork n = ExampleLadder();
  const std::vector<double> f = SweepFrequencies(1e6, 1e9, 301, true);
  return {AnalyseNetwork(n, f), AnalyseNetwork(IdealNetwork(n), f), true, ""};
}

struct RangeCase {
  NetworkQuantity quantity;
  double bottom, top;  // the y range expected
};

TEST(NetworkPicture, AxesOfEachQuantity) {
  const NetworkCurves curves = ExampleCurves();
  // Gain: the pass band at -6 dB, the floor 120 dB below it in 20 dB steps. Phase: a whole
  // turn. Delay: from 0 to the 20 ns step above the 82 ns peak near fg, the notch spikes left out.
  // Impedance: whole decades around 0.2 .. 1 kOhm. Return loss: from 0.
  const RangeCase cases[] = {{NetworkQuantity::Gain, -140.0, 0.0},
                             {NetworkQuantity::Phase, -180.0, 180.0},
                             {NetworkQuantity::GroupDelay, 0.0, 100e-9},
                             {NetworkQuantity::InputImpedance, -1.0, 4.0}};
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.quantity));
    AxisState a;
    SetNetworkAxes(curves, c.quantity, 800, 500, a);
    EXPECT_NEAR(a.ymin, c.bottom, 1e-12);
    EXPECT_NEAR(a.ymax, c.top, 1e-12);
    EXPECT_EQ(a.xmin, 1e6);
    EXPECT_EQ(a.xmax, 1e9);
  }
  AxisState a;
  SetNetworkAxes(curves, NetworkQuantity::ReturnLoss, 800, 500, a);
  EXPECT_EQ(a.ymin, 0.0);
  EXPECT_GT(a.ymax, 20.0);
}

TEST(NetworkPicture, ImpedanceDecadesAreLabelled) {
  RecordingCanvas canvas;
  AxisState a;
  DrawNetworkPicture(ExampleCurves(), NetworkQuantity::InputImpedance, a, canvas);
  for (const char* label : {"100m", "1", "10", "100", "1k", "10k"}) {
    EXPECT_TRUE(canvas.Shows(label)) << label;
  }
  EXPECT_TRUE(canvas.Shows("|Zin| in Ω"));
  EXPECT_GT(canvas.lines, 300);  // the two curves
}

TEST(NetworkPicture, AProblemIsShownAlone) {
  NetworkCurves curves = ExampleCurves();
  curves.problem = "To must lie above From.";
  RecordingCanvas canvas;
  AxisState a;
  DrawNetworkPicture(curves, NetworkQuantity::Gain, a, canvas);
  EXPECT_EQ(canvas.texts, std::vector<std::string>{"To must lie above From."});
  EXPECT_EQ(canvas.lines, 0);
}

}  // namespace
}  // namespace morvane
