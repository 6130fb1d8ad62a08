#include "graphs/plot_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "graphs/plot_mapping.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

bool HasArea(const Canvas& canvas) {
  return canvas.Width() > 0 && canvas.Height() > 0;
}

bool Logarithmic(const AxisState& a) {
  return a.xMode == AxisMode::Logarithmic;
}

// A run of ticks, grid lines or labels is thinned to no more than this many marks. A step
// far below a pixel (or one that no longer moves v at all) would otherwise loop for millions
// of rounds; thinned, the marks still fill every pixel of the run.
constexpr int kMaxMarks = 4096;

// Calls mark(v) for v = origin + k step, k = 1, 2, ... (a negative step runs downwards)
// while v lies strictly before `end`; with `oneBeyond` also for the first v at or past it.
// v is computed from k rather than summed, so rounding does not creep a mark onto the end
// of the axis; within 1e-9 step of `end` counts as reaching it.
template <typename Mark>
void MarkSteps(double origin, double step, double end, bool oneBeyond, Mark mark) {
  const double size = std::fabs(step);
  if (!(size > 0.0) || !std::isfinite(size) || !std::isfinite(origin) || !std::isfinite(end)) {
    return;
  }
  const double direction = step > 0.0 ? 1.0 : -1.0;
  const double slack = 1e-9 * size;
  const double room = direction * (end - origin);
  if (!(room > slack) || !std::isfinite(room / size)) return;
  const double count = room / size;
  const double stride = count > kMaxMarks ? std::ceil(count / kMaxMarks) : 1.0;
  for (int i = 1; i <= kMaxMarks + 2; ++i) {
    const double v = origin + step * (stride * i);
    if (direction * (end - v) > slack) {
      mark(v);
      continue;
    }
    if (oneBeyond) mark(v);
    return;
  }
}

// Calls mark(v) for v = j 10^k (j = 1 .. 9 in `mantissas`) strictly between xmin and xmax of
// a logarithmic axis, upwards; with `withTop` for xmax too. Ends need not be decades (a zoom
// rectangle keeps them). At most 700 decades, so that no range loops for long.
template <typename Mark>
void MarkLogSteps(const AxisState& a, std::span<const int> mantissas, bool withTop, Mark mark) {
  if (!(a.xmin > 0.0) || !(a.xmax > a.xmin) || !std::isfinite(a.xmax)) return;
  const double first = std::floor(std::log10(a.xmin));
  const double last = std::min(std::ceil(std::log10(a.xmax)), first + 700.0);
  const double lo = a.xmin * (1 + 1e-9);
  const double hi = a.xmax * (1 - 1e-9);
  for (double k = first; k <= last; ++k) {
    const double g = std::pow(10.0, k);
    for (int j : mantissas) {
      const double v = j * g;
      if (lo < v && v < hi) mark(v);
    }
  }
  if (withTop) mark(a.xmax);
}

constexpr int kAllMantissas[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr int kDecadeMantissa[] = {1};
constexpr int kOneTwoFive[] = {1, 2, 5};

// 2 decimals, 3 for a range narrower than a fifth of its larger end, 4 below a fiftieth,
// so that neighbouring labels of a narrow range far from zero still differ.
int LabelDecimals(double lo, double hi) {
  const double r = std::fabs(hi - lo) / std::max(std::fabs(lo), std::fabs(hi));
  if (r < 0.02) return 4;
  if (r < 0.2) return 3;
  return 2;
}

// Characters, not bytes: the names may hold UTF-8 ("phi in °").
int CharacterCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

double MiddleX(const AxisState& a) {
  // sqrt of each end: the product of two large ends would overflow.
  if (Logarithmic(a)) return std::sqrt(a.xmin) * std::sqrt(a.xmax);
  return a.xmin / 2 + a.xmax / 2;
}

// Restores the pen when a drawing step is done with it.
class PenGuard {
 public:
  explicit PenGuard(Canvas& canvas) : canvas_(canvas), saved_(canvas.CurrentPen()) {}
  ~PenGuard() { canvas_.SetPen(saved_); }
  PenGuard(const PenGuard&) = delete;
  PenGuard& operator=(const PenGuard&) = delete;

 private:
  Canvas& canvas_;
  Pen saved_;
};

void SetPenColour(Canvas& canvas, Colour colour) {
  canvas.SetPen({colour, canvas.CurrentPen().style});
}

void SetPenStyle(Canvas& canvas, PenStyle style) {
  canvas.SetPen({canvas.CurrentPen().colour, style});
}

int SampleCount(std::span<const double> X, std::span<const double> Y, int count) {
  return std::clamp(count, 0, static_cast<int>(std::min(X.size(), Y.size())));
}

// The width of the widest label DrawYLabels draws.
int WidestYLabel(const AxisState& a, const Canvas& canvas, int every) {
  if (a.ymin == a.ymax) return 0;
  const int decimals = LabelDecimals(a.ymin, a.ymax);
  int widest = 0;
  const auto measure = [&](double v) {
    widest = std::max(widest, canvas.TextExtent(FormatAxisValue(decimals, v)).width);
  };
  measure(a.yo);
  const double e = every * a.ystep;
  MarkSteps(a.yo, e, a.ymax, false, measure);
  MarkSteps(a.yo, -e, a.ymin, false, measure);
  return widest;
}

}  // namespace

