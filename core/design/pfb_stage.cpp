#include "design/pfb_stage.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "design/entry_table.h"
#include "design/field_names.h"
#include "design/recalculate.h"
#include "design/result_text.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr const char* kNotRealizable = "not realizable";
// R4 from here up is shown as absent.
constexpr double kInfiniteR4 = 1e14;

double RoundDown(int series, double x) {
  return ReadValue(RoundDownToSeries(series, x));
}

// The design reads these entries back from their texts; clamp them as their entry handlers
// would, so that an unreadable text (read as 0) cannot divide by zero.
double ReadEntry(std::string_view field, const std::string& text) {
  const auto rule = EntryRuleFor(field, Topology::Pfb);
  return ClampEntry(ReadValue(text), rule->min, rule->max);
}

// R3 for offset compensation (or the entry), R4 for the gain K = 1 + R3/R4.
void SetGainNetwork(DesignState& s, const RecalcInputs& in, double compensatedR3, double K) {
  if (in.RCheckBox2) s.R3 = RoundDown(s.ESeriesR, compensatedR3);
  s.R4 = K > 1.0 ? s.R3 / (K - 1.0) : kAbsentResistor;
}

void DesignLowpass(DesignState& s, const RecalcInputs& in) {
  // The equal-capacitor design needs K >= 2 - 1/(4 Q^2); 5 % margin.
  s.VuActual = std::max({1.0, s.Vu, 1.05 * (2.0 - 1.0 / (4.0 * s.Q * s.Q))});
  s.R1 = s.Zin;
  s.C1 = RoundDown(s.ESeriesC, s.Q / (kTwoPi * s.R1 * s.fg));
  s.C2 = s.C1;
  const double root = std::sqrt(4.0 * s.Q * s.Q * (s.VuActual - 2.0) + 1.0) + 1.0;
  s.R2 = root / (2.0 * kTwoPi * s.Q * s.fo * s.C1);
  const double w = kTwoPi * s.fo * s.C1;
  s.R1 = 1.0 / (w * w * s.R2);
  SetGainNetwork(s, in, (s.R1 + s.R2) * s.VuActual, s.VuActual);
}

void DesignHighpass(DesignState& s, const RecalcInputs& in) {
  s.VuActual = std::max({1.0, s.Vu, 1.05 * (1.0 - 1.0 / (8.0 * s.Q * s.Q))});
  s.R1 = s.Zin;
  s.C1 = RoundDown(s.ESeriesC, 0.3 / (kTwoPi * s.R1 * s.fg));
  s.C2 = s.C1;
  // Resonance at fo = fg*sqrt(e), where the drawn highpass response has it; fo equals fg
  // only at Q = 0.7071.
  const double root = std::sqrt(1.0 / (s.Q * s.Q) + 8.0 * (s.VuActual - 1.0)) + 1.0 / s.Q;
  s.R1 = root / (4.0 * kTwoPi * s.fo * s.C1);
  s.R2 = (4.0 / (kTwoPi * s.fo * s.C1)) / root;
  SetGainNetwork(s, in, s.R2 * s.VuActual, s.VuActual);
}

void DesignBandpass(DesignState& s, const RecalcInputs& in) {
  s.R1 = s.Zin;
  s.C1 = RoundDown(s.ESeriesC, 1.0 / (kTwoPi * s.R1 * s.fg));
  s.C2 = s.C1;
  s.R1 = 1.0 / (kTwoPi * s.fg * s.C1);
  s.R2 = 2.0 * s.R1;
  // K = 3 - 1/Q: the gain network gives no K below 1, so Q is raised to 0.5 (a follower);
  // from 0.334 up K would be positive but the built circuit would still have K = 1.
  s.Q = std::max(0.5, s.Q);
  const double K = 3.0 - 1.0 / s.Q;
  s.VuActual = K / (3.0 - K);
  SetGainNetwork(s, in, s.R2 * K, K);
}

void DesignBandstop(DesignState& s, const RecalcInputs& in) {
  s.R1 = s.Zin;
  s.C1 = RoundDown(s.ESeriesC, 1.0 / (kTwoPi * s.R1 * s.fg));
  s.C2 = 2.0 * s.C1;
  s.R1 = 1.0 / (kTwoPi * s.fg * s.C1);
  s.R2 = s.R1 / 2.0;
  // The twin-T needs K >= 1.
  s.Q = std::max(0.5, s.Q);
  const double K = 2.0 - 1.0 / (2.0 * s.Q);
  s.VuActual = K;
  SetGainNetwork(s, in, 2.0 * s.R1 * K, K);
}

void DesignAllpass(DesignState& s, const RecalcInputs& in) {
  s.R1 = s.Zin;
  s.C1 = RoundDown(s.ESeriesC, s.Q / (kTwoPi * s.R1 * s.fg));
  s.C2 = s.C1;
  // Poles at fo, where phase and group delay of the allpass are drawn.
  const double w = kTwoPi * s.fo;
  s.R2 = 2.0 * s.Q / w / s.C1;
  s.R1 = 1.0 / (w * w * s.C1 * s.C2 * s.R2);
  s.R4 = 0.25 * s.R2 * s.R3 / s.R1;
  s.VuActual = s.R4 / (s.R3 + s.R4);
  if (in.RCheckBox2) {
    // Scale R3 and R4 so that their parallel value is R2; the ratio and the gain stay.
    const double t = s.R2 / (s.R3 * s.R4 / (s.R3 + s.R4));
    s.R3 *= t;
    s.R4 *= t;
  }
}

