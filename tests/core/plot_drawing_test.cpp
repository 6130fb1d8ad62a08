// Drawing through a canvas that records every primitive. A 500 x 400 image gives the plot
// rectangle 53 .. 461 by 32 .. 358; on 0 .. 100 by -60 .. 20 the origin lies at (53, 114).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "graphs/plot_drawing.h"
#include "graphs/plot_mapping.h"

namespace morvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

enum class Kind { Line, FillRect, Rectangle, Ellipse, Text };

struct Op {
  Kind kind;
  int x0, y0, x1, y1;
  std::string text;
  Pen pen;
  Colour brush;
  Colour font;
  int angle;
  // Compared by kind, place and text only.
  friend bool operator==(const Op& a, const Op& b) {
    return a.kind == b.kind && a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1 &&
           a.text == b.text;
  }
};

Op L(int x0, int y0, int x1, int y1) {
  return {Kind::Line, x0, y0, x1, y1, {}, {}, {}, {}, 0};
}
Op R(int x0, int y0, int x1, int y1, Kind kind = Kind::Rectangle) {
  return {kind, x0, y0, x1, y1, {}, {}, {}, {}, 0};
}
Op T(int x, int y, std::string text) {
  return {Kind::Text, x, y, x, y, std::move(text), {}, {}, {}, 0};
}

// Texts are 7 pixels per byte wide.
class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(int width = 500, int height = 400) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  Pen CurrentPen() const override { return pen_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrushColour(Colour colour) override { brush_ = colour; }
  void SetFontColour(Colour colour) override { font_ = colour; }
  void SetFontAngle(int tenths) override { angle_ = tenths; }
  void Line(int x0, int y0, int x1, int y1) override { Add(Kind::Line, x0, y0, x1, y1); }
  void FillRect(int x0, int y0, int x1, int y1) override { Add(Kind::FillRect, x0, y0, x1, y1); }
  void Rectangle(int x0, int y0, int x1, int y1) override { Add(Kind::Rectangle, x0, y0, x1, y1); }
  void Ellipse(int x0, int y0, int x1, int y1) override { Add(Kind::Ellipse, x0, y0, x1, y1); }
  void Text(int x, int y, std::string_view text) override { Add(Kind::Text, x, y, x, y, text); }
  TextSize TextExtent(std::string_view text) const override {
    return {7 * static_cast<int>(text.size()), 13};
  }

  std::vector<Op> ops;

  std::vector<Op> Only(Kind kind) const {
    std::vector<Op> out;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
                 [kind](const Op& op) { return op.kind == kind; });
    return out;
  }
  // x of the short vertical lines hanging from the x axis at y = 114.
  std::vector<int> XTicks() const {
    std::vector<int> xs;
    for (const Op& op : Only(Kind::Line)) {
      if (op.x0 == op.x1 && op.y0 == 114 && op.y1 == 118) xs.push_back(op.x0);
    }
    return xs;
  }

 private:
  void Add(Kind kind, int x0, int y0, int x1, int y1, std::string_view text = {}) {
    ops.push_back({kind, x0, y0, x1, y1, std::string(text), pen_, brush_, font_, angle_});
  }
  int width_;
  int height_;
  Pen pen_{kBlack, PenStyle::Solid};
  Colour brush_ = kWhite;
  Colour font_ = kBlack;
  int angle_ = 0;
};

AxisState Axes(AxisMode mode = AxisMode::Linear, double xmin = 0, double xmax = 100,
               double xstep = 10, double xo = 0, double ystep = 10, int width = 500) {
  AxisState a;
  SetAxisModes(a, mode, AxisMode::Linear);
  SetupAxes(a, width, 400, 20, xmax, -60, xmin);
  FixOrigin(a, 0, xo);
  a.xstep = xstep;
  a.ystep = ystep;
  return a;
}

AxisState Log(double xmin = 10) {
  return Axes(AxisMode::Logarithmic, xmin, 1e5);
}

