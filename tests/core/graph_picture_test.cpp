// A graph window's picture without the window: the starting axes it samples over, the CSV of
// the drawn samples, and the texts of the drawing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "graphs/graph_picture.h"
#include "graphs/svg_canvas.h"

namespace morvane {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Opened {
  AxisState axes;
  CurveBuffer buffer;
  std::string svg;
};

Opened Open(GraphKind kind, bool pulse, FilterType type = FilterType::Lowpass, double fg = 1000,
            double q = 0.7071) {
  DesignState s;
  s.fg = fg;
  s.Q = q;
  s.D = 0.5 / q;
  Opened o;
  SetPlainCurveStyle(o.axes);
  o.buffer.Count = 17;  // left by an earlier sweep: opening takes the full count again
  SvgCanvas canvas(kOpenedPictureWidth, kOpenedPictureHeight);
  DrawOpenedGraph(kind, s, type, pulse, o.axes, o.buffer, canvas);
  o.svg = canvas.Document();
  return o;
}

struct CsvCase {
  GraphKind kind;
  bool pulse;
  const char* header;
  std::size_t rows;
};

class GraphCsvTest : public testing::TestWithParam<CsvCase> {};

TEST_P(GraphCsvTest, HeaderNamesTheUnitsAndRowsAreTheDrawnSamples) {
  const CsvCase& c = GetParam();
  const Opened o = Open(c.kind, c.pulse);
  const std::vector<std::string> lines = Lines(GraphSamplesCsv(c.kind, c.pulse, o.buffer));
  ASSERT_EQ(lines.size(), c.rows + 1);
  EXPECT_EQ(lines[0], c.header);
  // Every sample reads back as the very number drawn.
  for (std::size_t i = 0; i < c.rows; ++i) {
    char* end = nullptr;
    const double x = std::strtod(lines[i + 1].c_str(), &end);
    ASSERT_EQ(*end, ',') << lines[i + 1];
    const double y = std::strtod(end + 1, &end);
    EXPECT_EQ(*end, '\0');
    EXPECT_EQ(x, o.buffer.X[i]) << i;
    EXPECT_EQ(y, o.buffer.Y[i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, GraphCsvTest,
                         testing::Values(CsvCase{GraphKind::Gain, false, "f/Hz,V/dB", 254},
                                         CsvCase{GraphKind::Gain, true, "f/Hz,V/dB", 254},
                                         CsvCase{GraphKind::Phase, false, "f/Hz,phi/deg", 254},
                                         CsvCase{GraphKind::GroupDelay, false, "f/Hz,tgr/s", 254},
                                         CsvCase{GraphKind::TimeResponse, false, "t/s,s(t)", 251},
                                         CsvCase{GraphKind::TimeResponse, true, "t/s,h(t)", 251}));

struct AxesCase {
  GraphKind kind;
  FilterType type;
  double xmin, xmax, ymin, ymax;
};

class OpenedAxesTest : public testing::TestWithParam<AxesCase> {};

// fg = 1 kHz, Q = 0.7071: frequency windows over 10 Hz .. 100 kHz (snapped to decades),
// the time window over 5 ms.
TEST_P(OpenedAxesTest, SamplesOverTheStartingAxes) {
  const AxesCase& c = GetParam();
  const Opened o = Open(c.kind, false, c.type);
  EXPECT_DOUBLE_EQ(o.axes.xmin, c.xmin);
  EXPECT_DOUBLE_EQ(o.axes.xmax, c.xmax);
  EXPECT_DOUBLE_EQ(o.axes.ymin, c.ymin);
  EXPECT_DOUBLE_EQ(o.axes.ymax, c.ymax);
  EXPECT_EQ(o.buffer.Count, 254);
  EXPECT_DOUBLE_EQ(o.buffer.X[0], c.kind == GraphKind::TimeResponse ? 0.0 : c.xmin);
  EXPECT_EQ(o.axes.Width, kOpenedPictureWidth);
  EXPECT_EQ(o.axes.Height, kOpenedPictureHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, OpenedAxesTest,
    testing::Values(AxesCase{GraphKind::Gain, FilterType::Lowpass, 10, 1e5, -60, 20},
                    AxesCase{GraphKind::Phase, FilterType::Highpass, 10, 1e5, 0, 200},
                    AxesCase{GraphKind::Phase, FilterType::Allpass, 10, 1e5, -400, 0},
                    AxesCase{GraphKind::TimeResponse, FilterType::Lowpass, 0, 0.005, -0.1, 1.1}));

TEST(GraphPictureTest, SvgHoldsTheWindowsTexts) {
  const Opened gain = Open(GraphKind::Gain, false);
  EXPECT_NE(gain.svg.find(">Voltage Gain V(f)-Vo</text>"), std::string::npos);
  EXPECT_NE(gain.svg.find(">f in Hz</text>"), std::string::npos);
  EXPECT_NE(gain.svg.find(">-3dB</text>"), std::string::npos);
  // The y labels ("-55.00") leave no room for the y axis name beside them at this size: it
  // stands level above the plot, not turned over the labels.
  const auto name = gain.svg.find(">V in dB</text>");
  ASSERT_NE(name, std::string::npos);
  const auto tag = gain.svg.rfind("<text", name);
  EXPECT_EQ(gain.svg.substr(tag, name - tag).find("rotate"), std::string::npos);

  const Opened pulse = Open(GraphKind::TimeResponse, true);
  EXPECT_NE(pulse.svg.find(">Lowpass Pulse Response</text>"), std::string::npos);
  EXPECT_NE(pulse.svg.find(">h(t) :</text>"), std::string::npos);
  EXPECT_EQ(pulse.svg.find(">s(t) :</text>"), std::string::npos);
}

}  // namespace
}  // namespace morvane