void ClearImage(Canvas& canvas, Colour colour) {
  canvas.SetBrushColour(colour);
  if (HasArea(canvas)) canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
}

void SetDrawColour(Canvas& canvas, Colour colour) {
  SetPenColour(canvas, colour);
  canvas.SetFontColour(colour);
}

void DrawXAxis(const AxisState& a, Canvas& canvas) {
  if (!HasArea(canvas)) return;
  PenGuard guard(canvas);
  SetPenStyle(canvas, PenStyle::Solid);
  const int tick = std::max(2, RoundPixel(std::sqrt(std::max(0.05 * a.Bottom, 0.0))));
  const int b = RoundPixel(0.006 * a.Width + 1);
  const int c = RoundPixel(0.003 * a.Height + 1);
  const int y = ToScreenY(a, a.yo);
  const int end = ToScreenX(a, a.xmax);
  canvas.Line(ToScreenX(a, a.xmin), y, end, y);
  canvas.Line(end, y, end - b, y + c);
  canvas.Line(end, y, end - b, y - c);

  const auto drawTick = [&](double v) {
    const int x = ToScreenX(a, v);
    canvas.Line(x, y, x, y + tick);
  };
  if (Logarithmic(a)) {
    // None at xmax: that is the arrowhead.
    MarkLogSteps(a, kAllMantissas, false, drawTick);
  } else {
    MarkSteps(a.xo, a.xstep, a.xmax, false, drawTick);
    // Downwards the last tick may fall on the left edge.
    MarkSteps(a.xo, -a.xstep, a.xmin, true, drawTick);
  }
}

void DrawYAxis(const AxisState& a, Canvas& canvas) {
  if (!HasArea(canvas)) return;
  PenGuard guard(canvas);
  SetPenStyle(canvas, PenStyle::Solid);
  const int tick = std::max(2, RoundPixel(std::sqrt(std::max(a.Right / 30.0, 0.0))));
  const int b = RoundPixel(0.003 * a.Width + 1);
  const int c = RoundPixel(0.01 * a.Height + 1);
  const int x = ToScreenX(a, a.xo);
  const int end = ToScreenY(a, a.ymax);
  canvas.Line(x, ToScreenY(a, a.ymin), x, end);
  canvas.Line(x, end, x - b, end + c);
  canvas.Line(x, end, x + b, end + c);

  const auto drawTick = [&](double v) {
    const int y = ToScreenY(a, v);
    canvas.Line(x, y, x - tick, y);
  };
  MarkSteps(a.yo, a.ystep, a.ymax, false, drawTick);
  MarkSteps(a.yo, -a.ystep, a.ymin, true, drawTick);
}

void DrawXGrid(const AxisState& a, Canvas& canvas, int every) {
  if (!HasArea(canvas)) return;
  PenGuard guard(canvas);
  SetPenStyle(canvas, PenStyle::Dotted);
  const int bottom = ToScreenY(a, a.ymin);
  const int top = ToScreenY(a, a.ymax);
  const auto drawLine = [&](double v) {
    const int x = ToScreenX(a, v);
    canvas.Line(x, bottom, x, top);
  };
  if (Logarithmic(a)) {
    MarkLogSteps(a, kAllMantissas, true, drawLine);
  } else {
    const double e = every * a.xstep;
    MarkSteps(a.xo, e, a.xmax, false, drawLine);
    MarkSteps(a.xo, -e, a.xmin, false, drawLine);
  }
}

