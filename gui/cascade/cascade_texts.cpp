#include "cascade/cascade_texts.h"

#include <array>
#include <cmath>

#include "numerics/value_text.h"

namespace morvane::gui {

namespace {

constexpr std::string_view kPrefixLetters = "afpnumkMGT";
constexpr std::string_view kNoNumber = "-";
// Attenuations beyond this are a transmission zero (stated as 2e301 dB): shown as "> 1000".
constexpr double kMostShownDb = 1000.0;

std::string Trimmed(std::string text) {
  text.erase(0, text.find_first_not_of(' '));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string ValueText(double x) {
  return std::isfinite(x) ? Trimmed(FormatValue(7, 2, x)) : std::string(kNoNumber);
}

std::string DecibelText(double x) {
  return std::isfinite(x) ? FormatFixedTrimmed(2, x) + " dB" : std::string(kNoNumber);
}

// A result field's text: the value text (right-aligned as the main window's), blank when the
// design does not give the figure.
std::string Field(std::optional<double> x) {
  if (!x || !std::isfinite(*x)) return {};
  return " " + FormatValue(7, 2, *x);
}

std::string FixedField(std::optional<double> x) {
  if (!x || !std::isfinite(*x)) return {};
  return " " + FormatFixed(7, 2, *x);
}

constexpr std::array kFigureRows{
    FigureRow{Figure::Order, "CascadeOrderResult", "Poles (filter order)", ""},
    FigureRow{Figure::Corner, "CascadeCornerResult", "fg (fm) used", "Hz"},
    FigureRow{Figure::LowerEdge, "CascadeLowerEdgeResult", "Lower -3 dB edge", "Hz"},
    FigureRow{Figure::UpperEdge, "CascadeUpperEdgeResult", "Upper -3 dB edge", "Hz"},
    FigureRow{Figure::Ripple, "CascadeRippleResult", "Pass-band ripple", "dB"},
    FigureRow{Figure::Attenuation, "CascadeAttenuationResult", "Attenuation at fs", "dB"},
    FigureRow{Figure::PassbandGain, "CascadeGainResult", "Pass-band gain", "dB"},
    FigureRow{Figure::Delay, "CascadeDelayResult", "Group delay", "s"},
    FigureRow{Figure::LargestDelay, "CascadeLargestDelayResult", "Largest group delay", "s"},
    FigureRow{Figure::LargestDelayAt, "CascadeLargestDelayAtResult", "   at", "Hz"},
    FigureRow{Figure::RiseTime, "CascadeRiseTimeResult", "Rise time 10..90%", "s"},
    FigureRow{Figure::Overshoot, "CascadeOvershootResult", "Overshoot", "%"},
    FigureRow{Figure::Settling, "CascadeSettlingResult", "Settling time (1%)", "s"},
};

}  // namespace

std::string QuantityText(double value, std::string_view unit) {
  std::string number = ValueText(value);
  if (number == kNoNumber) return number;
  std::string prefix;
  if (!number.empty() && kPrefixLetters.find(number.back()) != std::string_view::npos) {
    prefix = number.back();
    number.pop_back();
  }
  return number + " " + prefix + std::string(unit);
}

std::string SignedGainText(double gain, bool inverting) {
  if (!std::isfinite(gain)) return std::string(kNoNumber);
  return (inverting ? "-" : "+") + ValueText(std::abs(gain));
}

std::string PartsText(const Circuit& circuit) {
  std::string text;
  for (const CircuitPart& part : circuit.parts) {
    if (!text.empty()) text += ", ";
    text += part.name + " " + ValueText(part.value);
  }
  return text;
}

SectionRowTexts SectionRow(std::size_t index, const CascadeSection& section) {
  const FilterSection& plan = section.plan;
  SectionRowTexts row;
  row.number = std::to_string(index + 1);
  row.kind = plan.kind;
  row.f0 = QuantityText(plan.f0, "Hz");
  row.q = std::isfinite(plan.q) ? FormatFixedTrimmed(3, plan.q) : std::string(kNoNumber);
  if (plan.fz) row.fz = QuantityText(*plan.fz, "Hz");
  row.gain = SignedGainText(section.circuit.gain, section.circuit.inverting);
  row.peaking = DecibelText(section.peaking.peakingDb);
  if (const auto at = section.peaking.atHz) {
    row.peaking += " at " + (*at == 0.0 ? std::string("0 Hz") : QuantityText(*at, "Hz"));
  }
  row.gbwp = QuantityText(section.peaking.gbwpHz, "Hz");
  row.parts = PartsText(section.circuit.circuit);
  return row;
}

AsBuiltHints AsBuiltHintsOf(const CascadeSection& section) {
  AsBuiltHints hints;
  if (!section.asBuilt) return hints;
  const BuiltFigures& b = *section.asBuilt;
  const FilterSection& plan = section.plan;
  const auto hint = [](const std::string& value, double built, double designed) {
    const double e = ErrorPercent(built, designed);
    if (!std::isfinite(e)) return "As built: " + value;
    return "As built: " + value + " (" + (e >= 0.0 ? "+" : "") + FormatFixedTrimmed(2, e) + " %)";
  };
  hints.f0 = hint(QuantityText(b.f0, "Hz"), b.f0, plan.f0);
  hints.q = hint(FormatFixedTrimmed(3, b.q), b.q, plan.q);
  if (b.fz && plan.fz) hints.fz = hint(QuantityText(*b.fz, "Hz"), *b.fz, *plan.fz);
  const double gain = section.circuit.inverting ? -section.circuit.gain : section.circuit.gain;
  hints.gain = hint(SignedGainText(std::abs(b.gain), b.gain < 0.0), b.gain, gain);
  return hints;
}

std::string OpAmpCellText(const RealAmplifierFigures& figures) {
  const BuiltFigures& r = figures.real;
  const std::string q = std::isfinite(r.q) ? FormatFixedTrimmed(3, r.q) : std::string(kNoNumber);
  return QuantityText(r.f0, "Hz") + "  Q " + q + "  " + DecibelText(figures.peakingDb);
}

std::span<const FigureRow> FigureRows() {
  return kFigureRows;
}

std::string FigureText(Figure figure, const CascadeDesign& design) {
  if (!design.problem.empty()) return {};
  const FilterFigures& f = design.figures.whole;
  switch (figure) {
    case Figure::Order:
      return " " + FormatInteger(design.order);
    case Figure::Corner:
      return Field(design.fg);
    case Figure::LowerEdge:
      return Field(f.edges.lowerHz);
    case Figure::UpperEdge:
      return Field(f.edges.upperHz);
    case Figure::Ripple:
      return FixedField(f.rippleDb);
    case Figure::Attenuation:
      if (design.figures.attenuationDb && *design.figures.attenuationDb > kMostShownDb) {
        return " > " + FormatFixedTrimmed(0, kMostShownDb);
      }
      return FixedField(design.figures.attenuationDb);
    case Figure::PassbandGain:
      return FixedField(f.passbandGainDb);
    case Figure::Delay:
      return f.delay ? Field(f.delay->referenceDelay) : std::string();
    case Figure::LargestDelay:
      return f.delay ? Field(f.delay->maxDelay) : std::string();
    case Figure::LargestDelayAt:
      return f.delay ? Field(f.delay->maxDelayHz) : std::string();
    case Figure::RiseTime:
      return f.step ? Field(f.step->riseTime) : std::string();
    case Figure::Overshoot:
      return f.step ? FixedField(f.step->overshootPercent) : std::string();
    case Figure::Settling:
      return f.step ? Field(f.step->settlingTime) : std::string();
  }
  return {};
}

}  // namespace morvane::gui
