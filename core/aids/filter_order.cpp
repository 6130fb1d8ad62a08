#include "aids/filter_order.h"

#include <algorithm>
#include <cmath>

#include "design/entry_table.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

// What the output fields show before there is an order to show.
constexpr std::string_view kNoOrder = "        -";

// Order that meets |H|^2 = 1 / (1 + eps^2 F(w)^2) at both edges, with eps^2 = 10^(d/10) - 1:
// F = w^N for Butterworth, F = T_N(w) (Chebyshev polynomial) for Chebyshev.
double OrderOf(const OrderCalculatorInputs& in, OrderApproximation approximation) {
  const double e1 = std::pow(10.0, in.OrderD1 / 10.0) - 1.0;
  const double e2 = std::pow(10.0, in.OrderD2 / 10.0) - 1.0;
  const double ratio = in.OrderF2 / in.OrderF1;
  if (approximation == OrderApproximation::Butterworth) {
    return std::fabs(0.5 * std::log10(std::fabs(e1 / e2)) / std::log10(ratio));
  }
  return std::fabs(std::acosh(std::sqrt(std::fabs(e2 / e1))) / std::acosh(ratio));
}

// The entry limits keep f2 above f1 and d2 above d1; a scheme set up otherwise has no order.
bool IsValidScheme(const OrderCalculatorInputs& in) {
  const double values[] = {in.OrderF1, in.OrderD1, in.OrderF2, in.OrderD2};
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return in.OrderF1 > 0 && in.OrderF2 > in.OrderF1 && in.OrderD1 > 0 && in.OrderD2 > in.OrderD1;
}

}  // namespace

double LeastWholeOrder(double N) {
  return std::nearbyint(N + 0.5);
}

OrderResult ComputeOrder(const OrderCalculatorInputs& in, OrderApproximation approximation) {
  OrderResult result;
  if (IsValidScheme(in)) {
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

std::optional<double> StoreOrderEntry(std::string_view field, std::string_view text,
                                      OrderCalculatorInputs& in) {
  const double v = ReadValue(text);
  double* target = nullptr;
  double lo = 0.0;
  double hi = 0.0;
  if (field == order_field::f1Eingabe) {
    target = &in.OrderF1;
    lo = 0.0001;
    hi = 0.98 * in.OrderF2;
  } else if (field == order_field::d1Eingabe) {
    target = &in.OrderD1;
    lo = 0.01;
    hi = in.OrderD2 - 0.5;
  } else if (field == order_field::f2Eingabe) {
    target = &in.OrderF2;
    lo = 1.02 * in.OrderF1;
    hi = 2e10;
  } else if (field == order_field::d2Eingabe) {
    target = &in.OrderD2;
    lo = in.OrderD1 + 0.5;
    hi = 150.0;
  } else {
    return std::nullopt;
  }
  // Near 0.1 mHz or 0.01 dB the partner's bound can cross the fixed one; the partner's then
  // wins, so f2 stays above f1 and d2 above d1 however the fields are typed.
  if (field == order_field::f1Eingabe || field == order_field::d1Eingabe) {
    lo = std::min(lo, hi);
  } else {
    hi = std::max(hi, lo);
  }
  *target = ClampEntry(v, lo, hi);
  return *target;
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