TEST(PlotDrawing, Axes) {
  RecordingCanvas canvas;
  canvas.SetPen({kBlack, PenStyle::Dotted});
  DrawXAxis(Axes(), canvas);
  DrawYAxis(Axes(), canvas);
  // x: tick 4 (sqrt(0.05 * 358)), arrow 4 back and 2 across; y: tick 4 (sqrt(461 / 30)),
  // arrow 2 across (2.5 to even) and 5 down, ticks down to and including ymin.
  const std::vector<Op> expected = {
      L(53, 114, 461, 114),  L(461, 114, 457, 116), L(461, 114, 457, 112), L(94, 114, 94, 118),
      L(135, 114, 135, 118), L(175, 114, 175, 118), L(216, 114, 216, 118), L(257, 114, 257, 118),
      L(298, 114, 298, 118), L(339, 114, 339, 118), L(379, 114, 379, 118), L(420, 114, 420, 118),
      L(53, 358, 53, 32),    L(53, 32, 51, 37),     L(53, 32, 55, 37),     L(53, 73, 49, 73),
      L(53, 154, 49, 154),   L(53, 195, 49, 195),   L(53, 236, 49, 236),   L(53, 276, 49, 276),
      L(53, 317, 49, 317),   L(53, 358, 49, 358)};
  EXPECT_EQ(canvas.ops, expected);
  for (const Op& op : canvas.ops) EXPECT_EQ(op.pen.style, PenStyle::Solid);
  EXPECT_EQ(canvas.CurrentPen().style, PenStyle::Dotted);
}

TEST(PlotDrawing, XTicks) {
  const struct {
    AxisState a;
    std::vector<int> ticks;
  } cases[] = {
      // Up from 50 while below 100, then down to the first at or below xmin (the left edge).
      {Axes(AxisMode::Linear, -5, 100, 10, 50), {306, 344, 383, 422, 228, 189, 150, 111, 72, 53}},
      // 3 * 0.3 is 0.8999999999999999: the end of the axis, not a tick before it.
      {Axes(AxisMode::Linear, 0, 0.9, 0.3), {189, 325}},
      // Steps that go nowhere, and an axis of zero length.
      {Axes(AxisMode::Linear, 0, 100, 0, 50), {}},
      {Axes(AxisMode::Linear, 0, 100, -10, 50), {}},
      {Axes(AxisMode::Linear, 0, 100, kNaN, 50), {}},
      {Axes(AxisMode::Linear, 7, 7, 1, 7), {}},
  };
  for (const auto& c : cases) {
    RecordingCanvas canvas;
    DrawXAxis(c.a, canvas);
    EXPECT_EQ(canvas.XTicks(), c.ticks) << c.a.xmin << " .. " << c.a.xmax;
  }
}

TEST(PlotDrawing, LogarithmicTicksGridAndLabels) {
  RecordingCanvas canvas;
  DrawXAxis(Log(), canvas);
  // 2 .. 9 of four decades and 100, 1000, 10000 between them; none on the arrowhead.
  const std::vector<int> ticks = canvas.XTicks();
  ASSERT_EQ(ticks.size(), 35u);
  EXPECT_EQ(ticks[0], 84);       // 20
  EXPECT_EQ(ticks[8], 155);      // 100
  EXPECT_EQ(ticks[26], 359);     // 10000
  EXPECT_EQ(ticks.back(), 456);  // 90000
  RecordingCanvas grid;
  DrawXGrid(Log(), grid, 5);
  ASSERT_EQ(grid.ops.size(), 36u);
  EXPECT_EQ(grid.ops.back(), L(461, 358, 461, 32));  // up to xmax
  // Labels stop at 0.1 xmax, centred under the plot's bottom edge (358 + 3).
  RecordingCanvas labels;
  DrawXLabels(Log(), labels, 5);
  EXPECT_EQ(labels.ops, (std::vector<Op>{T(39, 361, "10.0"), T(138, 361, "100.0"),
                                         T(243, 361, "1.0k"), T(342, 361, "10.0k")}));
  // xmin 0 becomes 0.001 xmax: three decades.
  RecordingCanvas three;
  DrawXAxis(Log(0), three);
  EXPECT_EQ(three.XTicks().size(), 26u);
}