void DrawYGrid(const AxisState& a, Canvas& canvas, int every) {
  if (!HasArea(canvas)) return;
  PenGuard guard(canvas);
  SetPenStyle(canvas, PenStyle::Dotted);
  const int left = ToScreenX(a, a.xmin);
  const int right = ToScreenX(a, a.xmax);
  const auto drawLine = [&](double v) {
    const int y = ToScreenY(a, v);
    canvas.Line(left, y, right, y);
  };
  const double e = every * a.ystep;
  MarkSteps(a.yo, e, a.ymax, false, drawLine);
  MarkSteps(a.yo, -e, a.ymin, false, drawLine);
}

void DrawXLabels(const AxisState& a, Canvas& canvas, int every) {
  if (!HasArea(canvas) || a.xmin == a.xmax) return;
  // Under the plot's bottom edge, whatever height the x axis crosses at.
  const int top = a.Bottom + 3;
  const auto drawCentred = [&](double v, const std::string& text) {
    canvas.Text(ToScreenX(a, v) - canvas.TextExtent(text).width / 2, top, text);
  };
  if (Logarithmic(a)) {
    // The decades from xmin up to, not at, xmax (the arrowhead); a range that holds fewer
    // than two takes 1, 2, 5 of each decade, and then every mantissa. A label that would meet
    // the one before it is left out, so that zoomed out only every n-th decade is labelled.
    std::vector<double> values;
    const auto collect = [&values](double v) { values.push_back(v); };
    const double lowDecade = std::pow(10.0, std::round(std::log10(a.xmin)));
    if (std::fabs(lowDecade - a.xmin) <= 1e-9 * a.xmin) values.push_back(a.xmin);
    MarkLogSteps(a, kDecadeMantissa, false, collect);
    // Decades are evenly spaced: every n-th one, n from the widest label.
    std::size_t stride = 1;
    if (values.size() >= 2) {
      int widest = 0;
      for (double v : values)
        widest = std::max(widest, canvas.TextExtent(FormatAxisValue(1, v)).width);
      const double pitch = double(a.Right - a.Left) / std::log10(a.xmax / a.xmin);
      if (pitch > 0.0)
        stride = static_cast<std::size_t>(std::max(1.0, std::ceil((widest + 6) / pitch)));
    }
    for (std::span<const int> finer :
         {std::span<const int>(kOneTwoFive), std::span<const int>(kAllMantissas)}) {
      if (values.size() >= 2) break;
      values.clear();
      MarkLogSteps(a, finer, false, collect);
    }
    int freeFrom = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < values.size(); i += stride) {
      const std::string text = FormatAxisValue(1, values[i]);
      const int width = canvas.TextExtent(text).width;
      const int left = ToScreenX(a, values[i]) - width / 2;
      if (left < freeFrom) continue;
      canvas.Text(left, top, text);
      freeFrom = left + width + 6;
    }
    return;
  }
  const int decimals = LabelDecimals(a.xmin, a.xmax);
  const auto drawLabel = [&](double v) { drawCentred(v, FormatAxisValue(decimals, v)); };
  const double e = every * a.xstep;
  MarkSteps(a.xo, e, a.xmax, false, drawLabel);
  MarkSteps(a.xo, -e, a.xmin, false, drawLabel);
}

void DrawYLabels(const AxisState& a, Canvas& canvas, int every) {
  if (!HasArea(canvas) || a.ymin == a.ymax) return;
  // Right-aligned against the plot's left edge, wherever the y axis stands.
  const int right = a.Left - 5;
  const int decimals = LabelDecimals(a.ymin, a.ymax);
  const auto drawLabel = [&](double v) {
    const std::string text = FormatAxisValue(decimals, v);
    const TextSize size = canvas.TextExtent(text);
    canvas.Text(std::max(1, right - size.width), ToScreenY(a, v) - size.height / 2, text);
  };
  // The origin too where it lies inside the range (the 0 dB line), not on an end, where the
  // x labels are.
  if (a.ymin < a.yo && a.yo < a.ymax) drawLabel(a.yo);
  const double e = every * a.ystep;
  MarkSteps(a.yo, e, a.ymax, false, drawLabel);
  MarkSteps(a.yo, -e, a.ymin, false, drawLabel);
}

void DrawTitle(const AxisState& a, Canvas& canvas, std::string_view text) {
  if (!HasArea(canvas)) return;
  canvas.Text(ToScreenX(a, MiddleX(a)) - canvas.TextExtent(text).width / 2, 1, text);
}

void DrawXAxisName(const AxisState& a, Canvas& canvas, std::string_view text) {
  if (!HasArea(canvas)) return;
  // Below the x labels.
  const int top = a.Bottom + 4 + canvas.TextExtent("0").height;
  canvas.Text(ToScreenX(a, MiddleX(a)) - 3 * CharacterCount(text), top, text);
}

