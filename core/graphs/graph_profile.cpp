#include "graphs/graph_profile.h"

#include <cmath>

#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr GraphProfile kGain{.formName = "FormVu",
                             .caption = "Voltage Gain V",
                             .title = "Voltage Gain V(f)-Vo",
                             .curveName = "V(f) :",
                             .xAxisName = "f in Hz",
                             .yAxisName = "V in dB",
                             .sweepLabel = "fg=",
                             .csvHeader = "f/Hz,V/dB",
                             .xLogAvailable = true,
                             .referenceLines = true};
constexpr GraphProfile kPhase{.formName = "FormPhi",
                              .caption = "Phase Shift",
                              .title = "Phase Shift phi(f), unwrapped",
                              .curveName = "phi(f) :",
                              .xAxisName = "f in Hz",
                              .yAxisName = "phi in °",
                              .sweepLabel = "fg=",
                              .csvHeader = "f/Hz,phi/deg",
                              .xLogAvailable = true,
                              .referenceLines = false};
constexpr GraphProfile kGroupDelay{.formName = "FormTgr",
                                   .caption = "Group Delay tgr",
                                   .title = "Group Delay tgr(f)",
                                   .curveName = "tgr(f) :",
                                   .xAxisName = "f in Hz",
                                   .yAxisName = "tgr in s",
                                   .sweepLabel = "fg=",
                                   .csvHeader = "f/Hz,tgr/s",
                                   .xLogAvailable = true,
                                   .referenceLines = false};
constexpr GraphProfile kTime{.formName = "Formht",
                             .caption = "Step Response",
                             .title = "Lowpass Step Response",
                             .curveName = "s(t) :",
                             .pulseTitle = "Lowpass Pulse Response",
                             .pulseCurveName = "h(t) :",
                             .xAxisName = "t in s",
                             .yAxisName = "V/Vo",
                             .sweepLabel = "fc=",
                             .csvHeader = "t/s,s(t)",
                             .pulseCsvHeader = "t/s,h(t)",
                             .xLogAvailable = false,
                             .referenceLines = false};

constexpr GraphProfile kCascadeGain{.formName = "CascadeFormVu",
                                    .caption = "Multi-stage Filter: Voltage Gain V",
                                    .title = "Voltage Gain V(f)",
                                    .curveName = "V(f) :",
                                    .xAxisName = "f in Hz",
                                    .yAxisName = "V in dB",
                                    .sweepLabel = "fg=",
                                    .csvHeader = "f/Hz,V/dB",
                                    .xLogAvailable = true,
                                    .referenceLines = true};
constexpr GraphProfile kCascadePhase{.formName = "CascadeFormPhi",
                                     .caption = "Multi-stage Filter: Phase Shift",
                                     .title = "Phase Shift phi(f), unwrapped",
                                     .curveName = "phi(f) :",
                                     .xAxisName = "f in Hz",
                                     .yAxisName = "phi in °",
                                     .sweepLabel = "fg=",
                                     .csvHeader = "f/Hz,phi/deg",
                                     .xLogAvailable = true,
                                     .referenceLines = false};
constexpr GraphProfile kCascadeGroupDelay{.formName = "CascadeFormTgr",
                                          .caption = "Multi-stage Filter: Group Delay tgr",
                                          .title = "Group Delay tgr(f)",
                                          .curveName = "tgr(f) :",
                                          .xAxisName = "f in Hz",
                                          .yAxisName = "tgr in s",
                                          .sweepLabel = "fg=",
                                          .csvHeader = "f/Hz,tgr/s",
                                          .xLogAvailable = true,
                                          .referenceLines = false};
constexpr GraphProfile kCascadeTime{.formName = "CascadeFormht",
                                    .caption = "Multi-stage Filter: Step Response",
                                    .title = "Step Response",
                                    .curveName = "s(t) :",
                                    .pulseTitle = "Pulse Response",
                                    .pulseCurveName = "h(t) :",
                                    .xAxisName = "t in s",
                                    .yAxisName = "V/Vo",
                                    .sweepLabel = "fc=",
                                    .csvHeader = "t/s,s(t)",
                                    .pulseCsvHeader = "t/s,h(t)",
                                    .xLogAvailable = false,
                                    .referenceLines = false};

}  // namespace

const GraphProfile& CascadeProfileOf(GraphKind kind) {
  switch (kind) {
    case GraphKind::Gain:
      return kCascadeGain;
    case GraphKind::Phase:
      return kCascadePhase;
    case GraphKind::GroupDelay:
      return kCascadeGroupDelay;
    case GraphKind::TimeResponse:
      break;
  }
  return kCascadeTime;
}

const GraphProfile& ProfileOf(GraphKind kind) {
  switch (kind) {
    case GraphKind::Gain:
      return kGain;
    case GraphKind::Phase:
      return kPhase;
    case GraphKind::GroupDelay:
      return kGroupDelay;
    case GraphKind::TimeResponse:
      break;
  }
  return kTime;
}

std::string ReadoutText(GraphKind kind, double x, double y) {
  switch (kind) {
    case GraphKind::Gain:
      return "Position: f=" + FormatAxisValue(2, x) + "Hz, V=" + FormatFixedTrimmed(3, y) +
             "dB equal to " + FormatAxisValue(2, std::pow(10.0, y / 20));
    case GraphKind::Phase:
      return "Position: f=" + FormatAxisValue(2, x) + "Hz, phi=" + FormatFixedTrimmed(2, y) + "°";
    case GraphKind::GroupDelay:
      return "Position: f=" + FormatAxisValue(2, x) + "Hz, tgr=" + FormatAxisValue(4, y) + "s";
    case GraphKind::TimeResponse:
      break;
  }
  return "Position: t=" + FormatAxisValue(2, x) + "s, V/Vo=" + FormatAxisValue(4, y);
}

}  // namespace morvane

namespace morvane {

std::optional<double> CurveValueAt(GraphKind kind, const CurveBuffer& curve, double x,
                                   bool logarithmic) {
  const int last = kind == GraphKind::TimeResponse ? kTimeSamples - 1 : curve.Count;
  if (last < 1 || !std::isfinite(x)) return std::nullopt;
  const auto position = [&](double v) { return logarithmic ? std::log(v) : v; };
  if (logarithmic && !(x > 0.0 && curve.X[0] > 0.0)) return std::nullopt;
  for (int i = 0; i < last; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const double x0 = curve.X[k], x1 = curve.X[k + 1];
    if (!(x >= x0 && x <= x1) || !(x1 > x0)) continue;
    const double y0 = curve.Y[k], y1 = curve.Y[k + 1];
    if (!std::isfinite(y0) || !std::isfinite(y1)) return std::nullopt;
    const double share = (position(x) - position(x0)) / (position(x1) - position(x0));
    return y0 + share * (y1 - y0);
  }
  return std::nullopt;
}

std::string CurveReadoutText(GraphKind kind, const std::string& name, double y) {
  std::string value;
  switch (kind) {
    case GraphKind::Gain:
      value = FormatFixedTrimmed(3, y) + "dB";
      break;
    case GraphKind::Phase:
      value = FormatFixedTrimmed(2, y) + "°";
      break;
    case GraphKind::GroupDelay:
      value = FormatAxisValue(4, y) + "s";
      break;
    case GraphKind::TimeResponse:
      value = FormatAxisValue(4, y);
      break;
  }
  return " | " + name + ": " + value;
}

}  // namespace morvane
