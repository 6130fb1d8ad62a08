#include "network/element_edit.h"

#include <cmath>
#include <optional>

#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr std::string_view kNone = "–";

std::string Shown(double x) {
  std::string text = FormatValue(7, 2, x);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

double& Slot(NetworkElement& e, ElementField field) {
  switch (field) {
    case ElementField::Lx:
      return e.Lx;
    case ElementField::Cx:
      return e.Cx;
    case ElementField::Value:
      return e.kind == ElementKind::Inductor ? e.Lx : e.Cx;
    default:
      return e.Rx;
  }
}

}  // namespace

bool IsElementValue(const NetworkElement& e, ElementField field) {
  return field == ElementField::Value ||
         (field == ElementField::Lx && e.kind == ElementKind::Inductor) ||
         (field == ElementField::Cx && e.kind == ElementKind::Capacitor);
}

std::string ElementFieldText(const NetworkElement& e, ElementField field, double f) {
  switch (field) {
    case ElementField::SelfResonance: {
      const auto fr = SelfResonance(e);
      return fr ? Shown(*fr) : std::string(kNone);
    }
    case ElementField::Quality: {
      const auto q = QualityAt(e, f);
      return q ? Shown(*q) : std::string(kNone);
    }
    default:
      return Shown(Slot(const_cast<NetworkElement&>(e), field));
  }
}

std::string EditElement(NetworkElement& e, ElementField field, std::string_view text, double f) {
  text = Trimmed(text);
  const bool derived = field == ElementField::SelfResonance || field == ElementField::Quality;
  if (derived && (text.empty() || text == kNone || text == "-")) {
    (field == ElementField::Quality ? e.Rx : (e.kind == ElementKind::Inductor ? e.Cx : e.Lx)) = 0.0;
    return {};
  }
  const ValueReading reading = ReadValueInDetail(text);
  if (!reading.readable || Trimmed(text.substr(reading.used)).size() > 0) {
    return "\"" + std::string(text) + "\" is not a number.";
  }
  if (reading.beyondLimit || !std::isfinite(reading.value)) return "the value is too large.";
  const double x = reading.value;
  if (x < 0.0) return "it must not be negative.";
  if (derived) {
    if (x == 0.0) {
      return EditElement(e, field, "", f);
    }
    NetworkElement changed = e;
    if (field == ElementField::Quality) {
      SetQualityAt(changed, x, f);
    } else {
      SetSelfResonance(changed, x);
    }
    if (!std::isfinite(changed.Lx) || !std::isfinite(changed.Rx) || !std::isfinite(changed.Cx)) {
      return "no part gives that.";
    }
    e = changed;
    return {};
  }
  if (x == 0.0 && IsElementValue(e, field)) return "the element's value must be above zero.";
  Slot(e, field) = x;
  return {};
}

}  // namespace morvane
