#include "aids/filter_order.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <tuple>

#include "numerics/value_text.h"

namespace morvane {

namespace {

// What the output fields show before there is an order to show.
constexpr std::string_view kNoOrder = "        -";

// log10(10^(d/10) - 1) for an attenuation d > 0 dB, for every such d: expm1 keeps the small
// ones, the split keeps 10^(d/10) from overflowing for the large ones.
double Log10Epsilon2(double d) {
  const double x = d / 10.0 * std::numbers::ln10;
  return d / 10.0 + std::log10(-std::expm1(-x));
}

// acosh(10^a), also beyond the range of doubles (acosh y = ln 2y - 1/(4y^2) - ...).
double AcoshOfPowerOfTen(double a) {
  return a > 100.0 ? a * std::numbers::ln10 + std::numbers::ln2 : std::acosh(std::pow(10.0, a));
}

// Order that meets |H|^2 = 1 / (1 + eps^2 F(w)^2) at both edges, with eps^2 = 10^(d/10) - 1:
// F = w^N for Butterworth, F = T_N(w) (Chebyshev polynomial) for Chebyshev.
double OrderOf(const OrderCalculatorInputs& in, OrderApproximation approximation) {
  const double epsilonRatio = Log10Epsilon2(in.OrderD2) - Log10Epsilon2(in.OrderD1);
  const double ratio = in.OrderF2 / in.OrderF1;
  const double decades = std::log10(in.OrderF2) - std::log10(in.OrderF1);
  if (approximation == OrderApproximation::Butterworth) return 0.5 * epsilonRatio / decades;
  const double edge = std::isfinite(ratio) ? std::acosh(ratio) : AcoshOfPowerOfTen(decades);
  return AcoshOfPowerOfTen(0.5 * epsilonRatio) / edge;
}

struct SchemeRule {
  bool (*broken)(const OrderCalculatorInputs&);
  const char* problem;
};

// In the order they are told: the first broken one is the problem.
constexpr SchemeRule kSchemeRules[] = {
    {[](const OrderCalculatorInputs& in) { return !(in.OrderF1 > 0.0); }, "f1 must be above 0 Hz"},
    {[](const OrderCalculatorInputs& in) { return !(in.OrderD1 > 0.0); }, "d1 must be above 0 dB"},
    {[](const OrderCalculatorInputs& in) { return !(in.OrderF2 > in.OrderF1); },
     "f2 must lie above f1"},
    {[](const OrderCalculatorInputs& in) { return !(in.OrderD2 > in.OrderD1); },
     "d2 must be above d1"},
    {[](const OrderCalculatorInputs& in) {
       return !std::isfinite(in.OrderF2) || !std::isfinite(in.OrderD2);
     },
     "f2 and d2 must be finite"},
    // f2 a hair above f1: no finite order meets the scheme.
    {[](const OrderCalculatorInputs& in) {
       return !std::isfinite(OrderOf(in, OrderApproximation::Butterworth)) ||
              !std::isfinite(OrderOf(in, OrderApproximation::Chebyshev));
     },
     "f2 lies too close to f1"},
};

// The rest of a text after its number that still counts as read: blanks and the unit.
bool OnlyUnitLeft(std::string_view rest, std::string_view unit) {
  rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
  rest.remove_suffix(rest.size() - std::min(rest.find_last_not_of(' ') + 1, rest.size()));
  if (rest.empty()) return true;
  if (rest.size() != unit.size()) return false;
  return std::equal(rest.begin(), rest.end(), unit.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

// A text as a message quotes it: one line, at most 32 bytes (not cutting a UTF-8 character).
std::string Quoted(std::string_view text) {
  constexpr std::size_t kLongest = 32;
  std::size_t end = std::min(text.size(), kLongest);
  while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
    --end;
  }
  std::string quoted(text.substr(0, end));
  std::replace_if(
      quoted.begin(), quoted.end(),
      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
  return "\"" + quoted + (end < text.size() ? "…\"" : "\"");
}

// The value of one entry text, or why it has none.
std::string ReadEntry(std::string_view name, std::string_view text, std::string_view unit,
                      double& value) {
  const ValueReading reading = ReadValueInDetail(text);
  const std::string quoted = std::string(name) + " " + Quoted(text);
  if (!reading.readable || !OnlyUnitLeft(text.substr(std::min(reading.used, text.size())), unit)) {
    return quoted + " is not a number";
  }
  if (reading.beyondLimit) return quoted + " is too large";
  value = reading.value;
  return {};
}

}  // namespace

double LeastWholeOrder(double N) {
  return std::nearbyint(N + 0.5);
}

std::string OrderSchemeProblem(const OrderCalculatorInputs& in) {
  for (const SchemeRule& rule : kSchemeRules) {
    if (rule.broken(in)) return rule.problem;
  }
  return {};
}

OrderResult ComputeOrder(const OrderCalculatorInputs& in, OrderApproximation approximation) {
  OrderResult result;
  if (OrderSchemeProblem(in).empty()) {
    const double N = OrderOf(in, approximation);
    if (std::isfinite(N)) {
      result.N = N;
      result.nr = LeastWholeOrder(N);
      result.NAusgabe = " " + FormatFixed(7, 3, result.N);
      result.nrAusgabe = " " + FormatFixed(6, 1, result.nr);
      return result;
    }
  }
  result.NAusgabe = kNoOrder;
  result.nrAusgabe = kNoOrder;
  return result;
}

OrderSchemeReading ReadOrderScheme(const OrderEntryTextsIn& texts) {
  OrderSchemeReading reading;
  OrderCalculatorInputs& in = reading.scheme;
  for (const auto& [name, text, unit, value] : {std::tuple{"f1", texts.f1, "Hz", &in.OrderF1},
                                                std::tuple{"d1", texts.d1, "dB", &in.OrderD1},
                                                std::tuple{"f2", texts.f2, "Hz", &in.OrderF2},
                                                std::tuple{"d2", texts.d2, "dB", &in.OrderD2}}) {
    if (reading.problem.empty()) reading.problem = ReadEntry(name, text, unit, *value);
  }
  if (reading.problem.empty()) reading.problem = OrderSchemeProblem(in);
  return reading;
}

std::array<OrderFieldText, 4> OrderEntryTexts(const OrderCalculatorInputs& in) {
  return {{
      {order_field::f1Eingabe, " " + FormatValue(7, 2, in.OrderF1)},
      {order_field::d1Eingabe, " " + FormatFixed(7, 3, in.OrderD1)},
      {order_field::f2Eingabe, " " + FormatValue(7, 2, in.OrderF2)},
      {order_field::d2Eingabe, " " + FormatFixed(7, 3, in.OrderD2)},
  }};
}

}  // namespace morvane
