#include "plot_command.h"

#include <QImage>
#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>
#include <sstream>

#include "design/design_session.h"
#include "design_options.h"
#include "files/atomic_file.h"
#include "graphs/design_response_source.h"
#include "graphs/graph_axis_rules.h"
#include "graphs/graph_picture.h"
#include "graphs/qpainter_canvas.h"
#include "graphs/svg_canvas.h"
#include "offscreen_drawing.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

struct PlotKind {
  const char* name;
  GraphKind graph;
  bool pulse;
};

constexpr PlotKind kPlotKinds[] = {
    {"gain", GraphKind::Gain, false},         {"phase", GraphKind::Phase, false},
    {"delay", GraphKind::GroupDelay, false},  {"step", GraphKind::TimeResponse, false},
    {"pulse", GraphKind::TimeResponse, true},
};

enum class FileFormat { Png, Svg, Csv };

constexpr int kMaxSide = 10000;

std::optional<PlotKind> ParseKind(const std::string& name) {
  for (const PlotKind& kind : kPlotKinds) {
    if (name == kind.name) return kind;
  }
  return std::nullopt;
}

FileFormat FormatOf(const std::string& path) {
  const auto dot = path.rfind('.');
  std::string suffix = dot == std::string::npos ? "" : path.substr(dot + 1);
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (suffix == "png") return FileFormat::Png;
  if (suffix == "svg") return FileFormat::Svg;
  if (suffix == "csv") return FileFormat::Csv;
  throw UsageError("--out needs a file name ending in .png, .svg or .csv, not \"" + path + "\"");
}

int ParseSide(const std::string& option, const std::string& text) {
  const bool digits =
      !text.empty() && text.size() <= 5 &&
      std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
  const int value = digits ? std::stoi(text) : 0;
  if (value < 1 || value > kMaxSide) {
    throw UsageError("option " + option + " needs a whole number of pixels from 1 to " +
                     std::to_string(kMaxSide) + ", not \"" + text + "\"");
  }
  return value;
}

// The whole file or, on any failure, the old one untouched.
void WriteWhole(const std::string& path, const std::string& content) {
  std::string error;
  if (!WriteFileAtomically(path, content, error)) throw RunError(error);
}

}  // namespace

int RunPlot(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("plot needs one of gain, phase, delay, step, pulse");
  const auto kind = ParseKind(args[0]);
  if (!kind) throw UsageError("unknown graph: " + args[0]);

  DesignRequest request;
  const std::vector<std::string> rest =
      ParseDesignRequest(std::vector<std::string>(args.begin() + 1, args.end()), request);
  std::optional<std::string> out;
  int width = kOpenedPictureWidth;
  int height = kOpenedPictureHeight;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const std::string& arg = rest[i];
    const auto eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const auto value = [&]() -> std::string {
      if (eq != std::string::npos) return arg.substr(eq + 1);
      if (i + 1 >= rest.size()) throw UsageError("option " + arg + " needs a value");
      return rest[++i];
    };
    if (name == "--out") {
      out = value();
    } else if (name == "--width") {
      width = ParseSide(name, value());
    } else if (name == "--height") {
      height = ParseSide(name, value());
    } else {
      throw UsageError("unknown option or argument: " + arg);
    }
  }
  if (!out || out->empty()) throw UsageError("option --out FILE is required");
  const FileFormat format = FormatOf(*out);

  DesignSession session;
  std::ostringstream warnings;
  ApplyDesignRequest(request, session, warnings);
  std::cerr << warnings.str();

  AxisState axes;
  SetPlainCurveStyle(axes);
  CurveBuffer buffer;
  // With rounded resistors or chosen values the stage as built too, as the graph windows
  // draw it.
  std::optional<CurveBuffer> asBuilt;
  // With --opamp, the stage with that op amp, as the graph windows draw it.
  CurveBuffer realSamples;
  std::optional<OpAmpCurve> real;
  const auto draw = [&](Canvas& canvas) {
    // The curve the graph window draws: for the LC pages, that of their circuits.
    DesignResponseSource curve(session);
    curve.Start(kind->graph, axes, buffer);
    SnapToDrawnRange(axes);
    curve.Fill(kind->graph, axes, kind->pulse, buffer);
    // As a window's first drawing: the whole curve, a peak above the usual scale included.
    RaiseTopToPeak(axes, buffer.Y, LastScannedSample(kind->graph, buffer));
    if (session.AsBuilt()) {
      asBuilt.emplace();
      DesignResponseSource(session).FillAsBuilt(kind->graph, axes, kind->pulse, *asBuilt);
    }
    if (const DesignResponseSource source(session); source.OffersRealAmplifier()) {
      source.FillRealAmplifier(kind->graph, axes, kind->pulse, realSamples);
      if (kind->graph == GraphKind::Phase) AlignPhaseBranch(buffer, realSamples);
      real.emplace(OpAmpCurve{realSamples, source.RealAmplifierName()});
    }
    DrawGraphPicture(ProfileOf(kind->graph), kind->graph, kind->pulse, axes, canvas, buffer, {},
                     asBuilt ? &*asBuilt : nullptr, nullptr, real ? &*real : nullptr);
  };
  if (format == FileFormat::Png) {
    // A PNG needs Qt's painter, hence an application object: only this command makes one,
    // and only for PNG.
    const auto app = OffscreenApplication();
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      render::QPainterCanvas canvas(image);
      draw(canvas);
    }
    const std::string png = PngBytes(image);
    if (png.empty()) throw RunError("cannot write \"" + *out + "\": the picture cannot be encoded");
    WriteWhole(*out, png);
    return 0;
  }
  SvgCanvas canvas(width, height);
  draw(canvas);
  WriteWhole(*out,
             format == FileFormat::Svg
                 ? canvas.Document()
                 : GraphSamplesCsv(ProfileOf(kind->graph), kind->graph, kind->pulse, buffer, {},
                                   asBuilt ? &*asBuilt : nullptr, real ? &*real : nullptr));
  return 0;
}

}  // namespace morvane::cli
