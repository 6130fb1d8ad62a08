#pragma once

// How large a signal a stage or a cascade passes undistorted with a given op amp, and where it
// clips first.
//
// Every op amp's output pin must stay within the model's output swing (peak volts about
// mid-supply) and change no faster than its slew rate. For a sine of peak Vin at the input
// and Vk(f) the voltage at op amp k's output pin for 1 V at the input (the circuit analysed
// with the model, so the finite gain-bandwidth counts too):
//   swing:      |Vk(f)| Vin <= outputSwing
//   slew rate:  2 pi f |Vk(f)| Vin <= slewRate
// The largest undistorted input is the smallest of these limits over all op amps, and the
// largest output that input times |H(f)|. An op amp whose output is the filter's output
// limits the output to min(swing, SR / (2 pi f)) itself; an inner one that carries more
// signal (the integrators of a state-variable section, an earlier section that peaks) limits
// it below that.
//
// The headroom compares, section by section, the largest gain from the filter's input to its
// op amps' outputs (the inner op amps included) with the largest gain to the filter's output.
// All op amps share one model and so one swing: a section whose gain is higher clips before
// the output does, by that many dB. This needs gains only, so it works with `ideal` too.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/circuit.h"
#include "opamp/opamp_model.h"

namespace morvane {

struct CascadeDesign;

struct LargeSignalRequest {
  double fFrom = 10.0;  // Hz
  double fTo = 100e3;   // Hz
  int points = 400;     // logarithmically spaced, both ends included
};

// Why the request cannot be analysed ("the range needs 0 < from < to", ...); empty when it can.
std::string LargeSignalRequestProblem(const LargeSignalRequest& request);

// A range that covers a cascade's sections: a decade below its lowest f0 to a decade above its
// highest, `points` points. The default request for a design with a problem.
LargeSignalRequest LargeSignalRangeOf(const CascadeDesign& design, int points = 400);

enum class SignalLimit { Swing, SlewRate };

// "output swing", "slew rate".
std::string_view SignalLimitName(SignalLimit limit);

struct LargeSignalPoint {
  double f = 0.0;           // Hz
  double outputPeak = 0.0;  // V: the largest undistorted output amplitude at f
  double inputPeak = 0.0;   // V: the input amplitude that gives it
  std::size_t opAmp = 0;    // the op amp that sets it: an index into LargeSignalLimits::opAmps
  SignalLimit limit = SignalLimit::Swing;
};

struct LargeSignalLimits {
  std::string problem;              // empty when the analysis ran
  std::vector<std::string> opAmps;  // their names, in the circuit's order ("U1", "U2_3")
  // One per frequency of the request, in increasing frequency. A frequency where no op amp
  // carries any signal (so nothing limits it) is left out.
  std::vector<LargeSignalPoint> points;
};

// The circuit (input "in", output "out") with every op amp the model. A problem for a bad
// request, a circuit the analysis refuses or singular at some frequency, a model whose swing
// or slew rate is not above zero, and a model that limits nothing (`ideal`: both infinite).
LargeSignalLimits AnalyseLargeSignal(Circuit circuit, const OpAmpModel& model,
                                     const LargeSignalRequest& request);

// The largest undistorted output over a cascade: its sections analysed one by one, each driven
// by the one before (exact with ideal op amps; with real ones the closed-loop output
// resistance of a section's output op amp, far below the next input, is taken as 0, as
// CascadeRealTransfer does), which keeps 400 points of an order-10 cascade of single-op-amp
// sections near 1.5 ms. The op amps are named as in the joined circuit ("U1_2"). The design's
// problem where it has one.
LargeSignalLimits AnalyseLargeSignal(const CascadeDesign& design, const OpAmpModel& model,
                                     const LargeSignalRequest& request);

// Below this a section's op amps are taken to clip together with the output: no warning.
inline constexpr double kClipsBeforeOutputDb = 0.05;

struct SectionHeadroom {
  int section = 0;    // 1-based in the cascade's order; 0 for a single stage (unnumbered op amps)
  std::string opAmp;  // its op amp with the largest gain from the filter's input
  double largestGain = 0.0;  // that gain |V(op amp) / V(in)|, at its largest over the range
  double atHz = 0.0;         // where
  // 20 log10(largestGain / the largest gain to the filter's output): how far the section
  // peaks above the output. 0 where that op amp is the output's own.
  double peakingDb = 0.0;
  // V: the input amplitude at which it reaches the swing; none for a model without one.
  std::optional<double> clippingInputPeak;
  // "section 2 (U2_2) clips 4.3 dB before the output" ("U2 clips ..." for a single stage)
  // where peakingDb reaches kClipsBeforeOutputDb; empty otherwise.
  std::string warning;
};

struct Headroom {
  std::string problem;                      // empty when the analysis ran
  double outputGain = 0.0;                  // the largest |V(out) / V(in)| over the range
  double outputAtHz = 0.0;                  // where
  std::optional<double> clippingInputPeak;  // V: swing / outputGain; none without a swing
  std::vector<SectionHeadroom> sections;    // in the cascade's order
  std::vector<std::string> warnings;        // the sections' warnings, in that order
};

// The circuit with every op amp the model, its op amps grouped into sections by their names
// (SectionOfName); a circuit with unnumbered op amps is one group, section 0. Each largest
// gain is searched between the neighbours of the largest sample, so a narrow peak between two
// samples is not missed. Problems as AnalyseLargeSignal's, but `ideal` is fine.
Headroom AnalyseHeadroom(Circuit circuit, const OpAmpModel& model,
                         const LargeSignalRequest& request);

// A cascade's sections, analysed one by one as for AnalyseLargeSignal; the design's problem
// where it has one.
Headroom AnalyseHeadroom(const CascadeDesign& design, const OpAmpModel& model,
                         const LargeSignalRequest& request);

}  // namespace morvane
