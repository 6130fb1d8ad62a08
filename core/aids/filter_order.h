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

// N and nr of the scheme; "        -" in both fields for a scheme that has none (see
// OrderSchemeProblem).
OrderResult ComputeOrder(const OrderCalculatorInputs& in, OrderApproximation approximation);

// N + 0.5 rounded to the nearest whole number, a half to the even one: the next whole
// number above N, and for a whole N either N or N + 1.
double LeastWholeOrder(double N);

// Why a scheme has no order, for the user ("f2 must lie above f1"); empty when it has one.
std::string OrderSchemeProblem(const OrderCalculatorInputs& in);

// The four entry texts as they stand, f1, d1, f2, d2: no value depends on another or on
// the sequence of typing.
struct OrderEntryTextsIn {
  std::string_view f1;
  std::string_view d1;
  std::string_view f2;
  std::string_view d2;
};

struct OrderSchemeReading {
  OrderCalculatorInputs scheme;  // the values read
  std::string problem;           // why there is no order (a text or the scheme); empty if none
};

// Reads the four texts. A text is refused unless it reads whole (blanks, and the field's unit
// Hz or dB after the number, may follow); then the scheme must be possible.
OrderSchemeReading ReadOrderScheme(const OrderEntryTextsIn& texts);

struct OrderFieldText {
  std::string_view field;
  std::string text;
};

// The texts written into the four entry fields on activation and OK, in writing order.
std::array<OrderFieldText, 4> OrderEntryTexts(const OrderCalculatorInputs& in);

}  // namespace morvane
