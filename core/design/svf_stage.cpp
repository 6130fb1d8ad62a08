#include "design/svf_stage.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "design/entry_table.h"
#include "design/field_names.h"
#include "design/result_text.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Limits of the capacitance entry; a hand-typed text is held inside them too, so a "0"
// cannot divide the resistor equations by zero.
constexpr double kMinCapacitance = 1e-15;
constexpr double kMaxCapacitance = 1e-3;
// Below a third, 3 VuActual - 1 would make R5 (lowpass) or R6 (highpass) zero or negative.
constexpr double kMinSvf3Gain = 0.334;

double RoundUp(int series, double x) {
  return ReadValue(RoundUpToSeries(series, x));
}

// C1 = C2: the page's entry when the box is cleared, else the series value above
// 1/(2 pi Rc f0).
void ChooseCapacitance(DesignState& s, bool automatic, const std::string& entryText, double Rc,
                       double f0) {
  if (automatic) {
    s.C1 = RoundUp(s.ESeriesC, 1.0 / (kTwoPi * Rc * f0));
  } else {
    s.C1 = ClampEntry(ReadValue(entryText), kMinCapacitance, kMaxCapacitance);
  }
  s.C2 = s.C1;
}

// Integrators of the three-op-amp stage, with R5, R6 and C1 chosen: R1 puts the poles at f0
// for this Q, R2 = R1 a^2/Q^2.
void Svf3Integrators(DesignState& s, double a, double f0) {
  const double b = std::sqrt(s.R6 / s.R5) / kTwoPi;
  s.R1 = (b / a) * s.Q / f0 / s.C1;
  s.C2 = s.C1;
  s.R2 = s.R1 * s.C1 * a * a / (s.Q * s.Q) / s.C2;
}

void Svf3LowOrHighpass(DesignState& s, const RecalcInputs& in, bool highpass) {
  const double rz = RoundUp(s.ESeriesR, s.Zin);
  const double rg = (3.0 * s.VuActual - 1.0) * rz;
  // The lowpass takes R6 from Zin, the highpass R5; the other sets the gain.
  s.R6 = highpass ? rg : rz;
  s.R5 = highpass ? rz : rg;
  ChooseCapacitance(s, in.CCheckBox3, in.C12Eingabe3, rz, s.fo);
  const double r = s.R6 / s.R5;
  const double a = std::sqrt(r) * 3.0 / (r + 1.0);
  Svf3Integrators(s, a, s.fo);
  s.R3 = rz;
  s.R0 = rz;
  s.R4 = rz;
}

void Svf3Bandpass(DesignState& s, const RecalcInputs& in) {
  const double rz = RoundUp(s.ESeriesR, s.Zin);
  ChooseCapacitance(s, in.CCheckBox3, in.C12Eingabe3, rz, s.fg);
  s.R5 = rz;
  s.R6 = rz;
  s.R0 = rz;
  s.R4 = rz;
  const double t = (2.0 - s.VuActual) * 0.25 / s.VuActual * s.R5;
  s.R3 = std::sqrt(t * t + s.R5 * s.R5 * 0.5 / s.VuActual) + t;
  const double r = s.R6 / s.R5;
  const double a = std::sqrt(r) * (s.R4 / s.R3 + 1.0 + s.R4 / s.R0) / (r + 1.0);
  Svf3Integrators(s, a, s.fg);
}

// Four op amps: the integrators set f0 alone, the summing resistors gain and Q.
void Svf4Design(DesignState& s, const RecalcInputs& in, bool band) {
  const double f0 = band ? s.fg : s.fo;
  s.VuActual = s.Vu;
  s.R0 = s.Zin;
  s.R1 = RoundUp(s.ESeriesR, s.Zin);
  ChooseCapacitance(s, in.CCheckBox4, in.C12Eingabe4, s.R1, f0);
  s.R1 = 1.0 / (kTwoPi * s.C1 * f0);
  s.R2 = s.R1;
  if (band) {
    s.R3 = s.VuActual * s.R0;
    s.R4 = s.R3;
  } else {
    s.R3 = s.VuActual * s.Q * s.R0;
    s.R4 = s.R0;
  }
  s.R5 = s.R4 * s.Q;
}

}  // namespace

// The page's element fields, each with the value it shows.
constexpr ElementField kSvf3Outputs[] = {
    ElementField{field::R13Ausgabe, &DesignState::R1},
    ElementField{field::R23Ausgabe, &DesignState::R2},
    ElementField{field::C13Ausgabe, &DesignState::C1},
    ElementField{field::C23Ausgabe, &DesignState::C2},
    ElementField{field::R33Ausgabe, &DesignState::R3},
    ElementField{field::R43Ausgabe, &DesignState::R4},
    ElementField{field::R53Ausgabe, &DesignState::R5},
    ElementField{field::R63Ausgabe, &DesignState::R6},
    ElementField{field::R03Ausgabe, &DesignState::R0},
};

void DesignSvf3Stage(DesignState& s, const RecalcInputs& in, FieldSink& out) {
  if (in.type == FilterType::Allpass || in.type == FilterType::Bandstop) out.Beep();
  s.VuActual = std::max(kMinSvf3Gain, s.Vu);
  switch (in.type) {
    case FilterType::Lowpass:
      Svf3LowOrHighpass(s, in, false);
      break;
    case FilterType::Highpass:
      Svf3LowOrHighpass(s, in, true);
      break;
    case FilterType::Bandpass:
      Svf3Bandpass(s, in);
      break;
    default:
      break;
  }

  // Common outputs, also for a type not designed here, from whatever the state holds.
  WriteResonanceFields(s, in.type, out);
  WritePeakingField(field::dVu3Ausgabe, s, in.type, out);
  WriteElementFields(kSvf3Outputs, s, out);
  out.Write(field::GBWPAusgabe, ResultText(10.0 * s.VuActual * s.Q * s.fo));
}

// The page's element fields, each with the value it shows.
constexpr ElementField kSvf4Outputs[] = {
    ElementField{field::R04Ausgabe, &DesignState::R0},
    ElementField{field::R14Ausgabe, &DesignState::R1},
    ElementField{field::C14Ausgabe, &DesignState::C1},
    ElementField{field::C24Ausgabe, &DesignState::C2},
    ElementField{field::R24Ausgabe, &DesignState::R2},
    ElementField{field::R34Ausgabe, &DesignState::R3},
    ElementField{field::R44Ausgabe, &DesignState::R4},
    ElementField{field::R54Ausgabe, &DesignState::R5},
};

void DesignSvf4Stage(DesignState& s, const RecalcInputs& in, FieldSink& out) {
  switch (in.type) {
    case FilterType::Lowpass:
    case FilterType::Highpass:
      Svf4Design(s, in, false);
      break;
    case FilterType::Bandpass:
    case FilterType::Bandstop:
      Svf4Design(s, in, true);
      break;
    case FilterType::Allpass:
      out.Beep();
      break;
    case FilterType::EllipticLowpass:
      break;
  }

  WriteResonanceFields(s, in.type, out);
  WritePeakingField(field::dVu4Ausgabe, s, in.type, out);
  WriteElementFields(kSvf4Outputs, s, out);
  out.Write(field::GBWPAusgabe, ResultText(10.0 * s.VuActual * s.Q * s.fo));
}

}  // namespace morvane