TEST(PlotDrawing, GridIsDottedAndRestoresThePen) {
  RecordingCanvas canvas;
  canvas.SetPen({kGrey, PenStyle::Solid});
  DrawXGrid(Axes(AxisMode::Linear, 0, 100, 5), canvas, 5);
  DrawYGrid(Axes(AxisMode::Linear, 0, 100, 5), canvas, 5);
  EXPECT_EQ(canvas.ops, (std::vector<Op>{L(155, 358, 155, 32), L(257, 358, 257, 32),
                                         L(359, 358, 359, 32), L(53, 317, 461, 317)}));
  for (const Op& op : canvas.ops) EXPECT_EQ(op.pen, (Pen{kGrey, PenStyle::Dotted}));
  EXPECT_EQ(canvas.CurrentPen(), (Pen{kGrey, PenStyle::Solid}));
}

TEST(PlotDrawing, LinearLabels) {
  RecordingCanvas canvas;
  DrawXLabels(Axes(AxisMode::Linear, 0, 100, 5), canvas, 5);
  DrawYLabels(Axes(AxisMode::Linear, 0, 100, 5), canvas, 1);
  // At the plot's edges: x centred under the bottom edge, y right-aligned against the left
  // one (53 - 5), the y origin (0 dB) included, never at the ends.
  EXPECT_EQ(canvas.ops,
            (std::vector<Op>{T(138, 361, "25.00"), T(240, 361, "50.00"), T(342, 361, "75.00"),
                             T(27, 108, "0.0"), T(13, 67, "10.00"), T(6, 148, "-10.00"),
                             T(6, 189, "-20.00"), T(6, 230, "-30.00"), T(6, 270, "-40.00"),
                             T(6, 311, "-50.00")}));
  const struct {
    AxisState a;
    std::vector<std::string> texts;
  } cases[] = {
      {Axes(AxisMode::Linear, -100, 100, 10), {"50.00", "-50.00"}},
      // A narrow range far from zero carries more decimals (r = 0.1, r = 0.0196).
      {Axes(AxisMode::Linear, 90, 100, 1, 90), {"95.000"}},
      {Axes(AxisMode::Linear, 1000, 1020, 1, 1005), {"1.0100k", "1.0150k"}},
      {Axes(AxisMode::Linear, 0, 0.005, 0.0001),
       {"0.50m", "1.00m", "1.50m", "2.00m", "2.50m", "3.00m", "3.50m", "4.00m", "4.50m"}},
      {Axes(AxisMode::Linear, 7, 7, 1, 7), {}},
  };
  for (const auto& c : cases) {
    RecordingCanvas labels;
    DrawXLabels(c.a, labels, 5);
    std::vector<std::string> texts;
    for (const Op& op : labels.ops) texts.push_back(op.text);
    EXPECT_EQ(texts, c.texts) << c.a.xmin << " .. " << c.a.xmax;
  }
  // Left of a narrow image the y labels are held at x = 1.
  RecordingCanvas narrow(200, 400);
  DrawYLabels(Axes(AxisMode::Linear, 0, 100, 10, 0, 10, 200), narrow, 2);
  ASSERT_FALSE(narrow.ops.empty());
  const auto leftmost = std::min_element(narrow.ops.begin(), narrow.ops.end(),
                                         [](const Op& p, const Op& q) { return p.x0 < q.x0; });
  EXPECT_EQ(leftmost->x0, 1);
}

TEST(PlotDrawing, Texts) {
  RecordingCanvas canvas;
  SetDrawColour(canvas, kGreen);
  DrawTitle(Axes(), canvas, "Phasengang");  // 70 wide, centred on x = 50
  DrawTitle(Log(), canvas, "Phasengang");   // centred on x = 1000
  DrawXAxisName(Axes(), canvas, "f in Hz");
  DrawXAxisName(Axes(), canvas, "phi in \xC2\xB0");  // 8 characters in 9 bytes
  DrawTextAt(Axes(), canvas, "V(f) :", 3, 995);
  DrawYAxisName(Axes(), canvas, "V in dB");  // 49 wide, centred on y = -20
  EXPECT_EQ(canvas.ops, (std::vector<Op>{T(222, 1, "Phasengang"), T(222, 1, "Phasengang"),
                                         T(236, 375, "f in Hz"), T(233, 375, "phi in \xC2\xB0"),
                                         T(2, 2, "V(f) :"), T(2, 219, "V in dB")}));
  for (const Op& op : canvas.ops) {
    EXPECT_EQ(op.font, kGreen);
    EXPECT_EQ(op.angle, op.text == "V in dB" ? 900 : 0);
  }
  DrawTitle(Axes(), canvas, "after");
  EXPECT_EQ(canvas.ops.back().angle, 0);
}