void DrawYAxisName(const AxisState& a, Canvas& canvas, std::string_view text) {
  if (!HasArea(canvas)) return;
  const TextSize size = canvas.TextExtent(text);
  const int labelsLeft = a.Left - 5 - WidestYLabel(a, canvas, a.yGridEvery);
  if (labelsLeft < 2 + size.height + 2) {
    // No room left of the labels: level, just above the plot's top left corner.
    canvas.Text(a.Left, a.Top - size.height - 1, text);
    return;
  }
  canvas.SetFontAngle(900);
  // Running upwards from y, so half its width below the middle centres it.
  const int y = ToScreenY(a, a.ymin / 2 + a.ymax / 2) + size.width / 2;
  canvas.Text(2, y, text);
  canvas.SetFontAngle(0);
}

void DrawTextAt(const AxisState& a, Canvas& canvas, std::string_view text, double rx, double ry) {
  if (!HasArea(canvas)) return;
  const Pixel p = ToScreenRel(a, rx, ry);
  canvas.Text(p.x, p.y, text);
}

void DrawCurveLine(const AxisState& a, Canvas& canvas, std::span<const double> X,
                   std::span<const double> Y, PenStyle penStyle, Colour colour, int count) {
  count = SampleCount(X, Y, count);
  const PenStyle saved = canvas.CurrentPen().style;
  canvas.SetPen({colour, penStyle});
  if (HasArea(canvas) && count > 0) {
    // The pen moves to every point and draws only into points inside the plot area.
    Pixel pen{ToScreenX(a, X[0]), ToScreenY(a, Y[0])};
    for (int i = 1; i < count; ++i) {
      const Pixel p{ToScreenX(a, X[i]), ToScreenY(a, Y[i])};
      if (InPlotArea(a, p.x, p.y)) canvas.Line(pen.x, pen.y, p.x, p.y);
      pen = p;
    }
  }
  SetPenStyle(canvas, saved);
}

void DrawCurveMarkers(const AxisState& a, Canvas& canvas, std::span<const double> X,
                      std::span<const double> Y, int markerKind, Colour colour, int count) {
  count = SampleCount(X, Y, count);
  if (!HasArea(canvas) || count == 0) return;
  PenGuard guard(canvas);
  SetPenColour(canvas, colour);
  const int w = RoundPixel((a.Right + a.Bottom) * 0.002 + 1);
  for (int i = 0; i < count; ++i) {
    const int px = ToScreenX(a, X[i]);
    const int py = ToScreenY(a, Y[i]);
    if (!InPlotArea(a, px, py)) continue;
    switch (markerKind) {
      case 2:
        canvas.Rectangle(px - w, py, px + w, py + w);
        break;
      case 3:
        canvas.Ellipse(px, py, px + w, py + w);
        break;
      case 4:
        canvas.Line(px - w, py + w, px + w, py - w);
        canvas.Line(px + w, py + w, px - w, py - w);
        break;
      default:
        canvas.Rectangle(px - 1, py - 1, px + 1, py + 1);
        break;
    }
  }
}

void DrawCurveBars(const AxisState& a, Canvas& canvas, std::span<const double> X,
                   std::span<const double> Y, Colour colour, int count) {
  count = SampleCount(X, Y, count);
  if (!HasArea(canvas) || count == 0) return;
  PenGuard guard(canvas);
  SetPenColour(canvas, colour);
  const int w = RoundPixel((a.Right + a.Bottom) * 0.0002 + 1);
  const int axis = ToScreenY(a, a.yo);
  for (int i = 0; i < count; ++i) {
    const int px = ToScreenX(a, X[i]);
    const int py = ToScreenY(a, Y[i]);
    if (InPlotArea(a, px, py)) canvas.Rectangle(px - w, py, px + w, axis);
  }
}

bool DrawPlotFrame(const AxisState& a, Canvas& canvas, std::string_view problem,
                   Colour gridColour) {
  ClearImage(canvas, kWhite);
  if (!problem.empty()) {
    SetDrawColour(canvas, kRed);
    DrawTextAt(a, canvas, problem, 30, 500);
    return false;
  }
  SetDrawColour(canvas, gridColour);
  DrawXGrid(a, canvas, a.xGridEvery);
  DrawYGrid(a, canvas, a.yGridEvery);
  SetDrawColour(canvas, kBlack);
  DrawXAxis(a, canvas);
  DrawYAxis(a, canvas);
  DrawXLabels(a, canvas, a.xGridEvery);
  return true;
}

}  // namespace morvane
