#pragma once

// The filter order calculator: the least order of a Butterworth or Chebyshev lowpass that
// meets a tolerance scheme (attenuation allowed at f1, required at f2).

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "design/design_state.h"

namespace morvane {

namespace order_field {
inline constexpr std::string_view f1Eingabe = "f1Eingabe";
inline constexpr std::string_view d1Eingabe = "d1Eingabe";
inline constexpr std::string_view f2Eingabe = "f2Eingabe";
inline constexpr std::string_view d2Eingabe = "d2Eingabe";
inline constexpr std::string_view NAusgabe = "NAusgabe";
inline constexpr std::string_view nrAusgabe = "nrAusgabe";
}  // namespace order_field

// The checked one of RadioButtonB and RadioButtonT.
enum class OrderApproximation { Butterworth, Chebyshev };

struct OrderResult {
  double N = 0.0;   // the order as a real number
  double nr = 0.0;  // the least whole order
  std::string NAusgabe;
  std::string nrAusgabe;
};

// N and nr of the scheme. A scheme the entry limits would not let through (f2 not above f1,
// d2 not above d1, values not positive) shows "        -" in both fields.
OrderResult ComputeOrder(const OrderCalculatorInputs& in, OrderApproximation approximation);

// N + 0.5 rounded to the nearest whole number, a half to the even one: the next whole
// number above N, and for a whole N either N or N + 1.
double LeastWholeOrder(double N);

// A change of f1Eingabe, d1Eingabe, f2Eingabe or d2Eingabe: reads `text`, clamps it into
// the field's range given its partner's current value and stores it. Returns the value
// stored, or nullopt for a name that is none of the four.
std::optional<double> StoreOrderEntry(std::string_view field, std::string_view text,
                                      OrderCalculatorInputs& in);

struct OrderFieldText {
  std::string_view field;
  std::string text;
};

// The texts written into the four entry fields on activation and OK, in writing order.
std::array<OrderFieldText, 4> OrderEntryTexts(const OrderCalculatorInputs& in);

}  // namespace morvane
