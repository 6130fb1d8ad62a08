#include "graphs/svg_canvas.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "numerics/number_text.h"

namespace morvane {

namespace {

// Advances of the bold face (DejaVu Sans Bold) in 1/2048 em, for ' ' .. '~'.
constexpr std::array<std::uint16_t, 95> kAsciiAdvance = {
    713,  934,  1067, 1716, 1425, 2052, 1786, 627,  936,  936,  1071, 1716, 778,  850,  778,  748,
    1425, 1425, 1425, 1425, 1425, 1425, 1425, 1425, 1425, 1425, 819,  819,  1716, 1716, 1716, 1188,
    2048, 1585, 1561, 1503, 1700, 1399, 1399, 1681, 1714, 762,  762,  1587, 1305, 2038, 1714, 1741,
    1501, 1741, 1577, 1475, 1397, 1663, 1585, 2259, 1579, 1483, 1485, 936,  748,  936,  1716, 1024,
    1024, 1382, 1466, 1214, 1466, 1389, 891,  1466, 1458, 702,  702,  1362, 702,  2134, 1458, 1407,
    1466, 1466, 1010, 1219, 979,  1458, 1335, 1892, 1321, 1335, 1192, 1458, 748,  1458, 1716};
constexpr int kEm = 2048;
constexpr int kDigitAdvance = 1425;
constexpr int kDegreeAdvance = 1024;
constexpr char32_t kDegreeSign = 0xB0;

// Control characters are not written (XML cannot hold most of them), so they take no room.
int Advance(char32_t c) {
  if (c < 0x20) return 0;
  if (c <= 0x7E) return kAsciiAdvance[c - 0x20];
  return c == kDegreeSign ? kDegreeAdvance : kDigitAdvance;
}

// Calls each(code point) for a UTF-8 text; a broken sequence counts one point per byte.
template <typename Each>
void ForEachCodePoint(std::string_view text, Each each) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    bool sound = length == 1 || (lead >= 0xC0 && i + length <= text.size());
    for (std::size_t k = 1; sound && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      sound = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    each(sound ? c : char32_t{0xFFFD});
    i += sound ? length : 1;
  }
}

std::string Number(int v) {
  return std::to_string(v);
}

// Pixel positions are whole or half pixels.
std::string Decimal(double v) {
  return FixedText(v, 1);
}

// A pixel's centre, where a one-pixel stroke covers exactly that pixel.
std::string Centre(double v) {
  return Decimal(v + 0.5);
}

std::string Hex(Colour c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

// Text content: markup characters escaped, control characters dropped.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20) out += c;
        break;
    }
  }
  return out;
}

// Like the bitmap canvas: from one corner up to, not including, the other.
struct Box {
  int left;
  int top;
  int width;
  int height;
  bool Empty() const { return width <= 0 || height <= 0; }
};

Box Span(int x0, int y0, int x1, int y1) {
  const int left = std::min(x0, x1);
  const int top = std::min(y0, y1);
  return {left, top, std::max(x0, x1) - left, std::max(y0, y1) - top};
}

}  // namespace

TextSize EstimateTextExtent(std::string_view text) {
  long units = 0;
  ForEachCodePoint(text, [&](char32_t c) { units += Advance(c); });
  return {static_cast<int>((units * SvgCanvas::kFontPixels + kEm / 2) / kEm),
          SvgCanvas::kLineHeight};
}

