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
                              .title = "Phasengang",
                              .curveName = "phi(f) :",
                              .xAxisName = "f in Hz",
                              .yAxisName = "phi in °",
                              .sweepLabel = "fg=",
                              .csvHeader = "f/Hz,phi/deg",
                              .xLogAvailable = true,
                              .referenceLines = false};
constexpr GraphProfile kGroupDelay{.formName = "FormTgr",
                                   .caption = "Group Delay tgr",
                                   .title = "Gruppenlaufzeit tgr(f)",
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
                                     .title = "Phase Shift phi(f)",
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
      return "Position : f=" + FormatAxisValue(2, x) + "Hz, V=" + FormatFixedTrimmed(3, y) +
             "dB equal to " + FormatAxisValue(2, std::pow(10.0, y / 20));
    case GraphKind::Phase:
      return "Position : f=" + FormatAxisValue(2, x) + "Hz, phi=" + FormatFixedTrimmed(2, y) + "°";
    case GraphKind::GroupDelay:
      return "Position : f=" + FormatAxisValue(2, x) + "Hz, tgr=" + FormatAxisValue(4, y) + "s";
    case GraphKind::TimeResponse:
      break;
  }
  return "Position : t=" + FormatAxisValue(2, x) + "s, V/Vo=" + FormatAxisValue(4, y);
}

}  // namespace morvane
