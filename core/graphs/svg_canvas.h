#pragma once

// The plot engine's canvas as an SVG document: lines, rectangles and ellipses as vector
// elements on the pixel grid, texts as text in the bold sans-serif face of the graphs. No
// font is at hand without a toolkit, so text extents come from a table of the face's glyph
// advances: the same text always measures the same, whoever draws it.

#include <string>
#include <string_view>

#include "graphs/canvas.h"

namespace morvane {

class SvgCanvas : public Canvas {
 public:
  static constexpr int kFontPixels = 11;
  static constexpr int kLineHeight = 13;  // ascent and descent of the face at 11 px
  static constexpr int kAscent = 10;

  SvgCanvas(int width, int height);

  // The whole file, UTF-8, ending in a newline.
  std::string Document() const;

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  Pen CurrentPen() const override { return pen_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrushColour(Colour colour) override { brush_ = colour; }
  void SetFontColour(Colour colour) override { fontColour_ = colour; }
  void SetFontAngle(int tenthsOfDegree) override { angle_ = tenthsOfDegree; }

  void Line(int x0, int y0, int x1, int y1) override;
  void FillRect(int x0, int y0, int x1, int y1) override;
  void Rectangle(int x0, int y0, int x1, int y1) override;
  void Ellipse(int x0, int y0, int x1, int y1) override;
  void Text(int x, int y, std::string_view text) override;
  TextSize TextExtent(std::string_view text) const override;

 private:
  std::string PenAttributes() const;

  int width_;
  int height_;
  Pen pen_;
  Colour brush_ = kWhite;
  Colour fontColour_ = kBlack;
  int angle_ = 0;
  std::string body_;
};

// Width and height in pixels of a UTF-8 text in the graphs' face at 11 px, estimated from
// its glyph advances (characters beyond ASCII count as a digit, the degree sign as itself,
// control characters, which are not written, as nothing).
TextSize EstimateTextExtent(std::string_view text);

}  // namespace morvane
