// Information panel and readout. Expected figures come from an independent double-precision
// run of the stepped rise-time and overshoot searches (python) and, for the noise bandwidth,
// from the closed forms pi Q fo / 2 and pi fg / (2 Q) (mpmath, fo from the -3 dB condition),
// fg = 1 kHz; the texts were formatted there by the value-text rules.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "design/design_state.h"
#include "design/page_presenter.h"
#include "design/recalculate.h"
#include "design/stage_figures.h"
#include "graphs/response.h"
#include "lc/lc_ladder.h"
#include "stage_test_support.h"

namespace morvane {
namespace {

// The readout into the state and its fields, as a recalculation leaves them.
void WriteReadout(DesignState& s, FilterType type, FieldSink& out) {
  const Readout r = ReadoutAt(s, type);
  s.Vuf = r.magnitude;
  s.VufdB = r.gainDb;
  s.Phif = r.phaseDegrees;
  s.tgrf = r.groupDelay;
  PresentReadout(s, out);
}

using testing::RecordingSink;

const FilterType kAllTypes[] = {FilterType::Lowpass,  FilterType::Highpass,
                                FilterType::Bandpass, FilterType::Bandstop,
                                FilterType::Allpass,  FilterType::EllipticLowpass};

DesignState StateFor(FilterType type, double Q, double fg = 1000.0) {
  DesignState s;
  s.fg = fg;
  s.Q = Q;
  s.D = 0.5 / Q;
  s.VuActual = 1.0;
  UpdatePoleFrequency(s, type);
  return s;
}

RecordingSink Panel(const DesignState& s, FilterType type) {
  RecordingSink sink;
  PresentInformationPanel(s, type, sink);
  return sink;
}

// The noise bandwidth is the whole integral of |H|^2 / |H|max^2 over 0..infinity: checked
// against the integral itself, worked out numerically (x = tan t maps it onto 0..pi/2; the
// resonance, 1/Q wide, gets panels of its own), to 0.1 %.
double PowerIntegral(FilterType type, double Q) {
  const double q2 = 1.0 / (Q * Q);
  const auto power = [&](double x) {
    const double d = (1.0 - x * x) * (1.0 - x * x) + x * x * q2;
    return type == FilterType::Lowpass ? 1.0 / d : x * x * q2 / d;
  };
  // Simpson on [a, b] of power(tan t) / cos^2 t with n panels.
  const auto simpson = [&](double a, double b, int n) {
    const auto g = [&](double t) {
      const double c = std::cos(t);
      return power(std::tan(t)) / (c * c);
    };
    const double h = (b - a) / (2.0 * n);
    double sum = g(a) + g(b);
    for (int k = 1; k < 2 * n; ++k) sum += (k % 2 ? 4.0 : 2.0) * g(a + k * h);
    return sum * h / 3.0;
  };
  const double width = std::min(0.5, 20.0 / Q);
  const double low = std::atan(std::max(0.0, 1.0 - width));
  const double high = std::atan(1.0 + width);
  const double end = std::numbers::pi / 2.0 - 1e-9;  // the integrand falls like x^-4 or x^-2
  return simpson(0.0, low, 20000) + simpson(low, high, 200000) + simpson(high, end, 20000);
}

TEST(StageFigures, NoiseBandwidthIsTheWholeIntegral) {
  for (const auto type : {FilterType::Lowpass, FilterType::Bandpass}) {
    for (const double Q : {0.1, 0.5, 0.7071, 1.0, 5.0, 50.0, 1000.0, 10000.0}) {
      const double integral = PowerIntegral(type, Q);
      const auto bn = NoiseBandwidth(type, Q, 1.0);
      ASSERT_TRUE(bn.has_value());
      EXPECT_NEAR(*bn, integral, 1e-3 * integral)
          << (type == FilterType::Lowpass ? "lowpass" : "bandpass") << " Q " << Q;
    }
  }
  for (const auto type : {FilterType::Highpass, FilterType::Bandstop, FilterType::Allpass,
                          FilterType::EllipticLowpass}) {
    EXPECT_FALSE(NoiseBandwidth(type, 0.7071, 1000.0).has_value());
  }
}

TEST(StageFigures, Figures) {
  struct Case {
    FilterType type;
    double Q;
    std::optional<double> bn;  // Hz
    double riseTime;           // s
    double overshoot;          // %
  };
  const Case cases[] = {
      {FilterType::Lowpass, 0.7071, 1110.7207346417444, 342.17984606417756e-6, 4.321130348805791},
      {FilterType::Lowpass, 1, 1234.8836964861077, 332.0150724855043e-6, 16.30330651635694},
      {FilterType::Lowpass, 0.5, 1220.3312255379458, 343.14454242979106e-6, 0.0},
      {FilterType::Lowpass, 5, 5090.8273640040868, 272.5490182225873e-6, 72.92461218102832},
      {FilterType::Lowpass, 0.1, 1555.0899741426936, 349.65822495232747e-6, 0.0},
      {FilterType::Lowpass, 50, 50551.348993030789, 252.21878849875583e-6, 96.90703251653599},
      {FilterType::Lowpass, 120, 121316.14790940284, 252.23352807782597e-6, 98.69893732218151},
      {FilterType::Lowpass, 10000, 10109554.901975286, 252.2366241368118e-6, 99.98429327034839},
      {FilterType::Bandpass, 0.7071, 2221.4627730093291, 342.17984606417756e-6, 4.321130348805791},
      {FilterType::Bandpass, 5, 314.15926535897932, 272.5490182225873e-6, 72.92461218102832},
      {FilterType::Bandpass, 0.1, 15707.963267948966, 349.65822495232747e-6, 0.0},
      {FilterType::Bandpass, 10000, 0.15707963267948966, 252.2366241368118e-6, 99.98429327034839},
      {FilterType::Highpass, 0.7071, std::nullopt, 342.17984606417756e-6, 4.321130348805791},
      {FilterType::Bandstop, 0.7071, std::nullopt, 342.17984606417756e-6, 4.321130348805791},
      {FilterType::Allpass, 0.7071, std::nullopt, 342.17984606417756e-6, 4.321130348805791},
      {FilterType::EllipticLowpass, 0.7071, std::nullopt, 342.17984606417756e-6, 4.321130348805791},
  };
  for (const auto& c : cases) {
    const DesignState s = StateFor(c.type, c.Q);
    SCOPED_TRACE(::testing::Message() << "type " << static_cast<int>(c.type) << " Q " << c.Q);
    const auto bn = NoiseBandwidth(c.type, s.Q, ReferenceFrequency(s, c.type));
    ASSERT_EQ(bn.has_value(), c.bn.has_value());
    if (bn) {
      EXPECT_NEAR(*bn, *c.bn, *c.bn * 1e-11);
    }
    // The stepped searches must land on the same samples: equal to rounding.
    EXPECT_NEAR(RiseTime(s.Q, s.D, s.fg), c.riseTime, c.riseTime * 1e-9);
    EXPECT_NEAR(Overshoot(s.Q, s.D, s.fg), c.overshoot, 1e-9);
  }
}

TEST(StageFigures, GroupDelayFigure) {
  struct Case {
    FilterType type;
    double Q;
    double f0;
    double tgro;
  };
  const double twoPi = 2.0 * std::numbers::pi;
  const Case cases[] = {
      {FilterType::Lowpass, 0.7071, 1000.009590229925, 225.07907901857607e-6},
      {FilterType::Highpass, 0.7071, 999.9904098620466, 1.0 / (twoPi * 0.7071 * 999.9904098620466)},
      {FilterType::Allpass, 0.7071, 1000.009590229925, 2 * 225.07907901857607e-6},
      {FilterType::EllipticLowpass, 2, 700.0, 1.0 / (twoPi * 2 * 700)},
      // Bandstop: its low-frequency delay, with f0 = fg.
      {FilterType::Bandstop, 5, 1000.0, 1.0 / (twoPi * 5 * 1000)},
      // Bandpass: the delay at the centre, 2Q / (2 pi fg).
      {FilterType::Bandpass, 5, 1000.0, 1.591549430918953e-3},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(GroupDelayFigure(c.type, c.Q, c.f0), c.tgro, c.tgro * 1e-13);
    // It is what the group delay point function gives where the figure is read.
    DesignState s = StateFor(c.type, c.Q);
    s.fo = c.f0;
    if (c.type == FilterType::Bandpass || c.type == FilterType::Bandstop) s.fg = c.f0;
    const double where = c.type == FilterType::Bandpass ? c.f0 : 1e-9;
    EXPECT_NEAR(GroupDelayAt(s, c.type, where), c.tgro, c.tgro * 1e-12);
  }
}

TEST(StageFigures, PanelTexts) {
  struct Case {
    FilterType type;
    double Q;
    const char* br;
    const char* tgr;
    const char* tr;
    const char* os;
  };
  const Case cases[] = {
      {FilterType::Lowpass, 0.7071, "    1.11k", "  225.08u", "  342.18u", "    4.321"},
      {FilterType::Bandpass, 0.7071, "    2.22k", "  225.08u", "  342.18u", "    4.321"},
      {FilterType::Allpass, 0.7071, "     -", "  450.16u", "  342.18u", "    4.321"},
      {FilterType::Highpass, 0.7071, "     -", "  225.08u", "  342.18u", "    4.321"},
      {FilterType::Lowpass, 1, "    1.23k", "  202.45u", "  332.02u", "   16.303"},
      {FilterType::Lowpass, 0.5, "    1.22k", "  204.86u", "  343.14u", "    0.000"},
      {FilterType::Lowpass, 5, "    5.09k", "   49.11u", "  272.55u", "   72.925"},
      {FilterType::Bandpass, 5, "  314.160", "    1.59m", "  272.55u", "   72.925"},
      {FilterType::Bandstop, 5, "     -", "   31.83u", "  272.55u", "   72.925"},
      {FilterType::Lowpass, 10000, "   10.11M", "   24.73n", "  252.24u", "   99.984"},
  };
  for (const auto& c : cases) {
    const DesignState s = StateFor(c.type, c.Q);
    const RecordingSink sink = Panel(s, c.type);
    SCOPED_TRACE(::testing::Message() << "type " << static_cast<int>(c.type) << " Q " << c.Q);
    EXPECT_EQ(sink.At("BrAusgabe"), c.br);
    EXPECT_EQ(sink.At("tgrAusgabe"), c.tgr);
    EXPECT_EQ(sink.At("trAusgabe"), c.tr);
    EXPECT_EQ(sink.At("OSAusgabe"), c.os);
    EXPECT_EQ(sink.fields.size(), 4u);
  }
}

// The start 0.04 sqrt(Q)/w0 lies past the first maximum above Q = 6169; the search must still
// find it (at Q = 10000 it would report 65.4 %).
TEST(StageFigures, OvershootOverTheQRange) {
  struct Case {
    double Q;
    double overshoot;  // %
    double tolerance;
  };
  const Case cases[] = {
      {0.5000001, 0.0, 1e-9},          {0.51, 1.6291848958793764e-05, 1e-12},
      {2, 44.43433843586278, 1e-9},    {6000, 99.96510598530652, 1e-9},
      {7000, 99.97756256998503, 1e-9}, {10000, 99.98429327034839, 1e-9},
  };
  for (const auto& c : cases) {
    for (const double fg : {0.001, 1000.0, 2e9}) {
      EXPECT_NEAR(Overshoot(c.Q, 0.5 / c.Q, fg), c.overshoot, c.tolerance)
          << "Q " << c.Q << " fg " << fg;
    }
  }
  EXPECT_EQ(Overshoot(0.5, 1.0, 1000.0), 0.0);
  EXPECT_EQ(Overshoot(0.1, 5.0, 1000.0), 0.0);
}

// The searches step in units of 1/w0, so tr * fg is the same for every fg; and they end for
// both ends of Q and fg.
TEST(StageFigures, RiseTimeScalesWithFgAndEnds) {
  for (const double Q : {0.1, 0.4999999, 0.5, 0.5000001, 0.7071, 119.99, 120.0, 10000.0}) {
    const double ref = RiseTime(Q, 0.5 / Q, 1000.0) * 1000.0;
    EXPECT_GT(ref, 0.2);
    EXPECT_LT(ref, 0.4);
    for (const double fg : {0.001, 2e9}) {
      EXPECT_NEAR(RiseTime(Q, 0.5 / Q, fg) * fg, ref, ref * 1e-9) << "Q " << Q << " fg " << fg;
    }
  }
}

// The searches as first written: march from the start, one step at a time.
double MarchedRiseTime(double Q, double D, double fg) {
  const double w0 = LowpassPoleAngularFrequency(fg, Q);
  const double step = (Q >= 120 ? 0.02 : 0.01) / w0;
  double t = 0, t10 = 0, t90 = 0;
  while (t90 == 0) {
    const double v = SecondOrderStep(D, w0, t);
    if (v > 0.1 && t10 == 0) t10 = t;
    if (v > 0.9 && t90 == 0) t90 = t;
    t += step;
  }
  return t90 - t10;
}

double MarchedOvershoot(double Q, double D, double fg) {
  const double w0 = LowpassPoleAngularFrequency(fg, Q);
  const double step = (Q >= 120 ? 0.03 : 0.01) / w0;
  double t = 0.04 * std::sqrt(Q) / w0, a = 0, b = 0;
  do {
    b = SecondOrderStep(D, w0, t);
    t += step;
    a = SecondOrderStep(D, w0, t);
  } while (a > b);
  return 100 * (b - 1);
}

// The searches skip the climb but must find the samples the march finds.
TEST(StageFigures, SearchesFindWhatTheMarchFinds) {
  std::vector<double> qs = {0.4999999, 0.5, 0.5000001, 0.500001, 0.50001, 0.5001, 0.501, 0.7071};
  for (double Q = 0.1; Q < 6100; Q *= 1.05) qs.push_back(Q);
  for (const double Q : qs) {
    const double D = 0.5 / Q;
    const double tr = MarchedRiseTime(Q, D, 1000.0);
    EXPECT_NEAR(RiseTime(Q, D, 1000.0), tr, tr * 1e-9) << "Q " << Q;
    if (Q > 0.5) {
      EXPECT_NEAR(Overshoot(Q, D, 1000.0), MarchedOvershoot(Q, D, 1000.0), 1e-9) << "Q " << Q;
    }
  }
}

TEST(StageFigures, ReadoutOfTheInitialLowpass) {
  DesignState s = StateFor(FilterType::Lowpass, 0.7071);
  RecordingSink sink;
  WriteReadout(s, FilterType::Lowpass, sink);
  EXPECT_NEAR(s.Vuf, std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(s.VufdB, -3.0102999566398120, 1e-9);
  EXPECT_NEAR(s.tgrf, 0.00022507692048950818, 0.00022507692048950818 * 1e-12);
  EXPECT_EQ(sink.At("VufAusgabe"), "  707.11m");
  EXPECT_EQ(sink.At("VufdBAusgabe"), "    -3.01");
  EXPECT_EQ(sink.At("PhifAusgabe"), "   -90.00");
  EXPECT_EQ(sink.At("tgrfAusgabe"), "  225.08u");
}

TEST(StageFigures, ReadoutGainFactor) {
  struct Case {
    Topology topology;
    double VuActual;
    double Vuf;
    const char* dB;
  };
  const Case cases[] = {
      {Topology::Mfb, 2.0, 2.0 * std::sqrt(0.5), "     3.01"},
      {Topology::Fliege, 10.0, 10.0 * std::sqrt(0.5), "    16.99"},
      {Topology::Diplexer, 10.0, 10.0 * std::sqrt(0.5), "    16.99"},
      {Topology::LcLadder, 10.0, std::sqrt(0.5), "    -3.01"},  // the ladder has no gain
  };
  for (const auto& c : cases) {
    DesignState s = StateFor(FilterType::Lowpass, 0.7071);
    s.topology = c.topology;
    s.VuActual = c.VuActual;
    RecordingSink sink;
    if (c.topology == Topology::LcLadder) {
      s.LCOrder = 2;  // a Butterworth ladder is 3.01 dB down at fg too
      Recalculate(ChangedEntry::Any, Topology::LcLadder, s, DesignChoices{}, sink);
    }
    WriteReadout(s, FilterType::Lowpass, sink);
    EXPECT_NEAR(s.Vuf, c.Vuf, c.Vuf * 1e-9);
    EXPECT_EQ(sink.At("VufdBAusgabe"), c.dB);
  }
}

// Zero gain at f: "-infinite" on screen, a finite floor in the state.
TEST(StageFigures, ReadoutOfZeroGain) {
  struct Case {
    FilterType type;
    double VuActual;
  };
  const Case cases[] = {{FilterType::Bandstop, 1.0}, {FilterType::Lowpass, 0.0}};
  for (const auto& c : cases) {
    DesignState s = StateFor(c.type, 0.7071);
    s.VuActual = c.VuActual;
    s.f = s.fg;
    RecordingSink sink;
    WriteReadout(s, c.type, sink);
    EXPECT_EQ(s.Vuf, 0.0);
    EXPECT_EQ(s.VufdB, -2e301);
    EXPECT_EQ(sink.At("VufAusgabe"), "    0.000");
    EXPECT_EQ(sink.At("VufdBAusgabe"), "-infinite");
  }
}

TEST(StageFigures, ReadoutPhaseAtTheResonanceForHighQ) {
  DesignState s = StateFor(FilterType::Lowpass, 10000.0);
  s.f = s.fo;
  RecordingSink sink;
  WriteReadout(s, FilterType::Lowpass, sink);
  EXPECT_EQ(sink.At("PhifAusgabe"), "   -90.00");
}

bool IsNumberText(const std::string& text) {
  return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos &&
         text.find("NAN") == std::string::npos && text.find("INF") == std::string::npos;
}

// Over the entry ranges every text is a number or one of the placeholders.
TEST(StageFigures, NoNanOrInfInAnyText) {
  for (const double fg : {0.001, 1000.0, 2e9}) {
    for (const double Q : {0.1, 0.5, 0.7071, 10000.0}) {
      for (const auto type : kAllTypes) {
        DesignState s = StateFor(type, Q, fg);
        s.fnfp = 1.1;
        const RecordingSink panel = Panel(s, type);
        for (const auto& [name, text] : panel.fields) {
          EXPECT_TRUE(IsNumberText(text)) << name << " '" << text << "' fg " << fg << " Q " << Q;
        }
        for (const double f : {1e-4, fg, s.fo, 1.1 * s.fo, 2e10}) {
          s.f = f;
          RecordingSink readout;
          WriteReadout(s, type, readout);
          for (const auto& [name, text] : readout.fields) {
            EXPECT_TRUE(IsNumberText(text) || (name == "VufdBAusgabe" && text == "-infinite"))
                << name << " '" << text << "' fg " << fg << " Q " << Q << " f " << f;
          }
          EXPECT_TRUE(std::isfinite(s.VufdB));
          EXPECT_TRUE(std::isfinite(s.Phif));
          EXPECT_TRUE(std::isfinite(s.tgrf));
        }
      }
    }
  }
}

}  // namespace
}  // namespace morvane
