#include "design/entry_table.h"

#include <array>

#include "design/field_names.h"
#include "numerics/standard_series.h"
#include "numerics/step_rounding.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

using S = DesignState;
constexpr auto kAny = ChangedEntry::Any;

// Fields whose meaning does not depend on the topology.
constexpr std::array kFixedRules{
    EntryRule{field::fgEingabe, &S::fg, 0.001, 2e9, kAny, false, false},
    EntryRule{field::fEingabe, &S::f, 0.0001, 2e10, ChangedEntry::ReadoutFrequency, false, false},
    EntryRule{field::QEingabe, &S::Q, 0.1, 10000, ChangedEntry::Q, true, false},
    EntryRule{field::ZinEingabe, &S::Zin, 0.1, 1e9, kAny, false, false},
    EntryRule{field::R32Eingabe, &S::R3, 0.001, 1e9, kAny, false, false},
    EntryRule{field::C12Eingabe3, &S::C1, 1e-15, 1e-3, kAny, false, true},
    EntryRule{field::C12Eingabe4, &S::C1, 1e-15, 1e-3, kAny, false, true},
    EntryRule{field::C12Eingabe5, &S::C1, 1e-15, 1e-3, kAny, false, true},
    EntryRule{field::q2Eingabe, &S::fnfp, 1.1, 100, kAny, false, false},
};

// The damping field carries the load resistance on the passive LC page.
constexpr EntryRule kLoadRule{field::DEingabe, &S::RL, 0.001, 1e9, kAny, true, false};
constexpr EntryRule kDampingRule{field::DEingabe, &S::D, 0.00005, 5, ChangedEntry::D, true, false};
// The gain field carries the ripple on the passive LC page; PFB gains start at 1.
constexpr EntryRule kRippleRule{field::VuEingabe, &S::rippleDb, 0.01, 3, kAny, false, false};
constexpr EntryRule kPfbGainRule{field::VuEingabe, &S::Vu, 1, 1e6, kAny, false, false};
constexpr EntryRule kGainRule{field::VuEingabe, &S::Vu, 0.1, 1e6, kAny, false, false};

std::string ValueEntryText(double x) {
  return " " + FormatValue(7, 3, x);
}

}  // namespace

double ClampEntry(double value, double lo, double hi) {
  if (value > hi) return hi;
  if (!(value > lo)) return lo;
  return value;
}

std::optional<EntryRule> EntryRuleFor(std::string_view name, Topology topology) {
  if (name == field::DEingabe) {
    return topology == Topology::LcLadder ? kLoadRule : kDampingRule;
  }
  if (name == field::VuEingabe) {
    if (topology == Topology::LcLadder) return kRippleRule;
    return topology == Topology::Pfb ? kPfbGainRule : kGainRule;
  }
  for (const auto& rule : kFixedRules) {
    if (rule.field == name) return rule;
  }
  return std::nullopt;
}

double StoreEntry(const EntryRule& rule, std::string_view text, DesignState& s) {
  const double value = ClampEntry(ReadValue(text), rule.min, rule.max);
  s.*rule.member = value;
  if (rule.setsBothCapacitances) s.C2 = s.C1;
  return value;
}

double StepZin(double Zin, double k, SpinDirection direction) {
  const bool up = direction == SpinDirection::Up;
  if (k < 1.01) return up ? Zin * k : Zin / k;
  if (k >= 1.25) {
    up ? StepUp(Zin, k) : StepDown(Zin, k);
    return Zin;
  }
  // The finer the sweep factor, the finer the series whose neighbour Zin moves to.
  const int series = k < 1.02 ? 5 : k < 1.04 ? 4 : k < 1.08 ? 3 : k < 1.15 ? 2 : 1;
  return up ? ReadValue(RoundUpToSeries(series, Zin / 0.995))
            : ReadValue(RoundDownToSeries(series, Zin * 0.995));
}

std::optional<SpinResult> StepSpinButton(std::string_view button, SpinDirection direction,
                                         DesignState& s) {
  const double k = s.Sweep;
  const auto step = [&](double& x) {
    direction == SpinDirection::Up ? StepUp(x, k) : StepDown(x, k);
  };

  // The fields' change handlers clamp too, but only when the text changes: at a limit every
  // second step wrote the text already there and left the value beyond the limit.
  const auto clamp = [&s](std::string_view field) {
    const EntryRule rule = *EntryRuleFor(field, s.topology);
    s.*rule.member = ClampEntry(s.*rule.member, rule.min, rule.max);
  };
  if (button == "SpinButtonfg") {
    step(s.fg);
    clamp(field::fgEingabe);
    return SpinResult{field::fgEingabe, ValueEntryText(s.fg), kAny};
  }
  if (button == "SpinButtonf") {
    step(s.f);
    clamp(field::fEingabe);
    return SpinResult{field::fEingabe, " " + FormatValue(6, 1, s.f),
                      ChangedEntry::ReadoutFrequency};
  }
  if (button == "SpinButtonQ") {
    step(s.Q);
    s.Q = ClampEntry(s.Q, 0.1, 10000);
    return SpinResult{field::QEingabe, ValueEntryText(s.Q), ChangedEntry::Q};
  }
  if (button == "SpinButtonD") {
    const EntryRule rule = *EntryRuleFor(field::DEingabe, s.topology);
    double& x = s.*rule.member;
    step(x);
    x = ClampEntry(x, rule.min, rule.max);
    // The load-resistance spin also passes the damping code, leaving D alone.
    return SpinResult{field::DEingabe, ValueEntryText(x), ChangedEntry::D};
  }
  if (button == "SpinButtonVu") {
    const EntryRule rule = *EntryRuleFor(field::VuEingabe, s.topology);
    double& x = s.*rule.member;
    step(x);
    x = ClampEntry(x, rule.min, rule.max);
    const std::string text =
        s.topology == Topology::LcLadder ? " " + FormatFixed(7, 3, x) : ValueEntryText(x);
    return SpinResult{field::VuEingabe, text, kAny};
  }
  if (button == "SpinButtonZin") {
    s.Zin = ClampEntry(StepZin(s.Zin, k, direction), 0.1, 1e9);
    return SpinResult{field::ZinEingabe, ValueEntryText(s.Zin), kAny};
  }
  return std::nullopt;
}

}  // namespace morvane
