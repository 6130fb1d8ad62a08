#include "design/fliege_stage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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
// Gain 1 + R2/R1 of lowpass, highpass and bandpass: at least a little above 1 keeps R1 finite.
constexpr double kMinGain = 1.05;

// C1 = C2: the entry when the box is cleared, else the series value above root/(2 pi R3 f0).
void ChooseCapacitance(DesignState& s, const RecalcInputs& in, double root, double f0) {
  if (in.CCheckBox5) {
    s.C1 = ReadValue(RoundUpToSeries(s.ESeriesC, root / (kTwoPi * s.R3 * f0)));
  } else {
    s.C1 = ClampEntry(ReadValue(in.C12Eingabe5), kMinCapacitance, kMaxCapacitance);
  }
  s.C2 = s.C1;
}

// R1, R2 and R3 of the types whose gain 1 + R2/R1 follows Vu.
void SetGainResistors(DesignState& s, double R3) {
  s.VuActual = std::max(kMinGain, s.Vu);
  s.R3 = R3;
  s.R2 = s.Zin;
  s.R1 = s.R2 / (s.VuActual - 1.0);
}

// Bandstop and allpass feed R1 from the input: gain 1 with R1 = R2.
void SetUnityGainResistors(DesignState& s, double R3) {
  s.VuActual = 1.0;
  s.R3 = R3;
  s.R2 = s.Zin;
  s.R1 = s.R2;
}

void DesignLowpass(DesignState& s, const RecalcInputs& in) {
  SetGainResistors(s, s.Zin);
  const double ratio = s.R1 / s.R2;
  ChooseCapacitance(s, in, std::sqrt(ratio), s.fo);
  const double w = kTwoPi * s.fo;
  s.R4 = ratio / (w * w * s.R3 * s.C1 * s.C2);
  s.R5 = 1.0 / (std::sqrt(ratio / (s.R4 * s.C2 * s.R3 * s.C1)) * (s.C1 / s.Q));
}

// Highpass and bandpass differ only in R3 and the frequency the poles sit at.
void DesignHighOrBandpass(DesignState& s, const RecalcInputs& in, double R3, double f0) {
  SetGainResistors(s, R3);
  const double ratio = s.R2 / s.R1;
  ChooseCapacitance(s, in, std::sqrt(ratio), f0);
  const double w = kTwoPi * f0;
  s.R5 = ratio / (w * w * s.R3 * s.C1 * s.C2);
  s.R4 = (s.Q / s.C1) / w;
}

// Bandstop (R4 doubled, as it appears twice) and allpass.
void DesignUnityGain(DesignState& s, const RecalcInputs& in, double R3, double f0,
                     double r4Factor) {
  SetUnityGainResistors(s, R3);
  ChooseCapacitance(s, in, 1.0, f0);
  const double w = kTwoPi * f0;
  s.R5 = 1.0 / (w * w * s.R3 * s.C1 * s.C2);
  s.R4 = (r4Factor * s.Q / s.C1) / w;
}

}  // namespace

// The page's element fields, each with the value it shows.
constexpr ElementField kFliegeOutputs[] = {
    ElementField{field::Vu5Ausgabe, &DesignState::VuActual},
    ElementField{field::R15Ausgabe, &DesignState::R1},
    ElementField{field::C15Ausgabe, &DesignState::C1},
    ElementField{field::C25Ausgabe, &DesignState::C2},
    ElementField{field::R25Ausgabe, &DesignState::R2},
    ElementField{field::R35Ausgabe, &DesignState::R3},
    ElementField{field::R45Ausgabe, &DesignState::R4},
    ElementField{field::R55Ausgabe, &DesignState::R5},
};

void DesignFliegeStage(DesignState& s, const RecalcInputs& in, FieldSink& out) {
  switch (in.type) {
    case FilterType::Lowpass:
      DesignLowpass(s, in);
      break;
    case FilterType::Highpass:
      DesignHighOrBandpass(s, in, s.Zin, s.fo);
      break;
    case FilterType::Bandpass:
      DesignHighOrBandpass(s, in, s.Zin / s.Q, s.fg);
      break;
    case FilterType::Bandstop:
      DesignUnityGain(s, in, s.Zin / s.Q, s.fg, 2.0);
      break;
    case FilterType::Allpass:
      // Poles at fo, the frequency shown and used by the phase and group delay.
      DesignUnityGain(s, in, s.Zin, s.fo, 1.0);
      break;
    case FilterType::EllipticLowpass:
      break;
  }

  WriteResonanceFields(s, in.type, out);
  out.Write(field::GBWPAusgabe, ResultText(10.0 * s.VuActual * s.Q * s.fo));
  WritePeakingField(field::dVu5Ausgabe, s, in.type, out);
  WriteElementFields(kFliegeOutputs, s, out);
}

}  // namespace morvane
