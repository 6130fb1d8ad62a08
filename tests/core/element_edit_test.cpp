// The element table's cells: what each shows and what an edit sets, for both element kinds,
// with the texts an engineer types and the ones that must be refused.

#include "network/element_edit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "numerics/value_text.h"

namespace morvane {
namespace {

constexpr double kPi = std::numbers::pi;

NetworkElement Inductor() {
  return {ElementKind::Inductor, false, 10e-3, 0.5, 100e-12};
}

NetworkElement Capacitor() {
  return {ElementKind::Capacitor, true, 20e-9, 0.02, 1e-6};
}

TEST(ElementEdit, CellsShowTheFigures) {
  const NetworkElement l = Inductor();
  EXPECT_EQ(ElementFieldText(l, ElementField::Value, 1000.0), "10.00m");
  EXPECT_EQ(ElementFieldText(l, ElementField::Lx, 1000.0), "10.00m");
  EXPECT_EQ(ElementFieldText(l, ElementField::Cx, 1000.0), "100.00p");
  // 1 / (2 pi sqrt(10 mH 100 pF)) = 159.15 kHz; Q = 2 pi 1 kHz 10 mH / 0.5 Ohm = 125.66.
  EXPECT_EQ(ElementFieldText(l, ElementField::SelfResonance, 1000.0), "159.15k");
  EXPECT_EQ(ElementFieldText(l, ElementField::Quality, 1000.0).substr(0, 6), "125.66");
  NetworkElement lossless = Inductor();
  lossless.Rx = 0.0;
  lossless.Cx = 0.0;
  EXPECT_EQ(ElementFieldText(lossless, ElementField::SelfResonance, 1000.0), "–");
  EXPECT_EQ(ElementFieldText(lossless, ElementField::Quality, 1000.0), "–");
  EXPECT_EQ(ElementFieldText(Capacitor(), ElementField::Value, 1000.0), "1.00u");
}

struct EditCase {
  const char* what;
  NetworkElement element;
  ElementField field;
  const char* text;
  double Lx, Rx, Cx;    // the element afterwards
  const char* refusal;  // a part of the message; empty when taken
};

class ElementEdits : public ::testing::TestWithParam<EditCase> {};

TEST_P(ElementEdits, SetOrRefuse) {
  const EditCase& c = GetParam();
  NetworkElement e = c.element;
  const std::string message = EditElement(e, c.field, c.text, 1000.0);
  if (std::string(c.refusal).empty()) {
    EXPECT_EQ(message, "");
  } else {
    EXPECT_NE(message.find(c.refusal), std::string::npos) << message;
  }
  EXPECT_NEAR(e.Lx, c.Lx, 1e-12 * c.Lx);
  EXPECT_NEAR(e.Rx, c.Rx, 1e-12 * c.Rx);
  EXPECT_NEAR(e.Cx, c.Cx, 1e-12 * c.Cx);
}

const double kW = 2.0 * kPi * 1000.0;

INSTANTIATE_TEST_SUITE_P(
    Table, ElementEdits,
    ::testing::Values(
        EditCase{"inductor value", Inductor(), ElementField::Value, "4m7", 4.7e-3, 0.5, 100e-12,
                 ""},
        EditCase{"inductor Lx is its value", Inductor(), ElementField::Lx, "22m", 22e-3, 0.5,
                 100e-12, ""},
        EditCase{"inductor Q at 1 kHz", Inductor(), ElementField::Quality, "20", 10e-3,
                 kW * 10e-3 / 20.0, 100e-12, ""},
        EditCase{"inductor self-resonance", Inductor(), ElementField::SelfResonance, "50k", 10e-3,
                 0.5, 1.0 / (std::pow(2.0 * kPi * 50e3, 2) * 10e-3), ""},
        EditCase{"inductor self-resonance cleared", Inductor(), ElementField::SelfResonance, "–",
                 10e-3, 0.5, 0.0, ""},
        EditCase{"inductor made lossless by Q 0", Inductor(), ElementField::Quality, "0", 10e-3,
                 0.0, 100e-12, ""},
        EditCase{"capacitor ESR with blanks", Capacitor(), ElementField::Rx, " 47 m ", 20e-9, 0.047,
                 1e-6, ""},
        EditCase{"capacitor ESL zero", Capacitor(), ElementField::Lx, "0", 0.0, 0.02, 1e-6, ""},
        EditCase{"capacitor self-resonance", Capacitor(), ElementField::SelfResonance, "1M",
                 1.0 / (std::pow(2.0 * kPi * 1e6, 2) * 1e-6), 0.02, 1e-6, ""},
        EditCase{"capacitor Q", Capacitor(), ElementField::Quality, "100", 20e-9,
                 1.0 / (kW * 1e-6 * 100.0), 1e-6, ""},
        EditCase{"capacitor value zero", Capacitor(), ElementField::Cx, "0", 20e-9, 0.02, 1e-6,
                 "above zero"},
        EditCase{"inductor value zero", Inductor(), ElementField::Value, "0", 10e-3, 0.5, 100e-12,
                 "above zero"},
        EditCase{"negative parasitic", Inductor(), ElementField::Cx, "-1p", 10e-3, 0.5, 100e-12,
                 "negative"},
        EditCase{"letters", Capacitor(), ElementField::Rx, "ESR", 20e-9, 0.02, 1e-6,
                 "not a number"},
        EditCase{"rubbish after a number", Capacitor(), ElementField::Rx, "1.2.3", 20e-9, 0.02,
                 1e-6, "not a number"},
        EditCase{"empty value", Capacitor(), ElementField::Value, "", 20e-9, 0.02, 1e-6,
                 "not a number"},
        EditCase{"beyond the limit", Inductor(), ElementField::Rx, "1e999", 10e-3, 0.5, 100e-12,
                 "too large"},
        EditCase{"Q too small for any part", Inductor(), ElementField::Quality, "1e-320", 10e-3,
                 0.5, 100e-12, "no part"}));

}  // namespace
}  // namespace morvane
