#include "cascade/cascade_entry_fields.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "design/field_names.h"
#include "filters/analog_prototype.h"
#include "numerics/number_text.h"
#include "numerics/step_rounding.h"
#include "numerics/value_text.h"

namespace morvane::gui {

namespace {

// The main window's limits where the cascade has the same value: fg, the gain and Zin.
const EntryRule& MainWindowRule(std::string_view field) {
  static const EntryRule fg = *EntryRuleFor(field::fgEingabe, Topology::Mfb);
  static const EntryRule gain = *EntryRuleFor(field::VuEingabe, Topology::Mfb);
  static const EntryRule zin = *EntryRuleFor(field::ZinEingabe, Topology::Mfb);
  return field == field::VuEingabe ? gain : field == field::ZinEingabe ? zin : fg;
}

// The scheme's edges and attenuations as the filter order dialog holds them.
constexpr double kLeastSchemeHz = 0.0001;
constexpr double kMostSchemeHz = 2e10;
constexpr double kLeastSchemeDb = 0.01;
constexpr double kMostSchemeDb = 150.0;
constexpr double kMostStopbandHz = 2e10;

bool IsBand(const CascadeEntries& e) {
  return e.request.kind == FilterKind::Bandpass || e.request.kind == FilterKind::Bandstop;
}

// Where the attenuation is stated when fs is blank: the scheme's f2, else an octave above the
// corner; the fs spin starts from there.
double ImpliedStopbandHz(const CascadeEntries& e) {
  if (e.request.stopbandHz) return *e.request.stopbandHz;
  if (e.useScheme) return e.scheme.f2;
  return 2.0 * (IsBand(e) ? e.request.fm : e.request.fg);
}

const std::array<CascadeEntryField, 13>& Fields() {
  using E = CascadeEntries;
  static const std::array<CascadeEntryField, 13> fields{{
      {cascade_field::order, "Order", "",
       "Order of the prototype (band filters have twice as many poles)", EntryStyle::Whole,
       kMinPrototypeOrder, kMaxPrototypeOrder,
       [](const E& e) { return static_cast<double>(e.request.order); },
       [](E& e, double v) { e.request.order = static_cast<int>(std::lround(v)); }, nullptr},
      {cascade_field::f1, "f1", "Hz", "Pass-band edge of the scheme", EntryStyle::Value,
       kLeastSchemeHz, kMostSchemeHz, [](const E& e) { return e.scheme.f1; },
       [](E& e, double v) { e.scheme.f1 = v; }, nullptr},
      {cascade_field::d1, "d1", "dB",
       "Attenuation allowed up to f1 (the ripple of Chebyshev and elliptic filters)",
       EntryStyle::Decibels, kLeastSchemeDb, kMostSchemeDb, [](const E& e) { return e.scheme.d1; },
       [](E& e, double v) { e.scheme.d1 = v; }, nullptr},
      {cascade_field::f2, "f2", "Hz", "Stop-band edge of the scheme", EntryStyle::Value,
       kLeastSchemeHz, kMostSchemeHz, [](const E& e) { return e.scheme.f2; },
       [](E& e, double v) { e.scheme.f2 = v; }, nullptr},
      {cascade_field::d2, "d2", "dB", "Attenuation required from f2 on", EntryStyle::Decibels,
       kLeastSchemeDb, kMostSchemeDb, [](const E& e) { return e.scheme.d2; },
       [](E& e, double v) { e.scheme.d2 = v; }, nullptr},
      {cascade_field::fg, "Cut-Off Frequency fg", "Hz",
       "Cut-off frequency, 3 dB down (6 dB for Linkwitz-Riley)", EntryStyle::Value,
       MainWindowRule(field::fgEingabe).min, MainWindowRule(field::fgEingabe).max,
       [](const E& e) { return e.request.fg; }, [](E& e, double v) { e.request.fg = v; }, nullptr},
      {cascade_field::fm, "Centre Frequency fm", "Hz", "Centre frequency of the band",
       EntryStyle::Value, MainWindowRule(field::fgEingabe).min,
       MainWindowRule(field::fgEingabe).max, [](const E& e) { return e.request.fm; },
       [](E& e, double v) { e.request.fm = v; }, nullptr},
      {cascade_field::bandwidth, "Bandwidth B", "Hz", "Bandwidth between the -3 dB edges",
       EntryStyle::Value, MainWindowRule(field::fgEingabe).min,
       MainWindowRule(field::fgEingabe).max, [](const E& e) { return e.request.bandwidth; },
       [](E& e, double v) { e.request.bandwidth = v; }, nullptr},
      {cascade_field::ripple, "Pass-Band Ripple", "dB", "Ripple in the pass band",
       EntryStyle::Decibels, kMinRippleDb, kMaxRippleDb,
       [](const E& e) { return e.request.rippleDb; },
       [](E& e, double v) { e.request.rippleDb = v; }, nullptr},
      {cascade_field::stopband, "Stop-Band Attenuation", "dB", "Least attenuation in the stop band",
       EntryStyle::Decibels, kMinStopbandDb, kMaxStopbandDb,
       [](const E& e) { return e.request.stopbandDb; },
       [](E& e, double v) { e.request.stopbandDb = v; }, nullptr},
      {cascade_field::gain, "Total Gain |Vo|", "", "Pass-band gain of the whole filter",
       EntryStyle::Value, MainWindowRule(field::VuEingabe).min,
       MainWindowRule(field::VuEingabe).max, [](const E& e) { return e.request.gain; },
       [](E& e, double v) { e.request.gain = v; }, nullptr},
      {cascade_field::zin, "Input Impedance Zin", "Ω", "Impedance level of the sections",
       EntryStyle::Value, MainWindowRule(field::ZinEingabe).min,
       MainWindowRule(field::ZinEingabe).max, [](const E& e) { return e.request.circuit.zin; },
       [](E& e, double v) { e.request.circuit.zin = v; }, nullptr},
      {cascade_field::fs, "fs", "Hz",
       "Frequency of the stated attenuation; blank: the scheme's f2, or none", EntryStyle::Value,
       0.0, kMostStopbandHz, &ImpliedStopbandHz, [](E& e, double v) { e.request.stopbandHz = v; },
       [](E& e) { e.request.stopbandHz.reset(); }},
  }};
  return fields;
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string Trimmed(std::string text) {
  text.erase(0, text.find_first_not_of(' '));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string LimitText(const CascadeEntryField& field, double x) {
  if (x == 0.0) return "0";
  if (field.style == EntryStyle::Value) return Trimmed(FormatValue(7, 2, x));
  return GeneralText(x, 6);
}

}  // namespace

std::span<const CascadeEntryField> CascadeEntryFields() {
  return Fields();
}

const CascadeEntryField* CascadeEntryNamed(std::string_view name) {
  for (const CascadeEntryField& field : Fields()) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

void StoreCascadeEntry(const CascadeEntryField& field, std::string_view text,
                       CascadeEntries& entries) {
  if (field.clear && IsBlank(text)) {
    field.clear(entries);
    return;
  }
  field.set(entries, ClampEntry(ReadValue(text), field.least, field.most));
}

std::string CascadeEntryText(const CascadeEntryField& field, const CascadeEntries& entries) {
  if (field.clear && !entries.request.stopbandHz) return {};  // fs left blank
  const double x = field.get(entries);
  switch (field.style) {
    case EntryStyle::Whole:
      return " " + FormatInteger(static_cast<std::int32_t>(std::lround(x)));
    case EntryStyle::Decibels:
      return " " + FormatFixed(7, 3, x);
    case EntryStyle::Value:
      break;
  }
  return " " + FormatValue(7, 3, x);
}

std::string CascadeEntryHint(const CascadeEntryField& field) {
  std::string hint = std::string(field.what) + ": " + LimitText(field, field.least) + " .. " +
                     LimitText(field, field.most);
  if (!field.unit.empty()) hint += " " + std::string(field.unit);
  if (field.clear) hint += ", or blank";
  return hint;
}

void StepCascadeEntry(const CascadeEntryField& field, SpinDirection direction,
                      CascadeEntries& entries) {
  const bool up = direction == SpinDirection::Up;
  double x = field.get(entries);
  if (field.style == EntryStyle::Whole) {
    x += up ? 1.0 : -1.0;
  } else if (field.name == cascade_field::zin) {
    x = StepZin(x, kCascadeSpinFactor, direction);
  } else {
    up ? StepUp(x, kCascadeSpinFactor) : StepDown(x, kCascadeSpinFactor);
  }
  field.set(entries, ClampEntry(x, field.least, field.most));
}

}  // namespace morvane::gui