SvgCanvas::SvgCanvas(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

std::string SvgCanvas::Document() const {
  const std::string w = Number(width_);
  const std::string h = Number(height_);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
         "\">\n"
         "<g font-family=\"DejaVu Sans, Verdana, Arial, Helvetica, sans-serif\" font-size=\"" +
         Number(kFontPixels) +
         "\" font-weight=\"bold\" stroke-width=\"1\" stroke-linecap=\"square\" "
         "shape-rendering=\"crispEdges\" xml:space=\"preserve\">\n" +
         body_ + "</g>\n</svg>\n";
}

std::string SvgCanvas::PenAttributes() const {
  std::string a = " stroke=\"" + Hex(pen_.colour) + "\"";
  // One pixel on, two off, as the bitmap canvas dots its lines.
  if (pen_.style == PenStyle::Dotted) a += " stroke-linecap=\"butt\" stroke-dasharray=\"1 2\"";
  if (pen_.style == PenStyle::Bold) a += " stroke-width=\"2\"";
  if (pen_.style == PenStyle::Wide) a += " stroke-width=\"3\"";
  return a;
}

void SvgCanvas::Line(int x0, int y0, int x1, int y1) {
  // Square caps reach half a pixel beyond each centre: both end pixels are covered.
  body_ += "<line x1=\"" + Centre(x0) + "\" y1=\"" + Centre(y0) + "\" x2=\"" + Centre(x1) +
           "\" y2=\"" + Centre(y1) + "\"" + PenAttributes() + "/>\n";
}

void SvgCanvas::FillRect(int x0, int y0, int x1, int y1) {
  const Box b = Span(x0, y0, x1, y1);
  if (b.Empty()) return;
  body_ += "<rect x=\"" + Number(b.left) + "\" y=\"" + Number(b.top) + "\" width=\"" +
           Number(b.width) + "\" height=\"" + Number(b.height) + "\" fill=\"" + Hex(brush_) +
           "\"/>\n";
}

void SvgCanvas::Rectangle(int x0, int y0, int x1, int y1) {
  const Box b = Span(x0, y0, x1, y1);
  if (b.Empty()) return;
  // An outline one pixel wide or high has no inside: it is a line.
  if (b.width == 1 || b.height == 1) {
    Line(b.left, b.top, b.left + b.width - 1, b.top + b.height - 1);
    return;
  }
  body_ += "<rect x=\"" + Centre(b.left) + "\" y=\"" + Centre(b.top) + "\" width=\"" +
           Number(b.width - 1) + "\" height=\"" + Number(b.height - 1) + "\" fill=\"" +
           Hex(brush_) + "\"" + PenAttributes() + "/>\n";
}

void SvgCanvas::Ellipse(int x0, int y0, int x1, int y1) {
  const Box b = Span(x0, y0, x1, y1);
  if (b.Empty()) return;
  if (b.width == 1 || b.height == 1) {
    Line(b.left, b.top, b.left + b.width - 1, b.top + b.height - 1);
    return;
  }
  const double rx = (b.width - 1) / 2.0;
  const double ry = (b.height - 1) / 2.0;
  body_ += "<ellipse cx=\"" + Centre(b.left + rx) + "\" cy=\"" + Centre(b.top + ry) + "\" rx=\"" +
           Decimal(rx) + "\" ry=\"" + Decimal(ry) + "\" fill=\"" + Hex(brush_) + "\"" +
           PenAttributes() + "/>\n";
}

void SvgCanvas::Text(int x, int y, std::string_view text) {
  const TextSize size = TextExtent(text);
  // Turned about its anchor, the top-left corner of the unturned text; SVG turns clockwise.
  std::string turn;
  if (angle_ % 3600 != 0) {
    turn = " transform=\"rotate(" + GeneralText(-angle_ / 10.0, 6) + " " + Number(x) + " " +
           Number(y) + ")\"";
  }
  body_ += "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" + Number(size.width) +
           "\" height=\"" + Number(size.height) + "\" fill=\"" + Hex(brush_) + "\"" + turn + "/>\n";
  body_ += "<text x=\"" + Number(x) + "\" y=\"" + Number(y + kAscent) + "\" fill=\"" +
           Hex(fontColour_) + "\"" + turn + ">" + Escaped(text) + "</text>\n";
}

TextSize SvgCanvas::TextExtent(std::string_view text) const {
  return EstimateTextExtent(text);
}

}  // namespace morvane
