#include "design/mfb_stage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "design/field_names.h"
#include "design/result_text.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double RoundDown(int series, double x) {
  return ReadValue(RoundDownToSeries(series, x));
}
double RoundUp(int series, double x) {
  return ReadValue(RoundUpToSeries(series, x));
}

void DesignLowpass(DesignState& s, const RecalcInputs& in, FieldSink& out) {
  s.VuActual = s.Vu;
  s.R1 = s.Zin;
  s.C2 = 1.0 / (kTwoPi * s.Q * s.R1 * s.fg);
  s.C2 = RoundDown(s.ESeriesC, 0.9 * s.C2);
  // Least ratio C1/C2 for which the stage exists.
  double k = 4.0 * s.Q * s.Q * (s.Vu + 1.0);
  if (k >= 1.0 || !in.CCheckBox1) {
    s.C1 = RoundUp(s.ESeriesC, 1.1 * k * s.C2);
    k = s.C1 / s.C2;
  } else {
    s.C1 = s.C2;
    k = 1.0;
  }
  // The 1.1 margin above keeps J positive.
  const double J = 1.0 - 4.0 * s.Q * s.Q * (s.VuActual + 1.0) / k;
  s.R3 = (1.0 - std::sqrt(J)) / (2.0 * kTwoPi * s.Q * s.fo * s.C2);
  s.R1 = s.R3 / s.VuActual;
  const double w = kTwoPi * s.fo * s.C2;
  s.R2 = 1.0 / (w * w * s.R3 * k);
  out.Write(field::C31Ausgabe, kNotNeeded);
  out.Write(field::R31Ausgabe, ResultText(s.R3));
}

void DesignHighpass(DesignState& s, FieldSink& out) {
  s.VuActual = s.Vu;
  s.R1 = s.Zin;
  s.C1 = 1.0 / (kTwoPi * s.Q * s.R1 * s.fg);
  s.C1 = RoundDown(s.ESeriesC, 0.9 * s.C1);
  const double gainTerm = 2.0 * s.VuActual + 1.0;
  // With C3 = C1/Vu the poles are w0^2 = Vu/(C1^2 R1 R2) and w0/Q = Vu/((2 Vu + 1) C1 R1):
  // R1 carries the factor Vu, or fo and Q both drift by sqrt(Vu) for any gain but 1.
  s.R1 = s.VuActual / (kTwoPi * s.Q * s.fo * s.C1 * gainTerm);
  s.R2 = gainTerm * s.Q / (kTwoPi * s.fo * s.C1);
  s.C3 = s.C1 / s.VuActual;
  s.C2 = s.C1;
  out.Write(field::R31Ausgabe, kNotNeeded);
  out.Write(field::C31Ausgabe, ResultText(s.C3));
}

void DesignBandpass(DesignState& s, FieldSink& out) {
  // The centre gain stays below the 2*Q^2 at which R2 would become infinite.
  s.VuActual = std::min(s.Vu, 1.9 * s.Q * s.Q);
  s.R1 = s.Zin;
  s.C1 = 4.0 / ((kTwoPi / s.Q) * s.R1 * s.fg);
  s.C1 = RoundDown(s.ESeriesC, 0.9 * s.C1);
  s.C2 = s.C1;
  s.R1 = s.Q / (s.VuActual * s.C1 * kTwoPi * s.fg);
  s.R2 = s.Q / (kTwoPi * s.fg * s.C1 * (2.0 * s.Q * s.Q - s.VuActual));
  s.R3 = 2.0 * s.Q / (kTwoPi * s.fg * s.C1);
  out.Write(field::C31Ausgabe, kNotNeeded);
  out.Write(field::R31Ausgabe, ResultText(s.R3));
}

}  // namespace

// The page's element fields, each with the value it shows.
constexpr ElementField kMfbOutputs[] = {
    ElementField{field::R11Ausgabe, &DesignState::R1},
    ElementField{field::C11Ausgabe, &DesignState::C1},
    ElementField{field::C21Ausgabe, &DesignState::C2},
    ElementField{field::R21Ausgabe, &DesignState::R2},
    ElementField{field::Vu1Ausgabe, &DesignState::VuActual},
};

void DesignMfbStage(DesignState& s, const RecalcInputs& in, FieldSink& out) {
  switch (in.type) {
    case FilterType::Lowpass:
      DesignLowpass(s, in, out);
      break;
    case FilterType::Highpass:
      DesignHighpass(s, out);
      break;
    case FilterType::Bandpass:
      DesignBandpass(s, out);
      break;
    case FilterType::Bandstop:
    case FilterType::Allpass:
      out.Beep();
      break;
    case FilterType::EllipticLowpass:
      break;
  }

  // Common outputs, also for a type not designed here, from whatever the state holds.
  WriteResonanceFields(s, in.type, out);
  WritePeakingField(field::dVu1Ausgabe, s, in.type, out);
  WriteElementFields(kMfbOutputs, s, out);
  out.Write(field::GBWPAusgabe, ResultText(40.0 * s.VuActual * s.Q * std::min(s.Q, 1.0) * s.fo));
}

}  // namespace morvane