void DesignEllipticLowpass(DesignState& s) {
  s.R1 = s.Zin;
  const double Cp = 1.0 / (std::sqrt(2.0 * s.Q) * kTwoPi * s.fo * s.R1);
  s.C1 = 2.0 * s.Q * Cp;
  const double n = s.fnfp * s.fnfp;
  const double A = (s.Q + 1.0) * Cp / (s.Q * n + 1.0);
  const double Bc = Cp - A;
  s.C2 = A / 2.0 + Bc;
  s.C3 = A / 2.0;
  // C1, C2, C3 are positive for any Q > 0 and fnfp >= 1, R2 for any a > -Q.
  const double a = 1.0 - 1.0 / std::sqrt(2.0 * s.Q);
  // Ry = Rx*R'/(Rx - R') with Rx = (Q*n + 1)*R3/(a*n - 1) and R' = Q*R3/a, reduced so that
  // a*n = 1 (Rx infinite) does not divide by zero.
  const double Ry = s.R3 * s.Q * (s.Q * n + 1.0) / (a + s.Q);
  s.R2 = 2.0 * Ry;
  // The inverting input wants Rx to ground and half the input through Ry (K = 1 + R3/R').
  // R2 = 2*Ry from the whole input carries the same current, but loads the input too, so R4
  // is Rx || R2, not Rx || Ry = R': that would leave the zero 24 dB shallow and Q off at
  // Q = 0.7071, fn/fo = 2. R4 > 0 needs a*(2*Q*n + 1) > Q (which implies Q > 0.5).
  const double margin = a * (2.0 * s.Q * n + 1.0) - s.Q;
  s.R4 = margin == 0.0 ? kAbsentResistor : 2.0 * s.Q * (s.Q * n + 1.0) * s.R3 / margin;
  // The gain at low frequencies.
  s.VuActual = s.R3 * (0.5 / s.R4 + 0.5 / s.R3 - 0.5 / s.R2);
}

bool FinitePositive(double x) {
  return std::isfinite(x) && x > 0.0;
}

bool Realizable(const DesignState& d, FilterType type) {
  const bool c3 = type != FilterType::EllipticLowpass || FinitePositive(d.C3);
  return c3 && FinitePositive(d.R1) && FinitePositive(d.R2) && FinitePositive(d.R3) &&
         FinitePositive(d.R4) && FinitePositive(d.C1) && FinitePositive(d.C2) &&
         FinitePositive(d.VuActual);
}

std::string NotRealizableNotice(const DesignState& d, FilterType type) {
  if (type == FilterType::EllipticLowpass && !(2.0 * d.Q > 1.0)) {
    return "Elliptical lowpass not realizable: raise Q above 0.5";
  }
  if (type == FilterType::EllipticLowpass && d.R4 < 0.0) {
    return "Elliptical lowpass not realizable: raise Q or fn/fo";
  }
  return "PFB stage not realizable: element values out of range, change Q";
}

void WriteElementFields(const DesignState& s, FilterType type, FieldSink& out) {
  out.Write(field::R42Ausgabe, s.R4 < kInfiniteR4 ? ResultText(s.R4) : " infinite");
  out.Write(field::C32Ausgabe, type == FilterType::EllipticLowpass ? ResultText(s.C3) : kNotNeeded);
  out.Write(field::Vu2Ausgabe, ResultText(s.VuActual));
  out.Write(field::R12Ausgabe, ResultText(s.R1));
  out.Write(field::R22Ausgabe, ResultText(s.R2));
  out.Write(field::C12Ausgabe, ResultText(s.C1));
  out.Write(field::C22Ausgabe, ResultText(s.C2));
}

void WriteNotRealizable(FieldSink& out) {
  for (auto name : {field::R42Ausgabe, field::C32Ausgabe, field::Vu2Ausgabe, field::R12Ausgabe,
                    field::R22Ausgabe, field::C12Ausgabe, field::C22Ausgabe}) {
    out.Write(name, kNotRealizable);
  }
}

}  // namespace

void DesignPfbStage(DesignState& s, const RecalcInputs& in, FieldSink& out) {
  s.R3 = ReadEntry(field::R32Eingabe, in.R32Eingabe);
  s.fnfp = ReadEntry(field::q2Eingabe, in.q2Eingabe);

  // Design on a copy: values of a circuit that cannot be built never reach the state.
  DesignState d = s;
  switch (in.type) {
    case FilterType::Lowpass:
      DesignLowpass(d, in);
      break;
    case FilterType::Highpass:
      DesignHighpass(d, in);
      break;
    case FilterType::Bandpass:
      DesignBandpass(d, in);
      break;
    case FilterType::Bandstop:
      DesignBandstop(d, in);
      break;
    case FilterType::Allpass:
      DesignAllpass(d, in);
      break;
    case FilterType::EllipticLowpass:
      DesignEllipticLowpass(d);
      break;
  }
  const bool realizable = Realizable(d, in.type);
  if (realizable) {
    const bool raisedQ = d.Q != s.Q;
    s = d;
    // The figures the driver shared out before the design follow a raised Q now, as they do
    // at every later recalculation; else the first one showed the bandwidth of the Q typed.
    if (raisedQ) {
      s.fo = ResonanceFrequency(s.fg, s.Q, in.type);
      s.B = s.fg / s.Q;
      s.dVu = PeakingDb(s.Q);
    }
    WriteElementFields(s, in.type, out);
  } else {
    WriteNotRealizable(out);
    out.Notice(NotRealizableNotice(d, in.type));
  }

  WriteResonanceFields(s, in.type, out);
  out.Write(field::GBWPAusgabe, ResultText(20.0 * s.VuActual * s.Q * s.fo));
  WritePeakingField(field::dVu2Ausgabe, s, in.type, out);
  out.Write(field::R32Ausgabe, ResultText(s.R3));
}

}  // namespace morvane
