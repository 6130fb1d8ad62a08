#pragma once

// The drawing surface of the plot engine. The graph windows implement it on their bitmap and
// the tests record what is drawn, so the engine itself never sees a toolkit.
//
// Pixels count from the top-left corner (0, 0), y downwards. The canvas clips whatever falls
// outside Width() x Height(); the engine may ask for positions beyond it.

#include <cstdint>
#include <string_view>

namespace morvane {

struct Colour {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kGrey{128, 128, 128};
inline constexpr Colour kSilver{192, 192, 192};
// The grid: light enough that the curve and the axes stand out from it.
inline constexpr Colour kGridGrey{214, 214, 214};
inline constexpr Colour kGreen{0, 128, 0};
inline constexpr Colour kBlue{0, 0, 255};
inline constexpr Colour kRed{255, 0, 0};

// Bold: a solid line two pixels wide (the design's curve); Wide: three pixels (the curve of a
// real op amp, which shows beside the design's where the two coincide).
enum class PenStyle : std::uint8_t { Solid = 0, Dotted = 1, Bold = 2, Wide = 3 };

// Lines and outlines are one pixel wide but with the bold pen.
struct Pen {
  Colour colour;
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual Pen CurrentPen() const = 0;
  virtual void SetPen(const Pen& pen) = 0;
  // Fills rectangles and ellipses, and the background of texts.
  virtual void SetBrushColour(Colour colour) = 0;
  virtual void SetFontColour(Colour colour) = 0;
  // Escapement in tenths of a degree, counter-clockwise: 900 runs the text upwards.
  virtual void SetFontAngle(int tenthsOfDegree) = 0;

  // Both end points included.
  virtual void Line(int x0, int y0, int x1, int y1) = 0;
  // The corners may come in any order. FillRect paints with the brush and no outline;
  // Rectangle and Ellipse (inscribed in the rectangle) are outlined with the pen and filled
  // with the brush.
  virtual void FillRect(int x0, int y0, int x1, int y1) = 0;
  virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;
  virtual void Ellipse(int x0, int y0, int x1, int y1) = 0;
  // Text (UTF-8) whose unrotated top-left corner is (x, y), turned about that point by the
  // font angle: at 900 it runs upwards from (x, y) and its glyphs lie right of x.
  virtual void Text(int x, int y, std::string_view text) = 0;
  // Size of the unrotated text in the current font.
  virtual TextSize TextExtent(std::string_view text) const = 0;
};

}  // namespace morvane