TEST(PlotDrawing, CurveLine) {
  const struct {
    std::vector<double> X, Y;
    int count;
    std::vector<Op> lines;
  } cases[] = {
      // The first point lies on xmin, the left edge: moved to, outside, yet joined to the next.
      {{0, 10, 20}, {0, 0, -20}, 3, {L(53, 114, 94, 114), L(94, 114, 135, 195)}},
      // No line into a point above ymax; the next point is joined from its place on the edge.
      {{0, 10, 20, 30, 40},
       {0, 0, 50, 0, 0},
       5,
       {L(53, 114, 94, 114), L(135, 32, 175, 114), L(175, 114, 216, 114)}},
      // Not a number and the zero-magnitude gain sit on the bottom edge, infinity on top.
      {{10, 20, 30, 40, 50, 60, 70},
       {0, kNaN, 0, -2e301, 0, kInf, 0},
       7,
       {L(135, 358, 175, 114), L(216, 358, 257, 114), L(298, 32, 339, 114)}},
      // Count limits the points and is held to the arrays.
      {{0, 10, 20}, {0, 0, -20}, 2, {L(53, 114, 94, 114)}},
      {{0, 10, 20}, {0, 0, -20}, 1000, {L(53, 114, 94, 114), L(94, 114, 135, 195)}},
      {{10, 20}, {0, 0}, 1, {}},
      {{10, 20}, {0, 0}, -5, {}},
  };
  for (const auto& c : cases) {
    RecordingCanvas canvas;
    DrawCurveLine(Axes(), canvas, c.X, c.Y, PenStyle::Dotted, kGreen, c.count);
    EXPECT_EQ(canvas.ops, c.lines) << c.count << " points from " << c.Y[1];
    for (const Op& op : canvas.ops) EXPECT_EQ(op.pen, (Pen{kGreen, PenStyle::Dotted}));
    EXPECT_EQ(canvas.CurrentPen(), (Pen{kGreen, PenStyle::Solid}));  // colour stays
  }
}

TEST(PlotDrawing, MarkersAndBars) {
  // Marker size 3 from (461 + 358) * 0.002 + 1, bar half width 1 from 0.0002. The point on
  // xmin and the one above ymax are outside.
  const std::array<double, 4> x{0, 10, 20, 30}, y{5, 0, -20, 50};
  const struct {
    int kind;
    std::vector<Op> drawn;
  } cases[] = {
      {4, {L(91, 117, 97, 111), L(97, 117, 91, 111), L(132, 198, 138, 192), L(138, 198, 132, 192)}},
      {2, {R(91, 114, 97, 117), R(132, 195, 138, 198)}},
      {3, {R(94, 114, 97, 117, Kind::Ellipse), R(135, 195, 138, 198, Kind::Ellipse)}},
      {7, {R(93, 113, 95, 115), R(134, 194, 136, 196)}},
      {-1, {R(93, 114, 95, 114), R(134, 195, 136, 114)}},  // bars, standing on the x axis
  };
  for (const auto& c : cases) {
    RecordingCanvas canvas;
    canvas.SetPen({kBlack, PenStyle::Dotted});
    ClearImage(canvas, kSilver);
    canvas.ops.clear();
    if (c.kind < 0) {
      DrawCurveBars(Axes(), canvas, x, y, kRed, 4);
    } else {
      DrawCurveMarkers(Axes(), canvas, x, y, c.kind, kBlue, 4);
    }
    EXPECT_EQ(canvas.ops, c.drawn) << c.kind;
    for (const Op& op : canvas.ops) {
      EXPECT_EQ(op.pen.colour, c.kind < 0 ? kRed : kBlue);
      EXPECT_EQ(op.brush, kSilver);  // ClearImage's colour
    }
    EXPECT_EQ(canvas.CurrentPen(), (Pen{kBlack, PenStyle::Dotted}));
  }
}

