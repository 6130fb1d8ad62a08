// The SVG canvas keeps the bitmap canvas's promises in vector form: one-pixel strokes on
// pixel centres with both line ends covered, rectangles up to their far corner, texts on the
// brush colour, turned texts about their anchor, dotted pens dashed, and text extents from
// the face's advances, counted by character.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "graphs/svg_canvas.h"

namespace morvane {
namespace {

constexpr Colour kYellow{255, 255, 0};

// The elements between the opening group and its end.
std::string Body(const SvgCanvas& canvas) {
  const std::string doc = canvas.Document();
  const auto begin = doc.find('\n', doc.find("<g ")) + 1;
  return doc.substr(begin, doc.rfind("</g>") - begin);
}

struct ElementCase {
  const char* name;
  std::function<void(SvgCanvas&)> draw;
  const char* body;
};

class SvgElementTest : public testing::TestWithParam<ElementCase> {};

TEST_P(SvgElementTest, DrawsTheElement) {
  SvgCanvas canvas(60, 40);
  GetParam().draw(canvas);
  EXPECT_EQ(Body(canvas), GetParam().body);
}

const ElementCase kElementCases[] = {
    {"solid_line_on_pixel_centres",
     [](SvgCanvas& c) {
       c.SetPen({kRed, PenStyle::Solid});
       c.Line(1, 2, 5, 2);
     },
     "<line x1=\"1.5\" y1=\"2.5\" x2=\"5.5\" y2=\"2.5\" stroke=\"#ff0000\"/>\n"},
    {"dotted_line_dashed_one_on_two_off",
     [](SvgCanvas& c) {
       c.SetPen({kGrey, PenStyle::Dotted});
       c.Line(0, 5, -3, 9);
     },
     "<line x1=\"0.5\" y1=\"5.5\" x2=\"-2.5\" y2=\"9.5\" stroke=\"#808080\" "
     "stroke-linecap=\"butt\" stroke-dasharray=\"1 2\"/>\n"},
    {"fill_rect_from_far_corner",
     [](SvgCanvas& c) {
       c.SetBrushColour(kBlue);
       c.FillRect(10, 9, 3, 4);
     },
     "<rect x=\"3\" y=\"4\" width=\"7\" height=\"5\" fill=\"#0000ff\"/>\n"},
    {"rectangle_outlined_inside_its_span",
     [](SvgCanvas& c) {
       c.SetPen({kRed, PenStyle::Solid});
       c.SetBrushColour(kYellow);
       c.Rectangle(20, 10, 10, 20);
     },
     "<rect x=\"10.5\" y=\"10.5\" width=\"9\" height=\"9\" fill=\"#ffff00\" "
     "stroke=\"#ff0000\"/>\n"},
    {"rectangle_one_pixel_wide_is_a_line", [](SvgCanvas& c) { c.Rectangle(7, 3, 8, 9); },
     "<line x1=\"7.5\" y1=\"3.5\" x2=\"7.5\" y2=\"8.5\" stroke=\"#000000\"/>\n"},
    {"ellipse_inscribed",
     [](SvgCanvas& c) {
       c.SetPen({kBlue, PenStyle::Solid});
       c.Ellipse(4, 4, 9, 8);
     },
     "<ellipse cx=\"6.5\" cy=\"6.0\" rx=\"2.0\" ry=\"1.5\" fill=\"#ffffff\" "
     "stroke=\"#0000ff\"/>\n"},
    {"empty_shapes_draw_nothing",
     [](SvgCanvas& c) {
       c.Rectangle(10, 10, 10, 30);
       c.FillRect(5, 5, 30, 5);
       c.Ellipse(5, 5, 5, 5);
     },
     ""},
    {"text_on_the_brush_escaped",
     [](SvgCanvas& c) {
       c.SetBrushColour(kYellow);
       c.SetFontColour(kGreen);
       c.Text(10, 5, "a<b&c>\x01");
     },
     "<rect x=\"10\" y=\"5\" width=\"50\" height=\"13\" fill=\"#ffff00\"/>\n"
     "<text x=\"10\" y=\"15\" fill=\"#008000\">a&lt;b&amp;c&gt;</text>\n"},
    {"turned_text_about_its_anchor",
     [](SvgCanvas& c) {
       c.SetFontAngle(900);
       c.Text(2, 100, "V");
     },
     "<rect x=\"2\" y=\"100\" width=\"9\" height=\"13\" fill=\"#ffffff\" "
     "transform=\"rotate(-90 2 100)\"/>\n"
     "<text x=\"2\" y=\"110\" fill=\"#000000\" transform=\"rotate(-90 2 100)\">V</text>\n"},
};

INSTANTIATE_TEST_SUITE_P(Elements, SvgElementTest, testing::ValuesIn(kElementCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SvgCanvasTest, DocumentHasTheImageSize) {
  SvgCanvas canvas(522, 249);
  const std::string doc = canvas.Document();
  EXPECT_EQ(doc.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
  EXPECT_NE(doc.find(" width=\"522\" height=\"249\" viewBox=\"0 0 522 249\""), std::string::npos);
  EXPECT_EQ(doc.substr(doc.size() - 12), "</g>\n</svg>\n");
  EXPECT_EQ(canvas.Width(), 522);
  EXPECT_EQ(canvas.Height(), 249);
  EXPECT_EQ(SvgCanvas(-5, 3).Width(), 0);
}

TEST(SvgCanvasTest, PenIsKeptForTheEngine) {
  SvgCanvas canvas(10, 10);
  canvas.SetPen({kSilver, PenStyle::Dotted});
  EXPECT_EQ(canvas.CurrentPen(), (Pen{kSilver, PenStyle::Dotted}));
}

struct ExtentCase {
  const char* text;
  int width;
};

class TextExtentTest : public testing::TestWithParam<ExtentCase> {};

// Advances in 1/2048 em at 11 px, rounded once for the whole text.
TEST_P(TextExtentTest, EstimatesFromTheAdvances) {
  SvgCanvas canvas(10, 10);
  const TextSize size = canvas.TextExtent(GetParam().text);
  EXPECT_EQ(size.width, GetParam().width);
  EXPECT_EQ(size.height, 13);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextExtentTest,
    testing::Values(ExtentCase{"", 0}, ExtentCase{"0", 8},  // 1425
                    ExtentCase{"00", 15},                   // 2850: not 2 x 8
                    ExtentCase{"-3dB", 28},                 // 850 + 1425 + 1466 + 1561
                    ExtentCase{"W", 12},                    // the widest capital, 2259
                    ExtentCase{"\xC2\xB0", 6},  // the degree sign, one character of 1024
                    ExtentCase{"phi in \xC2\xB0", 44},
                    ExtentCase{"\xE2\x82\xAC", 8},  // beyond ASCII: as a digit
                    ExtentCase{"\xB0", 8},          // a stray continuation byte: one character
                    ExtentCase{"a\tb", 15}));       // control characters take no room

}  // namespace
}  // namespace morvane