void DrawAll(const AxisState& a, Canvas& canvas) {
  const std::array<double, 3> x{10, 20, 30}, y{0, 1, 2};
  ClearImage(canvas, kWhite);
  DrawXGrid(a, canvas, 1);
  DrawYGrid(a, canvas, 1);
  DrawXAxis(a, canvas);
  DrawYAxis(a, canvas);
  DrawXLabels(a, canvas, 1);
  DrawYLabels(a, canvas, 1);
  DrawTitle(a, canvas, "t");
  DrawXAxisName(a, canvas, "x");
  DrawYAxisName(a, canvas, "y");
  DrawTextAt(a, canvas, "n", 3, 995);
  DrawCurveLine(a, canvas, x, y, PenStyle::Solid, kGreen, 3);
  DrawCurveMarkers(a, canvas, x, y, 4, kBlue, 3);
  DrawCurveBars(a, canvas, x, y, kRed, 3);
}

// A step far below a pixel, or one that no longer moves v (1 near 1e20), would loop for
// millions of rounds: the marks are thinned and still run from end to end.
TEST(PlotDrawing, DenseTicksAreCapped) {
  for (const auto& [xmin, xmax, step] :
       {std::array{0.0, 100.0, 1e-9}, {0.0, 100.0, 1e-300}, {1e20, 1e20 + 1e7, 1.0}}) {
    RecordingCanvas canvas;
    DrawAll(Axes(AxisMode::Linear, xmin, xmax, step, xmin, step), canvas);
    EXPECT_LT(canvas.ops.size(), 10u * 4100u) << step;
    const std::vector<int> ticks = canvas.XTicks();
    ASSERT_GT(ticks.size(), 400u) << step;
    EXPECT_LE(*std::min_element(ticks.begin(), ticks.end()), 55) << step;
    EXPECT_GE(*std::max_element(ticks.begin(), ticks.end()), 459) << step;
  }
}

TEST(PlotDrawing, NothingOnACanvasWithoutArea) {
  for (const auto& [width, height] : {std::array{0, 0}, {0, 400}, {500, 0}}) {
    RecordingCanvas canvas(width, height);
    DrawAll(Axes(), canvas);
    EXPECT_TRUE(canvas.ops.empty()) << width << " x " << height;
  }
}

// Whatever the axes hold, a drawing ends and no label reads "nan" or "inf".
TEST(PlotDrawing, DegenerateAxesDrawFiniteLabels) {
  const struct {
    AxisMode mode;
    double xmin, xmax, ymin, ymax, step;
  } cases[] = {
      {AxisMode::Linear, kNaN, 100, -60, kNaN, 10},
      {AxisMode::Linear, -kInf, kInf, -kInf, kInf, 10},
      {AxisMode::Linear, -1e308, 1e308, -1e308, 1e308, 1e306},
      {AxisMode::Linear, 100, 0, 20, -60, 10},  // inverted
      {AxisMode::Logarithmic, 0, 0, 0, 1, 0.1},
      {AxisMode::Logarithmic, -10, kInf, -1e300, 1e300, 1e299},
      {AxisMode::Logarithmic, 1e-300, 1e300, -1, 1, kNaN},
  };
  for (const auto& c : cases) {
    AxisState a;
    SetAxisModes(a, c.mode, AxisMode::Linear);
    SetupAxes(a, 500, 400, c.ymax, c.xmax, c.ymin, c.xmin);
    FixOrigin(a, 0, 0);
    a.xstep = a.ystep = c.step;
    RecordingCanvas canvas;
    DrawAll(a, canvas);
    EXPECT_LT(canvas.ops.size(), 20000u) << c.xmin;
    for (const Op& op : canvas.Only(Kind::Text)) {
      EXPECT_EQ(op.text.find("nan"), std::string::npos) << op.text;
      EXPECT_EQ(op.text.find("inf"), std::string::npos) << op.text;
    }
  }
  // A logarithmic x axis runs from xmin whatever its origin: an origin of 0 (FixOrigin not
  // yet run) draws what the usual one does.
  AxisState a = Log();
  RecordingCanvas usual;
  DrawXAxis(a, usual);
  DrawXGrid(a, usual, 5);
  DrawXLabels(a, usual, 5);
  a.xo = 0;
  RecordingCanvas canvas;
  DrawXAxis(a, canvas);
  DrawXGrid(a, canvas, 5);
  DrawXLabels(a, canvas, 5);
  EXPECT_EQ(canvas.ops, usual.ops);
}

}  // namespace
}  // namespace morvane
